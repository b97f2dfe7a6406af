#include "tests/support/share_service/share_service.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "tests/support/share_service/share_catalogue.h"

namespace tw::test {
namespace {

// The short link that redirects to the long form of the UTF-8 share.
constexpr std::string_view kMovedPath = "/s/1moved";
constexpr std::string_view kMovedTarget = "/share/link?shareid=3021&uk=77801";

using Query = std::map<std::string, std::string, std::less<>>;

Query ParseQuery(std::string_view query) {
  Query fields;
  while (!query.empty()) {
    const std::size_t end = query.find('&');
    const std::string_view field = query.substr(0, end);
    query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    const std::size_t equals = field.find('=');
    fields.emplace(std::string(field.substr(0, equals)),
                   equals == std::string_view::npos ? std::string() : std::string(field.substr(equals + 1)));
  }
  return fields;
}

std::string Field(const Query& query, std::string_view name) {
  auto it = query.find(name);
  return it != query.end() ? it->second : std::string();
}

// Whether the Cookie header holds `name`=`value` as one of its pairs.
bool HasCookie(const std::string& header, const std::string& name, const std::string& value) {
  const std::string pair = name + "=" + value;
  std::string_view rest = header;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    std::string_view item = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    while (item.starts_with(' ')) item.remove_prefix(1);
    if (item == pair) return true;
  }
  return false;
}

HttpAnswer Json(std::string body) {
  return {.status = 200,
          .reason = "OK",
          .headers = {{"Content-Type", "application/json"}},
          .body = std::move(body)};
}

HttpAnswer Refusal(std::string_view why) {
  return Json("{\"errno\":2,\"request_id\":4711,\"errmsg\":\"" + std::string(why) + "\"}");
}

HttpAnswer Page(const Share& share) {
  return {.status = 200,
          .reason = "OK",
          .headers = {{"Content-Type", "text/html"},
                      {"Set-Cookie",
                       ShareCookieName(share) + "=" + ShareCookieValue(share) + "; path=/; HttpOnly"}},
          .body = SharePage(share)};
}

HttpAnswer NotFound() {
  return {.status = 404,
          .reason = "Not Found",
          .headers = {{"Content-Type", "text/html"}},
          .body = "<html><body>share not found</body></html>\n"};
}

bool IsPlainSign(std::string_view sign) {
  return !sign.empty() && std::all_of(sign.begin(), sign.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
  });
}

// The download interface: checks the request against the share it names and
// the cookie its page set, then hands out the address.
HttpAnswer AnswerDownload(const HttpRequest& request, const Query& query) {
  if (request.method != "POST") return Refusal("download requests are posted");
  if (Field(query, "channel") != "chunlei" || Field(query, "clienttype") != "0" ||
      Field(query, "web") != "1" || Field(query, "bdstoken") != "null") {
    return Refusal("fixed fields missing");
  }
  const std::optional<Share> share = FindShareById(Field(query, "shareid"));
  if (!share || Field(query, "uk") != share->shareUk || Field(query, "timestamp") != share->timestamp) {
    return Refusal("no such share");
  }
  if (share->kind == ShareKind::kThrottled) {
    return Json(
        "{\"errno\":-19,\"request_id\":4712,\"vcode\":\"33324238656332346361\","
        "\"img\":\"http:\\/\\/pan.baidu.com\\/genimage?33324238656332346361\"}");
  }
  if (request.body != "fid_list=%5B%22" + share->fsId + "%22%5D") return Refusal("wrong file list");
  if (!HasCookie(request.Header("cookie"), ShareCookieName(*share), ShareCookieValue(*share))) {
    return Refusal("share cookie missing");
  }
  const std::string sign = Field(query, "sign");
  if (!IsPlainSign(sign)) return Refusal("bad sign");
  if (share->kind == ShareKind::kNoDownloadLink) {
    return Json("{\"errno\":0,\"request_id\":4713,\"list\":[{\"fs_id\":" + share->fsId + "}]}");
  }
  return Json("{\"errno\":0,\"list\":[{\"fs_id\":" + share->fsId + ",\"dlink\":\"" +
              EscapedDownloadLink(*share, sign) + "\"}],\"request_id\":4714}");
}

}  // namespace

HttpAnswer AnswerShareService(const HttpRequest& request) {
  const std::string_view target = request.target;
  const std::size_t mark = target.find('?');
  const std::string_view path = target.substr(0, mark);
  const Query query =
      ParseQuery(mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1));

  if (path == "/share/download") return AnswerDownload(request, query);
  if (path == kMovedPath) {
    return {.status = 302,
            .reason = "Found",
            .headers = {{"Location", std::string(kMovedTarget)}, {"Content-Type", "text/html"}},
            .body = "<html><body>moved</body></html>\n"};
  }
  if (path == "/share/link") {
    const std::optional<Share> share = FindShareById(Field(query, "shareid"));
    return share && Field(query, "uk") == share->shareUk ? Page(*share) : NotFound();
  }
  // Words after a share address arrive in the path, their space sent raw or
  // percent-encoded; the share is the part before them.
  const std::optional<Share> share =
      FindShareByPath(path.substr(0, std::min(path.find(' '), path.find("%20"))));
  return share ? Page(*share) : NotFound();
}

}  // namespace tw::test
