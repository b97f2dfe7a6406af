#include "web/cookies.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(MergeCookies, PutsNewPairsFirstAndWritesBothArgumentsBack) {
  struct Case {
    const char* name;
    Text cookies;
    Text newCookies;
    Text wantCookies;
    Text wantNewCookies;
  } const kCases[] = {
      {"deleted pair drops the old one", "A=1; B=2", "A=deleted; C=3", "C=3; B=2", "A=deleted;C=3"},
      {"exact repeats dropped", "", "C=3;C=3", "C=3", "C=3;C=3"},
      {"same name, other value kept", "", "C=3;C=4", "C=3; C=4", "C=3;C=4"},
      {"first old pair of a name wins", "A=1;A=2", "", "A=1", ""},
      {"new value replaces old", "A=1", "A=2", "A=2", "A=2"},
      {"spaces inside values removed", "A=x y", "", "A=xy", ""},
      {"both empty", "", "", "", ""},
      {"old survivors keep their order", "B=2; D=4; A=1", "C=3", "C=3; B=2; D=4; A=1", "C=3"},
      {"names compare trimmed and exact", "a=1; A=2", "A=3", "A=3; a=1", "A=3"},
      {"deleted with nothing old", "", "A=deleted", "", "A=deleted"},
      {"pair without =", "flag; A=1", "B=2", "B=2; flag; A=1", "B=2"},
      {"full-width space removed", "A=\xA1\xA1x", "", "A=x", ""},
      {"only separators", ";;;", ";", "", ";"},
      {"only equals signs", "===", "==", "==", "=="},
      {"trailing separators", "A=1;;", "B=2;", "B=2; A=1", "B=2;"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Text cookies = c.cookies;
    Text newCookies = c.newCookies;
    const Text merged = MergeCookies(cookies, newCookies);
    EXPECT_EQ(merged, c.wantCookies);
    EXPECT_EQ(cookies, c.wantCookies);
    EXPECT_EQ(newCookies, c.wantNewCookies);
  }
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  struct Case {
    const char* name;
    Text pair;
    Text want;
  } const kCases[] = {
      {"plain pair", "A=1", "A"},      {"trimmed", "  A  =1", "A"}, {"value with equals", "A=b=c", "A"},
      {"no equals", " flag ", "flag"}, {"empty name", "=1", ""},    {"empty pair", "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CookieName(c.pair), c.want);
  }
}

TEST(HasCookieName, ComparesNamesByteForByte) {
  const TextArray list = {"A=1", " B =2", "flag"};
  EXPECT_TRUE(HasCookieName(list, "A"));
  EXPECT_TRUE(HasCookieName(list, "B"));
  EXPECT_TRUE(HasCookieName(list, "flag"));
  EXPECT_FALSE(HasCookieName(list, "a"));
  EXPECT_FALSE(HasCookieName(list, "A=1"));
  EXPECT_FALSE(HasCookieName(TextArray{}, ""));
}

TEST(JoinDistinct, DropsLaterExactRepeats) {
  struct Case {
    const char* name;
    Text text;
    Text delimiter;
    Text want;
  } const kCases[] = {
      {"repeat dropped", "a; b; a", "; ", "a; b"},
      {"empty text", "", "; ", ""},
      {"empty members stay once", "a;;b;", ";", "a;;b"},
      {"second empty member dropped", "a;;b;;c", ";", "a;;b;c"},
      {"case sensitive", "a;A;a", ";", "a;A"},
      {"first place kept", "b;a;b;c;a", ";", "b;a;c"},
      {"empty delimiter keeps the text", "a;a", "", "a;a"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JoinDistinct(c.text, c.delimiter), c.want);
  }
}

TEST(IndexOfMember, FindsTheFirstEqualMember) {
  const TextArray list = {"a", "b", "b"};
  EXPECT_EQ(IndexOfMember(list, "a"), 1);
  EXPECT_EQ(IndexOfMember(list, "b"), 2);
  EXPECT_EQ(IndexOfMember(list, "B"), -1);
  EXPECT_EQ(IndexOfMember(list, ""), -1);
  EXPECT_EQ(IndexOfMember(TextArray{}, "a"), -1);
}

}  // namespace
}  // namespace tw
