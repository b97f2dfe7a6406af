#include "runtime/fatal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "runtime/text.h"

// Under the sanitizers an impossible allocation must fail as it does without
// them, so that operator new reaches the new handler.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }

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

TEST(FatalRuntimeErrorDeathTest, LackOfMemoryIsFatal) {
  EXPECT_EXIT(
      {
        InstallOutOfMemoryHandler();
        // More than any allocator can give, so operator new fails at once.
        (void)::operator new (std::size_t{1} << 62);
      },
      testing::ExitedWithCode(kFatalExitCode), "fatal run-time error: out of memory");
}

}  // namespace
}  // namespace tw
