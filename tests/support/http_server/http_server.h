// A loopback HTTP server for tests: it answers each request with scripted raw
// bytes and records the raw bytes of every request it received, so a test can
// assert on exactly what went out on the wire and what came back.
//
//   HttpServer server({{.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi"}});
//   FetchPage(server.Url("/a"));
//   EXPECT_THAT(server.Requests()[0], StartsWith("GET /a HTTP/1.1\r\n"));
//
// Each connection is served on a thread of its own. A request is read up to
// the end of its header block and then as many body bytes as its
// Content-Length names.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tw::test {

// What the server does with one request, in this order: send `bytes` as they
// are, send `fillBytes` filler bytes (HttpServer::FillByte), wait `stall`
// (cut short when the server stops), then end as `end` says.
struct Reply {
  enum class End {
    kClose,      // close the connection normally
    kReset,      // close it with a TCP reset
    kKeepAlive,  // read the next request on the same connection
  };
  std::string bytes;
  std::size_t fillBytes = 0;
  std::chrono::milliseconds stall{0};
  End end = End::kClose;
};

class HttpServer {
 public:
  // Called for every request, perhaps from several threads at once.
  using Handler = std::function<Reply(const std::string& request)>;

  // Listens on 127.0.0.1 on a free port.
  explicit HttpServer(Handler handler);
  // The n-th request gets the n-th reply; the last one answers every request
  // after it.
  explicit HttpServer(std::vector<Reply> script);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  [[nodiscard]] std::string Url(std::string_view path = "/") const;
  // The raw bytes of each request received so far, in the order they arrived.
  [[nodiscard]] std::vector<std::string> Requests() const;

  // Byte i of the filler: a repeating run of the letters a to z.
  [[nodiscard]] static char FillByte(std::size_t i) { return static_cast<char>('a' + i % 26); }

 private:
  void AcceptLoop();
  void Serve(int socket);
  bool ReadRequest(int socket, std::string& request);
  void SendReply(int socket, const Reply& reply);
  bool WaitStopped(std::chrono::milliseconds timeout);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  std::vector<std::string> requests_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace tw::test
