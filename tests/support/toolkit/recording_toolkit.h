// A toolkit backend for tests: the main window's controls held in memory,
// every write and every message box recorded. Safe to use from any thread, so
// tests can watch the workers that the parse command starts.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <ostream>
#include <utility>
#include <vector>

#include "app/toolkit.h"
#include "runtime/text.h"

namespace tw::test {

struct ControlWrite {
  Control control;
  int property;
  Text value;
  friend bool operator==(const ControlWrite&, const ControlWrite&) = default;
};

struct ShownMessageBox {
  Text text;
  int buttonCode;
  Text title;
  friend bool operator==(const ShownMessageBox&, const ShownMessageBox&) = default;
};

std::ostream& operator<<(std::ostream& out, const ControlWrite& write);
std::ostream& operator<<(std::ostream& out, const ShownMessageBox& box);

// Installs itself as the toolkit backend for its lifetime.
class RecordingToolkit final : public ToolkitBackend {
 public:
  // What ShowMessageBox answers: the OK button.
  static constexpr int kAnswer = 1;

  RecordingToolkit();
  ~RecordingToolkit() override;
  RecordingToolkit(const RecordingToolkit&) = delete;
  RecordingToolkit& operator=(const RecordingToolkit&) = delete;

  // Sets a property as the user or the window description would: not recorded.
  void Preset(Control control, int property, Text value);
  // The next reads of the property give these values, one each, before the
  // property's own value is read again: a user typing between two reads.
  void QueueReads(Control control, int property, std::vector<Text> values);
  // What SetClipboardText answers from now on (at first true).
  void SetClipboardAnswer(bool answer);

  [[nodiscard]] Text Value(Control control, int property) const;
  [[nodiscard]] std::vector<ControlWrite> Writes() const;
  [[nodiscard]] std::vector<ShownMessageBox> MessageBoxes() const;
  [[nodiscard]] std::vector<Text> ClipboardTexts() const;
  [[nodiscard]] std::vector<int> VisualStyles() const;

  // Waits until at least `count` writes and `boxes` message boxes have been
  // recorded; false when `timeout` passes first.
  [[nodiscard]] bool WaitFor(std::size_t count, std::size_t boxes, std::chrono::milliseconds timeout) const;

  Text ReadControlProperty(Control control, int property) override;
  void WriteControlProperty(Control control, int property, const Text& value) override;
  int ShowMessageBox(const Text& text, int buttonCode, const Text& title) override;
  bool SetClipboardText(const Text& text) override;
  void ApplyVisualStyle(int scheme) override;

 private:
  using Key = std::pair<Control, int>;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::map<Key, Text> values_;
  std::map<Key, std::deque<Text>> queuedReads_;
  std::vector<ControlWrite> writes_;
  std::vector<ShownMessageBox> boxes_;
  std::vector<Text> clipboard_;
  std::vector<int> styles_;
  bool clipboardAnswer_ = true;
};

}  // namespace tw::test
