#include "web/utf8.h"

#include "web/conversion_sink.h"
#include "web/utf16le.h"
#include "web/utf8_decode.h"

namespace tw {
namespace {

using conversion_internal::Sink;
using utf16le::kReplacement;
using utf16le::kUnitSize;
using utf8_internal::kBlock;

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
    if (p[i] >= 0x80) {
      const utf8_internal::Decoded decoded = utf8_internal::DecodeSequence(p + i, n - i);
      PutCodePoint(sink, decoded.codePoint);
      i += decoded.length;
      continue;
    }
    const std::size_t ascii = utf8_internal::AsciiPrefix(p + i, n - i);
    sink.PutRun(ascii, [from = p + i](char* to, std::size_t count) {
      // Whole blocks first: a loop of fixed length is one the compiler widens at once.
      std::size_t k = 0;
      for (; k + kBlock <= count; k += kBlock) {
        for (std::size_t j = 0; j < kBlock; ++j) utf16le::Store(to + (k + j) * kUnitSize, from[k + j]);
      }
      for (; k < count; ++k) utf16le::Store(to + k * kUnitSize, from[k]);
    });
    i += ascii;
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
