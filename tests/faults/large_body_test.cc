// A 256 MiB body through FetchPage: the process's peak memory stays within
// three times the body plus 32 MiB, so reading in 1024-byte pieces never
// holds more than the body and one doubling of its buffer. A program of its
// own, so that the peak it reads is this fetch's alone.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstddef>
#include <string>

#include "runtime/text_ops.h"
#include "tests/support/http_server/http_server.h"
#include "web/fetch_page.h"

namespace tw {
namespace {

using test::HttpServer;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kBodySize = 256 * kMiB;

// The sanitizers' shadow memory and quarantine say nothing about the
// program's own use, so only the plain build is held to the bound.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMeasured = false;
#else
constexpr bool kMeasured = true;
#endif

std::size_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // ru_maxrss counts KiB
}

TEST(LargeBody, A256MiBBodyCompletesWithinThreeTimesItsSizePlus32MiB) {
  HttpServer server({{.bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBodySize) + "\r\n\r\n",
                      .fillBytes = kBodySize}});
  const Text page = FetchPage(Text(server.Url("/big")));
  ASSERT_EQ(page.size(), kBodySize);
  if (kMeasured) {
    EXPECT_LE(PeakResidentBytes(), 3 * kBodySize + 32 * kMiB);
  }
}

}  // namespace
}  // namespace tw
