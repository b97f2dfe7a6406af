#include "web/fetch_page.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "runtime/text_ops.h"
#include "web/codepage.h"
#include "web/cookies.h"
#include "web/http_client.h"
#include "web/text_between.h"
#include "web/url.h"

namespace tw {
namespace {

constexpr const char* kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; VOREL; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";
constexpr std::size_t kReadPiece = 1024;
constexpr std::size_t kHeaderBufferSize = 5000;
// Reserving the size an answer announces saves the copies and fresh pages of
// growing a large body piece by piece; the bound keeps a server that announces
// more than it sends from reserving without limit.
constexpr std::size_t kMaxBodyReserve = std::size_t{512} << 20;
// A "utf-8" in the body counts only when it begins below this position.
constexpr Position kCharsetWindow = 500;
// Each "301 Moved" answer is fetched again at its new place at most this many
// times in a row; the answer after the last repeat is returned as it came, so
// a server that always answers so cannot keep a worker forever.
constexpr int kMaxRepeats = 10;

// The parameters a single request works on: the caller's variables, or
// private ones where the caller left them out. `cookies` stays null when it
// was left out, since that switches the client's own cookie store on.
struct Variables {
  Text* cookies;
  Text& newCookies;
  Text& extraHeaders;
  Text& location;
  Bytes& postBytes;
  Text& responseHeaders;
};

// A value as it goes into a header line: CR and LF percent-encoded, so that a
// value holding them (an address, or cookies cut from an answer whose line
// ended in a lead byte) cannot end the line or add one.
Text HeaderLineValue(const Text& value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value.view()) {
    if (c == '\r') {
      out += "%0D";
    } else if (c == '\n') {
      out += "%0A";
    } else {
      out += c;
    }
  }
  return Text(std::move(out));
}

Text AgentText(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", 1, Case::kIgnore) == kNotFound) return kDefaultAgent;
  Text agent = TrimBothEnds(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
  // The line is the last one and no CRLF ends it.
  if (agent.empty()) agent = HeaderValue(extraHeaders);
  return agent;
}

std::uint32_t RequestFlags(const Text& url, bool cookiesSupplied, bool noRedirect) {
  std::uint32_t flags = http::INTERNET_FLAG_RELOAD | http::INTERNET_FLAG_NEED_FILE;
  if (cookiesSupplied) flags |= http::INTERNET_FLAG_NO_COOKIES;
  if (noRedirect) flags |= http::INTERNET_FLAG_NO_AUTO_REDIRECT;
  if (CompareText(ToLowerCase(TextLeft(url, 5)), "https") == 0) {
    flags |= http::INTERNET_FLAG_SECURE;
  } else {
    flags |= http::INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  }
  return flags;
}

// The default header lines, each appended only when the caller's text does
// not name it already (case heeded), then the Cookie line.
void AddDefaultHeaders(const Text& url, const Text* cookies, Text& extraHeaders) {
  const Text referer = HeaderLineValue(url);
  if (FindText(extraHeaders, "Referer:") == kNotFound) {
    extraHeaders = extraHeaders.empty() ? JoinText("Referer: ", referer)
                                        : JoinText(std::move(extraHeaders), "\r\nReferer: ", referer);
  }
  if (FindText(extraHeaders, "Accept:") == kNotFound) {
    extraHeaders = JoinText(std::move(extraHeaders), "\r\nAccept: */*");
  }
  if (FindText(extraHeaders, "Accept-Language:") == kNotFound) {
    extraHeaders = JoinText(std::move(extraHeaders), "\r\nAccept-Language: zh-cn");
  }
  if (FindText(extraHeaders, "Content-Type:") == kNotFound) {
    extraHeaders = JoinText(std::move(extraHeaders), "\r\nContent-Type: application/x-www-form-urlencoded");
  }
  if (cookies != nullptr && !cookies->empty()) {
    extraHeaders = JoinText(std::move(extraHeaders), "\r\nCookie: ", HeaderLineValue(*cookies));
  }
}

Bytes ReadBody(http::Request* request) {
  Bytes body;
  for (;;) {
    Bytes buffer = BlankBytes(static_cast<Position>(kReadPiece));
    const std::size_t count = http::ReadFile(request, buffer.data(), kReadPiece);
    if (count == 0) break;
    if (body.empty()) body.Reserve(std::min(http::AnnouncedBodySize(request), kMaxBodyReserve));
    body = JoinBytes(std::move(body), BytesLeft(buffer, static_cast<Position>(count)));
  }
  return body;
}

// The header block of the answer; the buffer's blanks when the query wrote
// nothing (no answer, or a block of kHeaderBufferSize bytes or more).
Text QueryHeaderBlock(http::Request* request) {
  std::string buffer = BlankText(static_cast<Position>(kHeaderBufferSize)).str();
  std::size_t length = buffer.size();
  http::QueryRawHeaders(request, buffer.data(), &length);
  return Text(std::move(buffer));  // the text up to the NUL the query wrote
}

// Location and Set-Cookie lines of the header block. A Set-Cookie line with
// no ";" after its pair still adds an empty pair.
void ScanHeaderLines(const Variables& v) {
  const TextArray lines = SplitText(v.responseHeaders, "\r\n");
  v.newCookies = "";
  for (const Text& line : lines) {
    if (FindText(line, "Location:") != kNotFound) v.location = HeaderValue(line);
    if (FindText(line, "Set-Cookie") != kNotFound) {
      v.newCookies =
          JoinText(std::move(v.newCookies), TrimBothEnds(TextBetween(line, "Set-Cookie:", ";")), "; ");
    }
  }
  v.newCookies = TextLeft(v.newCookies, TextLength(v.newCookies) - 2);
}

// One request and its answer, up to the fallback of `location`. The body,
// or nothing when a handle could not be opened; then no variable has changed.
std::optional<Bytes> RequestOnce(const Text& url, const FetchOptions& options, const Variables& v) {
  const Text verb = options.method == 1 ? "POST" : "GET";
  const Text agent = AgentText(v.extraHeaders);
  const std::optional<Text> proxyList =
      options.proxy ? std::optional<Text>(JoinText("http=", *options.proxy)) : std::nullopt;
  auto internet =
      http::OpenInternet(agent.view(), proxyList ? std::optional(proxyList->view()) : std::nullopt);
  if (!internet) return std::nullopt;
  auto connection = http::Connect(internet.get(), UrlHost(url).view(), UrlPort(url));
  if (!connection) return std::nullopt;  // the handles close innermost first as they go
  const std::uint32_t flags = RequestFlags(url, v.cookies != nullptr, options.noRedirect);
  auto request = http::OpenRequest(connection.get(), verb.view(), UrlPath(url).view(), "HTTP/1.1", flags);
  if (!request) return std::nullopt;

  AddDefaultHeaders(url, v.cookies, v.extraHeaders);
  if (options.method == 0) {
    http::SendRequest(request.get(), v.extraHeaders.view(), {});
  } else {
    if (v.postBytes.empty()) v.postBytes = ToBytes(options.postText);
    http::SendRequest(request.get(), v.extraHeaders.view(), v.postBytes.view());
  }
  Bytes body = ReadBody(request.get());
  v.responseHeaders = QueryHeaderBlock(request.get());
  request.reset();
  connection.reset();
  internet.reset();

  ScanHeaderLines(v);
  if (v.cookies != nullptr) MergeCookies(*v.cookies, v.newCookies);
  if (CompareText(v.location, "") == 0) v.location = v.responseHeaders;
  return body;
}

bool IsUtf8(const Bytes& body, const Text& responseHeaders) {
  // Only the first bytes can hold a match that begins below the window, so
  // a large body is not searched to its end.
  const Bytes head = BytesLeft(body, kCharsetWindow + 3);
  const Position p = FindBytes(head, ToBytes("utf-8"));
  if (p != kNotFound && p < kCharsetWindow) return true;
  return FindText(responseHeaders, "utf-8", 1, Case::kIgnore) != kNotFound;
}

}  // namespace

Text FetchPage(const Text& url, const FetchOptions& options) {
  Text newCookies;
  Text extraHeaders;
  Text location;
  Bytes postBytes;
  Text responseHeaders;
  const Variables v{options.cookies,
                    options.newCookies != nullptr ? *options.newCookies : newCookies,
                    options.extraHeaders != nullptr ? *options.extraHeaders : extraHeaders,
                    options.location != nullptr ? *options.location : location,
                    options.postBytes != nullptr ? *options.postBytes : postBytes,
                    options.responseHeaders != nullptr ? *options.responseHeaders : responseHeaders};

  // A repeat at a moved address passes every variable on, the extended header
  // text included, so it sends the first request's Referer and no new defaults.
  Text address = url;
  for (int repeats = 0;; ++repeats) {
    std::optional<Bytes> body = RequestOnce(address, options, v);
    if (!body) return "";
    const bool moved = CompareText(TextBetween(v.responseHeaders, "HTTP/1.1 ", " Moved"), "301") == 0;
    if (moved && repeats < kMaxRepeats) {
      // The Location value is a base: the old path goes after it.
      address = JoinText(v.location, UrlPath(address));
      v.location = "";
      continue;
    }
    if (IsUtf8(*body, v.responseHeaders)) *body = Utf8ToAnsi(*body);
    // The bytes before the first NUL, without copying a large body again.
    return Text(std::move(*body).Release());
  }
}

}  // namespace tw
