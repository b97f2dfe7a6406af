#include "web/text_between.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// "#引号" in code page 936, the marker spelling of a double quote.
constexpr char kQuote936[] = "#\xD2\xFD\xBA\xC5";  // #引号

using Letters = tw::Case;

TEST(TextBetween, CutsBetweenMarkers) {
  struct Case {
    const char* name;
    Text text;
    Text start;
    Text end;
    Position startPosition;
    Letters letters;
    Text want;
  } const kCases[] = {
      {"value between markers", "a[b]c", "[", "]", 0, Letters::kIgnore, "b"},
      {"adjacent markers", "a[]c", "[", "]", 0, Letters::kIgnore, ""},
      {"end marker only before start", "a]b[c", "[", "]", 0, Letters::kIgnore, ""},
      {"start marker at the very end", "abc[", "[", "]", 0, Letters::kIgnore, ""},
      {"start marker missing", "abc]", "[", "]", 0, Letters::kIgnore, ""},
      {"end marker missing", "a[bc", "[", "]", 0, Letters::kIgnore, ""},
      {"first end marker after start", "a[b]c]", "[", "]", 0, Letters::kIgnore, "b"},
      {"end marker never inside start", "x<ab>y", "<ab", "b>", 0, Letters::kIgnore, ""},
      {"letters folded, space kept", "X-Id: 5;", "x-id:", ";", 0, Letters::kIgnore, " 5"},
      {"exact case misses", "X-Id: 5;", "x-id:", ";", 0, Letters::kExact, ""},
      {"quote spelled in markers", "id=\"7\"", JoinText("id=", kQuote936), kQuote936, 0, Letters::kIgnore,
       "7"},
      {"every quote spelling replaced", "a\"\"b\"", JoinText(kQuote936, kQuote936), kQuote936, 0,
       Letters::kIgnore, "b"},
      {"empty end marker", "a[b]c", "[", "", 0, Letters::kIgnore, ""},
      {"empty start marker", "ab]c", "", "]", 0, Letters::kIgnore, "ab"},
      {"empty start marker, later start", "ab]c", "", "]", 3, Letters::kIgnore, "ab"},
      {"empty start marker past the end", "ab]c", "", "]", 9, Letters::kIgnore, ""},
      {"start position skips a match", "[a][b]", "[", "]", 2, Letters::kIgnore, "b"},
      {"start position past the end", "[a]", "[", "]", 4, Letters::kIgnore, ""},
      {"negative start searches all", "[a]", "[", "]", -5, Letters::kIgnore, "a"},
      {"empty text", "", "[", "]", 0, Letters::kIgnore, ""},
      // 5B inside the two-byte character 81 5B is not a marker.
      {"no match inside a character", "\x81[x]", "[", "]", 0, Letters::kIgnore, ""},
      {"two-byte value", "[\xD6\xD0]", "[", "]", 0, Letters::kIgnore, "\xD6\xD0"},  // 中
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.start, c.end, c.startPosition, c.letters), c.want);
  }
}

TEST(TextBetween, LeavesTheCallersMarkersAlone) {
  const Text start = JoinText("id=", kQuote936);
  const Text end = kQuote936;
  EXPECT_EQ(TextBetween("id=\"7\"", start, end), "7");
  EXPECT_EQ(start, JoinText("id=", kQuote936));
  EXPECT_EQ(end, Text(kQuote936));
}

TEST(HeaderValue, TakesWhatFollowsTheFirstColon) {
  struct Case {
    const char* name;
    Text line;
    Text want;
  } const kCases[] = {
      {"plain header", "Location: x", "x"},
      {"trimmed both ends", "Location:   x y  ", "x y"},
      {"value with colons", "Location: http://a.b:80/", "http://a.b:80/"},
      {"no colon", "Location x", ""},
      {"colon at the end", "Location:", ""},
      {"only spaces after colon", "Location:   ", ""},
      {"tab is not a space", "A:\tx\t", "\tx\t"},
      {"empty line", "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HeaderValue(c.line), c.want);
  }
}

}  // namespace
}  // namespace tw
