// The HTTP client's cookie store: it lives as long as the process, serves
// every request that does not supply `cookies`, and is shared by threads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/http_server/http_server.h"
#include "web/fetch_page.h"

namespace tw {
namespace {

using test::HttpServer;
using test::Reply;
using ::testing::HasSubstr;
using ::testing::Not;

Reply Ok(const std::string& head = "") {
  return {.bytes = "HTTP/1.1 200 OK\r\n" + head + "Content-Length: 2\r\n\r\nok"};
}

TEST(CookieStore, SendsAStoredCookieOnlyWithRequestsThatLeaveCookiesOut) {
  HttpServer server({Ok("Set-Cookie: kept=1; Path=/store\r\n"), Ok(), Ok(),
                     Ok("Set-Cookie: private=2; Path=/store\r\n"), Ok()});
  (void)FetchPage(Text(server.Url("/store/set")));
  (void)FetchPage(Text(server.Url("/store/next")));
  Text supplied;
  (void)FetchPage(Text(server.Url("/store/own")), {.cookies = &supplied});
  Text callersLine("Cookie: mine=3");
  Text ownCookies;
  (void)FetchPage(Text(server.Url("/store/own-line")),
                  {.cookies = &ownCookies, .extraHeaders = &callersLine});
  (void)FetchPage(Text(server.Url("/store/last")));

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_THAT(requests[0], Not(HasSubstr("Cookie:")));
  EXPECT_THAT(requests[1], HasSubstr("\r\nCookie: kept=1\r\n"));
  EXPECT_THAT(requests[2], Not(HasSubstr("Cookie:")));
  // The caller's own Cookie line goes out as it is, and the answer's cookie
  // goes into `ownCookies`, not into the store.
  EXPECT_THAT(requests[3], HasSubstr("\r\nCookie: mine=3\r\n"));
  EXPECT_THAT(requests[3], Not(HasSubstr("kept=1")));
  EXPECT_EQ(ownCookies, "private=2");
  EXPECT_THAT(requests[4], HasSubstr("\r\nCookie: kept=1\r\n"));
  EXPECT_THAT(requests[4], Not(HasSubstr("private=2")));
}

TEST(CookieStore, IsSharedSafelyByEightThreadsAtOnce) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 5;
  // /threads/<i>/set sets the cookie t<i>; every later request of that thread
  // must carry it.
  HttpServer server([](const std::string& request) {
    const std::size_t at = request.find("/threads/") + 9;
    const std::string id = request.substr(at, request.find('/', at) - at);
    const bool set = request.compare(request.find('/', at), 5, "/set ") == 0;
    return set ? Ok("Set-Cookie: t" + id + "=" + id + "; Path=/threads\r\n") : Ok();
  });
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&server, i] {
      const std::string base = server.Url("/threads/" + std::to_string(i));
      (void)FetchPage(Text(base + "/set"));
      for (int round = 0; round < kRounds; ++round) (void)FetchPage(Text(base + "/check"));
    });
  }
  for (std::thread& thread : threads) thread.join();

  int checks = 0;
  for (const std::string& request : server.Requests()) {
    const std::size_t at = request.find("/threads/") + 9;
    const std::string id = request.substr(at, request.find('/', at) - at);
    if (request.find("/check ") == std::string::npos) continue;
    ++checks;
    EXPECT_THAT(request, HasSubstr("t" + id + "=" + id)) << request;
  }
  EXPECT_EQ(checks, kThreads * kRounds);
}

}  // namespace
}  // namespace tw
