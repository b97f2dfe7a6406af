// Faults injected into FetchPage's answers by the loopback test server:
// broken transfer codings, oversized header blocks, a flood of cookies,
// bodies that are not text, a peer that never answers and redirect loops.
// Each must end with the routine's defined result, without crash or hang.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "runtime/text_ops.h"
#include "tests/support/http_server/http_server.h"
#include "web/fetch_page.h"

namespace tw {
namespace {

using namespace std::chrono_literals;
using test::HttpServer;
using test::Reply;

// The 5000 blanks that stand for a header block the query could not give.
const Text kBlankBlock = BlankText(5000);

std::string Lines(const std::string& line, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += line + std::to_string(i) + "\r\n";
  return out;
}

struct Fetched {
  Text page;
  Text responseHeaders;
  Text newCookies;
  Text location;
};

Fetched Fetch(const HttpServer& server, bool noRedirect = false) {
  Fetched f;
  f.page = FetchPage(Text(server.Url("/p")), {.newCookies = &f.newCookies,
                                              .location = &f.location,
                                              .noRedirect = noRedirect,
                                              .responseHeaders = &f.responseHeaders});
  return f;
}

TEST(FetchPageFaults, BrokenAnswersGiveWhatArrivedAndTheBlockOnlyWhenItWasWhole) {
  const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  const std::string utf8Head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n";
  const std::string plainHead = "HTTP/1.1 200 OK\r\n\r\n";
  struct Case {
    const char* name;
    std::string answer;  // sent as it is, then the connection closes
    std::string page;
    bool blockKnown;  // else: 5000 blanks, no cookies, location the blanks
  } const kCases[] = {
      {"chunked, cut after a whole chunk", chunked + "5\r\nhello\r\n", "hello", true},
      {"chunked, cut inside a chunk", chunked + "a\r\nhel", "hel", true},
      {"chunked, a size that is not hex", chunked + "zz\r\nhello\r\n0\r\n\r\n", "", true},
      {"chunked, a size far beyond what came", chunked + "ffffffffffff\r\nab", "ab", true},
      {"a header block of 1 MiB in one line",
       "HTTP/1.1 200 OK\r\nX-Big: " + std::string(1 << 20, 'x') + "\r\n\r\nbody", "", false},
      {"a header block of 1 MiB in many lines",
       "HTTP/1.1 200 OK\r\n" + Lines("X-Line: " + std::string(1000, 'y'), 1024) + "\r\nbody", "", false},
      {"a body of NUL bytes", plainHead + std::string(4096, '\0'), "", true},
      {"text up to the first NUL byte", plainHead + "abc" + std::string(10, '\0') + "def", "abc", true},
      {"NUL bytes in a UTF-8 body", utf8Head + "\xE4\xB8\xAD" + std::string(3, '\0') + "x", "\xD6\xD0", true},
      // C0 AF: two ill-formed bytes; ED A0 80: a surrogate; F8..: a 5-byte
      // form; E4 B8: a truncated tail. Each maximal piece becomes U+FFFD,
      // which 936 writes as "?".
      {"invalid UTF-8 under a utf-8 charset",
       utf8Head + "a\xC0\xAF"
                  "b\xED\xA0\x80"
                  "c\xF8\x88\x80\x80\x80"
                  "d\xE4\xB8",
       "a??b???c?????d?", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    HttpServer server({{.bytes = c.answer}});
    const Fetched f = Fetch(server);
    EXPECT_EQ(f.page, Text(c.page));
    if (c.blockKnown) {
      EXPECT_EQ(TextLeft(f.responseHeaders, 17), Text("HTTP/1.1 200 OK\r\n"));
      EXPECT_EQ(TextRight(f.responseHeaders, 4), Text("\r\n\r\n"));
    } else {
      EXPECT_EQ(f.responseHeaders, kBlankBlock);
      EXPECT_EQ(f.newCookies, Text(""));
      EXPECT_EQ(f.location, kBlankBlock);
    }
  }
}

TEST(FetchPageFaults, TenThousandSetCookieLinesAreNotScannedAndTheStoreCopes) {
  std::string flood;
  // About 280 KiB of lines: within what libcurl accepts of one answer's
  // headers (300 KiB), far beyond the 5000 bytes of the header query. The
  // path keeps these cookies away from every other request of the process.
  for (int i = 0; i < 10000; ++i) flood += "Set-Cookie: c" + std::to_string(i) + "=1;Path=/f\r\n";
  HttpServer server({{.bytes = "HTTP/1.1 200 OK\r\n" + flood + "Content-Length: 2\r\n\r\nok"},
                     {.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnext"}});
  Text newCookies;
  Text responseHeaders;
  EXPECT_EQ(
      FetchPage(Text(server.Url("/f/x")), {.newCookies = &newCookies, .responseHeaders = &responseHeaders}),
      Text("ok"));
  EXPECT_EQ(responseHeaders, kBlankBlock);
  EXPECT_EQ(newCookies, Text(""));
  // The next request to the same place carries what the store kept of them:
  // libcurl takes a bounded number of cookies from one answer.
  EXPECT_EQ(FetchPage(Text(server.Url("/f/x"))), Text("next"));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_NE(server.Requests()[1].find("; c0=1\r\n"), std::string::npos);
  EXPECT_LT(server.Requests()[1].size(), 8192u);
}

TEST(FetchPageFaults, APeerThatAcceptsAndNeverAnswersKeepsTheCallerWaitingUntilItGoesAway) {
  std::optional<HttpServer> server(std::in_place, std::vector<Reply>{{.bytes = "", .stall = 1h}});
  auto fetched = std::async(std::launch::async, [url = server->Url("/p")] { return FetchPage(Text(url)); });
  // No time-out of its own: the worker waits as long as the peer holds on.
  EXPECT_EQ(fetched.wait_for(1500ms), std::future_status::timeout);
  server.reset();  // the peer closes the connection without a word
  ASSERT_EQ(fetched.wait_for(30s), std::future_status::ready);
  EXPECT_EQ(fetched.get(), Text(""));
}

TEST(FetchPageFaults, RedirectLoopsEndAfterABoundedNumberOfRequests) {
  // The client follows at most 5 redirects; FetchPage repeats a 301 Moved
  // answer at most 10 times, each time with the client's own following.
  struct Case {
    const char* name;
    const char* status;
    bool noRedirect;
    std::size_t requests;
    const char* page;
  } const kCases[] = {
      {"302 followed by the client", "302 Found", false, 6, ""},
      {"302 handed back", "302 Found", true, 1, "moved"},
      {"301 Moved repeated by FetchPage only", "301 Moved Permanently", true, 11, "moved"},
      {"301 Moved followed by both", "301 Moved Permanently", false, 66, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::atomic<int> port{0};
    HttpServer server([&](const std::string&) {
      return Reply{.bytes = std::string("HTTP/1.1 ") + c.status + "\r\nLocation: http://127.0.0.1:" +
                            std::to_string(port.load()) + "/p\r\nContent-Length: 5\r\n\r\nmoved"};
    });
    port = server.port();
    const Fetched f = Fetch(server, c.noRedirect);
    EXPECT_EQ(f.page, Text(c.page));
    EXPECT_EQ(server.Requests().size(), c.requests);
    EXPECT_EQ(TextLeft(f.responseHeaders, 12), TextLeft(JoinText("HTTP/1.1 ", c.status), 12));
  }
}

}  // namespace
}  // namespace tw
