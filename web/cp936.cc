#include "web/cp936.h"

#include <cstring>

#include "web/conversion_sink.h"
#include "web/cp936_table.h"
#include "web/utf16le.h"
#include "web/utf8_decode.h"

namespace tw {
namespace {

using conversion_internal::Sink;
using utf16le::kUnitSize;
using utf8_internal::kBlock;

constexpr char kUnmappable = '?';

// Number of leading units of `p` (n units) below 0x80: the first few one by
// one, as short runs in mixed text end there, then in blocks of fixed size,
// which the compiler checks at once.
std::size_t AsciiUnitPrefix(const char* p, std::size_t n) {
  std::size_t i = 0;
  for (; i < kBlock && i < n; ++i) {
    if (utf16le::Load(p + i * kUnitSize) >= 0x80) return i;
  }
  for (; i + kBlock <= n; i += kBlock) {
    char16_t any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= utf16le::Load(p + (i + k) * kUnitSize);
    if (any >= 0x80) break;
  }
  while (i < n && utf16le::Load(p + i * kUnitSize) < 0x80) ++i;
  return i;
}

// A 936 code as its one or two bytes, or "?" for none. Inlined by force, as
// it runs once a character.
[[gnu::always_inline]] inline void PutCode(Sink<1>& sink, cp936::Code code) {
  if (code == cp936::kNoCode) {
    sink.Put(&kUnmappable, 1);
  } else if (code < 0x100) {
    const char byte = static_cast<char>(code);
    sink.Put(&byte, 1);
  } else {
    const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    sink.Put(pair, 2);
  }
}

// A BMP unit; measuring needs only its size.
[[gnu::always_inline]] inline void PutUnitAs936(Sink<1>& sink, const cp936::Table& table, char16_t unit) {
  if (sink.Measuring()) {
    sink.Count(table.SizeOf(unit));
  } else {
    PutCode(sink, table.CodeOf(unit));
  }
}

void PutUnit(Sink<kUnitSize>& sink, char16_t unit) {
  char bytes[kUnitSize];
  utf16le::Store(bytes, unit);
  sink.Put(bytes, 1);
}

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

}  // namespace

std::size_t Utf16ToCp936(std::string_view utf16, char* cp936, std::size_t capacity) {
  const cp936::Table& table = cp936::TheTable();
  const char* p = utf16.data();
  const std::size_t units = utf16.size() / kUnitSize;
  Sink<1> sink(cp936, capacity);
  std::size_t i = 0;
  while (i < units) {
    const char16_t unit = utf16le::Load(p + i * kUnitSize);
    if (unit < 0x80) {
      const std::size_t ascii = AsciiUnitPrefix(p + i * kUnitSize, units - i);
      sink.PutRun(ascii, [from = p + i * kUnitSize](char* to, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) to[k] = from[k * kUnitSize];
      });
      i += ascii;
      continue;
    }
    // A surrogate pair is one character beyond the BMP.
    if (utf16le::IsHighSurrogate(unit) && i + 1 < units &&
        utf16le::IsLowSurrogate(utf16le::Load(p + (i + 1) * kUnitSize))) {
      PutCode(sink, cp936::kNoCode);
      i += 2;
      continue;
    }
    PutUnitAs936(sink, table, unit);
    ++i;
  }
  return sink.Size();
}

std::size_t Utf8ToCp936(std::string_view utf8, char* cp936, std::size_t capacity) {
  const cp936::Table& table = cp936::TheTable();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  Sink<1> sink(cp936, capacity);
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const std::size_t ascii = utf8_internal::AsciiPrefix(p + i, n - i);
      sink.PutRun(ascii, [from = p + i](char* to, std::size_t count) {
        if (count < kBlock) {
          for (std::size_t k = 0; k < count; ++k) to[k] = static_cast<char>(from[k]);
        } else {
          std::memcpy(to, from, count);
        }
      });
      i += ascii;
      continue;
    }
    const utf8_internal::Decoded decoded = utf8_internal::DecodeSequence(p + i, n - i);
    // Beyond the BMP (a surrogate pair in UTF-16) 936 holds nothing.
    if (decoded.codePoint < 0x10000) {
      PutUnitAs936(sink, table, static_cast<char16_t>(decoded.codePoint));
    } else {
      PutCode(sink, cp936::kNoCode);
    }
    i += decoded.length;
  }
  return sink.Size();
}

std::size_t Cp936ToUtf16(std::string_view cp936, char* utf16, std::size_t capacity) {
  const cp936::Table& table = cp936::TheTable();
  const auto* p = reinterpret_cast<const unsigned char*>(cp936.data());
  const std::size_t n = cp936.size();
  Sink<kUnitSize> sink(utf16, capacity);
  std::size_t i = 0;
  while (i < n) {
    const unsigned char byte = p[i];
    if (!IsLeadByte(byte)) {
      const char16_t unit = table.Unit(byte);
      PutUnit(sink, unit == cp936::kNoUnit ? utf16le::kReplacement : unit);
      ++i;
      continue;
    }
    if (i + 1 == n) {
      PutUnit(sink, utf16le::kReplacement);
      break;
    }
    const unsigned char trail = p[i + 1];
    const char16_t unit = table.Unit(static_cast<cp936::Code>(byte << 8 | trail));
    PutUnit(sink, unit == cp936::kNoUnit ? utf16le::kReplacement : unit);
    // A follower that cannot be a trail byte is not swallowed by the broken
    // pair: it is read again as a character of its own.
    i += unit == cp936::kNoUnit && !IsTrailByte(trail) ? 1 : 2;
  }
  return sink.Size();
}

}  // namespace tw
