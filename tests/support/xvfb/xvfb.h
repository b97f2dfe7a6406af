// A private X display for GUI tests, and the tools a person's hands would be:
// xdotool for keys, clicks and window lookup, xprop for window properties,
// xclip for the clipboard, ImageMagick's import for screenshots.
//
//   tw::testing::XvfbDisplay& display = tw::testing::SharedDisplay();
//   tw::testing::Process app({"build/tarnwick"});
//   std::optional<std::string> window = tw::testing::WaitForWindow("Tarnwick");
//   tw::testing::PressKeys({"Escape"});
//   EXPECT_EQ(app.WaitForExit(std::chrono::seconds(5)), 0);
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw::testing {

using std::chrono::milliseconds;

// Xvfb on a display number of its own choosing (-displayfd), no TCP, with a
// window manager (openbox) unless asked not to. The constructor points this
// process's DISPLAY at it; the destructor ends both servers.
class XvfbDisplay {
 public:
  struct Options {
    int width = 1024;
    int height = 768;
    bool windowManager = true;
  };
  explicit XvfbDisplay(Options options);
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  [[nodiscard]] const std::string& name() const { return name_; }  // ":N"
  [[nodiscard]] int width() const { return options_.width; }
  [[nodiscard]] int height() const { return options_.height; }

 private:
  Options options_;
  std::string name_;
  pid_t server_ = -1;
  pid_t windowManager_ = -1;
};

// One display for the whole test program, with the default options, started
// at the first call (from the test's main thread) and ended with the program.
XvfbDisplay& SharedDisplay();

// A child process started with argv, its stdout discarded; killed (SIGKILL)
// by the destructor if it is still running, and when the test ends.
class Process {
 public:
  // `environment` entries "NAME=value" are added to this process's own.
  explicit Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The exit code, or -signal number when a signal ended it; nothing when it
  // is still running after `timeout`.
  std::optional<int> WaitForExit(milliseconds timeout);
  [[nodiscard]] bool Running();
  [[nodiscard]] pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct CommandResult {
  int exitCode = -1;
  std::string output;  // stdout
};
// Runs argv to its end with `input` on its stdin.
CommandResult RunCommand(const std::vector<std::string>& argv, std::string_view input = {});

// The first window the window manager lists whose title is exactly `title`
// (an X window id in decimal), once it is there. The lookups need the window
// manager, which the default display has.
std::optional<std::string> WaitForWindow(std::string_view title, milliseconds timeout = milliseconds(10000));
// Whether a window with that exact title exists now.
bool WindowExists(std::string_view title);
// The ids of every window whose title is exactly `title`.
std::vector<std::string> FindWindows(std::string_view title);

struct Rectangle {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
// The window's own (client) area on the screen.
Rectangle ClientArea(const std::string& window);
// The window with its frame and title bar, from _NET_FRAME_EXTENTS.
Rectangle OuterArea(const std::string& window);

// xprop's lines for one property of the window.
std::string WindowProperty(const std::string& window, std::string_view property);

// Gives the window the input focus and waits until it has it.
void Activate(const std::string& window);
// Key names as xdotool knows them ("Escape", "Return", "ctrl+v").
void PressKeys(const std::vector<std::string>& keys);
// Types UTF-8 text into the focused control.
void TypeText(std::string_view utf8);
// A left click at a point of the window's client area.
void Click(const std::string& window, int x, int y);

// The CLIPBOARD selection as UTF-8 text; nothing when nobody holds it.
std::optional<std::string> ClipboardText();
// Takes the CLIPBOARD selection with `utf8` (xclip keeps serving it).
void SetClipboardText(std::string_view utf8);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // row by row, 3 bytes a pixel

  [[nodiscard]] std::uint32_t Pixel(int x, int y) const;  // 0xRRGGBB
  // Whether every pixel of the rectangle has the same colour.
  [[nodiscard]] bool Uniform(const Rectangle& area) const;
  void SavePng(const std::string& path) const;
};
// A screenshot of the window's client area (import -window).
Image CaptureWindow(const std::string& window);

// Polls `done` every 20 ms until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done, milliseconds timeout);

}  // namespace tw::testing
