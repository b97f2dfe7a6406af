#include <gtest/gtest.h>

#include <string>

#include "runtime/text_ops.h"

namespace tw {
namespace {

// 81 41 is a two-byte character whose trail byte reads as "A".
#define TRAIL_A "\x81\x41"

constexpr Case kExact = Case::kExact;
constexpr Case kIgnore = Case::kIgnore;

TEST(ReplaceText, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* sub;
    const char* replacement;
    Position start;
    Position count;
    tw::Case letters;
    const char* want;
  } kCases[] = {
      {"every occurrence", "a,b,c", ",", ";", 1, kAll, kIgnore, "a;b;c"},
      {"longer replacement", "a,b", ",", "<->", 1, kAll, kIgnore, "a<->b"},
      {"empty replacement", "a\\/b\\/c", "\\", "", 1, kAll, kIgnore, "a/b/c"},
      {"case ignored", "aXbxc", "x", "-", 1, kAll, kIgnore, "a-b-c"},
      {"case exact", "aXbxc", "x", "-", 1, kAll, kExact, "aXb-c"},
      {"count limits", "xxxx", "x", "y", 1, 2, kIgnore, "yyxx"},
      {"count 0 replaces nothing", "xxxx", "x", "y", 1, 0, kIgnore, "xxxx"},
      {"any negative count is all", "xxxx", "x", "y", 1, -5, kIgnore, "yyyy"},
      {"start keeps the bytes before it", "xxxx", "x", "y", 3, kAll, kIgnore, "xxyy"},
      {"start and count", "xxxx", "x", "y", 2, 2, kIgnore, "xyyx"},
      {"start <= 1 is the whole text", "xx", "x", "y", -4, kAll, kIgnore, "yy"},
      {"start past the end", "xx", "x", "y", 3, kAll, kIgnore, "xx"},
      {"no overlap, left to right", "aaaaa", "aa", "b", 1, kAll, kIgnore, "bba"},
      {"replacement is not searched again", "ab", "a", "aa", 1, kAll, kIgnore, "aab"},
      {"empty text", "", "x", "y", 1, kAll, kIgnore, ""},
      {"empty sub", "abc", "", "y", 1, kAll, kIgnore, "abc"},
      {"absent", "abc", "x", "y", 1, kAll, kIgnore, "abc"},
      {"whole text", "abc", "ABC", "", 1, kAll, kIgnore, ""},
      {"trail byte left alone", TRAIL_A "A", "A", "b", 1, kAll, kExact, TRAIL_A "b"},
      {"trail byte never folded",
       "\x81"
       "a"
       "a",
       "A", "b", 1, kAll, kIgnore,
       "\x81"
       "ab"},
      {"two-byte sub", "x\xB0\xA1y\xB0\xA1", "\xB0\xA1", "-", 1, kAll, kExact, "x-y-"},
      {"characters counted from start", TRAIL_A "A", "A", "b", 2, kAll, kExact,
       "\x81"
       "bb"},
      {"after a match the grid goes on", "\x81" TRAIL_A, "\x81", "", 1, kAll, kExact,
       "\x81"
       "A"},
      {"lone lead byte at the end stays", "a\x81", "\x81", "", 1, kAll, kExact, "a\x81"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceText(c.text, c.sub, c.replacement, c.start, c.count, c.letters), Text(c.want));
  }
}

TEST(ReplaceText, FoldsLettersByDefault) { EXPECT_EQ(ReplaceText("A-a", "a", "b"), Text("b-b")); }

TEST(SplitText, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* delimiter;
    Position maxCount;
    TextArray want;
  } kCases[] = {
      {"pieces", "a,b,c", ",", kAll, {"a", "b", "c"}},
      {"empty pieces kept", ",a,,b", ",", kAll, {"", "a", "", "b"}},
      {"none after a final delimiter", "a,b,", ",", kAll, {"a", "b"}},
      {"only a delimiter", ",", ",", kAll, {""}},
      {"two final delimiters keep one empty piece", "a,,", ",", kAll, {"a", ""}},
      {"no delimiter in the text", "abc", ",", kAll, {"abc"}},
      {"empty text", "", ",", kAll, {}},
      {"empty delimiter", "a,b", "", kAll, {"a,b"}},
      {"empty text and delimiter", "", "", kAll, {}},
      {"longer delimiter", "a<>b<>c", "<>", kAll, {"a", "b", "c"}},
      {"delimiters do not overlap", "a:::b", "::", kAll, {"a", ":b"}},
      {"case is exact", "aXbxc", "x", kAll, {"aXb", "c"}},
      {"maxCount drops the rest", "a,b,c", ",", 2, {"a", "b"}},
      {"maxCount above the pieces", "a,b", ",", 5, {"a", "b"}},
      {"maxCount 0", "a,b", ",", 0, {}},
      {"maxCount 1 with an empty delimiter", "ab", "", 1, {"ab"}},
      {"any negative maxCount is no limit", "a,b", ",", -3, {"a", "b"}},
      {"trail byte is no delimiter", "x" TRAIL_A "y", "A", kAll, {"x" TRAIL_A "y"}},
      {"two-byte delimiter",
       "a\xA1\xA1"
       "b",
       "\xA1\xA1",
       kAll,
       {"a", "b"}},
      {"lone lead byte at the end", "a,\x81", ",", kAll, {"a", "\x81"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maxCount), c.want);
  }
}

TEST(SplitText, LongTextWithADenseDelimiter) {
  const std::string text(30000, ',');
  const TextArray pieces = SplitText(Text(text), Text(","));
  EXPECT_EQ(MemberCount(pieces), 30000);
  EXPECT_EQ(pieces[30000], Text());
}

}  // namespace
}  // namespace tw
