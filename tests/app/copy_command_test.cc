#include <gtest/gtest.h>

#include "app/handlers.h"
#include "app/messages.h"
#include "app/toolkit.h"
#include "tests/support/toolkit/recording_toolkit.h"
#include "web/codepage.h"

namespace tw {
namespace {

using test::RecordingToolkit;
using test::ShownMessageBox;

TEST(Messages, AreTheGbkBytesOfTheirTexts) {
  EXPECT_EQ(Text(kNoticeTitle), TextFromUtf8("友情提示："));
  EXPECT_EQ(Text(kCopiedMessage), TextFromUtf8("地址已经复制到剪辑版，现在可以用迅雷下载了！"));
  EXPECT_EQ(Text(kNoAddressMessage), TextFromUtf8("地址都没有，你复制个毛啊！"));
  EXPECT_EQ(Text(kCopyFailedMessage), TextFromUtf8("复制失败，剪辑版打不开，请稍后再试！"));
}

TEST(OnCopyClicked, WithoutAnAddressSaysSoAndLeavesTheClipboardAlone) {
  RecordingToolkit toolkit;
  toolkit.Preset(Control::编辑框3, kEditBoxText, "typed by the user");
  OnCopyClicked();
  EXPECT_TRUE(toolkit.ClipboardTexts().empty());
  EXPECT_EQ(toolkit.MessageBoxes(),
            (std::vector<ShownMessageBox>{{kNoAddressMessage, kOkCancelQuestion, kNoticeTitle}}));
}

TEST(OnCopyClicked, CopiesTheCaptionUnchangedAndConfirms) {
  struct Case {
    const char* name;
    Text caption;
  } kCases[] = {
      {"address", "http://d.example/file?x=1&y=2"},
      {"spaces only", "   "},
      {"two-byte characters", "\xce\xc4\xbc\xfe"},  // 文件
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingToolkit toolkit;
    toolkit.Preset(Control::按钮_地址, kButtonCaption, c.caption);
    toolkit.Preset(Control::编辑框3, kEditBoxText, "not this");
    OnCopyClicked();
    EXPECT_EQ(toolkit.ClipboardTexts(), std::vector<Text>{c.caption});
    EXPECT_EQ(toolkit.MessageBoxes(),
              (std::vector<ShownMessageBox>{{kCopiedMessage, kOkCancelQuestion, kNoticeTitle}}));
  }
}

TEST(OnCopyClicked, CopiesTheSecondReading) {
  RecordingToolkit toolkit;
  toolkit.QueueReads(Control::按钮_地址, kButtonCaption, {"first", "second"});
  OnCopyClicked();
  EXPECT_EQ(toolkit.ClipboardTexts(), std::vector<Text>{"second"});
}

TEST(OnCopyClicked, AClipboardThatCannotBeTakenIsReportedNotConfirmed) {
  RecordingToolkit toolkit;
  toolkit.Preset(Control::按钮_地址, kButtonCaption, "http://d.example/f");
  toolkit.SetClipboardAnswer(false);
  OnCopyClicked();
  EXPECT_EQ(toolkit.MessageBoxes(),
            (std::vector<ShownMessageBox>{{kCopyFailedMessage, kOkCancelQuestion, kNoticeTitle}}));
}

TEST(OnMainWindowCreated, TurnsOnColourSchemeOne) {
  RecordingToolkit toolkit;
  OnMainWindowCreated();
  EXPECT_EQ(toolkit.VisualStyles(), std::vector<int>{1});
}

}  // namespace
}  // namespace tw
