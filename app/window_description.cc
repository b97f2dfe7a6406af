#include "app/window_description.h"

#include <cstddef>

#include "app/handlers.h"
#include "resolver/parse_command.h"

namespace tw {
namespace {

constexpr EventBinding kWindowEvents[] = {{kCreatedEvent, &OnMainWindowCreated}};
constexpr EventBinding kCopyEvents[] = {{kClickedEvent, &OnCopyClicked}};
constexpr EventBinding kParseEvents[] = {{kClickedEvent, &OnParseClicked}};
constexpr std::span<const EventBinding> kNoEvents;

using enum ControlKind;
constexpr MousePointer kPointer = MousePointer::kDefault;

// The window's position (50, 50) is stored as designed but not used: the
// window is centred on the screen when it is created.
constexpr Record kWindowRecord{kWindow, Control{}, "",       {50, 50, 580, 354}, true,      false,
                               false,   "",        kPointer, kWindowEvents,      "Tarnwick"};

// Stacking order, the first on top. 编辑框2 and 编辑框3 cover the two result
// buttons and the HTML view, which the user therefore does not see.
//  kind  control  name  {left, top, width, height}  visible disabled tabStop tag pointer events text
// clang-format off
constexpr Record kControls[] = {
    // 编辑框3
    {kEditBox, Control::编辑框3, "\xb1\xe0\xbc\xad\xbf\xf2\x33", {120, 128, 440, 136}, true, false, true, "",
     kPointer, kNoEvents, ""},
    // 编辑框2
    {kEditBox, Control::编辑框2, "\xb1\xe0\xbc\xad\xbf\xf2\x32", {120, 72, 432, 40}, true, false, true, "",
     kPointer, kNoEvents, ""},
    // 按钮_地址
    {kButton, Control::按钮_地址, "\xb0\xb4\xc5\xa5\x5f\xb5\xd8\xd6\xb7", {119, 219, 433, 32}, true, false, true,
     "", kPointer, kNoEvents, ""},
    // 按钮_文件名
    {kButton, Control::按钮_文件名, "\xb0\xb4\xc5\xa5\x5f\xce\xc4\xbc\xfe\xc3\xfb", {119, 72, 433, 32}, true,
     false, true, "", kPointer, kNoEvents, ""},
    // 标签5, "文件名："
    {kLabel, Control::标签5, "\xb1\xea\xc7\xa9\x35", {16, 72, 80, 32}, true, false, false, "", kPointer,
     kNoEvents, "\xce\xc4\xbc\xfe\xc3\xfb\xa3\xba"},
    // 按钮2, "复制下载地址"
    {kButton, Control::按钮2, "\xb0\xb4\xc5\xa5\x32", {120, 280, 280, 32}, true, false, true, "", kPointer,
     kCopyEvents, "\xb8\xb4\xd6\xc6\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7"},
    // 标签2, "真实下载地址："
    {kLabel, Control::标签2, "\xb1\xea\xc7\xa9\x32", {16, 224, 80, 32}, true, false, false, "", kPointer,
     kNoEvents, "\xd5\xe6\xca\xb5\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7\xa3\xba"},
    // 按钮1, "解析"
    {kButton, Control::按钮1, "\xb0\xb4\xc5\xa5\x31", {472, 23, 80, 32}, true, false, true, "", kPointer,
     kParseEvents, "\xbd\xe2\xce\xf6"},
    // 编辑框1
    {kEditBox, Control::编辑框1, "\xb1\xe0\xbc\xad\xbf\xf2\x31", {120, 24, 344, 32}, true, false, true, "",
     kPointer, kNoEvents, ""},
    // 标签1, "百度分享地址："
    {kLabel, Control::标签1, "\xb1\xea\xc7\xa9\x31", {16, 24, 88, 32}, true, false, false, "", kPointer,
     kNoEvents, "\xb0\xd9\xb6\xc8\xb7\xd6\xcf\xed\xb5\xd8\xd6\xb7\xa3\xba"},
    // 超文本浏览框1: the start page ships beside the program; the query key u
    // is part of the address the page is loaded by.
    {kHtmlViewer, Control::超文本浏览框1, "\xb3\xac\xce\xc4\xb1\xbe\xe4\xaf\xc0\xc0\xbf\xf2\x31",
     {136, 144, 408, 112}, true, false, true, "", kPointer, kNoEvents, "start.html?u=tarnwick"},
};
// clang-format on

}  // namespace

const Record& MainWindowRecord() { return kWindowRecord; }

std::span<const Record> ControlRecords() { return kControls; }

const Record& RecordOf(Control control) { return kControls[static_cast<std::size_t>(control)]; }

void (*BoundHandler(const Record& record, int event))() {
  for (const EventBinding& binding : record.events) {
    if (binding.event == event) return binding.handler;
  }
  return nullptr;
}

}  // namespace tw
