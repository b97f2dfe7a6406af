// Reading UTF-8 one sequence at a time, shared by the converters that start
// from UTF-8 so that every one of them replaces ill-formed input alike.
#pragma once

#include <cstddef>

#include "web/utf16le.h"

namespace tw::utf8_internal {

inline constexpr char32_t kReplacement = utf16le::kReplacement;

struct Decoded {
  char32_t codePoint;  // kReplacement for an ill-formed sequence
  std::size_t length;  // bytes taken, at least 1
};

inline bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The sequence at `p` (n > 0 bytes available, p[0] >= 0x80), by the table of
// well-formed byte sequences (Unicode 3.9, table 3-7): the lead byte fixes
// the length and the range of the second byte, every further byte is 80-BF.
// An ill-formed sequence takes only the bytes that could begin a well-formed
// one (its maximal subpart), as WHATWG decoders do. Written out per length:
// a loop over the followers costs a mispredicted exit on every character.
// Inlined by force: it runs once a character, and a call costs more than it.
[[gnu::always_inline]] inline Decoded DecodeSequence(const unsigned char* p, std::size_t n) {
  const unsigned char lead = p[0];
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (n < 2 || !IsContinuation(p[1])) return {kReplacement, 1};
    return {char32_t{lead & 0x1Fu} << 6 | (p[1] & 0x3Fu), 2};
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;   // overlong below U+0800
    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;  // surrogates
    if (n < 2 || p[1] < low || p[1] > high) return {kReplacement, 1};
    if (n < 3 || !IsContinuation(p[2])) return {kReplacement, 2};
    return {char32_t{lead & 0x0Fu} << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu), 3};
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;   // overlong below U+10000
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;  // above U+10FFFF
    if (n < 2 || p[1] < low || p[1] > high) return {kReplacement, 1};
    if (n < 3 || !IsContinuation(p[2])) return {kReplacement, 2};
    if (n < 4 || !IsContinuation(p[3])) return {kReplacement, 3};
    return {char32_t{lead & 0x07u} << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu), 4};
  }
  return {kReplacement, 1};  // continuation byte, C0/C1 (overlong), F5-FF (5- and 6-byte forms)
}

inline constexpr std::size_t kBlock = 16;

// Length of the ASCII prefix of `p` (n bytes): the first few bytes one by
// one, as short runs in mixed text end there, then in blocks of fixed size,
// which the compiler checks at once.
inline std::size_t AsciiPrefix(const unsigned char* p, std::size_t n) {
  std::size_t i = 0;
  for (; i < kBlock && i < n; ++i) {
    if (p[i] >= 0x80) return i;
  }
  for (; i + kBlock <= n; i += kBlock) {
    unsigned char any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= p[i + k];
    if (any >= 0x80) break;
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

}  // namespace tw::utf8_internal
