#include "resolver/share_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "resolver/parse_command.h"
#include "runtime/text_ops.h"
#include "tests/resolver/scripted_fetch_page.h"
#include "tests/support/toolkit/recording_toolkit.h"
#include "web/codepage.h"

namespace tw {
namespace {

using test::ControlWrite;
using test::FetchRequest;
using test::ShownMessageBox;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kShareAddress = "http://pan.baidu.com/s/1sample";

// A share page in the shape the service serves: its values as quoted
// attributes among other markup.
constexpr const char* kSharePage =
    "<html><body><div class=\"share-file\" server_filename=\"report.pdf\" share_id=\"3021\" "
    "share_uk=\"77801\" fsId=\"90001\" timestamp=\"1700000000\" sign=\"c0ffee\"></div></body></html>";

constexpr const char* kDownloadRequestAddress =
    "http://pan.baidu.com/share/download?channel=chunlei&clienttype=0&web=1&uk=77801&shareid=3021"
    "&timestamp=1700000000&sign=c0ffee&bdstoken=null";

constexpr const char* kAnswer =
    "{\"errno\":0,\"dlink\":\"http:\\/\\/files.sample-share.test\\/file\\/90001?fid=77801-3021\\u0026sign=c0ffee\","
    "\"request_id\":1}";

const std::vector<ControlWrite> kClears = {
    {Control::按钮_地址, kButtonCaption, ""},
    {Control::按钮_文件名, kButtonCaption, ""},
    {Control::编辑框2, kEditBoxText, ""},
    {Control::编辑框3, kEditBoxText, ""},
};

std::vector<ControlWrite> ClearsThenResults(const Text& fileName, const Text& address) {
  std::vector<ControlWrite> writes = kClears;
  writes.push_back({Control::按钮_文件名, kButtonCaption, fileName});
  writes.push_back({Control::按钮_地址, kButtonCaption, address});
  writes.push_back({Control::编辑框3, kEditBoxText, address});
  writes.push_back({Control::编辑框2, kEditBoxText, fileName});
  return writes;
}

FetchRequest Get(const Text& url) { return {.url = url, .method = 0, .postText = "", .leftOut = true}; }

FetchRequest Post(const Text& url, const Text& body) {
  return {.url = url, .method = 1, .postText = body, .leftOut = true};
}

// Serves `page` for the GET and `answer` for the POST.
void ScriptService(Text page, Text answer) {
  test::ScriptFetchPage(
      [page, answer](const FetchRequest& request) { return request.method == 1 ? answer : page; });
}

class ResolveShareLinkTest : public ::testing::Test {
 protected:
  void Resolve(const Text& address) {
    toolkit_.Preset(Control::编辑框1, kEditBoxText, address);
    ResolveShareLink();
  }

  test::RecordingToolkit toolkit_;
};

TEST(ResolverTexts, AreTheServiceMessagesInCodePage936) {
  EXPECT_EQ(Text(kNoticeTitle), TextFromUtf8("友情提示："));
  EXPECT_EQ(Text(kForeignAddressMessage), TextFromUtf8("非百度网盘地址，如何帮你解析！"));
  EXPECT_EQ(Text(kThrottledMessage),
            TextFromUtf8("操作过于频繁，百度提醒你输入验证码！建议你使用手输验证码版！"));
}

TEST_F(ResolveShareLinkTest, ShowsTheFileNameAndTheCleanedAddress) {
  ScriptService(kSharePage, kAnswer);
  Resolve(kShareAddress);

  EXPECT_THAT(test::FetchRequests(), ElementsAre(Get(kShareAddress), Post(kDownloadRequestAddress,
                                                                          "fid_list=%5B%22"
                                                                          "90001"
                                                                          "%22%5D")));
  EXPECT_EQ(
      toolkit_.Writes(),
      ClearsThenResults("report.pdf", "http://files.sample-share.test/file/90001?fid=77801-3021u0026sign=c0ffee"));
  EXPECT_THAT(toolkit_.MessageBoxes(), IsEmpty());
}

TEST_F(ResolveShareLinkTest, RejectsAnAddressWithoutTheBaseAddressAndKeepsTheControls) {
  struct Case {
    const char* name;
    const char* address;
  } const kCases[] = {
      {"empty box", ""},
      {"https scheme", "https://pan.baidu.com/s/1sample"},
      {"upper-case host", "http://PAN.BAIDU.COM/s/1sample"},
      {"upper-case scheme", "HTTP://pan.baidu.com/s/1sample"},
      {"no slash after the host", "http://pan.baidu.com"},
      {"another host", "http://share.example.com/s/1sample"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::RecordingToolkit toolkit;
    toolkit.Preset(Control::按钮_地址, kButtonCaption, "http://earlier/");
    ScriptService(kSharePage, kAnswer);
    toolkit.Preset(Control::编辑框1, kEditBoxText, c.address);
    ResolveShareLink();

    EXPECT_THAT(test::FetchRequests(), IsEmpty());
    EXPECT_THAT(toolkit.Writes(), IsEmpty());
    EXPECT_THAT(toolkit.MessageBoxes(),
                ElementsAre(ShownMessageBox{kForeignAddressMessage, kOkCancelQuestion, kNoticeTitle}));
    EXPECT_EQ(toolkit.Value(Control::按钮_地址, kButtonCaption), Text("http://earlier/"));
  }
}

TEST_F(ResolveShareLinkTest, FetchesTheWholeTextAroundTheBaseAddressUnchanged) {
  const Text address = JoinText(TextFromUtf8("链接： "), kShareAddress, TextFromUtf8(" 提取码 ab12 "));
  ScriptService(kSharePage, kAnswer);
  Resolve(address);
  ASSERT_EQ(test::FetchRequests().size(), 2u);
  EXPECT_EQ(test::FetchRequests()[0].url, address);
}

TEST_F(ResolveShareLinkTest, FetchesTheSecondReadingOfTheShareBox) {
  // The user changes the box between the test and the fetch.
  toolkit_.QueueReads(Control::编辑框1, kEditBoxText, {kShareAddress, " Typed Meanwhile "});
  ScriptService(kSharePage, kAnswer);
  ResolveShareLink();
  ASSERT_EQ(test::FetchRequests().size(), 2u);
  EXPECT_EQ(test::FetchRequests()[0].url, Text(" Typed Meanwhile "));
}

TEST_F(ResolveShareLinkTest, CutsTheFirstMarkerRegardlessOfCaseAndPassesValuesUnescaped) {
  // "yunsign" ends in the sign marker and comes first, so its value is taken.
  ScriptService(
      "<i SERVER_FILENAME=\"a b&c.txt\" Share_Id=\"1&x=2\" share_uk=\"%41\" FSID=\"9 9\" "
      "timestamp=\"t=1\" yunsign=\"first\" sign=\"second\">",
      kAnswer);
  Resolve(kShareAddress);

  EXPECT_THAT(test::FetchRequests(),
              ElementsAre(Get(kShareAddress),
                          Post("http://pan.baidu.com/share/download?channel=chunlei&clienttype=0&web=1"
                               "&uk=%41&shareid=1&x=2&timestamp=t=1&sign=first&bdstoken=null",
                               "fid_list=%5B%229 9%22%5D")));
  EXPECT_EQ(toolkit_.Value(Control::编辑框2, kEditBoxText), Text("a b&c.txt"));
}

TEST_F(ResolveShareLinkTest, ThrottledAnswerLeavesTheResultControlsEmpty) {
  struct Case {
    const char* name;
    const char* answer;
  } const kCases[] = {
      {"plain", "{\"errno\":-19,\"vcode\":\"3a9f\",\"img\":\"http:\\/\\/x\\/genimage\"}"},
      {"further digits", "{\"errno\":-190}"},
      {"anywhere, beside a dlink", "{\"dlink\":\"http:\\/\\/d\\/f\",\"list\":[{\"errno\":-19}]}"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::RecordingToolkit toolkit;
    ScriptService(kSharePage, c.answer);
    toolkit.Preset(Control::编辑框1, kEditBoxText, kShareAddress);
    ResolveShareLink();

    EXPECT_EQ(test::FetchRequests().size(), 2u);
    EXPECT_EQ(toolkit.Writes(), kClears);
    EXPECT_THAT(toolkit.MessageBoxes(),
                ElementsAre(ShownMessageBox{kThrottledMessage, kOkCancelQuestion, kNoticeTitle}));
  }
}

TEST_F(ResolveShareLinkTest, RemovesEveryBackslashFromTheDownloadAddressAndNothingElse) {
  struct Case {
    const char* name;
    const char* answer;
    const char* address;
  } const kCases[] = {
      {"escaped slashes", "{\"dlink\":\"http:\\/\\/d\\/f\"}", "http://d/f"},
      {"unicode escape keeps its letters", "{\"dlink\":\"a?x=1\\u0026y=2\"}", "a?x=1u0026y=2"},
      {"doubled backslash", "{\"dlink\":\"a\\\\b\"}", "ab"},
      {"marker case ignored", "{\"DLINK\":\"http://d/g\"}", "http://d/g"},
      {"errno other than -19", "{\"errno\":-1,\"dlink\":\"http://d/h\"}", "http://d/h"},
      {"no dlink", "{\"errno\":2,\"list\":[]}", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::RecordingToolkit toolkit;
    ScriptService(kSharePage, c.answer);
    toolkit.Preset(Control::编辑框1, kEditBoxText, kShareAddress);
    ResolveShareLink();

    EXPECT_EQ(toolkit.Writes(), ClearsThenResults("report.pdf", c.address));
    EXPECT_THAT(toolkit.MessageBoxes(), IsEmpty());
  }
}

TEST_F(ResolveShareLinkTest, PageWithoutFileNameShowsTheAddressBesideAnEmptyName) {
  ScriptService(
      "share_id=\"3021\" share_uk=\"77801\" fsId=\"90001\" timestamp=\"1700000000\" sign=\"c0ffee\"",
      "{\"dlink\":\"http:\\/\\/d\\/f\"}");
  Resolve(kShareAddress);
  EXPECT_EQ(toolkit_.Writes(), ClearsThenResults("", "http://d/f"));
}

TEST_F(ResolveShareLinkTest, FailedShareRequestStillPostsTheDownloadRequestWithEmptyValues) {
  ScriptService("", "");
  Resolve(kShareAddress);

  EXPECT_THAT(test::FetchRequests(),
              ElementsAre(Get(kShareAddress),
                          Post("http://pan.baidu.com/share/download?channel=chunlei&clienttype=0&web=1"
                               "&uk=&shareid=&timestamp=&sign=&bdstoken=null",
                               "fid_list=%5B%22%22%5D")));
  EXPECT_EQ(toolkit_.Writes(), ClearsThenResults("", ""));
  EXPECT_THAT(toolkit_.MessageBoxes(), IsEmpty());
}

TEST(OnParseClicked, EveryClickStartsAnotherRunInParallel) {
  // Each share request waits until both runs have made theirs: two clicks
  // that ran one after the other would time out here.
  std::mutex mutex;
  std::condition_variable bothStarted;
  int started = 0;
  test::ScriptFetchPage([&](const FetchRequest& request) -> Text {
    if (request.method == 1) return kAnswer;
    std::unique_lock lock(mutex);
    ++started;
    bothStarted.notify_all();
    return bothStarted.wait_for(lock, std::chrono::seconds(10), [&] { return started >= 2; }) ? kSharePage
                                                                                              : "";
  });
  test::RecordingToolkit toolkit;
  toolkit.Preset(Control::编辑框1, kEditBoxText, kShareAddress);

  OnParseClicked();
  OnParseClicked();

  ASSERT_TRUE(toolkit.WaitFor(16, 0, std::chrono::seconds(20)));
  EXPECT_EQ(test::FetchRequests().size(), 4u);
  EXPECT_EQ(toolkit.Value(Control::编辑框2, kEditBoxText), Text("report.pdf"));
  EXPECT_EQ(toolkit.Value(Control::按钮_地址, kButtonCaption),
            Text("http://files.sample-share.test/file/90001?fid=77801-3021u0026sign=c0ffee"));
}

}  // namespace
}  // namespace tw
