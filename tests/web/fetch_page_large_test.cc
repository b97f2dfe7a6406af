// A body far larger than any page: it must arrive whole and in order.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/http_server/http_server.h"
#include "web/fetch_page.h"

namespace tw {
namespace {

using test::HttpServer;

TEST(FetchPage, CompletesABodyOf256MiB) {
  constexpr std::size_t kSize = std::size_t{256} << 20;
  HttpServer server({{.bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n",
                      .fillBytes = kSize}});
  const Text page = FetchPage(Text(server.Url("/big")));
  ASSERT_EQ(page.size(), kSize);
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < kSize; i += 4093)
    wrong += page.at(i) != static_cast<unsigned char>(HttpServer::FillByte(i));
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(page.at(kSize - 1), static_cast<unsigned char>(HttpServer::FillByte(kSize - 1)));
}

}  // namespace
}  // namespace tw
