// The HTTP client layer on its own: what its operations promise beyond what
// FetchPage's tests show.
#include "web/http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/http_server/http_server.h"

namespace tw::http {
namespace {

using test::HttpServer;
using test::Reply;

constexpr std::uint32_t kPlain = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_NO_COOKIES;

struct Answer {
  bool sent = false;
  std::string body;
  std::string headers;  // empty when the query failed
};

Answer Fetch(const HttpServer& server, const std::string& path, std::uint32_t flags = kPlain) {
  auto internet = OpenInternet("agent", std::nullopt);
  auto connection = Connect(internet.get(), "127.0.0.1", server.port());
  auto request = OpenRequest(connection.get(), "GET", path, "HTTP/1.1", flags);
  Answer answer;
  answer.sent = SendRequest(request.get(), "", {});
  char piece[1024];
  while (const std::size_t n = ReadFile(request.get(), piece, sizeof piece)) answer.body.append(piece, n);
  std::string block(5000, ' ');
  std::size_t length = block.size();
  if (QueryRawHeaders(request.get(), block.data(), &length)) answer.headers = block.substr(0, length);
  return answer;
}

TEST(HttpClient, QueryLeavesTheBufferUntouchedWhenTheBlockDoesNotFit) {
  HttpServer server({{.bytes = "HTTP/1.1 204 No Content\r\n\r\n"}});
  auto internet = OpenInternet("agent", std::nullopt);
  auto connection = Connect(internet.get(), "127.0.0.1", server.port());
  auto request = OpenRequest(connection.get(), "GET", "/", "HTTP/1.1", kPlain);
  ASSERT_TRUE(SendRequest(request.get(), "", {}));
  const std::string block = "HTTP/1.1 204 No Content\r\n\r\n";

  std::string buffer(block.size(), '#');
  std::size_t length = buffer.size();
  EXPECT_FALSE(QueryRawHeaders(request.get(), buffer.data(), &length));
  EXPECT_EQ(buffer, std::string(block.size(), '#'));
  EXPECT_EQ(length, block.size() + 1);

  buffer.assign(block.size() + 1, '#');
  EXPECT_TRUE(QueryRawHeaders(request.get(), buffer.data(), &length));
  EXPECT_EQ(length, block.size());
  EXPECT_EQ(buffer, block + '\0');
}

TEST(HttpClient, KeepsOnlyTheFinalAnswersBlockWithCrlfLines) {
  struct Case {
    const char* name;
    std::string reply;
    const char* headers;
    const char* body;
  } cases[] = {
      {"bare LF line ends", "HTTP/1.1 200 OK\nA: 1\nContent-Length: 2\n\nhi",
       "HTTP/1.1 200 OK\r\nA: 1\r\nContent-Length: 2\r\n\r\n", "hi"},
      {"an interim 100 answer", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi",
       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n", "hi"},
      {"a final status line in lower case",
       "HTTP/1.1 100 Continue\r\n\r\nhttp/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi",
       "http/1.1 200 OK\r\nContent-Length: 2\r\n\r\n", "hi"},
      {"chunked with a trailer",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nhi\r\n0\r\nX-Trailer: t\r\n\r\n",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "hi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({{.bytes = c.reply}});
    const Answer answer = Fetch(server, "/");
    EXPECT_TRUE(answer.sent);
    EXPECT_EQ(answer.headers, c.headers);
    EXPECT_EQ(answer.body, c.body);
  }
}

TEST(HttpClient, FollowsAtMostFiveRedirectsUnlessToldNotTo) {
  // /r/<n> redirects to /r/<n-1>; /r/0 is the page.
  HttpServer server([](const std::string& request) {
    const int n = std::stoi(request.substr(request.find("/r/") + 3));
    if (n == 0) return Reply{.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\npage"};
    return Reply{.bytes = "HTTP/1.1 302 Found\r\nLocation: /r/" + std::to_string(n - 1) +
                          "\r\nContent-Length: 5\r\n\r\nhop " + std::to_string(n)};
  });
  EXPECT_EQ(Fetch(server, "/r/5").body, "page");
  const Answer tooMany = Fetch(server, "/r/6");
  EXPECT_EQ(tooMany.body, "");
  EXPECT_THAT(tooMany.headers, ::testing::StartsWith("HTTP/1.1 302 Found\r\nLocation: /r/0\r\n"));
  const Answer notFollowed = Fetch(server, "/r/1", kPlain | INTERNET_FLAG_NO_AUTO_REDIRECT);
  EXPECT_EQ(notFollowed.body, "hop 1");
  EXPECT_THAT(notFollowed.headers, ::testing::StartsWith("HTTP/1.1 302 Found\r\n"));
}

TEST(HttpClient, RefusesWhatItCannotCarry) {
  EXPECT_EQ(OpenInternet("agent", "https=127.0.0.1:1"), nullptr);
  auto internet = OpenInternet("agent", "http=");
  ASSERT_NE(internet, nullptr);
  EXPECT_EQ(Connect(internet.get(), "", 80), nullptr);
  EXPECT_EQ(Connect(internet.get(), "a@b", 80), nullptr);
  EXPECT_EQ(Connect(internet.get(), "a.b", 65536), nullptr);
  auto connection = Connect(internet.get(), "a.b", 0);
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(OpenRequest(connection.get(), "GET", "/", "HTTP/2", kPlain), nullptr);
  EXPECT_EQ(OpenRequest(connection.get(), "", "/", "HTTP/1.1", kPlain), nullptr);
  // Closing the parents first leaves the request usable.
  auto request = OpenRequest(connection.get(), "GET", "/", "HTTP/1.1", kPlain);
  connection.reset();
  internet.reset();
  char piece[8];
  EXPECT_EQ(ReadFile(request.get(), piece, sizeof piece), 0u);  // nothing sent yet
}

}  // namespace
}  // namespace tw::http
