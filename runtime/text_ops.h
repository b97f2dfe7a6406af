// Operations on Text, Bytes and TextArray. Each returns a new value and none
// reports failure: "not found" is -1, a missing piece the empty value.
//
// Searches in a Text try matches only where a character starts (a byte >= 0x80
// and its follower are one character); a byte >= 0x80 right before the end
// ends the scan. Characters are counted from where the scan begins: `start`
// for FindText and ReplaceText, the first byte otherwise. So in 81 41 ("A"
// as the trail of a two-byte character) FindText finds no "A".
// Case folding, where asked for, touches ASCII letters that are one-byte
// characters only: a trail byte always compares exactly.
// Every operation is linear in the lengths of its operands.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace tw {

// How letters compare in a search: exactly, or with ASCII case ignored.
enum class Case { kExact, kIgnore };

// First `sub` at or after byte `start`, else -1. start <= 1 searches the whole
// text; a start past the end finds nothing. An empty `sub` is found at 1 when
// the searched part (the bytes from `start` on) is non-empty, else -1.
//   FindText("a,b,c", ",", 3) == 4
[[nodiscard]] Position FindText(const Text& text, const Text& sub, Position start = 1,
                                Case letters = Case::kExact);

// Last `sub` lying wholly before byte `start`, else -1; a negative start
// (kWholeText) or one past the end searches everything, start 0 or 1 nothing.
// An empty `sub` gives -1.
//   FindTextFromEnd("a,b,c", ",", 4) == 2
inline constexpr Position kWholeText = -1;
[[nodiscard]] Position FindTextFromEnd(const Text& text, const Text& sub, Position start = kWholeText,
                                       Case letters = Case::kExact);

// Replaces the occurrences of `sub` from byte `start` on (start <= 1: all of
// the text), left to right without overlap, at most `count` of them (kAll or
// any negative: every one; 0: none); after a match the scan goes on at the
// byte after it, characters still counted from `start`. An empty text or
// `sub`, or a start past the end, gives the text unchanged. Letters are
// folded unless asked otherwise, as the operation's callers expect.
//   ReplaceText("aXbxc", "x", "-") == "a-b-c"
inline constexpr Position kAll = -1;
[[nodiscard]] Text ReplaceText(const Text& text, const Text& sub, const Text& replacement, Position start = 1,
                               Position count = kAll, Case letters = Case::kIgnore);

// The pieces between delimiters: empty pieces kept, none after a final
// delimiter; an empty text gives no members, an empty delimiter the whole
// text; at most `maxCount` pieces (kAll or any negative: no limit; 0: none),
// the rest dropped. Delimiters match exactly, at character starts.
//   SplitText(",a,,b,", ",") == {"", "a", "", "b"}
[[nodiscard]] TextArray SplitText(const Text& text, const Text& delimiter, Position maxCount = kAll);

// Spaces are 0x20 and the full-width space A1 A1, as characters (the trail
// byte of one character and the lead of the next are no space); tab, CR and
// LF are no spaces.
[[nodiscard]] Text TrimBothEnds(const Text& text);
[[nodiscard]] Text RemoveAllSpaces(const Text& text);

// A-Z to a-z; two-byte characters unchanged.
[[nodiscard]] Text ToLowerCase(const Text& text);

// Full-width digits (A3 B0..A3 B9), signs (A3 AB "+", A3 AD "-") and the
// full-width space (A1 A1) made half-width, then leading white space (space,
// tab, LF, VT, FF, CR), an optional sign and the digits up to the first
// non-digit; no digits: 0. Values beyond the range of int saturate to INT_MAX
// or INT_MIN.
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

// Concatenation of any number of texts (or literals, or Bytes: their bytes
// before the first NUL). The overload whose first operand is an rvalue reuses
// its buffer, so `t = JoinText(std::move(t), piece)` in a loop stays linear.
// An operand may be the first one itself: `JoinText(std::move(t), t)` doubles t.
//   JoinText("a", Text("b"), "c") == "abc"
//
// JoinBytes: the same for Bytes, NUL bytes included.
namespace join_internal {
inline std::string_view View(const Text& t) { return t.view(); }
inline std::string_view View(const char* s) { return s; }
inline std::string_view View(const Bytes& b) { return b.view(); }

template <typename Value, typename... Rest>
Value AppendAll(Value&& first, const Rest&... rest) {
  first.Reserve(first.size() + (std::size_t{0} + ... + View(rest).size()));
  if constexpr (sizeof...(rest) > 0) {
    // Taken after the Reserve, the views stay valid while appending, also one
    // of `first` itself.
    const std::string_view pieces[] = {View(rest)...};
    for (const std::string_view piece : pieces) first.Append(piece);
  }
  return std::move(first);
}
}  // namespace join_internal

template <typename... Rest>
[[nodiscard]] Text JoinText(Text&& first, const Rest&... rest) {
  return join_internal::AppendAll(std::move(first), rest...);
}
template <typename... Rest>
[[nodiscard]] Text JoinText(const Text& first, const Rest&... rest) {
  return join_internal::AppendAll(Text(), first, rest...);
}

template <typename... Rest>
[[nodiscard]] Bytes JoinBytes(Bytes&& first, const Rest&... rest) {
  return join_internal::AppendAll(std::move(first), rest...);
}
template <typename... Rest>
[[nodiscard]] Bytes JoinBytes(const Bytes& first, const Rest&... rest) {
  return join_internal::AppendAll(Bytes(), first, rest...);
}

}  // namespace tw
