#include "app/window_description.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "app/handlers.h"
#include "resolver/parse_command.h"
#include "web/codepage.h"

namespace tw {
namespace {

std::string Utf8(const char* text) { return TextToUtf8(Text(text)); }

bool Inside(const Geometry& inner, const Geometry& outer) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

TEST(WindowDescription, ControlsAreTheDesignersInStackingOrder) {
  struct Case {
    const char* name;  // UTF-8
    ControlKind kind;
    Geometry geometry;
    const char* text;  // UTF-8
    bool tabStop;
  } kCases[] = {
      {"编辑框3", ControlKind::kEditBox, {120, 128, 440, 136}, "", true},
      {"编辑框2", ControlKind::kEditBox, {120, 72, 432, 40}, "", true},
      {"按钮_地址", ControlKind::kButton, {119, 219, 433, 32}, "", true},
      {"按钮_文件名", ControlKind::kButton, {119, 72, 433, 32}, "", true},
      {"标签5", ControlKind::kLabel, {16, 72, 80, 32}, "文件名：", false},
      {"按钮2", ControlKind::kButton, {120, 280, 280, 32}, "复制下载地址", true},
      {"标签2", ControlKind::kLabel, {16, 224, 80, 32}, "真实下载地址：", false},
      {"按钮1", ControlKind::kButton, {472, 23, 80, 32}, "解析", true},
      {"编辑框1", ControlKind::kEditBox, {120, 24, 344, 32}, "", true},
      {"标签1", ControlKind::kLabel, {16, 24, 88, 32}, "百度分享地址：", false},
      {"超文本浏览框1", ControlKind::kHtmlViewer, {136, 144, 408, 112}, nullptr, true},
  };
  ASSERT_EQ(ControlRecords().size(), std::size(kCases));
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const Case& c = kCases[i];
    SCOPED_TRACE(c.name);
    const Record& record = ControlRecords()[i];
    EXPECT_EQ(Utf8(record.name), c.name);
    EXPECT_EQ(static_cast<std::size_t>(record.control), i);
    EXPECT_EQ(&RecordOf(record.control), &record);
    EXPECT_EQ(record.kind, c.kind);
    EXPECT_EQ(record.geometry.left, c.geometry.left);
    EXPECT_EQ(record.geometry.top, c.geometry.top);
    EXPECT_EQ(record.geometry.width, c.geometry.width);
    EXPECT_EQ(record.geometry.height, c.geometry.height);
    if (c.text != nullptr) {
      EXPECT_EQ(Utf8(record.text), c.text);
    }
    EXPECT_EQ(record.tabStop, c.tabStop);
    EXPECT_TRUE(record.visible);
    EXPECT_FALSE(record.disabled);
    EXPECT_STREQ(record.tag, "");
    EXPECT_EQ(record.pointer, MousePointer::kDefault);
  }
}

TEST(WindowDescription, TheWindowRecord) {
  const Record& window = MainWindowRecord();
  EXPECT_EQ(window.kind, ControlKind::kWindow);
  EXPECT_STREQ(window.text, "Tarnwick");
  EXPECT_EQ(window.geometry.width, 580);
  EXPECT_EQ(window.geometry.height, 354);
  EXPECT_TRUE(kWindowSettings.centredOnScreen);
  EXPECT_FALSE(kWindowSettings.resizable);
  EXPECT_FALSE(kWindowSettings.minimizeBox);
  EXPECT_FALSE(kWindowSettings.maximizeBox);
  EXPECT_TRUE(kWindowSettings.escCloses);
  EXPECT_FALSE(kButtonSettings.defaultButton);
  EXPECT_FALSE(kLabelSettings.wrapCaption);
  EXPECT_FALSE(kLabelSettings.accessKeys);
  EXPECT_EQ(kHtmlViewerSettings.textSize, 2);
  EXPECT_TRUE(kHtmlViewerSettings.silent);
}

TEST(WindowDescription, EventsGoThroughTheTable) {
  EXPECT_EQ(BoundHandler(MainWindowRecord(), kCreatedEvent), &OnMainWindowCreated);
  EXPECT_EQ(BoundHandler(RecordOf(Control::按钮1), kClickedEvent), &OnParseClicked);
  EXPECT_EQ(BoundHandler(RecordOf(Control::按钮2), kClickedEvent), &OnCopyClicked);
  for (const Record& record : ControlRecords()) {
    if (record.control == Control::按钮1 || record.control == Control::按钮2) continue;
    SCOPED_TRACE(Utf8(record.name));
    EXPECT_EQ(BoundHandler(record, kClickedEvent), nullptr);
  }
}

// What the user sees follows from the geometry: the edit boxes above cover
// the result buttons but for their leftmost pixel column, and 编辑框3 covers
// the whole HTML view.
TEST(WindowDescription, EditBoxesCoverWhatLiesBehindThem) {
  struct Case {
    Control top;
    Control behind;
  } kCases[] = {{Control::编辑框2, Control::按钮_文件名}, {Control::编辑框3, Control::按钮_地址}};
  for (const Case& c : kCases) {
    const Geometry& top = RecordOf(c.top).geometry;
    Geometry rest = RecordOf(c.behind).geometry;
    SCOPED_TRACE(Utf8(RecordOf(c.behind).name));
    EXPECT_EQ(rest.left + 1, top.left);
    rest.left += 1;
    rest.width -= 1;
    EXPECT_TRUE(Inside(rest, top));
  }
  EXPECT_TRUE(Inside(RecordOf(Control::超文本浏览框1).geometry, RecordOf(Control::编辑框3).geometry));
}

TEST(WindowDescription, TheStartAddressCarriesTheQueryKeyU) {
  std::string address = RecordOf(Control::超文本浏览框1).text;
  std::string::size_type query = address.find('?');
  ASSERT_NE(query, std::string::npos);
  EXPECT_EQ(address.substr(query + 1, 2), "u=");
}

}  // namespace
}  // namespace tw
