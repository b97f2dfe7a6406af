#include "cli/console_toolkit.h"

namespace tw::cli {
namespace {

thread_local ConsoleWindow* t_window = nullptr;

}  // namespace

Text ConsoleWindow::Value(Control control, int property) const {
  auto it = values_.find({control, property});
  return it != values_.end() ? it->second : Text();
}

void ConsoleWindow::SetValue(Control control, int property, Text value) {
  values_[{control, property}] = std::move(value);
}

void ConsoleWindow::AddMessageBox(Text text, Text title) {
  boxes_.push_back({std::move(text), std::move(title)});
}

ScopedConsoleWindow::ScopedConsoleWindow(ConsoleWindow& window) : previous_(t_window) { t_window = &window; }

ScopedConsoleWindow::~ScopedConsoleWindow() { t_window = previous_; }

Text ConsoleToolkit::ReadControlProperty(Control control, int property) {
  return t_window != nullptr ? t_window->Value(control, property) : Text();
}

void ConsoleToolkit::WriteControlProperty(Control control, int property, const Text& value) {
  if (t_window != nullptr) t_window->SetValue(control, property, value);
}

int ConsoleToolkit::ShowMessageBox(const Text& text, int /*buttonCode*/, const Text& title) {
  if (t_window != nullptr) t_window->AddMessageBox(text, title);
  return kAnswer;
}

bool ConsoleToolkit::SetClipboardText(const Text& /*text*/) { return false; }

void ConsoleToolkit::ApplyVisualStyle(int /*scheme*/) {}

}  // namespace tw::cli
