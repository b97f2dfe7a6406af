// The toolkit operations for the console: each resolution gets a window of
// its own, held in memory and bound to the thread that runs it, so parallel
// resolutions never see each other's controls.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/toolkit.h"
#include "runtime/text.h"

namespace tw::cli {

// The controls of one run and the message boxes shown to it.
class ConsoleWindow {
 public:
  struct MessageBox {
    Text text;
    Text title;
  };

  [[nodiscard]] Text Value(Control control, int property) const;
  void SetValue(Control control, int property, Text value);
  void AddMessageBox(Text text, Text title);
  [[nodiscard]] const std::vector<MessageBox>& MessageBoxes() const { return boxes_; }

 private:
  std::map<std::pair<Control, int>, Text> values_;
  std::vector<MessageBox> boxes_;
};

// Makes `window` the calling thread's window for its lifetime.
class ScopedConsoleWindow {
 public:
  explicit ScopedConsoleWindow(ConsoleWindow& window);
  ~ScopedConsoleWindow();
  ScopedConsoleWindow(const ScopedConsoleWindow&) = delete;
  ScopedConsoleWindow& operator=(const ScopedConsoleWindow&) = delete;

 private:
  ConsoleWindow* previous_;
};

// Acts on the calling thread's window; without one, reads give the empty
// text and everything else is dropped, as after a window has closed. A
// message box is answered at once with OK; the console has no clipboard and
// no visual style.
class ConsoleToolkit final : public ToolkitBackend {
 public:
  static constexpr int kAnswer = 1;

  Text ReadControlProperty(Control control, int property) override;
  void WriteControlProperty(Control control, int property, const Text& value) override;
  int ShowMessageBox(const Text& text, int buttonCode, const Text& title) override;
  bool SetClipboardText(const Text& text) override;
  void ApplyVisualStyle(int scheme) override;
};

}  // namespace tw::cli
