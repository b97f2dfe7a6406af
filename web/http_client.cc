// The HTTP client layer over libcurl. A request is one easy handle driven by
// a multi handle of its own, step by step as the caller reads, so the body is
// never buffered here beyond what one step of libcurl delivers.
#include "web/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

namespace tw::http {
namespace {

// How long a connection may take to open, and how long an answer may stall
// without a single byte, before the transfer is given up.
constexpr long kConnectTimeoutSeconds = 60;
constexpr long kStallSeconds = 60;
// Upper bound on one wait for socket activity between steps of a transfer.
constexpr int kPollMilliseconds = 1000;

constexpr std::string_view kProxyListPrefix = "http=";
constexpr std::string_view kRequestVersion = "HTTP/1.1";

// Process-wide libcurl state: initialised once, by whichever thread comes
// first, and never torn down, since detached workers may still be using it
// when the process ends.
struct CurlGlobal {
  CURLSH* share = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
};

void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* user) {
  static_cast<CurlGlobal*>(user)->locks[static_cast<std::size_t>(data)].lock();
}

void UnlockShared(CURL*, curl_lock_data data, void* user) {
  static_cast<CurlGlobal*>(user)->locks[static_cast<std::size_t>(data)].unlock();
}

CurlGlobal& Global() {
  static CurlGlobal* const global = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    auto* g = new CurlGlobal;
    g->share = curl_share_init();
    curl_share_setopt(g->share, CURLSHOPT_LOCKFUNC, LockShared);
    curl_share_setopt(g->share, CURLSHOPT_UNLOCKFUNC, UnlockShared);
    curl_share_setopt(g->share, CURLSHOPT_USERDATA, g);
    curl_share_setopt(g->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    return g;
  }();
  return *global;
}

// RFC 9110 5.5: CR, LF and NUL inside a field value are replaced by SP, so
// no caller's text can end a header line early or add one.
std::string FieldText(std::string_view text) {
  std::string out(text);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
  return out;
}

// The request target with every byte that a request line cannot carry
// (space, control bytes, bytes >= 0x80) percent-encoded.
std::string EncodeTarget(std::string_view target) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(target.size());
  for (const char c : target) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || byte >= 0x80) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

}  // namespace

struct Internet {
  std::string agent;
  std::string httpProxy;  // empty: direct
};

struct Connection {
  Internet internet;
  CurlUrl address;  // host and port
};

struct Request {
  ~Request() {
    if (multi != nullptr && easy != nullptr) curl_multi_remove_handle(multi, easy);
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (multi != nullptr) curl_multi_cleanup(multi);
    curl_slist_free_all(headerLines);
  }

  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  CurlUrl address;
  std::string verb;
  curl_slist* headerLines = nullptr;
  std::string body;

  bool sent = false;
  bool done = false;
  // Body bytes delivered by libcurl and not read yet: pending[taken..].
  std::string pending;
  std::size_t taken = 0;
  // The header block of the latest answer; complete once its empty line came.
  std::string headerBlock;
  bool blockComplete = false;
};

namespace {

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<Request*>(user)->pending.append(data, size * count);
  return size * count;
}

// libcurl takes the protocol name of a status line in any case; a trailer
// field cannot look like one, as field names hold no "/".
bool IsStatusLine(std::string_view line) {
  constexpr std::string_view kName = "http/";
  if (line.size() < kName.size()) return false;
  for (std::size_t i = 0; i < kName.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return false;
  }
  return true;
}

// Keeps only the block of the latest answer: a redirect followed, an interim
// 1xx answer or a proxy's CONNECT answer is replaced by the next status line,
// and trailers after the block are left out. Lines end in CRLF whatever the
// server used.
std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
  auto& request = *static_cast<Request*>(user);
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (IsStatusLine(line)) {
    request.headerBlock.clear();
    request.blockComplete = false;
  } else if (request.blockComplete) {
    return size * count;
  }
  request.headerBlock.append(line).append("\r\n");
  if (line.empty()) request.blockComplete = true;
  return size * count;
}

// One step of the transfer: whatever libcurl can do now, then, when that gave
// no body bytes, a wait for the socket.
void Step(Request& request) {
  int running = 0;
  if (curl_multi_perform(request.multi, &running) != CURLM_OK || running == 0) {
    request.done = true;
    return;
  }
  if (request.pending.size() == request.taken) {
    curl_multi_poll(request.multi, nullptr, 0, kPollMilliseconds, nullptr);
  }
}

curl_slist* HeaderLines(std::string_view headers) {
  curl_slist* lines = nullptr;
  while (!headers.empty()) {
    const std::size_t end = headers.find("\r\n");
    const std::string_view line = headers.substr(0, end);
    if (!line.empty()) lines = curl_slist_append(lines, FieldText(line).c_str());
    if (end == std::string_view::npos) break;
    headers.remove_prefix(end + 2);
  }
  // An empty value keeps libcurl from adding a header of its own; it is not sent.
  lines = curl_slist_append(lines, "Expect:");
  lines = curl_slist_append(lines, "Accept:");
  return lines;
}

void SetTransferOptions(Request& request, const Internet& internet, std::uint32_t flags) {
  CURL* easy = request.easy;
  const bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
  curl_easy_setopt(easy, CURLOPT_CURLU, request.address.get());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);  // "/a/../b" goes out as it was given
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  // An empty proxy also keeps libcurl from taking one from the environment.
  curl_easy_setopt(easy, CURLOPT_PROXY, secure ? "" : internet.httpProxy.c_str());
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, internet.agent.c_str());
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, (flags & INTERNET_FLAG_NO_AUTO_REDIRECT) != 0 ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  if ((flags & INTERNET_FLAG_NO_COOKIES) == 0) {
    curl_easy_setopt(easy, CURLOPT_SHARE, Global().share);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // the cookie engine, with no file
  }
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &request);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &request);
}

// Path and query of `objectName` into `address`; a fragment is not sent.
bool SetTarget(CURLU* address, std::string_view objectName) {
  std::string target = EncodeTarget(objectName);
  target.resize(std::min(target.find('#'), target.size()));
  const std::size_t query = target.find('?');
  const std::string path = target.substr(0, query);
  if (curl_url_set(address, CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK) return false;
  if (query == std::string::npos) return true;
  return curl_url_set(address, CURLUPART_QUERY, target.c_str() + query + 1, 0) == CURLUE_OK;
}

}  // namespace

void HandleCloser::operator()(Internet* internet) const { delete internet; }
void HandleCloser::operator()(Connection* connection) const { delete connection; }
void HandleCloser::operator()(Request* request) const { delete request; }

Handle<Internet> OpenInternet(std::string_view agent, std::optional<std::string_view> proxyList) {
  Global();
  Handle<Internet> internet(new Internet{FieldText(agent), {}});
  if (proxyList.has_value()) {
    if (!proxyList->starts_with(kProxyListPrefix)) return nullptr;
    internet->httpProxy = std::string(proxyList->substr(kProxyListPrefix.size()));
  }
  return internet;
}

Handle<Connection> Connect(Internet* internet, std::string_view server, int port) {
  if (internet == nullptr || server.empty() || port < 0 || port > 65535) return nullptr;
  CurlUrl address(curl_url());
  if (!address) return nullptr;
  // libcurl checks the host name here, so a name with bytes that have a
  // meaning in an address ("@", "?", space...) cannot redirect the request.
  if (curl_url_set(address.get(), CURLUPART_HOST, std::string(server).c_str(), 0) != CURLUE_OK)
    return nullptr;
  if (port != 0 &&
      curl_url_set(address.get(), CURLUPART_PORT, std::to_string(port).c_str(), 0) != CURLUE_OK) {
    return nullptr;
  }
  return Handle<Connection>(new Connection{*internet, std::move(address)});
}

Handle<Request> OpenRequest(Connection* connection, std::string_view verb, std::string_view objectName,
                            std::string_view version, std::uint32_t flags) {
  if (connection == nullptr || verb.empty() || version != kRequestVersion) return nullptr;
  Handle<Request> request(new Request);
  request->verb = std::string(verb);
  request->address.reset(curl_url_dup(connection->address.get()));
  if (!request->address) return nullptr;
  const char* scheme = (flags & INTERNET_FLAG_SECURE) != 0 ? "https" : "http";
  if (curl_url_set(request->address.get(), CURLUPART_SCHEME, scheme, 0) != CURLUE_OK) return nullptr;
  if (!SetTarget(request->address.get(), objectName)) return nullptr;
  request->easy = curl_easy_init();
  request->multi = curl_multi_init();
  if (request->easy == nullptr || request->multi == nullptr) return nullptr;
  SetTransferOptions(*request, connection->internet, flags);
  return request;
}

bool SendRequest(Request* request, std::string_view headers, std::string_view body) {
  if (request == nullptr || request->sent) return false;
  request->sent = true;
  CURL* easy = request->easy;
  request->headerLines = HeaderLines(headers);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, request->headerLines);
  if (request->verb == "POST" || !body.empty()) {
    request->body = std::string(body);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request->body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request->body.data());
  }
  if (request->verb != "POST" && request->verb != "GET") {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request->verb.c_str());
  } else if (request->verb == "GET" && !body.empty()) {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "GET");
  }
  if (curl_multi_add_handle(request->multi, easy) != CURLM_OK) {
    request->done = true;
    return false;
  }
  while (!request->done && request->pending.size() == request->taken) Step(*request);
  return request->blockComplete;
}

std::size_t ReadFile(Request* request, char* buffer, std::size_t size) {
  if (request == nullptr || !request->sent || size == 0) return 0;
  while (request->pending.size() == request->taken) {
    request->pending.clear();
    request->taken = 0;
    if (request->done) return 0;
    Step(*request);
  }
  const std::size_t n = std::min(size, request->pending.size() - request->taken);
  std::memcpy(buffer, request->pending.data() + request->taken, n);
  request->taken += n;
  return n;
}

std::size_t AnnouncedBodySize(Request* request) {
  if (request == nullptr || request->easy == nullptr) return 0;
  curl_off_t length = -1;
  if (curl_easy_getinfo(request->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) return 0;
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

bool QueryRawHeaders(Request* request, char* buffer, std::size_t* length) {
  if (request == nullptr || length == nullptr) return false;
  if (!request->blockComplete) {
    *length = 0;
    return false;
  }
  const std::string& block = request->headerBlock;
  if (block.size() + 1 > *length) {
    *length = block.size() + 1;
    return false;
  }
  std::memcpy(buffer, block.c_str(), block.size() + 1);
  *length = block.size();
  return true;
}

}  // namespace tw::http
