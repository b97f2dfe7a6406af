#include "tests/support/xvfb/xvfb.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tw::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& extra) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view line(*entry);
    std::string_view name = line.substr(0, line.find('='));
    bool replaced = false;
    for (const std::string& e : extra)
      replaced = replaced || std::string_view(e).substr(0, e.find('=')) == name;
    if (!replaced) result.emplace_back(line);
  }
  result.insert(result.end(), extra.begin(), extra.end());
  return result;
}

// A command runs to its end with the given stdin and stdout (-1: the test's
// own). A server (Xvfb, the window manager) and a program under test must not
// outlive the test: they get SIGKILL when the thread that started them ends,
// whatever way the test ends, and never hold the test runner's output pipes
// (a program under test keeps the test's stderr, for its diagnostics).
enum class Child { kCommand, kServer, kProgram };

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& environment, int in, int out,
            Child kind = Child::kCommand) {
  std::vector<std::string> env = EnvironmentWith(environment);
  std::vector<char*> args = Pointers(argv);
  std::vector<char*> envp = Pointers(env);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot fork for " + argv[0]);
  if (pid == 0) {
    if (kind != Child::kCommand) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(127);
      int null = open("/dev/null", O_RDWR);
      dup2(null, STDIN_FILENO);
      dup2(null, STDOUT_FILENO);
      if (kind == Child::kServer) dup2(null, STDERR_FILENO);
    }
    if (in >= 0) dup2(in, STDIN_FILENO);
    if (out >= 0) dup2(out, STDOUT_FILENO);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
  }
  return pid;
}

std::optional<int> WaitFor(pid_t pid, milliseconds timeout) {
  Clock::time_point end = Clock::now() + timeout;
  for (;;) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    if (done < 0 && errno != EINTR) return -1;
    if (Clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(milliseconds(5));
  }
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!WaitFor(pid, milliseconds(2000))) {
    kill(pid, SIGKILL);
    WaitFor(pid, milliseconds(2000));
  }
}

int ParseAfter(const std::string& text, std::string_view label) {
  std::string::size_type at = text.find(label);
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + label.size());
}

}  // namespace

XvfbDisplay::XvfbDisplay(Options options) : options_(options) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  // The write end must survive exec for -displayfd: a descriptor without
  // close-on-exec, and only that one.
  int displayFd = fcntl(fds[1], F_DUPFD, 3);
  std::string screen = std::to_string(options.width) + "x" + std::to_string(options.height) + "x24";
  server_ = Spawn({"Xvfb", "-displayfd", std::to_string(displayFd), "-screen", "0", screen, "-nolisten",
                   "tcp", "-noreset"},
                  {}, -1, -1, Child::kServer);
  close(displayFd);
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb gave no display number");
  name_ = ":" + number;
  setenv("DISPLAY", name_.c_str(), 1);
  if (options.windowManager) {
    windowManager_ = Spawn({"openbox", "--sm-disable"}, {}, -1, -1, Child::kServer);
    bool up = WaitUntil(
        [] {
          return RunCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).output.find("window id") !=
                 std::string::npos;
        },
        milliseconds(10000));
    if (!up) throw std::runtime_error("the window manager did not start");
  }
}

XvfbDisplay::~XvfbDisplay() {
  Stop(windowManager_);
  Stop(server_);
}

XvfbDisplay& SharedDisplay() {
  // Never destroyed: a toolkit still connected at exit would take the
  // server's end for a fatal error. The server ends with the test program.
  static XvfbDisplay* display = new XvfbDisplay(XvfbDisplay::Options{});
  return *display;
}

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
    : pid_(Spawn(argv, environment, -1, -1, Child::kProgram)) {}

Process::~Process() {
  if (!status_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    WaitFor(pid_, milliseconds(5000));
  }
}

std::optional<int> Process::WaitForExit(milliseconds timeout) {
  if (!status_) status_ = WaitFor(pid_, timeout);
  return status_;
}

bool Process::Running() { return !WaitForExit(milliseconds(0)).has_value(); }

CommandResult RunCommand(const std::vector<std::string>& argv, std::string_view input) {
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  // Titles and clipboard texts are UTF-8 whatever the test's own locale.
  pid_t pid = Spawn(argv, {"LC_ALL=C.UTF-8"}, in[0], out[1]);
  close(in[0]);
  close(out[1]);
  signal(SIGPIPE, SIG_IGN);
  for (std::size_t written = 0; written < input.size();) {
    ssize_t n = write(in[1], input.data() + written, input.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  close(in[1]);
  CommandResult result;
  char buffer[65536];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    result.output.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  result.exitCode = WaitFor(pid, milliseconds(60000)).value_or(-1);
  return result;
}

std::vector<std::string> FindWindows(std::string_view title) {
  // The window manager's client list and the UTF-8 titles: xdotool's --name
  // sees only WM_NAME, which GTK leaves out for titles Latin-1 cannot hold.
  std::string list = RunCommand({"xprop", "-root", "_NET_CLIENT_LIST"}).output;
  std::vector<std::string> windows;
  std::string::size_type at = list.find('#');
  if (at == std::string::npos) return windows;
  std::istringstream ids(list.substr(at + 1));
  for (std::string id; std::getline(ids, id, ',');) {
    unsigned long number = std::strtoul(id.c_str(), nullptr, 16);
    if (number == 0) continue;
    std::string decimal = std::to_string(number);
    std::string name = WindowProperty(decimal, "_NET_WM_NAME");
    std::string::size_type open = name.find('"');
    if (open == std::string::npos) continue;
    if (name.substr(open + 1, name.rfind('"') - open - 1) == title) windows.push_back(decimal);
  }
  return windows;
}

bool WindowExists(std::string_view title) { return !FindWindows(title).empty(); }

std::optional<std::string> WaitForWindow(std::string_view title, milliseconds timeout) {
  std::optional<std::string> window;
  WaitUntil(
      [&] {
        std::vector<std::string> windows = FindWindows(title);
        if (!windows.empty()) window = windows.front();
        return window.has_value();
      },
      timeout);
  return window;
}

Rectangle ClientArea(const std::string& window) {
  std::string info = RunCommand({"xwininfo", "-id", window}).output;
  return {ParseAfter(info, "Absolute upper-left X:"), ParseAfter(info, "Absolute upper-left Y:"),
          ParseAfter(info, "Width:"), ParseAfter(info, "Height:")};
}

Rectangle OuterArea(const std::string& window) {
  Rectangle client = ClientArea(window);
  std::string extents = WindowProperty(window, "_NET_FRAME_EXTENTS");
  int left = 0, right = 0, top = 0, bottom = 0;
  std::string::size_type at = extents.find('=');
  if (at != std::string::npos)
    std::sscanf(extents.c_str() + at + 1, "%d, %d, %d, %d", &left, &right, &top, &bottom);
  return {client.left - left, client.top - top, client.width + left + right, client.height + top + bottom};
}

std::string WindowProperty(const std::string& window, std::string_view property) {
  return RunCommand({"xprop", "-id", window, std::string(property)}).output;
}

void Activate(const std::string& window) { RunCommand({"xdotool", "windowactivate", "--sync", window}); }

void PressKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> argv = {"xdotool", "key", "--delay", "30"};
  argv.insert(argv.end(), keys.begin(), keys.end());
  RunCommand(argv);
}

void TypeText(std::string_view utf8) { RunCommand({"xdotool", "type", "--delay", "40", std::string(utf8)}); }

void Click(const std::string& window, int x, int y) {
  // No --sync: it waits for a pointer motion, and there is none when the
  // pointer already stands on the point.
  RunCommand({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y), "sleep",
              "0.05", "click", "1"});
}

std::optional<std::string> ClipboardText() {
  CommandResult result = RunCommand({"xclip", "-o", "-selection", "clipboard"});
  if (result.exitCode != 0) return std::nullopt;
  return result.output;
}

void SetClipboardText(std::string_view utf8) {
  // xclip stays behind to serve the selection; it must not hold our pipe.
  RunCommand({"sh", "-c", "xclip -i -selection clipboard >/dev/null 2>&1"}, utf8);
}

std::uint32_t Image::Pixel(int x, int y) const {
  std::size_t at =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return (std::uint32_t{rgb[at]} << 16) | (std::uint32_t{rgb[at + 1]} << 8) | rgb[at + 2];
}

bool Image::Uniform(const Rectangle& area) const {
  std::uint32_t first = Pixel(area.left, area.top);
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      if (Pixel(x, y) != first) return false;
    }
  }
  return true;
}

void Image::SavePng(const std::string& path) const {
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  RunCommand({"convert", "-size", size, "-depth", "8", "rgb:-", path},
             std::string_view(reinterpret_cast<const char*>(rgb.data()), rgb.size()));
}

Image CaptureWindow(const std::string& window) {
  Rectangle area = ClientArea(window);
  CommandResult shot = RunCommand({"import", "-window", window, "-depth", "8", "rgb:-"});
  Image image{area.width, area.height, std::vector<std::uint8_t>(shot.output.begin(), shot.output.end())};
  if (image.rgb.size() != static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height) * 3) {
    throw std::runtime_error("screenshot of the wrong size");
  }
  return image;
}

bool WaitUntil(const std::function<bool()>& done, milliseconds timeout) {
  Clock::time_point end = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
}

}  // namespace tw::testing
