#include "cli/resolve_addresses.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "cli/console_toolkit.h"
#include "runtime/text_ops.h"
#include "tests/resolver/scripted_fetch_page.h"
#include "web/codepage.h"
#include "web/text_between.h"

namespace tw::cli {
namespace {

using test::FetchRequest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A service whose share "/s/N" is file-N with share id N. Later shares answer
// sooner, so parallel runs finish out of order. Share "busy" is throttled.
Text ScriptedService(const FetchRequest& request) {
  if (request.method == 1) {
    const Text id = TextBetween(request.url, "&shareid=", "&");
    if (id == Text("busy")) return "{\"errno\":-19,\"vcode\":\"x\"}";
    return JoinText(Text("{\"dlink\":\"http:\\/\\/d\\/"), id, "\"}");
  }
  const Text id = TextBetween(JoinText(request.url, "\""), "/s/", "\"");
  const int n = ToInteger(id);
  std::this_thread::sleep_for(std::chrono::milliseconds(n < 64 ? 64 - n : 0));
  return JoinText(Text("server_filename=\""), TextFromUtf8("文件-"), id, "\" share_id=\"", id, "\"");
}

class ResolveAddressesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallToolkitBackend(&toolkit_);
    test::ScriptFetchPage(ScriptedService);
  }
  void TearDown() override { InstallToolkitBackend(nullptr); }

  ConsoleToolkit toolkit_;
};

TEST_F(ResolveAddressesTest, ParallelRunsKeepTheirOwnControlsAndTheGivenOrder) {
  std::vector<std::string> addresses;
  for (int n = 0; n < 64; ++n) addresses.push_back("http://pan.baidu.com/s/" + std::to_string(n));

  std::vector<Resolution> results;
  ResolveAddresses(addresses, 64, [&](const Resolution& result) { results.push_back(result); });

  ASSERT_EQ(results.size(), addresses.size());
  for (std::size_t n = 0; n < results.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(results[n].url, addresses[n]);
    EXPECT_EQ(results[n].fileName, "文件-" + std::to_string(n));
    EXPECT_EQ(results[n].downloadAddress, "http://d/" + std::to_string(n));
    EXPECT_EQ(results[n].outcome, Outcome::kShown);
    EXPECT_THAT(results[n].messages, IsEmpty());
  }
}

TEST_F(ResolveAddressesTest, MessagesBecomeTitleAndTextInUtf8) {
  std::vector<Resolution> results;
  ResolveAddresses(
      {"https://pan.baidu.com/s/1", "http://pan.baidu.com/s/busy", "链接 http://pan.baidu.com/s/7"}, 2,
      [&](const Resolution& result) { results.push_back(result); });

  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].outcome, Outcome::kRejected);
  EXPECT_THAT(results[0].messages, ElementsAre("友情提示：非百度网盘地址，如何帮你解析！"));
  EXPECT_EQ(results[1].outcome, Outcome::kThrottled);
  EXPECT_THAT(results[1].messages,
              ElementsAre("友情提示：操作过于频繁，百度提醒你输入验证码！建议你使用手输验证码版！"));
  EXPECT_EQ(results[1].fileName, "");
  EXPECT_EQ(results[2].url, "链接 http://pan.baidu.com/s/7");
  EXPECT_EQ(results[2].outcome, Outcome::kShown);
  EXPECT_EQ(results[2].downloadAddress, "http://d/7");
}

TEST(ConsoleToolkit, WithoutAWindowReadsAreEmptyAndWritesDropped) {
  ConsoleToolkit toolkit;
  toolkit.WriteControlProperty(Control::编辑框2, 8, "x");
  EXPECT_EQ(toolkit.ReadControlProperty(Control::编辑框2, 8), Text());
  EXPECT_EQ(toolkit.ShowMessageBox("t", 33, "title"), ConsoleToolkit::kAnswer);

  ConsoleWindow window;
  {
    ScopedConsoleWindow current(window);
    toolkit.WriteControlProperty(Control::编辑框2, 8, "y");
    EXPECT_EQ(toolkit.ReadControlProperty(Control::编辑框2, 8), Text("y"));
  }
  EXPECT_EQ(toolkit.ReadControlProperty(Control::编辑框2, 8), Text());
  EXPECT_EQ(window.Value(Control::编辑框2, 8), Text("y"));
}

}  // namespace
}  // namespace tw::cli
