// Differential target: the UTF-8 decoders (to UTF-16, and straight to 936)
// against a plain reference decoder written from the Unicode well-formedness
// table (one U+FFFD for each maximal subpart of an ill-formed sequence), and
// invariants of both directions: measured size = converted size, a smaller
// buffer gets a prefix of whole characters, valid UTF-8 comes back unchanged.
//
// Input: one byte for the size of a short buffer (0: none), then the bytes to
// convert.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "web/codepage.h"
#include "web/cp936.h"
#include "web/utf16le.h"
#include "web/utf8.h"

namespace tw::fuzz {
namespace {

void AppendUnit(std::string& out, char16_t unit) {
  char bytes[2];
  utf16le::Store(bytes, unit);
  out.append(bytes, 2);
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x10000) {
    AppendUnit(out, static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  AppendUnit(out, static_cast<char16_t>(0xD800 + (c >> 10)));
  AppendUnit(out, static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

struct Decoded {
  std::string utf16;
  bool wellFormed = true;
};

// Table 3-7 of the Unicode standard: the length of the sequence a lead byte
// begins and the range its second byte must lie in.
struct Lead {
  int length;
  unsigned char low;
  unsigned char high;
};
Lead LeadOf(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

Decoded ReferenceDecode(std::string_view in) {
  Decoded out;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
  for (std::size_t i = 0; i < in.size();) {
    const unsigned char b = byte(i);
    if (b < 0x80) {
      AppendUnit(out.utf16, b);
      ++i;
      continue;
    }
    const Lead lead = LeadOf(b);
    std::size_t taken = 1;  // bytes of the longest well-formed prefix
    if (lead.length != 0 && i + 1 < in.size() && byte(i + 1) >= lead.low && byte(i + 1) <= lead.high) {
      taken = 2;
      while (taken < static_cast<std::size_t>(lead.length) && i + taken < in.size() &&
             byte(i + taken) >= 0x80 && byte(i + taken) <= 0xBF) {
        ++taken;
      }
    }
    if (lead.length == 0 || taken < static_cast<std::size_t>(lead.length)) {
      AppendUnit(out.utf16, utf16le::kReplacement);
      out.wellFormed = false;
      i += taken;
      continue;
    }
    char32_t c = b & (0xFF >> (lead.length + 1));
    for (std::size_t k = 1; k < taken; ++k) c = c << 6 | (byte(i + k) & 0x3F);
    AppendCodePoint(out.utf16, c);
    i += taken;
  }
  return out;
}

// UTF-16 units with every lone surrogate replaced, as Utf16ToUtf8 reads them.
std::string Repaired(std::string_view utf16) {
  std::string out;
  const std::size_t units = utf16.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = utf16le::Load(utf16.data() + 2 * i);
    if (utf16le::IsHighSurrogate(unit) && i + 1 < units &&
        utf16le::IsLowSurrogate(utf16le::Load(utf16.data() + 2 * (i + 1)))) {
      AppendUnit(out, unit);
      AppendUnit(out, utf16le::Load(utf16.data() + 2 * ++i));
    } else if (utf16le::IsHighSurrogate(unit) || utf16le::IsLowSurrogate(unit)) {
      AppendUnit(out, utf16le::kReplacement);
    } else {
      AppendUnit(out, unit);
    }
  }
  return out;
}

std::string DecodeInto(std::string_view utf8, std::size_t capacity) {
  std::string out(2 * capacity, '\0');
  out.resize(2 * Utf8ToUtf16(utf8, out.data(), capacity));
  return out;
}

std::string Cp936Into(std::string_view utf8, std::size_t capacity) {
  std::string out(capacity, '\0');
  out.resize(Utf8ToCp936(utf8, out.data(), capacity));
  return out;
}

std::string Cp936OfUnits(std::string_view utf16) {
  std::string out(Utf16ToCp936(utf16, nullptr, 0), '\0');
  Utf16ToCp936(utf16, out.data(), out.size());
  return out;
}

std::string EncodeInto(std::string_view utf16, std::size_t capacity) {
  std::string out(capacity, '\0');
  out.resize(Utf16ToUtf8(utf16, out.data(), capacity));
  return out;
}

// A conversion into too small a buffer: whole characters only, as many as fit.
void CheckShortBuffer(const std::string& full, const std::string& part, std::size_t capacityBytes) {
  FUZZ_CHECK(part.size() <= capacityBytes);
  FUZZ_CHECK_EQ(Bytes(part), Bytes(full.substr(0, part.size())));
}

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  FuzzInput in(data, size);
  const std::size_t shortUnits = in.Byte();
  const std::string_view bytes = in.Rest();

  // UTF-8 -> UTF-16.
  const Decoded expected = ReferenceDecode(bytes);
  const std::size_t units = Utf8ToUtf16(bytes, nullptr, 0);
  FUZZ_CHECK_EQ(units * 2, expected.utf16.size());
  const std::string utf16 = DecodeInto(bytes, units);
  FUZZ_CHECK_EQ(Bytes(utf16), Bytes(expected.utf16));
  FUZZ_CHECK_EQ(Utf8ToWide(Bytes(bytes)), Bytes(expected.utf16));
  if (shortUnits > 0 && shortUnits < units) {
    const std::string part = DecodeInto(bytes, shortUnits);
    CheckShortBuffer(utf16, part, 2 * shortUnits);
    // Only a surrogate pair can leave a unit of the buffer unused.
    FUZZ_CHECK(
        part.size() == 2 * shortUnits ||
        (part.size() + 2 == 2 * shortUnits && utf16le::IsHighSurrogate(utf16le::Load(&utf16[part.size()]))));
  }
  if (expected.wellFormed)
    FUZZ_CHECK_EQ(Bytes(EncodeInto(utf16, Utf16ToUtf8(utf16, nullptr, 0))), Bytes(bytes));

  // UTF-8 -> 936 in one step: the same as through the reference's UTF-16.
  const std::string expectedAnsi = Cp936OfUnits(expected.utf16);
  FUZZ_CHECK_EQ(Utf8ToCp936(bytes, nullptr, 0), expectedAnsi.size());
  FUZZ_CHECK_EQ(Utf8ToAnsi(Bytes(bytes)), Bytes(expectedAnsi));
  if (shortUnits > 0 && shortUnits < expectedAnsi.size()) {
    const std::string part = Cp936Into(bytes, shortUnits);
    CheckShortBuffer(expectedAnsi, part, shortUnits);
    FUZZ_CHECK(part.size() + 1 >= shortUnits);  // only a two-byte character can leave a byte unused
  }

  // UTF-16 -> UTF-8, the input read as units: always well-formed UTF-8 that
  // decodes to the units with lone surrogates replaced.
  const std::size_t length = Utf16ToUtf8(bytes, nullptr, 0);
  const std::string utf8 = EncodeInto(bytes, length);
  FUZZ_CHECK_EQ(utf8.size(), length);
  const Decoded back = ReferenceDecode(utf8);
  FUZZ_CHECK(back.wellFormed);
  FUZZ_CHECK_EQ(Bytes(back.utf16), Bytes(Repaired(bytes)));
  if (shortUnits > 0 && shortUnits < length)
    CheckShortBuffer(utf8, EncodeInto(bytes, shortUnits), shortUnits);
  return 0;
}
