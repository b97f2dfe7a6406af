// Invariant target for TextBetween and HeaderValue. TextBetween must give the
// bytes from the end of the first start marker to the first end marker after
// it, as the runtime's own searches find them, with "#引号" standing for a
// quote in both markers; HeaderValue a trimmed piece of the line.
//
// Input: a flag byte (case), a start position byte, then the text, the start
// marker and the end marker separated by NUL bytes.
#include <cstddef>
#include <cstdint>

#include "runtime/text_ops.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "web/text_between.h"

namespace tw::fuzz {
namespace {

// "#引号" in code page 936.
constexpr const char* kQuoteName = "#\xD2\xFD\xBA\xC5";

Text Expected(const Text& text, const Text& startMarker, const Text& endMarker, Position startPosition,
              Case letters) {
  const Text start = ReplaceText(startMarker, kQuoteName, "\"", 1, kAll, Case::kExact);
  const Text end = ReplaceText(endMarker, kQuoteName, "\"", 1, kAll, Case::kExact);
  const Position s = FindText(text, start, startPosition, letters);
  if (s == kNotFound) return "";
  const Position begin = s + TextLength(start);
  const Position e = FindText(text, end, begin, letters);
  if (e == kNotFound) return "";
  return TextMid(text, begin, e - begin);
}

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  FuzzInput in(data, size);
  const Case letters = in.Flag() ? Case::kExact : Case::kIgnore;
  const Position startPosition = in.SmallNumber();
  const Text text = in.NextText();
  const Text startMarker = in.NextText();
  const Text endMarker = in.NextText();

  const Text between = TextBetween(text, startMarker, endMarker, startPosition, letters);
  FUZZ_CHECK_EQ(between, Expected(text, startMarker, endMarker, startPosition, letters));

  const Text value = HeaderValue(text);
  FUZZ_CHECK_EQ(TrimBothEnds(value), value);
  if (!value.empty()) FUZZ_CHECK(FindBytes(ToBytes(text), ToBytes(value)) != kNotFound);
  if (FindText(text, ":") == kNotFound) FUZZ_CHECK_EQ(value, Text(""));
  return 0;
}
