// The main window as data: one record for the window and one per control, the
// control records in stacking order (the first on top). The wx backend builds
// the window from this table; nothing else about the window's make-up lives in
// code.
#pragma once

#include <span>

#include "app/toolkit.h"

namespace tw {

enum class ControlKind { kWindow, kEditBox, kLabel, kButton, kHtmlViewer };

// Event 0 is the created event of the window and the clicked event of a button.
inline constexpr int kCreatedEvent = 0;
inline constexpr int kClickedEvent = 0;

struct EventBinding {
  int event;
  void (*handler)();
};

enum class MousePointer { kDefault };
enum class HorizontalAlign { kLeft, kCentre };
enum class VerticalAlign { kTop, kCentre };

struct Geometry {
  int left;
  int top;
  int width;
  int height;
};

// Settings shared by every control of one kind.
struct WindowSettings {
  bool resizable;
  bool minimizeBox;
  bool maximizeBox;
  bool centredOnScreen;  // the stored left and top are not used
  bool escCloses;
  bool showInTaskbar;
};
struct EditBoxSettings {
  bool multiLine;
  bool readOnly;
  bool password;
  HorizontalAlign align;
};
struct ButtonSettings {
  bool defaultButton;
  bool wrapCaption;
  HorizontalAlign align;
  VerticalAlign verticalAlign;
};
struct LabelSettings {
  bool wrapCaption;
  bool accessKeys;  // false: "&" is drawn as itself
  HorizontalAlign align;
  VerticalAlign verticalAlign;
};
// The view always works online: WebKit has no offline mode to turn off.
struct HtmlViewerSettings {
  int textSize;  // 0 (smallest) to 4 (largest)
  bool silent;   // the page can open no dialog
};

inline constexpr WindowSettings kWindowSettings{
    .resizable = false,
    .minimizeBox = false,
    .maximizeBox = false,
    .centredOnScreen = true,
    .escCloses = true,
    .showInTaskbar = true,
};
inline constexpr EditBoxSettings kEditBoxSettings{
    .multiLine = false, .readOnly = false, .password = false, .align = HorizontalAlign::kLeft};
inline constexpr ButtonSettings kButtonSettings{.defaultButton = false,
                                                .wrapCaption = true,
                                                .align = HorizontalAlign::kCentre,
                                                .verticalAlign = VerticalAlign::kCentre};
inline constexpr LabelSettings kLabelSettings{.wrapCaption = false,
                                              .accessKeys = false,
                                              .align = HorizontalAlign::kLeft,
                                              .verticalAlign = VerticalAlign::kCentre};
inline constexpr HtmlViewerSettings kHtmlViewerSettings{.textSize = 2, .silent = true};

struct Record {
  ControlKind kind;
  Control control;   // meaningless for the window record
  const char* name;  // Text: code page 936; empty for the window
  Geometry geometry;
  bool visible;
  bool disabled;
  bool tabStop;
  const char* tag;
  MousePointer pointer;
  std::span<const EventBinding> events;
  // The title of the window, the initial text of an edit box, the caption of
  // a button or label, the start address of an HTML view (relative to the
  // program's folder), all in code page 936.
  const char* text;
};

[[nodiscard]] const Record& MainWindowRecord();
// The control records, first on top.
[[nodiscard]] std::span<const Record> ControlRecords();
[[nodiscard]] const Record& RecordOf(Control control);

// The handler bound to `event` of `record`, or null.
[[nodiscard]] void (*BoundHandler(const Record& record, int event))();

}  // namespace tw
