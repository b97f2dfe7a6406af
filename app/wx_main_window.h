// The main window built from its description, for the wx backend files only.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "app/toolkit.h"
#include "runtime/text.h"

class wxFrame;
class wxWindow;

namespace tw {

inline constexpr std::size_t kControlCount = 11;

struct MainWindow {
  wxFrame* frame = nullptr;
  std::array<wxWindow*, kControlCount> controls{};
  // Button captions as last written, byte for byte; a read gives these back
  // rather than the label, which went through UTF-8.
  std::array<Text, kControlCount> captions{};

  [[nodiscard]] wxWindow* operator[](Control control) const {
    return controls[static_cast<std::size_t>(control)];
  }
};

// Creates the window and its controls from the description, in this order:
// the window hidden and centred on the primary screen; the controls hidden,
// from the last record to the first; stacked in record order; shown; the
// created event; the window shown. `gone` runs once, when the window is closed
// or its frame destroyed, whichever comes first. Gives null when the window cannot be
// created.
MainWindow* BuildMainWindow(std::function<void()> gone);

}  // namespace tw
