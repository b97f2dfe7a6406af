#include "runtime/fatal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace tw {
namespace {

void WriteToStderr(std::string_view message) {
  std::fprintf(stderr, "tarnwick: fatal run-time error: %.*s\n", static_cast<int>(message.size()),
               message.data());
}

std::atomic<FatalErrorReporter> g_reporter{&WriteToStderr};

// Set while this thread is reporting: a reporter that fails in turn (an error
// box needs memory) must not recurse, and the first message must not be lost.
thread_local bool t_reporting = false;
thread_local std::string_view t_first_message;

void OnOutOfMemory() { FatalRuntimeError("out of memory"); }

}  // namespace

void SetFatalErrorReporter(FatalErrorReporter reporter) {
  g_reporter.store(reporter != nullptr ? reporter : &WriteToStderr);
}

void FatalRuntimeError(std::string_view message) {
  if (!t_reporting) {
    t_reporting = true;
    t_first_message = message;
    g_reporter.load()(message);
  } else {
    WriteToStderr(t_first_message);
    WriteToStderr(message);
  }
  std::_Exit(kFatalExitCode);
}

void InstallOutOfMemoryHandler() { std::set_new_handler(&OnOutOfMemory); }

}  // namespace tw
