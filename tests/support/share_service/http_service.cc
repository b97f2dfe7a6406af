#include "tests/support/share_service/http_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace tw::test {
namespace {

// Larger requests are refused; the resolver's are a few hundred bytes.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Reads the head and the body that Content-Length announces; false on a
// malformed or oversized request or a closed connection.
bool ReadRequest(int fd, HttpRequest& request) {
  std::string data;
  std::size_t headEnd;
  char buffer[16 * 1024];
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    if (data.size() > kMaxHeaderBytes) return false;
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data.append(buffer, static_cast<std::size_t>(got));
  }

  std::string_view head(data.data(), headEnd);
  const std::size_t lineEnd = head.find("\r\n");
  const std::string_view requestLine = head.substr(0, lineEnd);
  // The target runs to the last space, so that a path holding spaces, as a
  // share address with words after it gives, is kept whole.
  const std::size_t firstSpace = requestLine.find(' ');
  const std::size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace) return false;
  request.method = std::string(requestLine.substr(0, firstSpace));
  request.target = std::string(requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1));

  std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string name = Lower(Trim(line.substr(0, colon)));
    std::string value(Trim(line.substr(colon + 1)));
    auto [it, inserted] = request.headers.try_emplace(std::move(name), value);
    if (!inserted) it->second += (it->first == "cookie" ? "; " : ", ") + value;
  }

  const std::size_t length = std::strtoul(request.Header("content-length").c_str(), nullptr, 10);
  if (length > kMaxBodyBytes) return false;
  request.body = data.substr(headEnd + 4);
  while (request.body.size() < length) {
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    request.body.append(buffer, static_cast<std::size_t>(got));
  }
  request.body.resize(length);
  return true;
}

void AnswerConnection(int fd, const HttpHandler& handler) {
  HttpRequest request;
  HttpAnswer answer =
      ReadRequest(fd, request)
          ? handler(request)
          : HttpAnswer{.status = 400, .reason = "Bad Request", .headers = {}, .body = "bad request\n"};
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
  for (const auto& [name, value] : answer.headers) head += name + ": " + value + "\r\n";
  head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
  if (SendAll(fd, head)) SendAll(fd, answer.body);
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
}

}  // namespace

std::string HttpRequest::Header(std::string_view lowerCaseName) const {
  auto it = headers.find(std::string(lowerCaseName));
  return it != headers.end() ? it->second : std::string();
}

int ListenOnLoopback(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 256) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

int BoundPort(int socket) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) return -1;
  return ntohs(address.sin_port);
}

void ServeForever(int socket, HttpHandler handler) {
  auto shared = std::make_shared<const HttpHandler>(std::move(handler));
  for (;;) {
    const int fd = ::accept4(socket, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno != EINTR)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // e.g. out of descriptors
      continue;
    }
    std::thread([fd, shared] { AnswerConnection(fd, *shared); }).detach();
  }
}

}  // namespace tw::test
