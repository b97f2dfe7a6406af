// Spaces, letter case and integers: TrimBothEnds, RemoveAllSpaces,
// ToLowerCase, ToInteger.
#include <climits>
#include <cstdint>
#include <string>

#include "runtime/internal/char_cursor.h"
#include "runtime/text_ops.h"

namespace tw {
namespace {

using internal::kFirstLeadByte;

constexpr unsigned char kFullWidthLead = 0xA3;    // row of the full-width ASCII forms
constexpr unsigned char kFullWidthSpace = 0xA1;   // A1 A1, the full-width space
constexpr unsigned char kFullWidthOffset = 0x80;  // A3 B0 is '0', A3 AB '+', A3 AD '-'

// The length of the character at `i`: 2 for a lead byte with a follower, else 1.
std::size_t CharLength(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]) >= kFirstLeadByte && i + 1 < bytes.size() ? 2 : 1;
}

// Whether the character at `i` is a space: 0x20 or A1 A1.
bool IsSpaceAt(std::string_view bytes, std::size_t i) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (b == ' ') return true;
  return b == kFullWidthSpace && i + 1 < bytes.size() &&
         static_cast<unsigned char>(bytes[i + 1]) == kFullWidthSpace;
}

// The character at `i` as the one ASCII byte it reads as once full-width
// digits, signs and the full-width space are made half-width; 0 for any other
// two-byte character.
unsigned char HalfWidthAt(std::string_view bytes, std::size_t i) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (b < kFirstLeadByte) return b;
  if (i + 1 >= bytes.size()) return 0;
  const auto trail = static_cast<unsigned char>(bytes[i + 1]);
  if (b == kFullWidthSpace && trail == kFullWidthSpace) return ' ';
  if (b != kFullWidthLead) return 0;
  const auto half = static_cast<unsigned char>(trail - kFullWidthOffset);
  return (half >= '0' && half <= '9') || half == '+' || half == '-' ? half : 0;
}

bool IsWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

Text TrimBothEnds(const Text& text) {
  const std::string_view bytes = text.view();
  std::size_t first = bytes.size();
  std::size_t last_end = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = IsSpaceAt(bytes, i) ? 0 : CharLength(bytes, i);
    if (length == 0) {
      i += bytes[i] == ' ' ? 1 : 2;
      continue;
    }
    if (first == bytes.size()) first = i;
    i += length;
    last_end = i;
  }
  if (first == bytes.size()) return Text();
  return Text(bytes.substr(first, last_end - first));
}

Text RemoveAllSpaces(const Text& text) {
  const std::string_view bytes = text.view();
  std::string out;
  out.reserve(bytes.size());
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < bytes.size();) {
    if (IsSpaceAt(bytes, i)) {
      out.append(bytes, run, i - run);
      i += bytes[i] == ' ' ? 1 : 2;
      run = i;
    } else {
      i += CharLength(bytes, i);
    }
  }
  out.append(bytes, run);
  return Text(std::move(out));
}

Text ToLowerCase(const Text& text) {
  std::string out(text.view());
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b >= kFirstLeadByte) {
      ++i;  // the trail byte of a two-byte character is no letter
    } else if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b + ('a' - 'A'));
    }
  }
  return Text(std::move(out));
}

int ToInteger(const Text& text) {
  const std::string_view bytes = text.view();
  std::size_t i = 0;
  while (i < bytes.size() && IsWhiteSpace(HalfWidthAt(bytes, i))) i += CharLength(bytes, i);
  bool negative = false;
  if (i < bytes.size()) {
    const unsigned char sign = HalfWidthAt(bytes, i);
    if (sign == '+' || sign == '-') {
      negative = sign == '-';
      i += CharLength(bytes, i);
    }
  }
  // The magnitude stops growing once it is beyond every int.
  constexpr std::int64_t kCap = std::int64_t{INT_MAX} + 1;
  std::int64_t magnitude = 0;
  for (; i < bytes.size(); i += CharLength(bytes, i)) {
    const unsigned char digit = HalfWidthAt(bytes, i);
    if (digit < '0' || digit > '9') break;
    magnitude = magnitude * 10 + (digit - '0');
    if (magnitude > kCap) magnitude = kCap;
  }
  if (negative) return static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

}  // namespace tw
