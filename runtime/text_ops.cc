// The plain operations: pieces, lengths, comparison, blanks, conversions and
// array members.
#include "runtime/text_ops.h"

#include <string>

namespace tw {
namespace {

// min(n, size) for a count that may be negative.
std::size_t Clamp(Position n, std::size_t size) {
  if (n <= 0) return 0;
  return static_cast<std::size_t>(n) < size ? static_cast<std::size_t>(n) : size;
}

}  // namespace

Text TextLeft(const Text& text, Position n) { return Text(text.view().substr(0, Clamp(n, text.size()))); }

Text TextRight(const Text& text, Position n) {
  const std::size_t length = Clamp(n, text.size());
  return Text(text.view().substr(text.size() - length));
}

Text TextMid(const Text& text, Position start, Position n) {
  if (start < 1 || start > TextLength(text) || n <= 0) return Text();
  const auto from = static_cast<std::size_t>(start - 1);
  return Text(text.view().substr(from, Clamp(n, text.size() - from)));
}

int CompareText(const Text& a, const Text& b) {
  // char_traits<char>::compare orders by unsigned bytes.
  const int order = a.view().compare(b.view());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

Text CharFromCode(unsigned char code) {
  if (code == 0) return Text();
  return Text(std::string(1, static_cast<char>(code)));
}

Text BlankText(Position n) {
  if (n < 1) return Text();
  return Text(std::string(static_cast<std::size_t>(n), ' '));
}

Bytes BlankBytes(Position n) {
  if (n < 1) return Bytes();
  return Bytes(std::string(static_cast<std::size_t>(n), '\0'));
}

Bytes ToBytes(const Text& text) { return Bytes(text.view()); }

Text BytesToText(const Bytes& bytes) { return Text(bytes.view()); }

Bytes BytesLeft(const Bytes& bytes, Position n) {
  return Bytes(bytes.view().substr(0, Clamp(n, bytes.size())));
}

void AppendMember(TextArray& array, const Text& text) { array.Append(text); }

}  // namespace tw
