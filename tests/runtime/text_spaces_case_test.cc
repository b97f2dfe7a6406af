#include <gtest/gtest.h>

#include <climits>

#include "runtime/text_ops.h"

namespace tw {
namespace {

// A1 A1 is the full-width space; B0 A1 is 啊; A3 B0..A3 B9 are the full-width
// digits, A3 AB and A3 AD the full-width plus and minus.
#define WIDE_SPACE "\xA1\xA1"
#define AH "\xB0\xA1"

TEST(TrimBothEnds, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* want;
  } kCases[] = {
      {"outer spaces", "  a b  ", "a b"},
      {"full-width spaces", WIDE_SPACE " a" WIDE_SPACE "b " WIDE_SPACE, "a" WIDE_SPACE "b"},
      {"tab, CR and LF are no spaces", "\t a\r\n", "\t a\r\n"},
      {"only spaces", " " WIDE_SPACE " ", ""},
      {"empty", "", ""},
      {"nothing to trim", "abc", "abc"},
      {"A1 A1 made of two characters' bytes", AH "\xA1" AH, AH "\xA1" AH},
      {"trail A1 then a lone A1", AH "\xA1", AH "\xA1"},
      {"two-byte character ending in A1 before a space", AH " ", AH},
      {"full-width space before a lone lead byte", WIDE_SPACE "\xA1", "\xA1"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TrimBothEnds(c.text), Text(c.want));
  }
}

TEST(RemoveAllSpaces, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* want;
  } kCases[] = {
      {"half and full width", " a" WIDE_SPACE "b c ", "abc"},
      {"tab, CR and LF stay", "a\tb\r\nc", "a\tb\r\nc"},
      {"only spaces", WIDE_SPACE WIDE_SPACE " ", ""},
      {"empty", "", ""},
      {"A1 A1 across a character boundary stays",
       AH "\xA1"
          "x",
       AH "\xA1"
          "x"},
      {"trail byte 20 is no space", "\x81 x", "\x81 x"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RemoveAllSpaces(c.text), Text(c.want));
  }
}

TEST(ToLowerCase, Contract) {
  struct Case {
    const char* name;
    const char* text;
    const char* want;
  } kCases[] = {
      {"letters", "AbC-XYZ@[", "abc-xyz@["},
      {"two-byte characters unchanged",
       "\x81\x41"
       "B",
       "\x81\x41"
       "b"},
      {"full-width letters unchanged", "\xA3\xC1", "\xA3\xC1"},
      {"lone lead byte at the end", "A\x81", "a\x81"},
      {"empty", "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToLowerCase(c.text), Text(c.want));
  }
}

TEST(ToInteger, Contract) {
  struct Case {
    const char* name;
    const char* text;
    int want;
  } kCases[] = {
      {"digits", "123", 123},
      {"up to the first non-digit", "12x3", 12},
      {"leading white space", " \t\r\n\v\f42", 42},
      {"plus", "+7", 7},
      {"minus", "-7", -7},
      {"sign alone", "-", 0},
      {"two signs", "+-1", 0},
      {"space after the sign", "- 1", 0},
      {"none", "abc", 0},
      {"empty", "", 0},
      {"full-width digits", "\xA3\xB1\xA3\xB2\xA3\xB3", 123},
      {"full-width minus and space", WIDE_SPACE "\xA3\xAD\xA3\xB9", -9},
      {"full-width plus",
       "\xA3\xAB"
       "5",
       5},
      {"mixed widths",
       "1\xA3\xB0"
       "0",
       100},
      {"other two-byte character stops", "1" AH "2", 1},
      {"full-width letter stops", "1\xA3\xC1", 1},
      {"lone lead byte stops", "12\xA3", 12},
      {"largest", "2147483647", INT_MAX},
      {"smallest", "-2147483648", INT_MIN},
      {"saturates high", "2147483648", INT_MAX},
      {"saturates low", "-2147483649", INT_MIN},
      {"saturates on many digits", "99999999999999999999999", INT_MAX},
      {"leading zeros", "-000000000000000000012", -12},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToInteger(c.text), c.want);
  }
}

}  // namespace
}  // namespace tw
