#include "cli/arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tw::cli {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

TEST(ParseArguments, AcceptsOptionsAndAddressesInAnyOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    Arguments::Action action;
    bool json;
    int jobs;
    std::vector<std::string> addresses;
  } const kCases[] = {
      {"one address",
       {"http://pan.baidu.com/s/1a"},
       Arguments::Action::kResolve,
       false,
       1,
       {"http://pan.baidu.com/s/1a"}},
      {"json and jobs", {"--json", "-j", "8", "a", "b"}, Arguments::Action::kResolve, true, 8, {"a", "b"}},
      {"attached count", {"a", "-j64"}, Arguments::Action::kResolve, false, 64, {"a"}},
      {"options after addresses", {"a", "--json", "b"}, Arguments::Action::kResolve, true, 1, {"a", "b"}},
      {"double dash ends options",
       {"--", "--json", "-j"},
       Arguments::Action::kResolve,
       false,
       1,
       {"--json", "-j"}},
      {"lone dash is an address", {"-"}, Arguments::Action::kResolve, false, 1, {"-"}},
      {"empty address kept", {""}, Arguments::Action::kResolve, false, 1, {""}},
      {"help needs no address", {"--help"}, Arguments::Action::kHelp, false, 1, {}},
      {"version needs no address", {"--version"}, Arguments::Action::kVersion, false, 1, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto parsed = ParseArguments(c.args);
    ASSERT_TRUE(std::holds_alternative<Arguments>(parsed));
    const Arguments& args = std::get<Arguments>(parsed);
    EXPECT_EQ(args.action, c.action);
    EXPECT_EQ(args.json, c.json);
    EXPECT_EQ(args.jobs, c.jobs);
    EXPECT_THAT(args.addresses, ElementsAreArray(c.addresses));
  }
}

TEST(ParseArguments, ReportsUsageErrors) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } const kCases[] = {
      {"nothing", {}, "no share address given"},
      {"only options", {"--json", "-j", "2"}, "no share address given"},
      {"unknown option", {"--jsn", "a"}, "unknown option '--jsn'"},
      {"-j without count", {"a", "-j"}, "-j needs a number of jobs"},
      {"zero jobs", {"-j", "0", "a"}, "not '0'"},
      {"negative jobs", {"-j", "-3", "a"}, "not '-3'"},
      {"too many jobs", {"-j", "257", "a"}, "not '257'"},
      {"letters", {"-j", "4x", "a"}, "not '4x'"},
      {"plus sign", {"-j+4", "a"}, "not '+4'"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto parsed = ParseArguments(c.args);
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
    EXPECT_THAT(std::get<UsageError>(parsed).message, HasSubstr(c.message));
  }
}

}  // namespace
}  // namespace tw::cli
