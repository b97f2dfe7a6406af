// The shares of the sample share service: each share address with the
// values its page carries and the way the service treats it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::test {

// How a share's page is written and how its download request is answered.
enum class ShareKind {
  kUtf8Page,        // UTF-8 with <meta charset="utf-8">
  kGbkPage,         // code page 936, no charset named anywhere
  kEarlierSignKey,  // a key merely ending in "sign" comes before sign="..."
  kNoFileName,      // no server_filename on the page
  kNoDownloadLink,  // the answer carries no dlink
  kThrottled,       // the answer asks for a verification code
  kBigAsciiPage,    // 20 MiB of ASCII before the values, no charset named
  kBigUtf8Page,     // 20 MiB of UTF-8 before the values
};

struct Share {
  ShareKind kind;
  std::string path;      // below the service root, e.g. "/s/1utf8"
  std::string fileName;  // UTF-8
  std::string shareId;
  std::string shareUk;
  std::string fsId;
  std::string timestamp;
  std::string sign;
};

// The share served at `path`, or none. Besides the fixed shares, every path
// "/s/1batch-K" (K from 0 to 9999) is a share of its own, for runs of many
// addresses.
[[nodiscard]] std::optional<Share> FindShareByPath(std::string_view path);
[[nodiscard]] std::optional<Share> FindShareById(std::string_view shareId);

// The share page in its encoding, with the share's values as attributes.
[[nodiscard]] std::string SharePage(const Share& share);

// The cookie that the share page sets and the download request must carry.
[[nodiscard]] std::string ShareCookieName(const Share& share);
[[nodiscard]] std::string ShareCookieValue(const Share& share);

// The direct download address the service hands out for `share` when the
// request carried `sign`, as it appears in the JSON answer (\/ and \u0026),
// and as it reads once every backslash is gone.
[[nodiscard]] std::string EscapedDownloadLink(const Share& share, std::string_view sign);
[[nodiscard]] std::string CleanedDownloadLink(const Share& share, std::string_view sign);

}  // namespace tw::test
