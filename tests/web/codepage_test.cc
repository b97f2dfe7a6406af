#include "web/codepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "web/cp936.h"
#include "web/utf8.h"

namespace tw {
namespace {

// The fixtures come from tools/gen-codepage-reference.js (Node.js's
// TextDecoder), an implementation independent of ours.
const std::string kDataDir = TARNWICK_CODEPAGE_DATA;

// UTF-8 of one BMP unit, written out here so the checks do not lean on the
// encoder under test.
std::string Utf8Of(char16_t unit) {
  std::string s;
  if (unit < 0x80) {
    s += static_cast<char>(unit);
  } else if (unit < 0x800) {
    s += static_cast<char>(0xC0 | unit >> 6);
    s += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | unit >> 12);
    s += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (unit & 0x3F));
  }
  return s;
}

std::string Hex(std::string_view bytes) {
  std::ostringstream out;
  for (unsigned char b : bytes) out << std::hex << std::uppercase << (b < 0x10 ? "0" : "") << int{b} << ' ';
  return out.str();
}

// "E4 B8 AD" -> its bytes.
std::string Unhex(const std::string& spec) {
  std::istringstream in(spec);
  std::string bytes;
  unsigned value = 0;
  while (in >> std::hex >> value) bytes += static_cast<char>(value);
  return bytes;
}

// "4E2D 0041" -> those units as UTF-16LE bytes.
std::string UnitsLe(const std::string& spec) {
  std::istringstream in(spec);
  std::string bytes;
  unsigned unit = 0;
  while (in >> std::hex >> unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::vector<std::string> FixtureLines(const std::string& name) {
  std::ifstream in(kDataDir + "/" + name);
  EXPECT_TRUE(in) << "missing fixture " << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

// Runs first, while the table is not yet built: every thread's first call
// races to build it (the thread sanitizer watches this).
TEST(CodePage, ConvertsFromManyThreadsAtOnce) {
  constexpr int kThreads = 8;
  std::vector<std::thread> threads;
  std::vector<Bytes> results(kThreads);
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&results, i] {
      for (int round = 0; round < 50; ++round) results[i] = Utf8ToAnsi(Bytes("A\xE4\xB8\xAD\xE2\x82\xAC"));
    });
  }
  for (auto& thread : threads) thread.join();
  for (const Bytes& result : results) EXPECT_EQ(result, Bytes("A\xD6\xD0\x80"));
}

TEST(Utf8ToWide, GivesLittleEndianUnitsWithoutTerminator) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string wide;
  } const kCases[] = {
      {"U+4E2D", "\xE4\xB8\xAD", "\x2D\x4E"},
      {"ASCII", "Hi", std::string("H\0i\0", 4)},
      {"empty", "", ""},
      {"NUL becomes a zero unit", std::string("A\0B", 3), std::string("A\0\0\0B\0", 6)},
      {"beyond the BMP: surrogate pair", "\xF0\x9F\x98\x80", std::string("\x3D\xD8\x00\xDE", 4)},
      {"ill-formed: one U+FFFD a byte", "\xC0\xAF", "\xFD\xFF\xFD\xFF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToWide(Bytes(c.utf8)), Bytes(c.wide));
  }
}

TEST(Utf8ToAnsi, GivesWindowsCodePage936) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string ansi;
  } const kCases[] = {
      {"U+4E2D", "\xE4\xB8\xAD", "\xD6\xD0"},
      {"ASCII unchanged", "GET /s/1x?a=b HTTP/1.1", "GET /s/1x?a=b HTTP/1.1"},
      {"empty", "", ""},
      {"NUL kept", std::string("A\0B", 3), std::string("A\0B", 3)},
      {"mixed",
       "A\xE4\xB8\xAD"
       "B",
       "A\xD6\xD0"
       "B"},
      {"U+20AC Euro Sign is one byte", "\xE2\x82\xAC", "\x80"},
      {"U+00B7 Middle Dot", "\xC2\xB7", "\xA1\xA4"},
      {"U+2014 Em Dash", "\xE2\x80\x94", "\xA1\xAA"},
      {"U+3000 Ideographic Space", "\xE3\x80\x80", "\xA1\xA1"},
      {"U+E000 first user-defined", "\xEE\x80\x80", "\xAA\xA1"},
      {"U+E815 unassigned cell of row FE", "\xEE\xA0\x95", "\xFE\x50"},
      {"U+F8F5 is the byte FF", "\xEF\xA3\xB5", "\xFF"},
      {"U+30FB Katakana Middle Dot cannot be held", "\xE3\x83\xBB", "?"},
      {"U+FFFD cannot be held", "\xEF\xBF\xBD", "?"},
      {"U+FEFF byte order mark cannot be held",
       "\xEF\xBB\xBF"
       "A",
       "?A"},
      {"beyond the BMP: one ?",
       "\xF0\x9F\x98\x80"
       "A",
       "?A"},
      {"stray continuation byte",
       "A\x80"
       "B",
       "A?B"},
      {"overlong form", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"5-byte form", "\xF8\x88\x80\x80\x80", "?????"},
      {"truncated tail", "A\xE4\xB8", "A?"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToAnsi(Bytes(c.utf8)), Bytes(c.ansi));
  }
}

TEST(Utf8ToAnsi, HandlesANonAsciiCharacterAtEveryOffsetOfALongRun) {
  // The ASCII runs are looked at in blocks; a character at or across a block
  // edge must still come out whole.
  for (std::size_t before = 0; before < 40; ++before) {
    SCOPED_TRACE(before);
    const std::string utf8 = std::string(before, 'a') + "\xE4\xB8\xAD" + std::string(37, 'b');
    const std::string ansi = std::string(before, 'a') + "\xD6\xD0" + std::string(37, 'b');
    EXPECT_EQ(Utf8ToAnsi(Bytes(utf8)), Bytes(ansi));
    EXPECT_EQ(TextToUtf8(Text(ansi)), utf8);
  }
}

TEST(TextToUtf8, MapsEvery936SequenceAndReplacesBrokenOnes) {
  struct Case {
    const char* name;
    Text text;
    std::string utf8;
  } const kCases[] = {
      {"U+4E2D", "\xD6\xD0", "\xE4\xB8\xAD"},
      {"ASCII", "abc", "abc"},
      {"empty", "", ""},
      {"0x80 is U+20AC", "\x80", "\xE2\x82\xAC"},
      {"lone lead byte at the end", "A\x81", "A\xEF\xBF\xBD"},
      {"lead byte before a byte that cannot trail", "\x81 A", "\xEF\xBF\xBD A"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextToUtf8(c.text), c.utf8);
  }
}

TEST(TextFromUtf8, GivesTheTextOf936) {
  EXPECT_EQ(TextFromUtf8("\xE4\xB8\xAD\xE6\x96\x87"), Text("\xD6\xD0\xCE\xC4"));  // 中文
  EXPECT_EQ(TextFromUtf8("\xE5\x8F\x8B\xE6\x83\x85\xE6\x8F\x90\xE7\xA4\xBA\xEF\xBC\x9A"),
            Text("\xD3\xD1\xC7\xE9\xCC\xE1\xCA\xBE\xA3\xBA"));  // 友情提示：
  EXPECT_EQ(TextFromUtf8(""), Text(""));
}

// Every two-byte code and every byte 80-FF alone, against the reference
// table, both ways.
TEST(CodePage936, MatchesTheReferenceTableBothWays) {
  const std::vector<std::string> lines = FixtureLines("cp936_table.txt");
  ASSERT_EQ(lines.size(), 1u + 126u);
  int checked = 0;
  std::vector<std::string> faults;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    unsigned lead = 0;
    in >> std::hex >> lead;
    unsigned trail = lead == 0 ? 0x80 : 0x40;
    for (unsigned unit = 0; in >> std::hex >> unit; ++trail) {
      if (trail == 0x7F && lead != 0) ++trail;
      std::string code;
      if (lead != 0) code += static_cast<char>(lead);
      code += static_cast<char>(trail);
      const std::string utf8 = Utf8Of(static_cast<char16_t>(unit));
      ++checked;
      if (TextToUtf8(Text(code)) != utf8) faults.push_back("decode " + Hex(code));
      if (unit != 0xFFFD && Utf8ToAnsi(Bytes(utf8)) != Bytes(code)) faults.push_back("encode " + Hex(code));
    }
  }
  EXPECT_EQ(checked, 128 + 23940);
  EXPECT_EQ(faults.size(), 0u) << "first: " << (faults.empty() ? "" : faults.front());
}

TEST(CodePage936, DecodesBrokenSequencesLikeTheReference) {
  for (const std::string& line : FixtureLines("cp936_malformed.txt")) {
    SCOPED_TRACE(line);
    const std::size_t bar = line.find('|');
    const std::string wide = UnitsLe(line.substr(bar + 1));
    std::string utf8(wide.size() * 2, '\0');
    utf8.resize(Utf16ToUtf8(wide, utf8.data(), utf8.size()));
    EXPECT_EQ(TextToUtf8(Text(Unhex(line.substr(0, bar)))), utf8);
  }
}

TEST(Utf8ToWide, DecodesIllFormedUtf8LikeTheReference) {
  for (const std::string& line : FixtureLines("utf8_malformed.txt")) {
    SCOPED_TRACE(line);
    const std::size_t bar = line.find('|');
    EXPECT_EQ(Hex(Utf8ToWide(Bytes(Unhex(line.substr(0, bar)))).view()), Hex(UnitsLe(line.substr(bar + 1))));
  }
}

// Utf8ToAnsi takes UTF-8 to 936 in one step; it must give what the two steps
// through UTF-16 give, on any input, also where ASCII runs meet characters
// and broken sequences at block edges.
TEST(Utf8ToAnsi, GivesWhatTheTwoStepsThroughUtf16Give) {
  const char* const kPieces[] = {
      "a",
      "Hello, world! 0123456789",
      "\xE4\xB8\xAD",
      "\xE2\x82\xAC",
      "\xC2\xB7",
      "\xEE\x80\x80",
      "\xEF\xA3\xB5",
      "\xF0\x9F\x98\x80",
      "\xEF\xBF\xBD",
      "\x80",
      "\xC0\xAF",
      "\xED\xA0\x80",
      "\xE4\xB8",
      "\xF8\x88\x80\x80\x80",
      "\xFF",
      "\xC3",
      "\xE3\x83\xBB",
  };
  std::mt19937 random(936);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  for (int round = 0; round < 200; ++round) {
    std::string utf8;
    while (utf8.size() < 300) utf8 += kPieces[pick(random)];
    SCOPED_TRACE(Hex(utf8));
    const Bytes wide = Utf8ToWide(Bytes(utf8));
    std::string twoSteps(Utf16ToCp936(wide.view(), nullptr, 0), '\0');
    Utf16ToCp936(wide.view(), twoSteps.data(), twoSteps.size());
    ASSERT_EQ(Utf8ToAnsi(Bytes(utf8)), Bytes(twoSteps));
  }
}

// The layer under the routines: a capacity smaller than measured writes no
// more than it, and never part of a character.
TEST(ConversionLayer, NeverWritesPastTheCapacityOrHalfACharacter) {
  struct Case {
    const char* name;
    std::size_t (*convert)(std::string_view, char*, std::size_t);
    std::string in;
    std::size_t elementSize;
    std::size_t capacity;
    std::string want;
  } const kCases[] = {
      {"936 pair does not fit", Utf8ToCp936,
       "\xE4\xB8\xAD"
       "A",
       1, 1, ""},
      {"936 pair fits, ASCII after does not", Utf8ToCp936,
       "\xE4\xB8\xAD"
       "A",
       1, 2, "\xD6\xD0"},
      {"936 ASCII run cut", Utf8ToCp936, "abc", 1, 2, "ab"},
      {"surrogate pair does not fit", Utf8ToUtf16, "\xF0\x9F\x98\x80", 2, 1, ""},
      {"UTF-8 ASCII run cut", Utf8ToUtf16, "abc", 2, 2, UnitsLe("0061 0062")},
      {"UTF-8 sequence does not fit", Utf16ToUtf8, UnitsLe("0041 4E2D"), 1, 3, "A"},
      {"936 to UTF-16 cut", Cp936ToUtf16, "A\xD6\xD0", 2, 1, UnitsLe("0041")},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string buffer(16, '#');
    const std::size_t written = c.convert(c.in, buffer.data(), c.capacity);
    EXPECT_EQ(written * c.elementSize, c.want.size());
    EXPECT_EQ(buffer.substr(0, c.want.size()), c.want);
    EXPECT_EQ(buffer.substr(c.want.size()), std::string(16 - c.want.size(), '#'));
  }
}

}  // namespace
}  // namespace tw
