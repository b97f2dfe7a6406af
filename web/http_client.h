// The HTTP client layer under FetchPage: an Internet handle, a connection and a
// request, opened in that order and closed innermost first, with pull-style
// reading of the answer. It runs over libcurl; nothing else includes curl.
//
//   auto internet = http::OpenInternet("agent/1.0", std::nullopt);
//   auto connection = http::Connect(internet.get(), "example.org", 80);
//   auto request = http::OpenRequest(connection.get(), "GET", "/", "HTTP/1.1", flags);
//   http::SendRequest(request.get(), "Accept: */*", {});
//   while (http::ReadFile(request.get(), buffer, sizeof buffer) > 0) { ... }
//
// Every request gets a fresh transfer of its own. Environment proxies never
// apply and TLS is verified. The layer adds Host, User-Agent and, with a
// body, a form Content-Type, each only when the caller's header text names
// none; a body always gets its own Content-Length. It adds no Accept and no
// Expect.
// Requests without INTERNET_FLAG_NO_COOKIES share one cookie store that lives
// as long as the process, across threads, and send its cookies in a Cookie
// line of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace tw::http {

// Request flags, under the names and values their callers know them by.
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000;      // never from a cache (there is none)
inline constexpr std::uint32_t INTERNET_FLAG_NEED_FILE = 0x00000010;   // accepted, no effect
inline constexpr std::uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000;  // no stored cookies out, none kept
inline constexpr std::uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;          // hand redirects back
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000;                    // TLS
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;  // http -> https is fine

// Redirects followed at most, when they are followed.
inline constexpr long kMaxRedirects = 5;

struct Internet;
struct Connection;
struct Request;

struct HandleCloser {
  void operator()(Internet* internet) const;
  void operator()(Connection* connection) const;
  void operator()(Request* request) const;
};
// A handle closes when reset or dropped. Each handle copies what it needs from
// its parent, so no order of closing can leave one dangling.
template <typename T>
using Handle = std::unique_ptr<T, HandleCloser>;

// An Internet handle whose requests send `agent` as User-Agent. `proxyList`,
// when given, must read "http=" followed by host:port (or nothing, which means
// direct): that proxy serves plain HTTP requests only, though a redirect that
// the client follows from http to https goes on through it. Any other list
// gives a null handle.
[[nodiscard]] Handle<Internet> OpenInternet(std::string_view agent,
                                            std::optional<std::string_view> proxyList);

// A connection to `server` on `port` (0: the scheme's default). Nothing is
// sent yet. Null for an empty server name or a port outside 0..65535.
[[nodiscard]] Handle<Connection> Connect(Internet* internet, std::string_view server, int port);

// A request for `objectName` (the path with its query) with `verb`. Bytes the
// request line cannot carry (space, control bytes, bytes >= 0x80) go out
// percent-encoded. Null when `version` is not "HTTP/1.1" or `verb` is empty.
[[nodiscard]] Handle<Request> OpenRequest(Connection* connection, std::string_view verb,
                                          std::string_view objectName, std::string_view version,
                                          std::uint32_t flags);

// Sends the request with `headers` (lines separated by CRLF, none at the end
// needed) and `body`, then waits for the answer to begin. A POST always
// carries a body, perhaps empty; another verb only a non-empty one. False when
// no answer came.
bool SendRequest(Request* request, std::string_view headers, std::string_view body);

// Up to `size` bytes of the body into `buffer`; 0 at its end and on failure.
[[nodiscard]] std::size_t ReadFile(Request* request, char* buffer, std::size_t size);

// The body size the final answer announces (its Content-Length); 0 when it
// announces none. Known once ReadFile has given the first bytes.
[[nodiscard]] std::size_t AnnouncedBodySize(Request* request);

// The header block of the final answer: the status line and the header lines,
// each ended by CRLF, then an empty line, then a NUL. When it does not fit
// into `*length` bytes with its NUL, or there is no answer, false and
// `buffer` is left untouched; `*length` then holds the size needed (0 without
// an answer). On success `*length` is the block's length without the NUL.
bool QueryRawHeaders(Request* request, char* buffer, std::size_t* length);

}  // namespace tw::http
