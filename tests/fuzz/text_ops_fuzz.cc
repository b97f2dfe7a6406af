// Differential target: the runtime's text operations against a byte-by-byte
// model written from their contracts. The model is slow and plain on
// purpose; the real operations skip ahead by words and use memmem.
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

namespace tw::fuzz {
namespace {

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

std::vector<bool> CharStarts(const std::string& t, std::size_t origin) {
  std::vector<bool> starts(t.size() + 1, false);
  for (const Unit& u : Units(t, origin)) starts[u.at] = u.isChar;
  return starts;
}

bool MatchesAt(const std::string& t, const std::vector<bool>& starts, std::size_t at, const std::string& sub,
               bool ignoreCase) {
  if (!starts[at] || at + sub.size() > t.size()) return false;
  for (std::size_t j = 0; j < sub.size(); ++j) {
    const char a = t[at + j];
    const bool fold = ignoreCase && starts[at + j] && !IsLead(a);
    if (fold ? Lower(a) != Lower(sub[j]) : a != sub[j]) return false;
  }
  return true;
}

std::size_t Origin(Position start) { return start <= 1 ? 0 : static_cast<std::size_t>(start - 1); }

Position ModelFind(const std::string& t, const std::string& sub, Position start, bool ignoreCase) {
  const std::size_t origin = Origin(start);
  if (origin >= t.size()) return -1;
  if (sub.empty()) return 1;
  const auto starts = CharStarts(t, origin);
  for (std::size_t i = origin; i < t.size(); ++i) {
    if (MatchesAt(t, starts, i, sub, ignoreCase)) return static_cast<Position>(i + 1);
  }
  return -1;
}

Position ModelFindFromEnd(const std::string& t, const std::string& sub, Position start, bool ignoreCase) {
  if (sub.empty()) return -1;
  const auto starts = CharStarts(t, 0);
  Position last = -1;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto end = static_cast<Position>(i + sub.size());  // the match's last byte, from 1
    if ((start < 0 || end < start) && MatchesAt(t, starts, i, sub, ignoreCase))
      last = static_cast<Position>(i + 1);
  }
  return last;
}

std::string ModelReplace(const std::string& t, const std::string& sub, const std::string& replacement,
                         Position start, Position count, bool ignoreCase) {
  const std::size_t origin = Origin(start);
  if (t.empty() || sub.empty() || origin >= t.size()) return t;
  const auto starts = CharStarts(t, origin);
  std::string out = t.substr(0, origin);
  Position done = 0;
  for (std::size_t i = origin; i < t.size();) {
    if ((count < 0 || done < count) && MatchesAt(t, starts, i, sub, ignoreCase)) {
      out += replacement;
      i += sub.size();
      ++done;
    } else {
      out += t[i++];
    }
  }
  return out;
}

TextArray ModelSplit(const std::string& t, const std::string& delimiter, Position maxCount) {
  TextArray pieces;
  if (t.empty() || maxCount == 0) return pieces;
  if (delimiter.empty()) return {Text(t)};
  const auto starts = CharStarts(t, 0);
  std::string piece;
  bool pending = false;  // a piece has begun: the text does not end in a delimiter here
  for (std::size_t i = 0; i < t.size();) {
    if (MatchesAt(t, starts, i, delimiter, false)) {
      pieces.Append(Text(piece));
      piece.clear();
      pending = false;
      i += delimiter.size();
    } else {
      piece += t[i++];
      pending = true;
    }
  }
  if (pending) pieces.Append(Text(piece));
  if (maxCount < 0 || pieces.MemberCount() <= maxCount) return pieces;
  TextArray kept;
  for (Position n = 1; n <= maxCount; ++n) kept.Append(pieces[n]);
  return kept;
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

  FUZZ_CHECK_EQ(FindText(text, sub, start, letters), ModelFind(t, s, start, ignoreCase));
  FUZZ_CHECK_EQ(FindTextFromEnd(text, sub, start, letters), ModelFindFromEnd(t, s, start, ignoreCase));
  FUZZ_CHECK_EQ(ReplaceText(text, sub, replacement, start, count, letters),
                Text(ModelReplace(t, s, replacement.str(), start, count, ignoreCase)));
  FUZZ_CHECK_EQ(SplitText(text, sub, count), ModelSplit(t, s, count));
  FUZZ_CHECK_EQ(TrimBothEnds(text), Text(ModelTrim(t)));
  FUZZ_CHECK_EQ(RemoveAllSpaces(text), Text(ModelRemoveSpaces(t)));
  FUZZ_CHECK_EQ(ToLowerCase(text), Text(ModelLower(t)));
  FUZZ_CHECK_EQ(ToInteger(text), ModelToInteger(t));
  FUZZ_CHECK_EQ(Sign(CompareText(text, sub)), Sign(t.compare(s)));
  FUZZ_CHECK_EQ(FindBytes(ToBytes(text), ToBytes(sub), start), ModelFindBytes(t, s, start));
  return 0;
}
