// Runs a program to its end and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace tw::test {

struct ProgramRun {
  int status = -1;  // the exit status; 128 + the signal when killed
  std::string out;
  std::string err;
};

// Runs `argv` (argv[0] searched in PATH) with stdin closed.
[[nodiscard]] ProgramRun RunProgram(const std::vector<std::string>& argv);

}  // namespace tw::test
