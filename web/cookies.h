// Cookie lists: "name=value" pairs. Lists coming in may use ";" with any
// spacing; lists made here use "; " with nothing after the last pair.
#pragma once

#include "runtime/text.h"

namespace tw {

// Merges the pairs of `newCookies` into `cookies`: new pairs first, then the
// old pairs whose name is not among them; a pair ending in "=deleted" is
// dropped together with the older pairs of its name; exact repeats dropped.
// Both arguments lose their spaces; the result is written into `cookies` and
// a copy is returned.
Text MergeCookies(Text& cookies, Text& newCookies);

// The text before the first "=" (the whole pair without one), trimmed.
[[nodiscard]] Text CookieName(const Text& pair);

// Whether some member of `list` has the cookie name `name`, byte for byte.
[[nodiscard]] bool HasCookieName(const TextArray& list, const Text& name);

// `text` split at `delimiter` with exact repeats dropped, joined again.
[[nodiscard]] Text JoinDistinct(const Text& text, const Text& delimiter);

// The number, from 1, of the first member equal to `text`, else -1.
[[nodiscard]] Position IndexOfMember(const TextArray& list, const Text& text);

}  // namespace tw
