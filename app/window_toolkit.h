// The window program's side of the toolkit operations: wxWidgets on GTK 3.
// Start-up drives it in this order: open, main window, loop, close.
#pragma once

namespace tw {

// Connects to the display and installs the window toolkit's backend of the
// toolkit operations and the fatal-error box. False when there is no display
// to connect to; nothing is installed then.
[[nodiscard]] bool OpenWindowToolkit(int argc, char** argv);

// Builds the main window from its description, raises its created event and
// shows it. False when the window cannot be created.
[[nodiscard]] bool OpenMainWindow();

// Runs the message loop on the calling (main) thread until the main window is
// gone; also boxes that workers still have open do not keep it running.
void RunMessageLoop();

// Tells the toolkit the program ends. Threads still running keep working
// toolkit operations: reads give the empty text, writes are dropped, boxes
// give Cancel.
void CloseWindowToolkit();

}  // namespace tw
