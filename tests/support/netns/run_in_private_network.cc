// tarnwick-private-network COMMAND [ARG...]: runs the command in a private
// network with the sample share service (see private_network.h) and exits
// with its status. For the demo and the benchmark.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "tests/support/netns/private_network.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarnwick-private-network COMMAND [ARG...]\n");
    return 1;
  }
  tw::test::EnterPrivateNetwork(TARNWICK_SHARE_SERVICE);
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("tarnwick-private-network: fork");
    return 1;
  }
  if (child == 0) {
    ::execvp(argv[1], argv + 1);
    std::fprintf(stderr, "tarnwick-private-network: cannot run %s: %s\n", argv[1], std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
