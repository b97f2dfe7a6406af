#include "web/utf8.h"

#include "web/conversion_sink.h"
#include "web/utf16le.h"

namespace tw {
namespace {

using conversion_internal::Sink;
using utf16le::kReplacement;
using utf16le::kUnitSize;

struct Decoded {
  char32_t codePoint;  // kReplacement for an ill-formed sequence
  std::size_t length;  // bytes taken
};

// One sequence at `p` (n > 0 bytes available), by the table of well-formed
// byte sequences (Unicode 3.9, table 3-7): the lead byte fixes the length and
// the range of the second byte, every further byte is 80-BF. An ill-formed
// sequence takes only the bytes that could begin a well-formed one.
Decoded DecodeSequence(const unsigned char* p, std::size_t n) {
  const unsigned char lead = p[0];
  if (lead < 0x80) return {lead, 1};

  std::size_t followers = 0;
  char32_t codePoint = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    followers = 1;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    followers = 2;
    codePoint = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    followers = 3;
    codePoint = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return {kReplacement, 1};  // continuation byte, C0/C1, F5-FF
  }

  for (std::size_t i = 1; i <= followers; ++i) {
    if (i == n || p[i] < low || p[i] > high) return {kReplacement, i};
    codePoint = codePoint << 6 | (p[i] & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  return {codePoint, followers + 1};
}

// Length of the ASCII prefix of `p`, looked at in blocks the compiler can
// check at once.
std::size_t AsciiPrefix(const unsigned char* p, std::size_t n) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    unsigned char any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= p[i + k];
    if (any >= 0x80) break;
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

void PutUnit(Sink<kUnitSize>& sink, char16_t unit) {
  char bytes[kUnitSize];
  utf16le::Store(bytes, unit);
  sink.Put(bytes, 1);
}

void PutCodePoint(Sink<kUnitSize>& sink, char32_t codePoint) {
  if (codePoint < 0x10000) {
    PutUnit(sink, static_cast<char16_t>(codePoint));
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  char bytes[2 * kUnitSize];
  utf16le::Store(bytes, static_cast<char16_t>(0xD800 + (offset >> 10)));
  utf16le::Store(bytes + kUnitSize, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
  sink.Put(bytes, 2);
}

void PutUtf8(Sink<1>& sink, char32_t codePoint) {
  char bytes[4];
  std::size_t n = 0;
  if (codePoint < 0x80) {
    bytes[n++] = static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    bytes[n++] = static_cast<char>(0xC0 | codePoint >> 6);
    bytes[n++] = static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    bytes[n++] = static_cast<char>(0xE0 | codePoint >> 12);
    bytes[n++] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    bytes[n++] = static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    bytes[n++] = static_cast<char>(0xF0 | codePoint >> 18);
    bytes[n++] = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    bytes[n++] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    bytes[n++] = static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  sink.Put(bytes, n);
}

}  // namespace

std::size_t Utf8ToUtf16(std::string_view utf8, char* utf16, std::size_t capacity) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  Sink<kUnitSize> sink(utf16, capacity);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t ascii = AsciiPrefix(p + i, n - i);
    sink.PutRun(ascii, [from = p + i](char* to, std::size_t count) {
      for (std::size_t k = 0; k < count; ++k) utf16le::Store(to + k * kUnitSize, from[k]);
    });
    i += ascii;
    if (i == n) break;
    const Decoded decoded = DecodeSequence(p + i, n - i);
    PutCodePoint(sink, decoded.codePoint);
    i += decoded.length;
  }
  return sink.Size();
}

std::size_t Utf16ToUtf8(std::string_view utf16, char* utf8, std::size_t capacity) {
  const std::size_t units = utf16.size() / kUnitSize;
  Sink<1> sink(utf8, capacity);
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = utf16le::Load(utf16.data() + i * kUnitSize);
    char32_t codePoint = unit;
    if (utf16le::IsHighSurrogate(unit) && i + 1 < units &&
        utf16le::IsLowSurrogate(utf16le::Load(utf16.data() + (i + 1) * kUnitSize))) {
      const char16_t low = utf16le::Load(utf16.data() + ++i * kUnitSize);
      codePoint = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00u);
    } else if (utf16le::IsHighSurrogate(unit) || utf16le::IsLowSurrogate(unit)) {
      codePoint = kReplacement;
    }
    PutUtf8(sink, codePoint);
  }
  return sink.Size();
}

}  // namespace tw
