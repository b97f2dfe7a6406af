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

void OnOutOfMemory() { FatalRuntimeError("out of memory"); }

}  // namespace

void SetFatalErrorReporter(FatalErrorReporter reporter) {
  g_reporter.store(reporter != nullptr ? reporter : &WriteToStderr);
}

void FatalRuntimeError(std::string_view message) {
  g_reporter.load()(message);
  std::_Exit(kFatalExitCode);
}

void InstallOutOfMemoryHandler() { std::set_new_handler(&OnOutOfMemory); }

}  // namespace tw
