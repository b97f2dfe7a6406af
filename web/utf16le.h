// UTF-16LE code units held in bytes, 2 bytes a unit, low byte first. The
// conversion layer reads and writes units through these so that it never
// reinterprets a byte buffer as char16_t.
#pragma once

#include <cstddef>

namespace tw::utf16le {

inline constexpr std::size_t kUnitSize = 2;
inline constexpr char16_t kReplacement = 0xFFFD;  // U+FFFD Replacement Character

[[nodiscard]] inline char16_t Load(const char* at) {
  return static_cast<char16_t>(static_cast<unsigned char>(at[0]) | static_cast<unsigned char>(at[1]) << 8);
}

inline void Store(char* at, char16_t unit) {
  at[0] = static_cast<char>(unit & 0xFF);
  at[1] = static_cast<char>(unit >> 8);
}

[[nodiscard]] inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
[[nodiscard]] inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace tw::utf16le
