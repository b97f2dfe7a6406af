#include <glib.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "app/html_view_engine.h"
#include "app/main_thread_gate.h"
#include "app/window_description.h"
#include "app/window_toolkit.h"
#include "app/wx_main_window.h"
#include "app/wx_message_box.h"
#include "app/wx_text.h"
#include "app/wx_visual_style.h"
#include "runtime/fatal.h"

namespace tw {
namespace {

// The open main window; main thread only. Null before it is built and after
// it is gone.
MainWindow* g_window = nullptr;

// The gate of the open main window, for workers; replaced with each window.
std::mutex g_gateMutex;
std::shared_ptr<MainThreadGate> g_gate;

std::shared_ptr<MainThreadGate> CurrentGate() {
  std::lock_guard guard(g_gateMutex);
  return g_gate;
}

// Tasks waiting for the main thread. GLib hands a source's data over under
// locks of its own that the thread sanitizer cannot see, so the tasks travel
// through a queue of ours and each idle source only takes the next one.
std::mutex g_taskMutex;
std::deque<std::function<void()>> g_tasks;

// An idle source of the main loop rather than wx's CallAfter: wx runs every
// queued call, new ones included, before it looks at input again, so busy
// workers could starve the window's own events (Esc among them). Idle sources
// wait behind input and repaints.
void PostToMainThread(std::function<void()> task) {
  {
    std::lock_guard guard(g_taskMutex);
    g_tasks.push_back(std::move(task));
  }
  g_idle_add_full(
      G_PRIORITY_DEFAULT_IDLE,
      [](gpointer) -> gboolean {
        std::function<void()> next;
        {
          std::lock_guard guard(g_taskMutex);
          if (g_tasks.empty()) return G_SOURCE_REMOVE;
          next = std::move(g_tasks.front());
          g_tasks.pop_front();
        }
        next();
        return G_SOURCE_REMOVE;
      },
      nullptr, nullptr);
}

// Runs `operation` on the open main window on the main thread, waiting for it
// from any other thread. False, and nothing done, when the window is gone.
template <typename Operation>
bool WithMainWindow(Operation&& operation) {
  if (wxIsMainThread()) {
    if (g_window == nullptr) return false;
    operation(*g_window);
    return true;
  }
  std::shared_ptr<MainThreadGate> gate = CurrentGate();
  if (gate == nullptr) return false;
  std::optional<int> done = gate->Run([&](const MainThreadGate::Finish& finish) {
    if (g_window != nullptr) operation(*g_window);
    finish(g_window != nullptr ? 1 : 0);
  });
  return done.value_or(0) == 1;
}

bool IsKind(Control control, ControlKind kind) { return RecordOf(control).kind == kind; }

class WxToolkitBackend final : public ToolkitBackend {
 public:
  Text ReadControlProperty(Control control, int property) override {
    Text value;
    WithMainWindow([&](const MainWindow& window) {
      if (property == kEditBoxText && IsKind(control, ControlKind::kEditBox)) {
        value = FromWx(static_cast<wxTextCtrl*>(window[control])->GetValue());
      } else if (property == kButtonCaption && IsKind(control, ControlKind::kButton)) {
        value = window.captions[static_cast<std::size_t>(control)];
      }
    });
    return value;
  }

  void WriteControlProperty(Control control, int property, const Text& value) override {
    WithMainWindow([&](MainWindow& window) {
      if (property == kEditBoxText && IsKind(control, ControlKind::kEditBox)) {
        static_cast<wxTextCtrl*>(window[control])->SetValue(ToWx(value));
      } else if (property == kButtonCaption && IsKind(control, ControlKind::kButton)) {
        window.captions[static_cast<std::size_t>(control)] = value;
        static_cast<wxButton*>(window[control])->SetLabelText(ToWx(value));
      } else {
        return;
      }
      window[control]->Update();
    });
  }

  int ShowMessageBox(const Text& text, int buttonCode, const Text& title) override {
    if (wxIsMainThread()) return ShowModalMessageBox(ToWx(text), buttonCode, ToWx(title));
    std::shared_ptr<MainThreadGate> gate = CurrentGate();
    if (gate == nullptr) return kCancelButton;
    std::optional<int> button = gate->Run([&](MainThreadGate::Finish finish) {
      OpenModelessMessageBox(ToWx(text), buttonCode, ToWx(title), std::move(finish));
    });
    return button.value_or(kCancelButton);
  }

  bool SetClipboardText(const Text& text) override {
    bool copied = false;
    auto copy = [&] {
      wxClipboardLocker locker;
      copied = !!locker && wxTheClipboard->SetData(new wxTextDataObject(ToWx(text)));
    };
    if (wxIsMainThread()) {
      copy();
    } else if (std::shared_ptr<MainThreadGate> gate = CurrentGate()) {
      gate->Run([&](const MainThreadGate::Finish& finish) {
        copy();
        finish(0);
      });
    }
    return copied;
  }

  // The style covers the calling thread's windows; a worker has none.
  void ApplyVisualStyle(int scheme) override {
    if (wxIsMainThread()) SetVisualStyle(scheme);
  }
};

WxToolkitBackend g_backend;

void ReportFatalError(std::string_view message) {
  std::fprintf(stderr, "tarnwick: %.*s\n", static_cast<int>(message.size()), message.data());
  constexpr int kOkErrorIcon = 0x10;
  g_backend.ShowMessageBox(TextFromUtf8(message), kOkErrorIcon, "Tarnwick");
}

void MainWindowGone() {
  g_window = nullptr;
  std::shared_ptr<MainThreadGate> gate = CurrentGate();
  if (gate != nullptr) gate->Close();
  // Boxes that workers still have open are windows too, but they must not
  // keep the program alive once its window is closed.
  wxTheApp->ExitMainLoop();
}

}  // namespace

bool OpenWindowToolkit(int argc, char** argv) {
  PrepareHtmlViewEngine();
  int count = argc;
  wxApp::SetInstance(new wxApp);
  {
    wxLogNull quiet;  // the reason is reported below, in our own words
    if (!wxEntryStart(count, argv)) {
      const char* display = std::getenv("DISPLAY");
      if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "tarnwick: no display: DISPLAY is not set, and the window needs an X display\n");
      } else {
        std::fprintf(stderr, "tarnwick: cannot open the display \"%s\"\n", display);
      }
      return false;
    }
  }
  InstallToolkitBackend(&g_backend);
  SetFatalErrorReporter(&ReportFatalError);
  return true;
}

bool OpenMainWindow() {
  {
    std::lock_guard guard(g_gateMutex);
    g_gate = std::make_shared<MainThreadGate>(&PostToMainThread);
  }
  g_window = BuildMainWindow(&MainWindowGone);
  if (g_window == nullptr) {
    CurrentGate()->Close();
    return false;
  }
  return true;
}

void RunMessageLoop() { wxTheApp->OnRun(); }

void CloseWindowToolkit() {
  if (std::shared_ptr<MainThreadGate> gate = CurrentGate()) gate->Close();
  wxEntryCleanup();
}

}  // namespace tw
