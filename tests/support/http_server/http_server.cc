#include "tests/support/http_server/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

namespace tw::test {
namespace {

// How often blocked calls look whether the server is stopping.
constexpr int kWakeMilliseconds = 20;
constexpr std::size_t kFillChunk = 64 * 1024;

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

// The Content-Length of a request's header block; 0 when it names none.
std::size_t ContentLength(std::string_view head) {
  const std::string lower = Lower(head);
  const std::size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoull(lower.c_str() + at + 17, nullptr, 10);
}

bool SendAll(int socket, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace

HttpServer::HttpServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 64) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener_ >= 0) ::close(listener_);
    throw std::runtime_error("HttpServer: cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpServer::HttpServer(std::vector<Reply> script)
    : HttpServer([script = std::move(script),
                  next = std::make_shared<std::atomic<std::size_t>>(0)](const std::string&) {
        const std::size_t n = next->fetch_add(1);
        return script.empty() ? Reply{} : script[std::min(n, script.size() - 1)];
      }) {}

HttpServer::~HttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  ::close(listener_);
}

std::string HttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::AcceptLoop() {
  while (!stopping_) {
    pollfd ready{listener_, POLLIN, 0};
    if (::poll(&ready, 1, kWakeMilliseconds) <= 0) continue;
    const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) continue;
    std::lock_guard lock(mutex_);
    connections_.emplace_back([this, socket] { Serve(socket); });
  }
}

void HttpServer::Serve(int socket) {
  std::string request;
  bool keepAlive = true;
  while (keepAlive && ReadRequest(socket, request)) {
    const Reply reply = handler_(request);
    SendReply(socket, reply);
    WaitStopped(reply.stall);
    keepAlive = reply.end == Reply::End::kKeepAlive;
    if (reply.end == Reply::End::kReset) {
      const linger abort{1, 0};
      ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
  }
  ::close(socket);
}

// Reads one request into `request` and records it. False when the peer closed
// or the server stops before a request began; a request cut short is
// recorded as far as it came.
bool HttpServer::ReadRequest(int socket, std::string& request) {
  request.clear();
  std::size_t wanted = std::string::npos;
  char buffer[16 * 1024];
  while (request.size() < wanted) {
    pollfd ready{socket, POLLIN, 0};
    if (stopping_) break;
    if (::poll(&ready, 1, kWakeMilliseconds) <= 0) continue;
    const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<std::size_t>(got));
    const std::size_t headEnd = request.find("\r\n\r\n");
    if (wanted == std::string::npos && headEnd != std::string::npos) {
      wanted = headEnd + 4 + ContentLength(std::string_view(request).substr(0, headEnd + 2));
    }
  }
  if (request.empty()) return false;
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  return request.size() >= wanted;
}

void HttpServer::SendReply(int socket, const Reply& reply) {
  if (!SendAll(socket, reply.bytes)) return;
  // One period of the filler more than a chunk, so every chunk is a slice.
  std::string pattern(kFillChunk + 26, '\0');
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = FillByte(i);
  for (std::size_t sent = 0; sent < reply.fillBytes && !stopping_;) {
    const std::size_t n = std::min(reply.fillBytes - sent, kFillChunk);
    if (!SendAll(socket, std::string_view(pattern).substr(sent % 26, n))) return;
    sent += n;
  }
}

bool HttpServer::WaitStopped(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return stopped_.wait_for(lock, timeout, [this] { return stopping_.load(); });
}

}  // namespace tw::test
