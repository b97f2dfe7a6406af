#include "web/cp936.h"

#include "web/conversion_sink.h"
#include "web/cp936_table.h"
#include "web/utf16le.h"

namespace tw {
namespace {

using conversion_internal::Sink;
using utf16le::kUnitSize;

constexpr char kUnmappable = '?';

// Number of leading units of `p` (n units) below 0x80, looked at in blocks
// the compiler can check at once.
std::size_t AsciiUnitPrefix(const char* p, std::size_t n) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    char16_t any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= utf16le::Load(p + (i + k) * kUnitSize);
    if (any >= 0x80) break;
  }
  while (i < n && utf16le::Load(p + i * kUnitSize) < 0x80) ++i;
  return i;
}

void PutCode(Sink<1>& sink, cp936::Code code) {
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
    const std::size_t ascii = AsciiUnitPrefix(p + i * kUnitSize, units - i);
    sink.PutRun(ascii, [from = p + i * kUnitSize](char* to, std::size_t count) {
      for (std::size_t k = 0; k < count; ++k) to[k] = from[k * kUnitSize];
    });
    i += ascii;
    if (i == units) break;
    const char16_t unit = utf16le::Load(p + i * kUnitSize);
    // A surrogate pair is one character beyond the BMP, which 936 cannot hold.
    if (utf16le::IsHighSurrogate(unit) && i + 1 < units &&
        utf16le::IsLowSurrogate(utf16le::Load(p + (i + 1) * kUnitSize))) {
      ++i;
      PutCode(sink, cp936::kNoCode);
    } else {
      PutCode(sink, table.CodeOf(unit));
    }
    ++i;
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
