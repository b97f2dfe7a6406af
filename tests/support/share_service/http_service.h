// A small HTTP/1.1 server for the sample share service: one thread per
// connection, one request per connection, answers from a handler.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw::test {

struct HttpRequest {
  std::string method;
  std::string target;                          // path and query as sent
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;

  // The header's value, or the empty string.
  [[nodiscard]] std::string Header(std::string_view lowerCaseName) const;
};

struct HttpAnswer {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
};

using HttpHandler = std::function<HttpAnswer(const HttpRequest&)>;

// Listens on 127.0.0.1:`port` (0: any free port); returns the socket, or -1
// with errno set.
[[nodiscard]] int ListenOnLoopback(int port);

// The port a listening socket is bound to.
[[nodiscard]] int BoundPort(int socket);

// Accepts connections on `socket` until the process ends.
[[noreturn]] void ServeForever(int socket, HttpHandler handler);

}  // namespace tw::test
