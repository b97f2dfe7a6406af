// The parse command: from the share address in the main window to the file
// name and the direct download address, on a worker thread of its own.
#pragma once

namespace tw {

// The clicked handler of 按钮1: starts one more worker running ParseWorker.
void OnParseClicked();

// The body of a worker thread: ResolveShareLink, then the thread ends.
void ParseWorker();

// Reads the share address from 编辑框1, fetches the share page and the
// download request, and writes the file name and the download address into
// the result controls; tells the user through a message box when the address
// is foreign or the service asks for a verification code.
void ResolveShareLink();

}  // namespace tw
