// The searching operations against a byte-by-byte model written from their
// contracts, on random texts made of one-byte characters, two-byte characters
// whose trail bytes read as ASCII letters or as the delimiter, and lone lead
// bytes at the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text_ops.h"
#include "tests/support/text_model.h"

namespace tw {
namespace {

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

    ASSERT_EQ(FindText(Text(t), Text(sub), start, letters), model::Find(t, sub, start, ignore_case));
    ASSERT_EQ(FindTextFromEnd(Text(t), Text(sub), start, letters),
              model::FindFromEnd(t, sub, start, ignore_case));
    ASSERT_EQ(ReplaceText(Text(t), Text(sub), Text(replacement), start, count, letters),
              Text(model::Replace(t, sub, replacement, start, count, ignore_case)));
    ASSERT_EQ(SplitText(Text(t), Text(sub), count), model::Split(t, sub, count));
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

    ASSERT_EQ(FindText(Text(t), Text(sub), start, Case::kIgnore), model::Find(t, sub, start, true));
    ASSERT_EQ(FindTextFromEnd(Text(t), Text(sub), start, Case::kIgnore),
              model::FindFromEnd(t, sub, start, true));
    ASSERT_EQ(ReplaceText(Text(t), Text(sub), Text("<>"), start, count, Case::kIgnore),
              Text(model::Replace(t, sub, "<>", start, count, true)));
  }
}

}  // namespace
}  // namespace tw
