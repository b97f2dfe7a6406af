// What tarnwick-resolve prints for a resolution, and its exit status.
#pragma once

#include <string>
#include <string_view>

#include "cli/resolve_addresses.h"

namespace tw::cli {

// fileName, a tab, the download address; no line break.
[[nodiscard]] std::string PlainLine(const Resolution& result);

// One JSON object: url, fileName, downloadAddress, outcome; no line break.
[[nodiscard]] std::string JsonLine(const Resolution& result);

// `text` (UTF-8) as a JSON string, quotes included.
[[nodiscard]] std::string JsonString(std::string_view text);

// 0 for an address shown with a non-empty download address; 2 rejected, 3
// throttled, 4 shown with an empty address. The program exits with the
// largest over all addresses.
[[nodiscard]] int ExitStatusOf(const Resolution& result);

}  // namespace tw::cli
