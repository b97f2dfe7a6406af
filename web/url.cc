#include "web/url.h"

#include "runtime/text_ops.h"
#include "web/text_between.h"

namespace tw {
namespace {

constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;

// The last two labels of a host ("srv.a.b" -> "a.b"); a port stays on the last.
Text LastTwoLabels(const Text& host) {
  const TextArray labels = SplitText(host, ".");
  const Position n = MemberCount(labels);
  if (n < 2) return host;
  return JoinText(labels[n - 1], ".", labels[n]);
}

// The length of an "https://" or "http://" (any case) at the start, else 0.
Position LeadingSchemeLength(const Text& url) {
  const Text start = ToLowerCase(TextLeft(url, 8));
  if (start == "https://") return 8;
  return TextLeft(start, 7) == "http://" ? 7 : 0;
}

}  // namespace

Text UrlHost(const Text& url, bool domainOnly, bool keepPort) {
  Text work = ToLowerCase(url);
  if (work.empty() || work.at(work.size() - 1) != '/') work = JoinText(std::move(work), "/");

  // "https://" counts only at the very start, while "http://" anywhere keeps
  // the address as it is, so a scheme-less address carrying an "http://" in
  // its query takes its host from there.
  Text host;
  if (TextLeft(work, 8) == "https://") {
    host = TextBetween(work, "https://", "/");
  } else {
    if (FindText(work, "http://") == kNotFound) work = JoinText("http://", work);
    host = TextBetween(work, "http://", "/");
  }

  if (domainOnly) host = LastTwoLabels(host);
  if (keepPort) return host;
  const Position colon = FindText(host, ":");
  return colon == kNotFound ? host : TextLeft(host, colon - 1);
}

int UrlPort(const Text& url) {
  const Text host = UrlHost(url, false, true);
  const Position colon = FindTextFromEnd(host, ":");
  if (colon != kNotFound) return ToInteger(TextRight(host, TextLength(host) - colon));
  return TextLeft(ToLowerCase(url), 5) == "https" ? kHttpsPort : kHttpPort;
}

Text UrlPath(const Text& url) {
  // The host is searched for in the address itself, so the path keeps its
  // case, but only after a leading scheme: a host such as "t" or "http" would
  // otherwise be found inside the scheme and the path begin at its "//".
  const Position host = FindText(url, UrlHost(url), LeadingSchemeLength(url) + 1, Case::kIgnore);
  const Position slash = FindText(url, "/", host, Case::kIgnore);
  if (slash == kNotFound) return "/";
  return TextRight(url, TextLength(url) - slash + 1);
}

}  // namespace tw
