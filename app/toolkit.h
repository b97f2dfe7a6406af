// The window-toolkit operations that the program's logic is written on. They
// are free functions over a backend installed at start-up: the window
// program's, the console front end's, or a test's. No toolkit header is seen
// from here, so the resolver stays free of GUI code.
#pragma once

#include "runtime/text.h"

namespace tw {

// The controls of the main window, in stacking order (the first on top),
// under the names their designer gave them.
enum class Control {
  编辑框3,
  编辑框2,
  按钮_地址,
  按钮_文件名,
  标签5,
  按钮2,
  标签2,
  按钮1,
  编辑框1,
  标签1,
  超文本浏览框1,
};

// Property numbers: 8 is the text of an EditBox, 10 the caption of a Button.
inline constexpr int kEditBoxText = 8;
inline constexpr int kButtonCaption = 10;

// Message box button code: OK and Cancel with the question-mark icon.
inline constexpr int kOkCancelQuestion = 33;

// "友情提示：" (code page 936), the title of every message box the program shows.
inline constexpr const char* kNoticeTitle = "\xd3\xd1\xc7\xe9\xcc\xe1\xca\xbe\xa3\xba";

// What a backend provides. Every member may be called from any thread unless
// it says otherwise.
class ToolkitBackend {
 public:
  virtual ~ToolkitBackend() = default;
  // The property's value now; the empty text once the window is gone.
  virtual Text ReadControlProperty(Control control, int property) = 0;
  // Returns when the control holds and shows `value`; dropped once the
  // window is gone.
  virtual void WriteControlProperty(Control control, int property, const Text& value) = 0;
  // Returns when the user dismisses the box: the number of the button.
  virtual int ShowMessageBox(const Text& text, int buttonCode, const Text& title) = 0;
  virtual bool SetClipboardText(const Text& text) = 0;
  virtual void ApplyVisualStyle(int scheme) = 0;
};

// Installs the backend the operations below use; the caller keeps it alive
// for as long as any thread may call them.
void InstallToolkitBackend(ToolkitBackend* backend);

Text ReadControlProperty(Control control, int property);
void WriteControlProperty(Control control, int property, const Text& value);
int ShowMessageBox(const Text& text, int buttonCode, const Text& title);
bool SetClipboardText(const Text& text);
void ApplyVisualStyle(int scheme);

// Starts a detached thread running `routine`; false when none can be created.
bool StartThread(void (*routine)());

}  // namespace tw
