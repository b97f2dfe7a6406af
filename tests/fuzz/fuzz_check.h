// The check of a fuzz target: a failed one prints what was expected and what
// came out, then aborts, which libFuzzer records as a crash with the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "runtime/text.h"

namespace tw::fuzz {

template <typename A, typename B>
[[noreturn]] void FailCheck(const char* what, const char* file, int line, const A& actual,
                            const B& expected) {
  std::ostringstream out;
  out << file << ":" << line << ": check failed: " << what << "\n  actual:   " << actual
      << "\n  expected: " << expected << "\n";
  std::fputs(out.str().c_str(), stderr);
  std::abort();
}

}  // namespace tw::fuzz

#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) ::tw::fuzz::FailCheck(#condition, __FILE__, __LINE__, "false", "true"); \
  } while (0)

#define FUZZ_CHECK_EQ(actual, expected)                                                                  \
  do {                                                                                                   \
    const auto& fuzz_actual_ = (actual);                                                                 \
    const auto& fuzz_expected_ = (expected);                                                             \
    if (!(fuzz_actual_ == fuzz_expected_))                                                               \
      ::tw::fuzz::FailCheck(#actual " == " #expected, __FILE__, __LINE__, fuzz_actual_, fuzz_expected_); \
  } while (0)
