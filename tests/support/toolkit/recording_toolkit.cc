#include "tests/support/toolkit/recording_toolkit.h"

namespace tw::test {

std::ostream& operator<<(std::ostream& out, const ControlWrite& write) {
  return out << "{control " << static_cast<int>(write.control) << ", property " << write.property << ", "
             << write.value << "}";
}

std::ostream& operator<<(std::ostream& out, const ShownMessageBox& box) {
  return out << "{" << box.text << ", " << box.buttonCode << ", " << box.title << "}";
}

RecordingToolkit::RecordingToolkit() { InstallToolkitBackend(this); }

RecordingToolkit::~RecordingToolkit() { InstallToolkitBackend(nullptr); }

void RecordingToolkit::Preset(Control control, int property, Text value) {
  std::lock_guard lock(mutex_);
  values_[{control, property}] = std::move(value);
}

void RecordingToolkit::QueueReads(Control control, int property, std::vector<Text> values) {
  std::lock_guard lock(mutex_);
  auto& queue = queuedReads_[{control, property}];
  queue.insert(queue.end(), values.begin(), values.end());
}

void RecordingToolkit::SetClipboardAnswer(bool answer) {
  std::lock_guard lock(mutex_);
  clipboardAnswer_ = answer;
}

Text RecordingToolkit::Value(Control control, int property) const {
  std::lock_guard lock(mutex_);
  auto it = values_.find({control, property});
  return it != values_.end() ? it->second : Text();
}

std::vector<ControlWrite> RecordingToolkit::Writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

std::vector<ShownMessageBox> RecordingToolkit::MessageBoxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<Text> RecordingToolkit::ClipboardTexts() const {
  std::lock_guard lock(mutex_);
  return clipboard_;
}

std::vector<int> RecordingToolkit::VisualStyles() const {
  std::lock_guard lock(mutex_);
  return styles_;
}

bool RecordingToolkit::WaitFor(std::size_t count, std::size_t boxes,
                               std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return writes_.size() >= count && boxes_.size() >= boxes; });
}

Text RecordingToolkit::ReadControlProperty(Control control, int property) {
  std::lock_guard lock(mutex_);
  auto queued = queuedReads_.find({control, property});
  if (queued != queuedReads_.end() && !queued->second.empty()) {
    Text value = std::move(queued->second.front());
    queued->second.pop_front();
    return value;
  }
  auto it = values_.find({control, property});
  return it != values_.end() ? it->second : Text();
}

void RecordingToolkit::WriteControlProperty(Control control, int property, const Text& value) {
  // Notified under the lock: a waiting test may destroy the toolkit as soon
  // as it sees the write.
  std::lock_guard lock(mutex_);
  values_[{control, property}] = value;
  writes_.push_back({control, property, value});
  changed_.notify_all();
}

int RecordingToolkit::ShowMessageBox(const Text& text, int buttonCode, const Text& title) {
  std::lock_guard lock(mutex_);
  boxes_.push_back({text, buttonCode, title});
  changed_.notify_all();
  return kAnswer;
}

bool RecordingToolkit::SetClipboardText(const Text& text) {
  std::lock_guard lock(mutex_);
  clipboard_.push_back(text);
  return clipboardAnswer_;
}

void RecordingToolkit::ApplyVisualStyle(int scheme) {
  std::lock_guard lock(mutex_);
  styles_.push_back(scheme);
}

}  // namespace tw::test
