// UTF-8 <-> UTF-16LE, our own in place of the platform's conversion
// functions, with their measure-then-convert shape: with capacity 0 nothing
// is written and the size of the whole result is returned; otherwise at most
// `capacity` elements are written and their number is returned.
#pragma once

#include <cstddef>
#include <string_view>

namespace tw {

// UTF-8 bytes to UTF-16LE units (`utf16` holds 2 bytes a unit, `capacity`
// counts units). An ill-formed sequence becomes one U+FFFD for each maximal
// subpart (the Unicode practice that WHATWG decoders follow): stray
// continuation bytes, overlong forms, surrogates, code points above U+10FFFF,
// 5- and 6-byte forms and a truncated tail. A NUL byte becomes a zero unit.
//
//   E4 B8 AD -> 2D 4E  (U+4E2D)
//   C0 AF    -> FD FF FD FF
std::size_t Utf8ToUtf16(std::string_view utf8, char* utf16, std::size_t capacity);

// UTF-16LE units (2 bytes each; an odd last byte is ignored) to UTF-8 bytes.
// A lone surrogate becomes U+FFFD.
std::size_t Utf16ToUtf8(std::string_view utf16, char* utf8, std::size_t capacity);

}  // namespace tw
