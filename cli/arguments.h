// The command line of tarnwick-resolve.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tw::cli {

inline constexpr std::string_view kUsage = "usage: tarnwick-resolve [--json] [-j N] SHARE_ADDRESS...\n";

// The most resolutions run at once; more threads than this only queue up on
// the same service.
inline constexpr int kMaxJobs = 256;

struct Arguments {
  enum class Action { kResolve, kHelp, kVersion };
  Action action = Action::kResolve;
  bool json = false;
  int jobs = 1;
  std::vector<std::string> addresses;
};

// What is wrong with a command line, for one line on stderr.
struct UsageError {
  std::string message;
};

// Options may stand anywhere before "--"; everything after it is an address.
// -j takes its count as the next argument or attached (-j8).
[[nodiscard]] std::variant<Arguments, UsageError> ParseArguments(const std::vector<std::string>& args);

}  // namespace tw::cli
