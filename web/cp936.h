// Code page 936 from UTF-8 and UTF-16LE and back to UTF-16LE, our own in
// place of the platform's conversion functions, with their
// measure-then-convert shape: with capacity 0 nothing is written and the size
// of the whole result is returned; otherwise at most `capacity` elements are
// written and their number is returned.
//
// A character 936 cannot hold (U+FFFD, anything beyond the BMP, a lone
// surrogate) becomes "?", and the rest goes on.
#pragma once

#include <cstddef>
#include <string_view>

namespace tw {

// UTF-16LE units (2 bytes each; an odd last byte is ignored) to 936 bytes.
//
//   2D 4E (U+4E2D) -> D6 D0
std::size_t Utf16ToCp936(std::string_view utf16, char* cp936, std::size_t capacity);

// UTF-8 bytes to 936 bytes: what Utf8ToUtf16 and then Utf16ToCp936 give, in
// one step, so that a large page never exists in UTF-16 as a whole. An
// ill-formed sequence is U+FFFD, as in Utf8ToUtf16, and so becomes "?".
//
//   E4 B8 AD (U+4E2D) -> D6 D0
std::size_t Utf8ToCp936(std::string_view utf8, char* cp936, std::size_t capacity);

// 936 bytes to UTF-16LE units (`capacity` counts units). A byte sequence that
// is not 936 becomes U+FFFD: a lead byte at the end, or a lead byte with a
// byte that cannot follow it, which is then read again as a character of its
// own (as WHATWG decoders do), so "81 20" gives U+FFFD and a space.
std::size_t Cp936ToUtf16(std::string_view cp936, char* utf16, std::size_t capacity);

}  // namespace tw
