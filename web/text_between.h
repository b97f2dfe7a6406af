// Cutting a value out of a page or a header text.
#pragma once

#include "runtime/text.h"
#include "runtime/text_ops.h"

namespace tw {

// The bytes between the first `startMarker` at or after `startPosition` and
// the first `endMarker` after it; empty when either is missing. In both
// markers "#引号" stands for a double quote, so callers can write a quote
// inside a marker. Letters compare with ASCII case ignored unless kExact.
//
//   TextBetween("a[b]c", "[", "]") == "b"
[[nodiscard]] Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                               Position startPosition = 0, Case letters = Case::kIgnore);

// What follows the first ":" of a header line, trimmed; empty without ":".
//
//   HeaderValue("Location: x") == "x"
[[nodiscard]] Text HeaderValue(const Text& line);

}  // namespace tw
