// tarnwick-resolve, unmodified, against the sample share service in a
// private network where the service's host is 127.0.0.1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/run_program.h"
#include "tests/support/netns/private_network.h"
#include "tests/support/share_service/share_catalogue.h"

namespace tw::test {
namespace {

// Before gtest starts: the whole program moves into the private network.
const bool kInPrivateNetwork = (EnterPrivateNetwork(TARNWICK_SHARE_SERVICE), true);

constexpr const char* kForeign = "友情提示：非百度网盘地址，如何帮你解析！\n";
constexpr const char* kThrottled = "友情提示：操作过于频繁，百度提醒你输入验证码！建议你使用手输验证码版！\n";

std::string Link(const char* fsId, const char* uk, const char* timestamp, const char* sign) {
  return std::string("http://files.sample-share.test/file/") + fsId + "?fid=" + uk + "-" + fsId +
         "u0026dstime=" + timestamp + "u0026sign=" + sign + "u0026expires=8h";
}

const std::string kUtf8Link = Link("90001", "77801", "1700000000", "c0ffee01");

ProgramRun Resolve(std::vector<std::string> args) {
  args.insert(args.begin(), TARNWICK_RESOLVE);
  return RunProgram(args);
}

TEST(ResolveCli, ResolvesEveryKindOfShare) {
  struct Case {
    const char* name;
    const char* address;
    std::string out;
    const char* err;
    int status;
  } const kCases[] = {
      {"UTF-8 page", "http://pan.baidu.com/s/1utf8", "年度报告.pdf\t" + kUtf8Link + "\n", "", 0},
      {"GBK page", "http://pan.baidu.com/s/1gbk",
       "会议纪要.docx\t" + Link("90002", "77802", "1700000060", "c0ffee02") + "\n", "", 0},
      {"key ending in sign comes first", "http://pan.baidu.com/s/1sign",
       "sign-test.zip\t" + Link("90003", "77803", "1700000120", "early5ign") + "\n", "", 0},
      {"no file name", "http://pan.baidu.com/s/1noname",
       "\t" + Link("90004", "77804", "1700000180", "c0ffee04") + "\n", "", 0},
      {"redirecting short link", "http://pan.baidu.com/s/1moved", "年度报告.pdf\t" + kUtf8Link + "\n", "", 0},
      {"words around the address", "链接: http://pan.baidu.com/s/1utf8 提取码: ab12",
       "年度报告.pdf\t" + kUtf8Link + "\n", "", 0},
      {"no dlink in the answer", "http://pan.baidu.com/s/1nodlink", "gone.iso\t\n", "", 4},
      {"unknown share", "http://pan.baidu.com/s/1nothing", "\t\n", "", 4},
      {"throttled", "http://pan.baidu.com/s/1busy", "\t\n", kThrottled, 3},
      {"https", "https://pan.baidu.com/s/1utf8", "\t\n", kForeign, 2},
      {"upper case", "HTTP://PAN.BAIDU.COM/s/1utf8", "\t\n", kForeign, 2},
      {"empty", "", "\t\n", kForeign, 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = Resolve({c.address});
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.status, c.status);
  }
}

TEST(ResolveCli, JsonLinesKeepTheOrderGivenAndTheWorstOutcomeIsTheStatus) {
  const ProgramRun run =
      Resolve({"--json", "-j", "8", "https://pan.baidu.com/s/1utf8", "http://pan.baidu.com/s/1busy",
               "http://pan.baidu.com/s/1utf8", "http://pan.baidu.com/s/1nodlink"});
  EXPECT_EQ(
      run.out,
      "{\"url\":\"https://pan.baidu.com/s/1utf8\",\"fileName\":\"\",\"downloadAddress\":\"\","
      "\"outcome\":\"rejected\"}\n"
      "{\"url\":\"http://pan.baidu.com/s/1busy\",\"fileName\":\"\",\"downloadAddress\":\"\","
      "\"outcome\":\"throttled\"}\n"
      "{\"url\":\"http://pan.baidu.com/s/1utf8\",\"fileName\":\"年度报告.pdf\",\"downloadAddress\":\"" +
          kUtf8Link +
          "\",\"outcome\":\"shown\"}\n"
          "{\"url\":\"http://pan.baidu.com/s/1nodlink\",\"fileName\":\"gone.iso\",\"downloadAddress\":\"\","
          "\"outcome\":\"shown\"}\n");
  EXPECT_EQ(run.err, std::string(kForeign) + kThrottled);
  EXPECT_EQ(run.status, 4);

  EXPECT_EQ(Resolve({"http://share.example.com/s/1utf8", "http://pan.baidu.com/s/1busy"}).status, 3);
}

TEST(ResolveCli, SixtyFourParallelResolutionsEachGetTheirOwnResult) {
  std::vector<std::string> args = {"-j", "64"};
  std::string expected;
  for (int k = 0; k < 64; ++k) {
    const std::string path = "/s/1batch-" + std::to_string(k);
    args.push_back("http://pan.baidu.com" + path);
    const Share share = *FindShareByPath(path);
    expected += share.fileName + "\t" + CleanedDownloadLink(share, share.sign) + "\n";
  }
  const ProgramRun run = Resolve(args);
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

TEST(ResolveCli, TheDownloadInterfaceNeedsTheSharePageCookie) {
  // Without the cookie the share page sets, the interface refuses; so every
  // resolved address above carried it through the client's cookie store.
  const ProgramRun run = RunProgram(
      {"curl", "-s", "-X", "POST", "--data", "fid_list=%5B%2290001%22%5D",
       "http://pan.baidu.com/share/download?channel=chunlei&clienttype=0&web=1&uk=77801&shareid=3021"
       "&timestamp=1700000000&sign=c0ffee01&bdstoken=null"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "{\"errno\":2,\"request_id\":4711,\"errmsg\":\"share cookie missing\"}");
}

TEST(ResolveCli, UsageErrorsHelpAndVersion) {
  const ProgramRun none = Resolve({});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(
      none.err,
      "tarnwick-resolve: no share address given\nusage: tarnwick-resolve [--json] [-j N] SHARE_ADDRESS...\n");

  const ProgramRun badJobs = Resolve({"-j", "0", "http://pan.baidu.com/s/1utf8"});
  EXPECT_EQ(badJobs.status, 1);
  EXPECT_EQ(badJobs.out, "");

  const ProgramRun help = Resolve({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: tarnwick-resolve [--json] [-j N] SHARE_ADDRESS...\n", 0), 0u);

  const ProgramRun version = Resolve({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tarnwick-resolve " TARNWICK_VERSION "\n");
}

}  // namespace
}  // namespace tw::test
