// ReplaceText and SplitText.
#include <string>

#include "runtime/internal/finder.h"
#include "runtime/text_ops.h"

namespace tw {

Text ReplaceText(const Text& text, const Text& sub, const Text& replacement, Position start, Position count,
                 Case letters) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (text.empty() || sub.empty() || from >= text.size() || count == 0) return text;
  const std::string_view bytes = text.view();
  internal::Finder finder(bytes, from, bytes.size(), sub.view(), letters);
  std::string out;
  out.reserve(bytes.size());
  std::size_t copied = 0;
  for (Position done = 0; count < 0 || done < count; ++done) {
    const std::size_t at = finder.Next(copied > from ? copied : from);
    if (at == internal::kNoMatch) break;
    out.append(bytes, copied, at - copied);
    out.append(replacement.view());
    copied = at + sub.size();
  }
  out.append(bytes, copied);
  return Text(std::move(out));
}

TextArray SplitText(const Text& text, const Text& delimiter, Position maxCount) {
  TextArray pieces;
  if (text.empty() || maxCount == 0) return pieces;
  if (delimiter.empty()) {
    pieces.Append(text);
    return pieces;
  }
  const std::string_view bytes = text.view();
  internal::Finder finder(bytes, 0, bytes.size(), delimiter.view(), Case::kExact);
  std::size_t piece = 0;
  while (maxCount < 0 || pieces.MemberCount() < maxCount) {
    const std::size_t at = finder.Next(piece);
    if (at == internal::kNoMatch) {
      // Nothing follows a final delimiter.
      if (piece < bytes.size()) pieces.Append(Text(bytes.substr(piece)));
      break;
    }
    pieces.Append(Text(bytes.substr(piece, at - piece)));
    piece = at + delimiter.size();
  }
  return pieces;
}

}  // namespace tw
