#include <unistd.h>

#include <cstdio>

#include "app/start_program.h"

int main(int argc, char** argv) {
  int code = tw::StartProgram(argc, argv);
  // Workers may still be running (blocked on the network or in a toolkit
  // call that gives up at once); ending here skips the static destructors
  // they could race with.
  std::fflush(nullptr);
  _exit(code & 0xFF);
}
