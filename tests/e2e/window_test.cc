// The window program, unmodified, on a private X display in the private
// network with the sample share service, driven as a person would: type the
// link, click 解析, click 复制下载地址, read the clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/netns/private_network.h"
#include "tests/support/xvfb/xvfb.h"

namespace tw::test {
namespace {

using namespace std::chrono_literals;

// Before gtest starts: the whole program moves into the private network.
const bool kInPrivateNetwork = (EnterPrivateNetwork(TARNWICK_SHARE_SERVICE), true);

constexpr const char* kNoticeTitle = "友情提示：";
constexpr const char* kUntouched = "clipboard before the copy";

constexpr const char* kUtf8Share = "http://pan.baidu.com/s/1utf8";
constexpr const char* kUtf8Link =
    "http://files.sample-share.test/file/"
    "90001?fid=77801-90001u0026dstime=1700000000u0026sign=c0ffee01u0026expires=8h";
constexpr const char* kThrottledShare = "http://pan.baidu.com/s/1busy";

// Client-area points inside 编辑框1, 按钮1 (解析) and 按钮2 (复制下载地址).
constexpr int kShareBoxX = 120 + 20, kShareBoxY = 24 + 16;
constexpr int kParseButtonX = 472 + 40, kParseButtonY = 23 + 16;
constexpr int kCopyButtonX = 120 + 140, kCopyButtonY = 280 + 16;

class WindowEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tw::testing::SharedDisplay(); }

  void SetUp() override {
    app_ = std::make_unique<tw::testing::Process>(std::vector<std::string>{TARNWICK_PROGRAM});
    const std::optional<std::string> window = tw::testing::WaitForWindow("Tarnwick", 20s);
    ASSERT_TRUE(window.has_value()) << "the window did not appear";
    window_ = *window;
    tw::testing::Activate(window_);
  }

  void TearDown() override {
    if (app_ == nullptr || !app_->Running()) return;
    tw::testing::Activate(window_);
    tw::testing::PressKeys({"Escape"});
    EXPECT_EQ(app_->WaitForExit(10s), 0) << "the program did not end cleanly";
  }

  // Replaces the text of 编辑框1 by typing.
  void TypeShareAddress(const std::string& address) {
    tw::testing::Activate(window_);
    tw::testing::Click(window_, kShareBoxX, kShareBoxY);
    tw::testing::PressKeys({"ctrl+a", "BackSpace"});
    tw::testing::TypeText(address);
  }

  void ClickParse() { tw::testing::Click(window_, kParseButtonX, kParseButtonY); }

  // Waits for `count` message boxes and closes each with OK.
  [[nodiscard]] bool DismissBoxes(std::size_t count, std::chrono::milliseconds timeout) {
    if (!tw::testing::WaitUntil([&] { return tw::testing::FindWindows(kNoticeTitle).size() >= count; },
                                timeout)) {
      return false;
    }
    for (const std::string& box : tw::testing::FindWindows(kNoticeTitle)) {
      tw::testing::Activate(box);
      tw::testing::PressKeys({"Return"});
    }
    return tw::testing::WaitUntil([] { return !tw::testing::WindowExists(kNoticeTitle); }, 10s);
  }

  // Clicks 复制下载地址 over a clipboard set to kUntouched, closes the box
  // the copy command shows, and gives what the clipboard then holds.
  std::optional<std::string> Copy() {
    tw::testing::SetClipboardText(kUntouched);
    tw::testing::Activate(window_);
    tw::testing::Click(window_, kCopyButtonX, kCopyButtonY);
    EXPECT_TRUE(DismissBoxes(1, 10s)) << "the copy command showed no box";
    return tw::testing::ClipboardText();
  }

  // Copies until the clipboard receives `expected`, as a person clicks again
  // while the worker still runs.
  [[nodiscard]] bool CopyUntil(const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
      if (Copy() == expected) return true;
    }
    return false;
  }

  std::unique_ptr<tw::testing::Process> app_;
  std::string window_;
};

TEST_F(WindowEndToEnd, ParseThenCopyPutsTheDownloadAddressOnTheClipboard) {
  TypeShareAddress(kUtf8Share);
  ClickParse();
  EXPECT_TRUE(CopyUntil(kUtf8Link));
}

TEST_F(WindowEndToEnd, RejectedAddressShowsTheBoxAndLeavesEarlierResults) {
  TypeShareAddress(kUtf8Share);
  ClickParse();
  ASSERT_TRUE(CopyUntil(kUtf8Link));

  TypeShareAddress("https://pan.baidu.com/s/1gbk");
  ClickParse();
  EXPECT_TRUE(DismissBoxes(1, 10s)) << "no box for the foreign address";
  EXPECT_EQ(Copy(), kUtf8Link);
}

TEST_F(WindowEndToEnd, ThrottledAnswerLeavesTheResultControlsEmpty) {
  TypeShareAddress(kUtf8Share);
  ClickParse();
  ASSERT_TRUE(CopyUntil(kUtf8Link));

  TypeShareAddress(kThrottledShare);
  ClickParse();
  EXPECT_TRUE(DismissBoxes(1, 20s)) << "no box for the verification demand";
  // The caption of 按钮_地址 is empty, so the copy command finds nothing.
  EXPECT_EQ(Copy(), kUntouched);
}

TEST_F(WindowEndToEnd, EveryQuickClickGivesARunOfItsOwn) {
  // Each throttled run ends in a box of its own: 32 boxes, 32 runs.
  constexpr std::size_t kClicks = 32;
  TypeShareAddress(kThrottledShare);
  for (std::size_t i = 0; i < kClicks; ++i) ClickParse();
  EXPECT_TRUE(
      tw::testing::WaitUntil([&] { return tw::testing::FindWindows(kNoticeTitle).size() == kClicks; }, 60s))
      << "boxes: " << tw::testing::FindWindows(kNoticeTitle).size();
  EXPECT_TRUE(DismissBoxes(kClicks, 10s));

  // The window still works.
  TypeShareAddress(kUtf8Share);
  ClickParse();
  EXPECT_TRUE(CopyUntil(kUtf8Link));
}

}  // namespace
}  // namespace tw::test
