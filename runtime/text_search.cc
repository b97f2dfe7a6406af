// FindText, FindTextFromEnd and FindBytes.
#include <cstring>

#include "runtime/internal/finder.h"
#include "runtime/text_ops.h"

namespace tw {
namespace {

// The 0-based offset where a search from 1-based `start` begins.
std::size_t SearchOrigin(Position start) { return start <= 1 ? 0 : static_cast<std::size_t>(start - 1); }

Position ToPosition(std::size_t offset) {
  return offset == internal::kNoMatch ? kNotFound : static_cast<Position>(offset) + 1;
}

}  // namespace

Position FindText(const Text& text, const Text& sub, Position start, Case letters) {
  const std::size_t from = SearchOrigin(start);
  if (from >= text.size()) return kNotFound;
  if (sub.empty()) return 1;
  if (sub.size() > text.size() - from) return kNotFound;
  internal::Finder finder(text.view(), from, text.size(), sub.view(), letters);
  return ToPosition(finder.Next(from));
}

Position FindTextFromEnd(const Text& text, const Text& sub, Position start, Case letters) {
  if (start >= 0 && start <= 1) return kNotFound;
  // A match must end before `start`.
  const std::size_t limit =
      start < 0 || start > TextLength(text) ? text.size() : static_cast<std::size_t>(start - 1);
  if (sub.empty() || sub.size() > limit) return kNotFound;
  // Characters are counted from the text's first byte, so the scan runs
  // forward and keeps the last match.
  internal::Finder finder(text.view(), 0, limit, sub.view(), letters);
  std::size_t last = internal::kNoMatch;
  for (std::size_t at = finder.Next(0); at != internal::kNoMatch; at = finder.Next(at + 1)) last = at;
  return ToPosition(last);
}

Position FindBytes(const Bytes& bytes, const Bytes& pattern, Position start) {
  const std::size_t from = SearchOrigin(start);
  if (pattern.empty() || from >= bytes.size()) return kNotFound;
  const void* hit = memmem(bytes.data() + from, bytes.size() - from, pattern.data(), pattern.size());
  if (hit == nullptr) return kNotFound;
  return static_cast<Position>(static_cast<const char*>(hit) - bytes.data()) + 1;
}

}  // namespace tw
