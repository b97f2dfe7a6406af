#include "runtime/fatal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "runtime/text.h"

namespace tw {
namespace {

TEST(FatalRuntimeErrorDeathTest, IndexOutsideATextArrayEndsTheProcess) {
  const TextArray array{"a", "b"};
  EXPECT_EXIT((void)array[3], testing::ExitedWithCode(kFatalExitCode),
              "fatal run-time error: array index 3 outside the array of 2 members");
  EXPECT_EXIT((void)array[0], testing::ExitedWithCode(kFatalExitCode), "array index 0 outside");
  EXPECT_EXIT((void)TextArray()[1], testing::ExitedWithCode(kFatalExitCode), "array of 0 members");
}

void ReportWithMarker(std::string_view message) {
  std::fprintf(stderr, "reporter saw [%.*s]\n", static_cast<int>(message.size()), message.data());
}

TEST(FatalRuntimeErrorDeathTest, GoesThroughTheInstalledReporter) {
  EXPECT_EXIT(
      {
        SetFatalErrorReporter(&ReportWithMarker);
        FatalRuntimeError("boom");
      },
      testing::ExitedWithCode(kFatalExitCode), "reporter saw \\[boom\\]");
}

TEST(FatalRuntimeErrorDeathTest, NullReporterRestoresTheDefault) {
  EXPECT_EXIT(
      {
        SetFatalErrorReporter(&ReportWithMarker);
        SetFatalErrorReporter(nullptr);
        FatalRuntimeError("boom");
      },
      testing::ExitedWithCode(kFatalExitCode), "tarnwick: fatal run-time error: boom");
}

void ReportByFailingAgain(std::string_view) { FatalRuntimeError("the reporter failed too"); }

TEST(FatalRuntimeErrorDeathTest, AReporterThatFailsStillEndsTheProcess) {
  EXPECT_EXIT(
      {
        SetFatalErrorReporter(&ReportByFailingAgain);
        FatalRuntimeError("first");
      },
      testing::ExitedWithCode(kFatalExitCode), "fatal run-time error: first");
}

TEST(FatalRuntimeErrorDeathTest, TheInstalledNewHandlerIsFatal) {
  EXPECT_EXIT(
      {
        InstallOutOfMemoryHandler();
        std::get_new_handler()();
      },
      testing::ExitedWithCode(kFatalExitCode), "fatal run-time error: out of memory");
}

// The sanitizers replace operator new with one that reports lack of memory
// itself and never calls the new handler.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TW_SANITIZED_NEW 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TW_SANITIZED_NEW 1
#endif
#endif
#ifndef TW_SANITIZED_NEW
TEST(FatalRuntimeErrorDeathTest, AFailedOperatorNewIsFatal) {
  EXPECT_EXIT(
      {
        InstallOutOfMemoryHandler();
        // More than any allocator can give, so operator new fails at once.
        (void)::operator new (std::size_t{1} << 62);
      },
      testing::ExitedWithCode(kFatalExitCode), "fatal run-time error: out of memory");
}
#endif

}  // namespace
}  // namespace tw
