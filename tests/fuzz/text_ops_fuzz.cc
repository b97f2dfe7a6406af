// Differential target: the runtime's text operations against a byte-by-byte
// model written from their contracts (the searching operations in
// tests/support/text_model.h, the rest here).
//
// Input: a flag byte (case), a start byte, a count byte, then the text, the
// sub and the replacement separated by NUL bytes.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text_ops.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/text_model.h"

namespace tw::fuzz {
namespace {

using model::IsLead;
using model::Lower;
using model::Origin;

// The characters of `t` from byte `origin` on, as [offset, length) pairs. A
// lead byte as the last byte is a unit of its own but no character start.
struct Unit {
  std::size_t at;
  std::size_t length;
  bool isChar;
};
std::vector<Unit> Units(const std::string& t, std::size_t origin = 0) {
  std::vector<Unit> units;
  for (std::size_t i = origin; i < t.size();) {
    if (IsLead(t[i]) && i + 1 == t.size()) {
      units.push_back({i, 1, false});
      break;
    }
    const std::size_t length = IsLead(t[i]) ? 2 : 1;
    units.push_back({i, length, true});
    i += length;
  }
  return units;
}

bool IsSpace(const std::string& t, const Unit& u) {
  const std::string_view bytes = std::string_view(t).substr(u.at, u.length);
  return bytes == " " || bytes == "\xA1\xA1";
}

std::string ModelTrim(const std::string& t) {
  const auto units = Units(t);
  std::size_t first = 0;
  std::size_t last = units.size();
  while (first < last && IsSpace(t, units[first])) ++first;
  while (last > first && IsSpace(t, units[last - 1])) --last;
  if (first == last) return "";
  return t.substr(units[first].at, units[last - 1].at + units[last - 1].length - units[first].at);
}

std::string ModelRemoveSpaces(const std::string& t) {
  std::string out;
  for (const Unit& u : Units(t)) {
    if (!IsSpace(t, u)) out += t.substr(u.at, u.length);
  }
  return out;
}

std::string ModelLower(const std::string& t) {
  std::string out;
  for (const Unit& u : Units(t))
    out += u.length == 1 ? std::string(1, Lower(t[u.at])) : t.substr(u.at, u.length);
  return out;
}

// Full-width digits, signs and the full-width space made half-width, then
// strtol-like reading that saturates at the ends of int.
int ModelToInteger(const std::string& t) {
  std::string half;
  for (const Unit& u : Units(t)) {
    const std::string bytes = t.substr(u.at, u.length);
    const auto trail = u.length == 2 ? static_cast<unsigned char>(bytes[1]) : 0;
    if (bytes[0] == '\xA3' && trail >= 0xB0 && trail <= 0xB9) {
      half += static_cast<char>('0' + (trail - 0xB0));
    } else if (bytes == "\xA3\xAB") {
      half += '+';
    } else if (bytes == "\xA3\xAD") {
      half += '-';
    } else if (bytes == "\xA1\xA1") {
      half += ' ';
    } else {
      half += bytes;
    }
  }
  std::size_t i = 0;
  while (i < half.size() && std::string_view(" \t\n\v\f\r").find(half[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < half.size() && (half[i] == '+' || half[i] == '-')) negative = half[i++] == '-';
  long long value = 0;
  for (; i < half.size() && half[i] >= '0' && half[i] <= '9'; ++i) {
    value = value * 10 + (half[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

Position ModelFindBytes(const std::string& t, const std::string& pattern, Position start) {
  if (pattern.empty()) return -1;
  const std::size_t at = t.find(pattern, Origin(start));
  return at == std::string::npos ? -1 : static_cast<Position>(at + 1);
}

int Sign(int n) { return (n > 0) - (n < 0); }

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  FuzzInput in(data, size);
  const bool ignoreCase = in.Flag();
  const Case letters = ignoreCase ? Case::kIgnore : Case::kExact;
  const Position start = in.SmallNumber();
  const Position count = in.SmallNumber();
  const Text text = in.NextText();
  const Text sub = in.NextText();
  const Text replacement = in.NextText();
  const std::string& t = text.str();
  const std::string& s = sub.str();

  FUZZ_CHECK_EQ(FindText(text, sub, start, letters), model::Find(t, s, start, ignoreCase));
  FUZZ_CHECK_EQ(FindTextFromEnd(text, sub, start, letters), model::FindFromEnd(t, s, start, ignoreCase));
  FUZZ_CHECK_EQ(ReplaceText(text, sub, replacement, start, count, letters),
                Text(model::Replace(t, s, replacement.str(), start, count, ignoreCase)));
  FUZZ_CHECK_EQ(SplitText(text, sub, count), model::Split(t, s, count));
  FUZZ_CHECK_EQ(TrimBothEnds(text), Text(ModelTrim(t)));
  FUZZ_CHECK_EQ(RemoveAllSpaces(text), Text(ModelRemoveSpaces(t)));
  FUZZ_CHECK_EQ(ToLowerCase(text), Text(ModelLower(t)));
  FUZZ_CHECK_EQ(ToInteger(text), ModelToInteger(t));
  FUZZ_CHECK_EQ(Sign(CompareText(text, sub)), Sign(t.compare(s)));
  FUZZ_CHECK_EQ(FindBytes(ToBytes(text), ToBytes(sub), start), ModelFindBytes(t, s, start));
  return 0;
}
