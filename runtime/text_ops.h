// Operations on Text, Bytes and TextArray. Each returns a new value and none
// reports failure: "not found" is -1, a missing piece the empty value.
//
// Searches in a Text try matches only where a character starts (a byte >= 0x80
// and its follower are one character); a byte >= 0x80 right before the end
// ends the scan. Case folding, where asked for, touches ASCII letters only.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace tw {

// How letters compare in a search: exactly, or with ASCII case ignored.
enum class Case { kExact, kIgnore };

// First `sub` at or after byte `start`, else -1. start <= 1 searches the whole
// text; a start past the end finds nothing. An empty `sub` is found at 1 when
// the searched part is non-empty.
[[nodiscard]] Position FindText(const Text& text, const Text& sub, Position start = 1,
                                Case letters = Case::kExact);

// Last `sub` lying wholly before byte `start`; kWholeText searches everything.
inline constexpr Position kWholeText = -1;
[[nodiscard]] Position FindTextFromEnd(const Text& text, const Text& sub, Position start = kWholeText,
                                       Case letters = Case::kExact);

// Replaces the occurrences of `sub` from byte `start` on, at most `count` of
// them (kAll: every one). An empty text or `sub` gives the text unchanged.
// Letters are folded unless asked otherwise, as the operation's callers expect.
inline constexpr Position kAll = -1;
[[nodiscard]] Text ReplaceText(const Text& text, const Text& sub, const Text& replacement, Position start = 1,
                               Position count = kAll, Case letters = Case::kIgnore);

// The pieces between delimiters: empty pieces kept, none after a final
// delimiter; an empty text gives no members, an empty delimiter the whole
// text; at most `maxCount` pieces (kAll: no limit), the rest dropped.
[[nodiscard]] TextArray SplitText(const Text& text, const Text& delimiter, Position maxCount = kAll);

// Spaces are 0x20 and the full-width pair A1 A1; tab, CR and LF are not.
[[nodiscard]] Text TrimBothEnds(const Text& text);
[[nodiscard]] Text RemoveAllSpaces(const Text& text);

// A-Z to a-z; two-byte characters unchanged.
[[nodiscard]] Text ToLowerCase(const Text& text);

// Full-width digits, signs and spaces made half-width, then leading white
// space, an optional sign and the digits up to the first non-digit; none: 0.
// Values beyond the range of int saturate.
[[nodiscard]] int ToInteger(const Text& text);

// First / last min(n, length) bytes; n <= 0 gives the empty text. May cut a
// two-byte character.
[[nodiscard]] Text TextLeft(const Text& text, Position n);
[[nodiscard]] Text TextRight(const Text& text, Position n);
// Up to n bytes from `start`; start outside 1..length or n <= 0: empty.
[[nodiscard]] Text TextMid(const Text& text, Position start, Position n);

[[nodiscard]] inline Position TextLength(const Text& text) { return static_cast<Position>(text.size()); }
[[nodiscard]] inline Position BytesLength(const Bytes& bytes) { return static_cast<Position>(bytes.size()); }
[[nodiscard]] inline Position MemberCount(const TextArray& array) { return array.MemberCount(); }

// Negative, 0 or positive, by unsigned bytes.
[[nodiscard]] int CompareText(const Text& a, const Text& b);

// A one-byte text; code 0 gives the empty text.
[[nodiscard]] Text CharFromCode(unsigned char code);

// n spaces / n zero bytes; n < 1 gives the empty value.
[[nodiscard]] Text BlankText(Position n);
[[nodiscard]] Bytes BlankBytes(Position n);

// The bytes of a text without its NUL; the bytes before the first NUL.
[[nodiscard]] Bytes ToBytes(const Text& text);
[[nodiscard]] Text BytesToText(const Bytes& bytes);

// First min(n, length) bytes; n <= 0 gives the empty value.
[[nodiscard]] Bytes BytesLeft(const Bytes& bytes, Position n);

// First exact match of `pattern` at or after byte `start`, else -1; an empty
// pattern gives -1.
[[nodiscard]] Position FindBytes(const Bytes& bytes, const Bytes& pattern, Position start = 1);

// A copy of `text` becomes the last member.
void AppendMember(TextArray& array, const Text& text);

// Concatenation of any number of texts (or literals). The overload whose first
// operand is an rvalue reuses its buffer, so `t = JoinText(std::move(t), piece)`
// in a loop stays linear.
namespace join_internal {
inline std::string_view View(const Text& t) { return t.view(); }
inline std::string_view View(const char* s) { return s; }
inline std::string_view View(const Bytes& b) { return b.view(); }
}  // namespace join_internal

template <typename... Rest>
[[nodiscard]] Text JoinText(Text&& first, const Rest&... rest) {
  first.Reserve(first.size() + (std::size_t{0} + ... + join_internal::View(rest).size()));
  (first.Append(join_internal::View(rest)), ...);
  return std::move(first);
}
template <typename... Rest>
[[nodiscard]] Text JoinText(const Text& first, const Rest&... rest) {
  return JoinText(Text(first), rest...);
}

template <typename... Rest>
[[nodiscard]] Bytes JoinBytes(Bytes&& first, const Rest&... rest) {
  first.Reserve(first.size() + (std::size_t{0} + ... + rest.size()));
  (first.Append(rest.view()), ...);
  return std::move(first);
}
template <typename... Rest>
[[nodiscard]] Bytes JoinBytes(const Bytes& first, const Rest&... rest) {
  return JoinBytes(Bytes(first), rest...);
}

}  // namespace tw
