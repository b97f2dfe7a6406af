#include "runtime/text_ops.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

using namespace std::string_literals;

TEST(TextPieces, LeftRightMid) {
  struct Case {
    const char* name;
    Text got;
    const char* want;
  } kCases[] = {
      {"left", TextLeft("abcdef", 2), "ab"},
      {"left beyond the length", TextLeft("abc", 10), "abc"},
      {"left 0", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -1), ""},
      {"left may cut a character", TextLeft("\xB0\xA1", 1), "\xB0"},
      {"right", TextRight("abcdef", 2), "ef"},
      {"right beyond the length", TextRight("abc", 10), "abc"},
      {"right 0", TextRight("abc", 0), ""},
      {"right negative", TextRight("abc", -2), ""},
      {"right may cut a character", TextRight("\xB0\xA1", 1), "\xA1"},
      {"mid", TextMid("abcdef", 2, 3), "bcd"},
      {"mid to the end", TextMid("abcdef", 5, 10), "ef"},
      {"mid at the last byte", TextMid("abc", 3, 1), "c"},
      {"mid start 0", TextMid("abc", 0, 2), ""},
      {"mid start past the end", TextMid("abc", 4, 1), ""},
      {"mid n 0", TextMid("abc", 1, 0), ""},
      {"mid n negative", TextMid("abc", 1, -1), ""},
      {"empty text", TextMid("", 1, 1), ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, Text(c.want));
  }
}

TEST(Lengths, CountBytesAndMembers) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("a\xB0\xA1"), 3);
  EXPECT_EQ(BytesLength(Bytes("a\0b"s)), 3);
  EXPECT_EQ(MemberCount(TextArray{}), 0);
  EXPECT_EQ(MemberCount(TextArray{"a", ""}), 2);
}

TEST(CompareText, OrdersByUnsignedBytes) {
  struct Case {
    const char* name;
    const char* a;
    const char* b;
    int sign;
  } kCases[] = {
      {"equal", "abc", "abc", 0},
      {"less", "abc", "abd", -1},
      {"greater", "b", "abc", 1},
      {"prefix is less", "ab", "abc", -1},
      {"empty is least", "", "a", -1},
      {"both empty", "", "", 0},
      {"high byte above ASCII", "\x80", "\x7F", 1},
      {"case matters", "A", "a", -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const int got = CompareText(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign);
  }
}

TEST(CharFromCode, OneByteOrEmpty) {
  EXPECT_EQ(CharFromCode('a'), Text("a"));
  EXPECT_EQ(CharFromCode(0xB0), Text("\xB0"));
  EXPECT_EQ(CharFromCode(0), Text());
}

TEST(Blanks, SpacesAndZeroBytes) {
  EXPECT_EQ(BlankText(3), Text("   "));
  EXPECT_EQ(BlankText(0), Text());
  EXPECT_EQ(BlankText(-1), Text());
  EXPECT_EQ(BlankBytes(2), Bytes("\0\0"s));
  EXPECT_EQ(BlankBytes(0), Bytes());
  EXPECT_EQ(BlankBytes(-5), Bytes());
}

TEST(Conversions, BytesAndText) {
  EXPECT_EQ(ToBytes("a\xB0\xA1"), Bytes("a\xB0\xA1"));
  EXPECT_EQ(ToBytes(""), Bytes());
  EXPECT_EQ(BytesToText(Bytes("ab\0cd"s)), Text("ab"));
  EXPECT_EQ(BytesToText(Bytes("\0a"s)), Text());
  EXPECT_EQ(BytesToText(Bytes("abc")), Text("abc"));
}

TEST(BytesLeft, Contract) {
  EXPECT_EQ(BytesLeft(Bytes("a\0bc"s), 3), Bytes("a\0b"s));
  EXPECT_EQ(BytesLeft(Bytes("ab"), 5), Bytes("ab"));
  EXPECT_EQ(BytesLeft(Bytes("ab"), 0), Bytes());
  EXPECT_EQ(BytesLeft(Bytes("ab"), -1), Bytes());
}

TEST(AppendMember, CopiesTheTextToTheEnd) {
  TextArray array;
  Text member("a");
  AppendMember(array, member);
  AppendMember(array, "");
  member = Text("changed");
  EXPECT_EQ(array, (TextArray{"a", ""}));
}

TEST(TextArray, MembersCountFromOne) {
  const TextArray array{"x", "y"};
  EXPECT_EQ(array[1], Text("x"));
  EXPECT_EQ(array[2], Text("y"));
}

TEST(JoinText, ConcatenatesTextsAndLiterals) {
  const Text a("ab");
  EXPECT_EQ(JoinText(a, "c", Text("\xB0\xA1"), ""), Text("abc\xB0\xA1"));
  EXPECT_EQ(JoinText(Text()), Text());
  EXPECT_EQ(a, Text("ab"));
}

TEST(JoinText, RvalueFirstOperandKeepsItsBuffer) {
  Text text("start");
  text.Reserve(64);
  const char* buffer = text.c_str();
  text = JoinText(std::move(text), "-", Text("end"));
  EXPECT_EQ(text, Text("start-end"));
  EXPECT_EQ(text.c_str(), buffer);
}

TEST(JoinText, AnOperandMayBeTheFirstOneItself) {
  Text text("ab");
  text = JoinText(std::move(text), text, "-", text);
  EXPECT_EQ(text, Text("abab-ab"));
}

TEST(JoinText, BytesOperandsEndAtTheirFirstNul) {
  EXPECT_EQ(JoinText("a", Bytes("b\0c"s), "d"), Text("abd"));
}

TEST(JoinBytes, ConcatenatesWithNulBytes) {
  const Bytes a("a\0"s);
  EXPECT_EQ(JoinBytes(a, Bytes("\0b"s), Bytes(), Text("c"), "d"), Bytes("a\0\0bcd"s));
  EXPECT_EQ(a, Bytes("a\0"s));
}

TEST(JoinBytes, RvalueFirstOperandKeepsItsBuffer) {
  Bytes bytes("start");
  bytes.Reserve(64);
  const char* buffer = bytes.data();
  bytes = JoinBytes(std::move(bytes), Bytes("\0end"s));
  EXPECT_EQ(bytes, Bytes("start\0end"s));
  EXPECT_EQ(bytes.data(), buffer);
}

}  // namespace
}  // namespace tw
