#include "cli/report.h"

#include <gtest/gtest.h>

namespace tw::cli {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlBytesAndKeepsUtf8) {
  struct Case {
    const char* name;
    std::string text;
    const char* json;
  } const kCases[] = {
      {"empty", "", "\"\""},
      {"quote and backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
      {"named controls", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {"other controls", std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
      {"slash and DEL stay", "a/b\x7f", "\"a/b\x7f\""},
      {"UTF-8 passes", "年度报告.pdf", "\"年度报告.pdf\""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JsonString(c.text), c.json);
  }
}

TEST(Report, PrintsOneLinePerResolution) {
  const Resolution shown{.url = "http://pan.baidu.com/s/1\"x",
                         .fileName = "报告 1.pdf",
                         .downloadAddress = "http://d/f?a=1u0026b",
                         .outcome = Outcome::kShown,
                         .messages = {}};
  EXPECT_EQ(PlainLine(shown), "报告 1.pdf\thttp://d/f?a=1u0026b");
  EXPECT_EQ(JsonLine(shown),
            "{\"url\":\"http://pan.baidu.com/s/1\\\"x\",\"fileName\":\"报告 1.pdf\","
            "\"downloadAddress\":\"http://d/f?a=1u0026b\",\"outcome\":\"shown\"}");

  const Resolution rejected{
      .url = "x", .fileName = "", .downloadAddress = "", .outcome = Outcome::kRejected, .messages = {}};
  EXPECT_EQ(PlainLine(rejected), "\t");
  EXPECT_EQ(JsonLine(rejected),
            "{\"url\":\"x\",\"fileName\":\"\",\"downloadAddress\":\"\",\"outcome\":\"rejected\"}");
}

TEST(ExitStatusOf, RanksTheOutcomes) {
  struct Case {
    const char* name;
    Outcome outcome;
    const char* address;
    int status;
  } const kCases[] = {
      {"shown with an address", Outcome::kShown, "http://d/f", 0},
      {"shown without an address", Outcome::kShown, "", 4},
      {"rejected", Outcome::kRejected, "", 2},
      {"throttled", Outcome::kThrottled, "", 3},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(
        ExitStatusOf(
            {.url = "", .fileName = "", .downloadAddress = c.address, .outcome = c.outcome, .messages = {}}),
        c.status);
  }
}

}  // namespace
}  // namespace tw::cli
