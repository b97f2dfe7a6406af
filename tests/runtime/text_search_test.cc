#include <gtest/gtest.h>

#include <string>

#include "runtime/text_ops.h"

namespace tw {
namespace {

// Byte sequences used below. 81 41 and 81 61 are two-byte characters whose
// trail bytes read as "A" and "a"; B0 A1 is 啊; A1 A1 is the full-width space.
#define TRAIL_A "\x81\x41"
#define TRAIL_a "\x81\x61"
#define AH "\xB0\xA1"

constexpr Case kExact = Case::kExact;
constexpr Case kIgnore = Case::kIgnore;

TEST(FindText, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* sub;
    Position start;
    tw::Case letters;
    Position want;
  } kCases[] = {
      {"first match", "a,b,c", ",", 1, kExact, 2},
      {"from start", "a,b,c", ",", 3, kExact, 4},
      {"start on the match", "a,b,c", ",", 4, kExact, 4},
      {"start 0 searches everything", "a,b,c", "a", 0, kExact, 1},
      {"negative start searches everything", "a,b,c", "a", -7, kExact, 1},
      {"start at the last byte", "abc", "c", 3, kExact, 3},
      {"start past the end", "abc", "c", 4, kExact, -1},
      {"start far past the end", "abc", "c", 1000, kExact, -1},
      {"absent", "abc", "d", 1, kExact, -1},
      {"sub longer than the rest", "abc", "bcd", 1, kExact, -1},
      {"whole text", "abc", "abc", 1, kExact, 1},
      {"empty text", "", "a", 1, kExact, -1},
      {"empty sub in a text", "abc", "", 1, kExact, 1},
      {"empty sub found at 1 even from a later start", "abc", "", 3, kExact, 1},
      {"empty sub past the end", "abc", "", 4, kExact, -1},
      {"empty sub in the empty text", "", "", 1, kExact, -1},
      {"exact case differs", "aBc", "b", 1, kExact, -1},
      {"ignored case", "aBc", "bC", 1, kIgnore, 2},
      {"ignored case, upper sub", "abc", "BC", 1, kIgnore, 2},
      {"ignored case only folds letters", "a[c", "{", 1, kIgnore, -1},
      {"trail byte is no character start", TRAIL_A, "A", 1, kExact, -1},
      {"found after a two-byte character", TRAIL_A "A", "A", 1, kExact, 3},
      {"trail byte skipped, later one found", "x" TRAIL_A "A", "A", 1, kExact, 4},
      {"two-byte sub", "a" AH "b", AH, 1, kExact, 2},
      {"lead byte alone as sub at a start", TRAIL_A, "\x81", 1, kExact, 1},
      {"lone lead byte at the end ends the scan", "ab\x81", "\x81", 1, kExact, -1},
      {"match may take in the lone lead byte", "ab\x81", "b\x81", 1, kExact, 2},
      {"characters counted from start", TRAIL_A "A", "A", 2, kExact, 2},
      {"trail byte never folded", TRAIL_a,
       "\x81"
       "A",
       1, kIgnore, -1},
      {"trail byte matched exactly with case ignored", "X" TRAIL_a,
       "x\x81"
       "a",
       1, kIgnore, 1},
      {"one-byte letter after a two-byte one folds", TRAIL_A "a",
       "\x81"
       "AA",
       1, kIgnore, 1},
      {"ignored case skips trail bytes", TRAIL_a "A", "a", 1, kIgnore, 3},
      // A case-ignoring search looks first for the pattern's rarest byte
      // ("_" or "q" below), wherever it sits in the pattern.
      {"rare byte inside the pattern", "<a_b>", "A_B", 1, kIgnore, 2},
      {"rare byte as a trail byte", "\x81q\"", "Q\"", 1, kIgnore, -1},
      {"rare byte as a trail byte, later one found", "\x81q\"Q\"", "q\"", 1, kIgnore, 4},
      {"even run of two-byte bytes before the match", "x" AH AH AH AH "_A", "_a", 1, kIgnore, 10},
      {"odd run of two-byte bytes makes the match a trail", "x\x81" AH AH AH AH "_A", "_a", 1, kIgnore, -1},
      {"full-width space",
       "a\xA1\xA1"
       "b",
       "\xA1\xA1", 1, kExact, 2},
      {"A1 A1 straddling two characters", "\xB0\xA1\xA1\xB0", "\xA1\xA1", 1, kExact, -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindText(c.text, c.sub, c.start, c.letters), c.want);
  }
}

TEST(FindTextFromEnd, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* sub;
    Position start;
    tw::Case letters;
    Position want;
  } kCases[] = {
      {"whole text", "a,b,c", ",", kWholeText, kExact, 4},
      {"any negative start is the whole text", "a,b,c", ",", -9, kExact, 4},
      {"start past the end is the whole text", "a,b,c", ",", 100, kExact, 4},
      {"start just past the end", "a,b,c", "c", 6, kExact, 5},
      {"wholly before start", "a,b,c", ",", 4, kExact, 2},
      {"ending right before start", "a,b,c", ",", 5, kExact, 4},
      {"straddling start is not wholly before it", "abcd", "bc", 3, kExact, -1},
      {"ending at start - 1", "abcd", "bc", 4, kExact, 2},
      {"start 1 has nothing before it", "abc", "a", 1, kExact, -1},
      {"start 0 has nothing before it", "abc", "a", 0, kExact, -1},
      {"absent", "abc", "x", kWholeText, kExact, -1},
      {"empty sub", "abc", "", kWholeText, kExact, -1},
      {"empty text", "", "a", kWholeText, kExact, -1},
      {"overlapping occurrences: the last", "aaaa", "aa", kWholeText, kExact, 3},
      {"ignored case", "xAbxaB", "ab", kWholeText, kIgnore, 5},
      {"exact case", "xAbxaB", "Ab", kWholeText, kExact, 2},
      {"trail byte is no character start", "A" TRAIL_A, "A", kWholeText, kExact, 1},
      {"characters counted from the first byte", TRAIL_A TRAIL_A, "A", kWholeText, kExact, -1},
      {"lead byte whose trail is at start", "x" TRAIL_A, "\x81", 3, kExact, 2},
      {"lone lead byte at the end", "a\x81", "\x81", kWholeText, kExact, -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindTextFromEnd(c.text, c.sub, c.start, c.letters), c.want);
  }
}

TEST(FindBytes, Contract) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string bytes;
    std::string pattern;
    Position start;
    Position want;
  } kCases[] = {
      {"first match", "abcabc", "bc", 1, 2},
      {"from start", "abcabc", "bc", 3, 5},
      {"start <= 1", "abc", "a", -3, 1},
      {"past the end", "abc", "c", 4, -1},
      {"empty pattern", "abc", "", 1, -1},
      {"empty bytes", "", "a", 1, -1},
      {"across NUL bytes", "a\0b\0c"s, "\0c"s, 1, 4},
      {"no character rule for bytes",
       "\x81"
       "A",
       "A", 1, 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindBytes(Bytes(c.bytes), Bytes(c.pattern), c.start), c.want);
  }
}

// Texts where the pattern occurs many times at trail bytes or overlapping:
// the search gives up memmem for its linear automaton part-way, and both
// parts must agree on character starts.
TEST(FindText, ManyRejectedCandidatesStillFindTheRealMatch) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += TRAIL_A;  // "A\x81" at every trail byte
  const std::string tail =
      "A\x81"
      "B";
  EXPECT_EQ(FindText(Text(text), Text("A\x81")), -1);
  EXPECT_EQ(FindText(Text(text + tail), Text("A\x81")), static_cast<Position>(text.size()) + 1);
  EXPECT_EQ(FindText(Text(text + tail), Text("a\x81"), 1, kIgnore), static_cast<Position>(text.size()) + 1);
  EXPECT_EQ(FindTextFromEnd(Text(text + tail), Text("A\x81")), static_cast<Position>(text.size()) + 1);
}

TEST(FindTextFromEnd, DenseOverlappingMatches) {
  const std::string text(50000, 'a');
  EXPECT_EQ(FindTextFromEnd(Text(text), Text("aaaa")), static_cast<Position>(text.size()) - 3);
  EXPECT_EQ(FindTextFromEnd(Text(text), Text("AAAA"), 101, kIgnore), 97);
}

}  // namespace
}  // namespace tw
