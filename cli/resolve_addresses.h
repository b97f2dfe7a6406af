// Running the share-link resolver for addresses given on the command line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tw::cli {

// How a run ended: the result controls written, the address refused, or the
// service asking for a verification code.
enum class Outcome { kShown, kRejected, kThrottled };

// One address's run, every text in UTF-8.
struct Resolution {
  std::string url;
  std::string fileName;
  std::string downloadAddress;
  Outcome outcome = Outcome::kShown;
  // Each message box: its title followed by its text.
  std::vector<std::string> messages;
};

// Resolves one address in a fresh console window on the calling thread. The
// console toolkit must be installed.
[[nodiscard]] Resolution ResolveAddress(std::string_view address);

// Resolves every address, up to `jobs` at once, and hands each result to
// `emit` on the calling thread in the order of `addresses`, as soon as it and
// all before it are done.
void ResolveAddresses(const std::vector<std::string>& addresses, int jobs,
                      const std::function<void(const Resolution&)>& emit);

}  // namespace tw::cli
