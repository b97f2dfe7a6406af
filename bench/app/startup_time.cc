// Starts a program and reports, in milliseconds, how long it took until a
// window of its own (by _NET_WM_PID) was viewable on the display in DISPLAY,
// then its resident memory and that of its children (the HTML view's helper
// processes) a second later. The program is killed afterwards.
//
//   startup_time build/tarnwick   ->   "mapped_ms 412 rss_kib 98000 children_rss_kib 150000"
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long Cardinal(Display* display, Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long value = -1;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && count == 1 && format == 32) {
    value = *reinterpret_cast<long*>(data);
  }
  if (data != nullptr) XFree(data);
  return value;
}

// Whether a viewable top-level client (or a child of the root without a
// window manager) carries the pid.
bool HasViewableWindow(Display* display, Window window, Atom pidAtom, long pid, int depth) {
  XWindowAttributes attributes;
  if (Cardinal(display, window, pidAtom) == pid && XGetWindowAttributes(display, window, &attributes) &&
      attributes.map_state == IsViewable) {
    return true;
  }
  if (depth == 0) return false;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i)
    found = HasViewableWindow(display, children[i], pidAtom, pid, depth - 1);
  if (children != nullptr) XFree(children);
  return found;
}

long RssKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// Resident memory of every descendant of `pid`.
long ChildrenRssKib(pid_t pid) {
  long total = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    pid_t child = std::stoi(name);
    for (pid_t up = child; up > 1;) {
      std::ifstream stat("/proc/" + std::to_string(up) + "/stat");
      std::string skip, state;
      pid_t parent = 0;
      std::getline(stat, skip, ')');
      stat >> state >> parent;
      if (!stat) break;
      if (parent == pid) {
        total += RssKib(child);
        break;
      }
      up = parent;
    }
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_time <program> [arguments]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "startup_time: no display\n");
    return 2;
  }
  // Windows come and go while the tree is walked; a vanished one is no error.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    execv(argv[1], argv + 1);
    _exit(127);
  }
  bool mapped = false;
  while (!mapped && Clock::now() - start < std::chrono::seconds(30)) {
    mapped = HasViewableWindow(display, DefaultRootWindow(display), pidAtom, pid, 2);
    if (!mapped) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  long ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  long rss = RssKib(pid);
  long children = ChildrenRssKib(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  if (!mapped) {
    std::fprintf(stderr, "startup_time: no window within 30 s\n");
    return 1;
  }
  std::printf("mapped_ms %ld rss_kib %ld children_rss_kib %ld\n", ms, rss, children);
  return 0;
}
