// FetchPage against a real server: nginx on loopback with its own
// configuration.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/text_ops.h"
#include "tests/support/nginx/nginx_server.h"
#include "web/fetch_page.h"

namespace tw {
namespace {

using test::NginxServer;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kDirectives = R"(
    location = /old { return 301 /new.txt; }
    location /base/ { return 301 $scheme://$http_host/target; }
    location = /cookie {
      add_header Set-Cookie "s=1; Path=/";
      add_header Set-Cookie "t=2; HttpOnly";
      return 200 "c";
    }
    location /chunked/ { ssi on; charset utf-8; }
)";

class FetchPageNginx : public ::testing::Test {
 protected:
  NginxServer nginx_{kDirectives};
};

TEST_F(FetchPageNginx, FollowsA301ItselfOrRepeatsItAtTheLocationPlusThePath) {
  nginx_.WriteFile("new.txt", "new page");
  Text responseHeaders;
  EXPECT_EQ(FetchPage(Text(nginx_.Url("/old")), {.responseHeaders = &responseHeaders}), "new page");
  EXPECT_THAT(responseHeaders.str(), StartsWith("HTTP/1.1 200 OK\r\n"));

  std::filesystem::create_directories(nginx_.root() + "/target/base");
  nginx_.WriteFile("target/base/page.txt", "repeated");
  Text location;
  EXPECT_EQ(FetchPage(Text(nginx_.Url("/base/page.txt")), {.location = &location, .noRedirect = true}),
            "repeated");
}

TEST_F(FetchPageNginx, CollectsTheCookiesOfSetCookieLines) {
  Text cookies;
  Text newCookies;
  EXPECT_EQ(FetchPage(Text(nginx_.Url("/cookie")), {.cookies = &cookies, .newCookies = &newCookies}), "c");
  EXPECT_EQ(newCookies, "s=1;t=2");
  EXPECT_EQ(cookies, "s=1; t=2");
}

TEST_F(FetchPageNginx, ReadsAChunkedUtf8AnswerAndConvertsIt) {
  std::filesystem::create_directories(nginx_.root() + "/chunked");
  nginx_.WriteFile("chunked/page.html", "<p>\xE4\xB8\xAD</p>");  // U+4E2D
  Text responseHeaders;
  EXPECT_EQ(FetchPage(Text(nginx_.Url("/chunked/page.html")), {.responseHeaders = &responseHeaders}),
            "<p>\xD6\xD0</p>");
  EXPECT_THAT(responseHeaders.str(), HasSubstr("\r\nTransfer-Encoding: chunked\r\n"));
  EXPECT_THAT(responseHeaders.str(), HasSubstr("charset=utf-8"));
}

TEST_F(FetchPageNginx, ReadsAFileOf64MiB) {
  std::string file(std::size_t{64} << 20, '\0');
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>('A' + (i * 7 + i / 4096) % 26);
  nginx_.WriteFile("big.bin", file);
  EXPECT_TRUE(FetchPage(Text(nginx_.Url("/big.bin"))) == Text(file));
}

TEST(FetchPageNginxTls, RefusesASelfSignedCertificate) {
  NginxServer nginx("location = /t { return 200 \"secret\"; }", NginxServer::Scheme::kHttpsSelfSigned);
  Text responseHeaders;
  EXPECT_EQ(FetchPage(Text(nginx.Url("/t")), {.responseHeaders = &responseHeaders}), "");
  EXPECT_EQ(responseHeaders, BlankText(5000));
  // The port does serve TLS: nginx says so to a plain request.
  const std::string plain = "http" + nginx.Url("/t").substr(5);
  EXPECT_THAT(FetchPage(Text(plain)).str(), HasSubstr("The plain HTTP request was sent to HTTPS port"));
}

}  // namespace
}  // namespace tw
