// Code page conversion: UTF-8 pages into code page 936 (GBK), the code page
// every Text is held in, and 936 <-> UTF-8 at the edges of the program (the
// window and the console speak UTF-8).
//
// The mapping is Windows' code page 936: 0x80 is U+20AC, the user-defined
// areas map to the private use area.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text.h"

namespace tw {

// UTF-8 to UTF-16LE code units, 2 bytes each, no terminator. An invalid or
// truncated sequence becomes U+FFFD; a NUL byte becomes a zero unit.
[[nodiscard]] Bytes Utf8ToWide(const Bytes& data);

// UTF-8 to code page 936, no terminator. A character 936 cannot hold becomes
// "?".
[[nodiscard]] Bytes Utf8ToAnsi(const Bytes& data);

// For the program's edges: a Text as UTF-8 (a byte sequence that is not valid
// 936 becomes U+FFFD), and UTF-8 as a Text.
[[nodiscard]] std::string TextToUtf8(const Text& text);
[[nodiscard]] Text TextFromUtf8(std::string_view utf8);

}  // namespace tw
