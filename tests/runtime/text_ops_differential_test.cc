// The searching operations against a byte-by-byte model written from their
// contracts, on random texts made of one-byte characters, two-byte characters
// whose trail bytes read as ASCII letters or as the delimiter, and lone lead
// bytes at the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text_ops.h"

namespace tw {
namespace {

// --- The model -------------------------------------------------------------

// is_start[i]: byte i begins a character, counting characters from `origin`.
// A lead byte as the last byte is no character.
std::vector<bool> CharStarts(const std::string& t, std::size_t origin) {
  std::vector<bool> is_start(t.size() + 1, false);
  for (std::size_t i = origin; i < t.size();) {
    const bool lead = static_cast<unsigned char>(t[i]) >= 0x80;
    if (lead && i + 1 == t.size()) break;
    is_start[i] = true;
    i += lead ? 2 : 1;
  }
  return is_start;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Whether `sub` matches at character start `at`: byte by byte, a byte of the
// text that is a one-byte character compared with case folded when asked.
bool MatchesAt(const std::string& t, const std::vector<bool>& is_start, std::size_t at,
               const std::string& sub, bool ignore_case) {
  if (!is_start[at] || at + sub.size() > t.size()) return false;
  for (std::size_t j = 0; j < sub.size(); ++j) {
    const char a = t[at + j];
    const bool one_byte_char = is_start[at + j] && static_cast<unsigned char>(a) < 0x80;
    if (ignore_case && one_byte_char ? Lower(a) != Lower(sub[j]) : a != sub[j]) return false;
  }
  return true;
}

std::size_t Origin(Position start) { return start <= 1 ? 0 : static_cast<std::size_t>(start - 1); }

Position ModelFind(const std::string& t, const std::string& sub, Position start, bool ignore_case) {
  const std::size_t origin = Origin(start);
  if (origin >= t.size()) return -1;
  if (sub.empty()) return 1;
  const auto is_start = CharStarts(t, origin);
  for (std::size_t i = origin; i < t.size(); ++i) {
    if (MatchesAt(t, is_start, i, sub, ignore_case)) return static_cast<Position>(i) + 1;
  }
  return -1;
}

Position ModelFindFromEnd(const std::string& t, const std::string& sub, Position start, bool ignore_case) {
  if (sub.empty()) return -1;
  const auto is_start = CharStarts(t, 0);
  Position last = -1;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const bool before_start = start < 0 || static_cast<Position>(i + sub.size()) < start;
    if (before_start && MatchesAt(t, is_start, i, sub, ignore_case)) last = static_cast<Position>(i) + 1;
  }
  return last;
}

std::string ModelReplace(const std::string& t, const std::string& sub, const std::string& replacement,
                         Position start, Position count, bool ignore_case) {
  const std::size_t origin = Origin(start);
  if (t.empty() || sub.empty() || origin >= t.size()) return t;
  const auto is_start = CharStarts(t, origin);
  std::string out = t.substr(0, origin);
  Position done = 0;
  for (std::size_t i = origin; i < t.size();) {
    if ((count < 0 || done < count) && MatchesAt(t, is_start, i, sub, ignore_case)) {
      out += replacement;
      i += sub.size();
      ++done;
    } else {
      out += t[i++];
    }
  }
  return out;
}

std::vector<std::string> ModelSplit(const std::string& t, const std::string& delimiter, Position max_count) {
  std::vector<std::string> pieces;
  if (t.empty() || max_count == 0) return pieces;
  if (delimiter.empty()) return {t};
  const auto is_start = CharStarts(t, 0);
  std::string piece;
  for (std::size_t i = 0; i < t.size();) {
    if (MatchesAt(t, is_start, i, delimiter, false)) {
      pieces.push_back(piece);
      piece.clear();
      i += delimiter.size();
    } else {
      piece += t[i++];
    }
  }
  // The text is not empty, so an empty rest means it ended with a delimiter.
  if (!piece.empty()) pieces.push_back(piece);
  if (max_count > 0 && pieces.size() > static_cast<std::size_t>(max_count)) {
    pieces.resize(static_cast<std::size_t>(max_count));
  }
  return pieces;
}

// --- Random GBK-like inputs --------------------------------------------------

// A fixed-seed generator whose sequence is the same on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Below(std::uint32_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33) % n;
  }

 private:
  std::uint64_t state_;
};

// What random texts are made of: pieces of whole characters, and lead and
// trail bytes that pair up into two-byte characters. Trail bytes are chosen
// to look like what is searched for.
struct Alphabet {
  std::vector<std::string> pieces;
  std::vector<std::string> leads;
  std::vector<std::string> trails;
};

const Alphabet kWide = {
    {"a", "A", "b", "B", ",", " "}, {"\x81", "\xA1", "\xB0"}, {"A", "a", "\x81", "b", ",", "\xA1"}};
// Only "A", "a", 81 41 and 81 61, so that a piece of the text recurs densely,
// at character starts and at trail bytes alike.
const Alphabet kNarrow = {{"a", "A"}, {"\x81"}, {"A", "a"}};
// Markup: bytes that are rare or common in pages, as one-byte characters and
// as trail bytes (81 22, 81 5F, 81 71), and runs of two-byte characters whose
// bytes are all >= 0x80 (B0 A1 is 啊).
const Alphabet kMarkup = {
    {"a", "A", "q", "Q", "\"", "_", ":", "<", "\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1"},
    {"\x81", "\xB0"},
    {"A", "a", "Q", "q", "\"", "_", "\xA1"}};

std::string RandomText(Random& random, std::size_t max_chars, const Alphabet& alphabet = kWide) {
  auto pick = [&random](const std::vector<std::string>& from) -> const std::string& {
    return from[random.Below(static_cast<std::uint32_t>(from.size()))];
  };
  std::string t;
  const std::size_t chars = random.Below(static_cast<std::uint32_t>(max_chars + 1));
  for (std::size_t i = 0; i < chars; ++i) {
    if (random.Below(2) == 0) {
      t += pick(alphabet.pieces);
    } else {
      t += pick(alphabet.leads);
      t += pick(alphabet.trails);
    }
  }
  if (random.Below(5) == 0) t += pick(alphabet.leads);  // a lone lead byte at the end
  return t;
}

// A sub: often a piece of the text, so that matches exist, else random.
std::string RandomSub(Random& random, const std::string& t, std::uint32_t max_size = 4,
                      const Alphabet& alphabet = kWide) {
  if (!t.empty() && random.Below(3) != 0) {
    const std::size_t at = random.Below(static_cast<std::uint32_t>(t.size()));
    return t.substr(at, 1 + random.Below(max_size));
  }
  return RandomText(random, 2, alphabet);
}

// Flips the case of ASCII letters at random, trail bytes included: a folded
// one-byte letter must still match, a trail byte must not.
std::string FlipCases(Random& random, std::string sub) {
  for (char& c : sub) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter && random.Below(2) == 0) c = static_cast<char>(c ^ ('a' - 'A'));
  }
  return sub;
}

Position RandomStart(Random& random, const std::string& t) {
  return static_cast<Position>(random.Below(static_cast<std::uint32_t>(t.size() + 4))) - 1;
}

TextArray ToArray(const std::vector<std::string>& pieces) {
  TextArray array;
  for (const std::string& piece : pieces) array.Append(Text(piece));
  return array;
}

constexpr int kCases = 4000;

TEST(Differential, SearchOperationsAgreeWithTheModel) {
  Random random(20240611);
  for (int n = 0; n < kCases; ++n) {
    // Every 25th text is long and narrow: the search gives up memmem for
    // its automaton part-way.
    const bool long_text = n % 25 == 0;
    const std::string t = RandomText(random, long_text ? 6000 : 12, long_text ? kNarrow : kWide);
    const std::string sub = RandomSub(random, t);
    const std::string replacement = RandomText(random, 2);
    const Position start = RandomStart(random, t);
    const Position count = static_cast<Position>(random.Below(4)) - 1;
    const bool ignore_case = random.Below(2) == 0;
    const Case letters = ignore_case ? Case::kIgnore : Case::kExact;
    SCOPED_TRACE(testing::Message() << "case " << n << ": text " << Text(t) << ", sub " << Text(sub)
                                    << ", start " << start << ", count " << count << ", ignore case "
                                    << ignore_case);

    ASSERT_EQ(FindText(Text(t), Text(sub), start, letters), ModelFind(t, sub, start, ignore_case));
    ASSERT_EQ(FindTextFromEnd(Text(t), Text(sub), start, letters),
              ModelFindFromEnd(t, sub, start, ignore_case));
    ASSERT_EQ(ReplaceText(Text(t), Text(sub), Text(replacement), start, count, letters),
              Text(ModelReplace(t, sub, replacement, start, count, ignore_case)));
    ASSERT_EQ(SplitText(Text(t), Text(sub), count), ToArray(ModelSplit(t, sub, count)));
  }
}

// Case ignored on markup: the search looks first for the sub's rarest byte,
// which is often a trail byte in the text, or follows a long run of bytes
// >= 0x80 whose parity decides where characters start.
TEST(Differential, CaseIgnoringSearchesOfMarkupAgreeWithTheModel) {
  Random random(20250107);
  for (int n = 0; n < kCases; ++n) {
    // Every 10th text is long, so candidates lie far apart.
    const std::string t = RandomText(random, n % 10 == 0 ? 2000 : 16, kMarkup);
    const std::string sub = FlipCases(random, RandomSub(random, t, 8, kMarkup));
    const Position start = RandomStart(random, t);
    const Position count = static_cast<Position>(random.Below(4)) - 1;
    SCOPED_TRACE(testing::Message() << "case " << n << ": text " << Text(t) << ", sub " << Text(sub)
                                    << ", start " << start << ", count " << count);

    ASSERT_EQ(FindText(Text(t), Text(sub), start, Case::kIgnore), ModelFind(t, sub, start, true));
    ASSERT_EQ(FindTextFromEnd(Text(t), Text(sub), start, Case::kIgnore),
              ModelFindFromEnd(t, sub, start, true));
    ASSERT_EQ(ReplaceText(Text(t), Text(sub), Text("<>"), start, count, Case::kIgnore),
              Text(ModelReplace(t, sub, "<>", start, count, true)));
  }
}

}  // namespace
}  // namespace tw
