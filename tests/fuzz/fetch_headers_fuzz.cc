// Invariant target for FetchPage's reading of an answer: the loopback test
// server sends the input as the raw answer and closes the connection; the
// header block, the cookies and the location that FetchPage hands back must
// keep their contract whatever libcurl made of the bytes.
//
// Run it in a network namespace of its own (tools/fuzz.sh does): a "301
// Moved" answer makes FetchPage fetch again at whatever Location it names.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/text_ops.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/http_server/http_server.h"
#include "web/fetch_page.h"

namespace tw::fuzz {
namespace {

constexpr Position kHeaderBufferSize = 5000;
// The server keeps a thread per connection until it is destroyed, so a
// fresh one serves each run of this many inputs.
constexpr int kRunsPerServer = 256;

class Peer {
 public:
  std::string Url(const std::string& answer) {
    {
      std::lock_guard lock(mutex_);
      answer_ = answer;
    }
    if (!server_ || ++runs_ % kRunsPerServer == 0) {
      server_.reset();
      server_ = std::make_unique<test::HttpServer>([this](const std::string&) {
        std::lock_guard lock(mutex_);
        return test::Reply{.bytes = answer_};
      });
    }
    return server_->Url("/page");
  }

 private:
  std::mutex mutex_;
  std::string answer_;
  std::unique_ptr<test::HttpServer> server_;
  int runs_ = 0;
};

bool EveryLineFeedEndsALine(const Text& block) {
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (block.at(i) == '\n' && (i == 0 || block.at(i - 1) != '\r')) return false;
  }
  return true;
}

void CheckAnswer(const Text& headers, const Text& newCookies, const Text& location) {
  if (headers == BlankText(kHeaderBufferSize)) {
    // No complete block, or one that does not fit: nothing was scanned.
    FUZZ_CHECK_EQ(newCookies, Text(""));
    FUZZ_CHECK_EQ(location, headers);
    return;
  }
  FUZZ_CHECK(TextLength(headers) < kHeaderBufferSize);
  // libcurl takes a status line's "HTTP/" in any case; the block keeps it as sent.
  FUZZ_CHECK_EQ(ToLowerCase(TextLeft(headers, 5)), Text("http/"));
  FUZZ_CHECK_EQ(TextRight(headers, 4), Text("\r\n\r\n"));
  FUZZ_CHECK(EveryLineFeedEndsALine(headers));
  if (FindText(headers, "Set-Cookie") == kNotFound) FUZZ_CHECK_EQ(newCookies, Text(""));
  // A 301 Moved repeat empties `location`; when its request cannot be
  // opened nothing is written again, so the first answer's block stays.
  if (!location.empty() && location != headers) {
    // The lines are cut at CRLF as 936 text, so a line that ends in a lead
    // byte runs on into the next one; the value is still a piece of the block.
    FUZZ_CHECK(FindText(headers, "Location:") != kNotFound);
    FUZZ_CHECK(FindBytes(ToBytes(headers), ToBytes(location)) != kNotFound);
  }
}

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  static Peer peer;
  const std::string url = peer.Url(std::string(reinterpret_cast<const char*>(data), size));

  // Cookies supplied keep the process-wide store out of it, so that every
  // run starts alike.
  Text cookies;
  Text newCookies;
  Text location;
  Text responseHeaders;
  const Text body = FetchPage(Text(url), {.cookies = &cookies,
                                          .newCookies = &newCookies,
                                          .location = &location,
                                          .noRedirect = true,
                                          .responseHeaders = &responseHeaders});
  CheckAnswer(responseHeaders, newCookies, location);
  FUZZ_CHECK_EQ(RemoveAllSpaces(newCookies), newCookies);       // the merge took its blanks
  FUZZ_CHECK(TextLength(body) <= static_cast<Position>(size));  // no content decoding, no padding
  return 0;
}
