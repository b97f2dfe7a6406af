// Invariant target for the code page 936 conversions: every valid 936 text
// comes back unchanged from UTF-16 and from UTF-8; whatever comes in, the
// measured size equals the converted size, a smaller buffer gets a prefix of
// whole characters, and the 936 that comes out is valid 936.
//
// Input: one byte for the size of a short buffer (0: none), then bytes that
// are read three ways: as they are (936 bytes, perhaps invalid), as UTF-16
// units, and mapped onto a valid 936 text.
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

namespace tw::fuzz {
namespace {

// Valid 936: ASCII, the single bytes 0x80 and 0xFF, and every two-byte code
// (lead 81..FE, trail 40..FE without 7F). Windows' table maps all of them.
// NUL is left out so that the text is also a Text.
std::string ValidCp936(std::string_view in) {
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b == 0) continue;
    if (b < 0x81 || b == 0xFF || i + 1 == in.size()) {
      out += static_cast<char>(b < 0x81 || b == 0xFF ? b : 'x');
      continue;
    }
    const auto pick = static_cast<unsigned char>(in[++i]);
    unsigned trail = 0x40 + pick % 190;  // 190 trail bytes
    if (trail >= 0x7F) ++trail;
    out += static_cast<char>(b);
    out += static_cast<char>(trail);
  }
  return out;
}

std::string ToUtf16(std::string_view cp936, std::size_t capacity) {
  std::string out(2 * capacity, '\0');
  out.resize(2 * Cp936ToUtf16(cp936, out.data(), capacity));
  return out;
}

std::string ToCp936(std::string_view utf16, std::size_t capacity) {
  std::string out(capacity, '\0');
  out.resize(Utf16ToCp936(utf16, out.data(), capacity));
  return out;
}

std::string FullUtf16(std::string_view cp936) {
  const std::size_t units = Cp936ToUtf16(cp936, nullptr, 0);
  std::string out = ToUtf16(cp936, units);
  FUZZ_CHECK_EQ(out.size(), 2 * units);
  return out;
}

std::string FullCp936(std::string_view utf16) {
  const std::size_t size = Utf16ToCp936(utf16, nullptr, 0);
  std::string out = ToCp936(utf16, size);
  FUZZ_CHECK_EQ(out.size(), size);
  return out;
}

bool HasReplacement(std::string_view utf16) {
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    if (utf16le::Load(utf16.data() + i) == utf16le::kReplacement) return true;
  }
  return false;
}

// Whether `cp936` is valid 936, that is, decodes without a replacement.
bool IsValidCp936(std::string_view cp936) { return !HasReplacement(FullUtf16(cp936)); }

void CheckShortBuffer(const std::string& full, const std::string& part, std::size_t capacityBytes,
                      std::size_t largestCharacter) {
  FUZZ_CHECK(part.size() <= capacityBytes);
  FUZZ_CHECK(part.size() + largestCharacter > capacityBytes);
  FUZZ_CHECK_EQ(Bytes(part), Bytes(full.substr(0, part.size())));
}

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  FuzzInput in(data, size);
  const std::size_t shortSize = in.Byte();
  const std::string_view raw = in.Rest();

  // A valid text round-trips through UTF-16 and through UTF-8.
  const std::string valid = ValidCp936(raw);
  const std::string validUtf16 = FullUtf16(valid);
  FUZZ_CHECK(!HasReplacement(validUtf16));
  FUZZ_CHECK_EQ(Bytes(FullCp936(validUtf16)), Bytes(valid));
  FUZZ_CHECK_EQ(TextFromUtf8(TextToUtf8(Text(valid))), Text(valid));

  // Any bytes: invalid sequences become U+FFFD, which 936 writes as "?", so
  // what comes back is valid and no longer than what went in.
  const std::string units = FullUtf16(raw);
  FUZZ_CHECK(units.size() <= 2 * raw.size());
  const std::string again = FullCp936(units);
  FUZZ_CHECK(again.size() <= raw.size());
  FUZZ_CHECK(IsValidCp936(again));
  if (shortSize > 0 && 2 * shortSize < units.size()) {
    CheckShortBuffer(units, ToUtf16(raw, shortSize), 2 * shortSize, 2);
  }

  // Any units: the 936 that comes out is valid and stable.
  const std::string encoded = FullCp936(raw);
  FUZZ_CHECK(IsValidCp936(encoded));
  FUZZ_CHECK_EQ(Bytes(FullCp936(FullUtf16(encoded))), Bytes(encoded));
  if (shortSize > 0 && shortSize < encoded.size()) {
    CheckShortBuffer(encoded, ToCp936(raw, shortSize), shortSize, 2);
  }
  return 0;
}
