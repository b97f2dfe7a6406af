// The window program's start and end.
#pragma once

namespace tw {

// Exit code when the program cannot start: no display, or no main window.
inline constexpr int kStartUpFailed = -1;

// Prepares the runtime services, runs the start-up hooks, opens the main
// window and runs the message loop until the window is gone. Gives the exit
// code: 0, or kStartUpFailed.
[[nodiscard]] int StartProgram(int argc, char** argv);

}  // namespace tw
