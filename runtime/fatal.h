// The fatal run-time error: an index outside a TextArray, or lack of memory.
// The program's own code never triggers it; when it happens the process cannot
// go on, so the error is reported and the process ends with a non-zero code.
#pragma once

#include <string_view>

namespace tw {

// Shows `message` to the user. The default writes it to stderr; the window
// program installs one that shows an error box. Null restores the default.
using FatalErrorReporter = void (*)(std::string_view message);

void SetFatalErrorReporter(FatalErrorReporter reporter);

// Reports `message` through the installed reporter, then ends the process
// with exit code kFatalExitCode, running no destructors or exit handlers. A
// fatal error inside the reporter itself goes to stderr instead.
[[noreturn]] void FatalRuntimeError(std::string_view message);

inline constexpr int kFatalExitCode = 70;  // EX_SOFTWARE

// Makes lack of memory (a failed operator new) a fatal run-time error.
void InstallOutOfMemoryHandler();

}  // namespace tw
