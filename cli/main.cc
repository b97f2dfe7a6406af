// tarnwick-resolve: resolves share addresses from the command line with the
// window program's resolver, behind a console toolkit.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "app/toolkit.h"
#include "cli/arguments.h"
#include "cli/console_toolkit.h"
#include "cli/report.h"
#include "cli/resolve_addresses.h"

namespace {

constexpr int kUsageStatus = 1;

constexpr std::string_view kHelp =
    "Resolves each share address into the shared file's name and its direct download address.\n"
    "\n"
    "  --json     print one JSON object per address: url, fileName, downloadAddress, outcome\n"
    "  -j N       resolve up to N addresses at once (default 1); the output keeps the given order\n"
    "  --help     print this help\n"
    "  --version  print the version\n"
    "\n"
    "Prints one line per address, fileName<TAB>downloadAddress, and each message for an address as a\n"
    "line on stderr. Exit status: 0 when every address was resolved to a download address; otherwise\n"
    "the largest of 2 (an address refused), 3 (the service asked for a verification code) and\n"
    "4 (no download address found); 1 for a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tw::cli;
  const auto parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    std::cerr << "tarnwick-resolve: " << error->message << "\n" << kUsage;
    return kUsageStatus;
  }
  const Arguments& args = std::get<Arguments>(parsed);
  switch (args.action) {
    case Arguments::Action::kHelp:
      std::cout << kUsage << "\n" << kHelp;
      return 0;
    case Arguments::Action::kVersion:
      std::cout << "tarnwick-resolve " TARNWICK_VERSION "\n";
      return 0;
    case Arguments::Action::kResolve:
      break;
  }

  ConsoleToolkit toolkit;
  tw::InstallToolkitBackend(&toolkit);
  int status = 0;
  ResolveAddresses(args.addresses, args.jobs, [&](const Resolution& result) {
    for (const std::string& message : result.messages) std::cerr << message << "\n";
    std::cout << (args.json ? JsonLine(result) : PlainLine(result)) << "\n" << std::flush;
    status = std::max(status, ExitStatusOf(result));
  });
  // Every worker has ended here, so none can reach the toolkit after this.
  tw::InstallToolkitBackend(nullptr);
  return status;
}
