#include "web/text_between.h"

#include "runtime/text_ops.h"

namespace tw {
namespace {

// "#引号" in code page 936: lets a caller write a double quote inside a marker.
constexpr char kQuoteToken[] = "#\xD2\xFD\xBA\xC5";  // #引号

Text WithQuotes(const Text& marker) { return ReplaceText(marker, kQuoteToken, "\"", 1, kAll, Case::kExact); }

}  // namespace

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker, Position startPosition,
                 Case letters) {
  const Text start = WithQuotes(startMarker);
  const Text end = WithQuotes(endMarker);
  const Position found = FindText(text, start, startPosition, letters);
  if (found == kNotFound) return {};
  // The end marker is never looked for inside the start marker.
  const Position begin = found + TextLength(start);
  const Position endAt = FindText(text, end, begin, letters);
  if (endAt == kNotFound) return {};
  return TextMid(text, begin, endAt - begin);
}

Text HeaderValue(const Text& line) {
  const Position colon = FindText(line, ":");
  if (colon == kNotFound) return {};
  return TrimBothEnds(TextRight(line, TextLength(line) - colon));
}

}  // namespace tw
