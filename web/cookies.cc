#include "web/cookies.h"

#include "runtime/text_ops.h"

namespace tw {
namespace {

// A pair whose value is this marks a cookie the server has removed.
constexpr char kDeleted[] = "=deleted";
constexpr Position kDeletedLength = sizeof kDeleted - 1;
constexpr char kSeparator[] = "; ";
constexpr Position kSeparatorLength = sizeof kSeparator - 1;

}  // namespace

Text MergeCookies(Text& cookies, Text& newCookies) {
  cookies = RemoveAllSpaces(cookies);
  newCookies = RemoveAllSpaces(newCookies);

  const TextArray old = SplitText(cookies, ";");
  TextArray merged = SplitText(newCookies, ";");
  // Counted once: the merged list grows, so of several old pairs with one
  // name only the first survives.
  const Position oldCount = MemberCount(old);
  for (Position i = 1; i <= oldCount; ++i) {
    if (!HasCookieName(merged, CookieName(old[i]))) AppendMember(merged, old[i]);
  }

  Text out;
  for (const Text& pair : merged) {
    if (TextRight(pair, kDeletedLength) != kDeleted) out = JoinText(std::move(out), pair, kSeparator);
  }
  out = JoinDistinct(TextLeft(out, TextLength(out) - kSeparatorLength), kSeparator);
  cookies = out;
  return out;
}

Text CookieName(const Text& pair) {
  const Position equals = FindText(pair, "=");
  return TrimBothEnds(equals == kNotFound ? pair : TextLeft(pair, equals - 1));
}

bool HasCookieName(const TextArray& list, const Text& name) {
  for (const Text& pair : list) {
    if (CookieName(pair) == name) return true;
  }
  return false;
}

Text JoinDistinct(const Text& text, const Text& delimiter) {
  TextArray seen;
  Text out;
  for (const Text& member : SplitText(text, delimiter)) {
    if (IndexOfMember(seen, member) != kNotFound) continue;
    AppendMember(seen, member);
    out = JoinText(std::move(out), member, delimiter);
  }
  return TextLeft(out, TextLength(out) - TextLength(delimiter));
}

Position IndexOfMember(const TextArray& list, const Text& text) {
  Position index = 1;
  for (const Text& member : list) {
    if (CompareText(member, text) == 0) return index;
    ++index;
  }
  return kNotFound;
}

}  // namespace tw
