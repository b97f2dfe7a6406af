#include "cli/arguments.h"

#include <charconv>

namespace tw::cli {
namespace {

// A count of jobs: decimal digits only, 1 to kMaxJobs.
bool ParseJobs(std::string_view text, int& jobs) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || text[0] == '-' ||
      text[0] == '+' || value < 1 || value > kMaxJobs) {
    return false;
  }
  jobs = value;
  return true;
}

}  // namespace

std::variant<Arguments, UsageError> ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      parsed.addresses.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.action = Arguments::Action::kHelp;
    } else if (arg == "--version") {
      parsed.action = Arguments::Action::kVersion;
    } else if (arg == "--json") {
      parsed.json = true;
    } else if (arg.starts_with("-j")) {
      std::string_view count = std::string_view(arg).substr(2);
      if (count.empty()) {
        if (i + 1 == args.size()) return UsageError{"-j needs a number of jobs"};
        count = args[++i];
      }
      if (!ParseJobs(count, parsed.jobs)) {
        return UsageError{"-j needs a number of jobs from 1 to " + std::to_string(kMaxJobs) + ", not '" +
                          std::string(count) + "'"};
      }
    } else {
      return UsageError{"unknown option '" + arg + "'"};
    }
  }
  if (parsed.action == Arguments::Action::kResolve && parsed.addresses.empty()) {
    return UsageError{"no share address given"};
  }
  return parsed;
}

}  // namespace tw::cli
