// Invariant target for MergeCookies and JoinDistinct.
//
// MergeCookies: the result is what `cookies` holds; both lists lose their
// spaces; the merged pairs are distinct, hold no space, none ends in
// "=deleted", each comes from one of the two lists; every new pair that is
// not a removal is kept, and of the old pairs exactly the first of each name
// that no new pair carries. JoinDistinct: the distinct members in the order
// of their first occurrence.
//
// Input: a mode byte, then the old and the new cookie list separated by a NUL
// byte, then JoinDistinct's delimiter. In word mode (even mode byte) every
// byte picks a piece of a cookie list, so that the lists are full of names,
// "=", ";", spaces, removals and two-byte characters; then the strict
// invariants apply. Otherwise the raw bytes go in and only the first two
// invariants are checked: arbitrary bytes can pair a lead byte with ";".
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include "runtime/text_ops.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "web/cookies.h"

namespace tw::fuzz {
namespace {

Text Words(std::string_view raw) {
  static constexpr const char* kWords[] = {
      "a", "b", "C", "=", "=", ";", "; ", " ", "1", "=deleted", "\xA1\xA1", "\xB0\xA1", "\xB0=", " ;",
  };
  std::string out;
  for (const char c : raw) out += kWords[static_cast<unsigned char>(c) % std::size(kWords)];
  return Text(out);
}

bool EndsInDeleted(const Text& pair) { return CompareText(TextRight(pair, 8), "=deleted") == 0; }

bool Contains(const TextArray& list, const Text& pair) { return IndexOfMember(list, pair) != kNotFound; }

void CheckMerge(const Text& oldIn, const Text& merged, const Text& newOut) {
  const TextArray pairs = SplitText(merged, "; ");
  const TextArray oldPairs = SplitText(RemoveAllSpaces(oldIn), ";");
  const TextArray newPairs = SplitText(newOut, ";");
  std::set<std::string> seen;
  for (const Text& pair : pairs) {
    FUZZ_CHECK_EQ(RemoveAllSpaces(pair), pair);
    FUZZ_CHECK(!EndsInDeleted(pair));
    FUZZ_CHECK(seen.insert(pair.str()).second);
    FUZZ_CHECK(Contains(oldPairs, pair) || Contains(newPairs, pair));
  }
  for (const Text& pair : newPairs) {
    if (!pair.empty() && !EndsInDeleted(pair)) FUZZ_CHECK(Contains(pairs, pair));
  }
  std::set<std::string> oldNames;
  std::set<std::string> oldSeen;
  for (const Text& pair : oldPairs) {
    const Text name = CookieName(pair);
    const bool first = oldNames.insert(name.str()).second;
    // A repeat, an empty pair (kept as an empty member unless it is last)
    // or a pair the new list holds too says nothing about the old list.
    if (!oldSeen.insert(pair.str()).second || pair.empty() || Contains(newPairs, pair)) continue;
    const bool wanted = first && !HasCookieName(newPairs, name) && !EndsInDeleted(pair);
    FUZZ_CHECK_EQ(Contains(pairs, pair), wanted);
  }
}

Text ExpectedDistinct(const Text& text, const Text& delimiter) {
  TextArray kept;
  for (const Text& member : SplitText(text, delimiter)) {
    if (!Contains(kept, member)) kept.Append(member);
  }
  Text out;
  for (Position i = 1; i <= MemberCount(kept); ++i) {
    out = i == 1 ? kept[1] : JoinText(std::move(out), delimiter, kept[i]);
  }
  return out;
}

}  // namespace
}  // namespace tw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  using namespace tw::fuzz;
  FuzzInput in(data, size);
  const bool words = (in.Byte() & 1) == 0;
  const std::string_view oldRaw = in.NextPiece();
  const std::string_view newRaw = in.NextPiece();
  const std::string_view delimiterRaw = in.NextPiece();
  const Text oldIn = words ? Words(oldRaw) : Text(oldRaw);
  const Text newIn = words ? Words(newRaw) : Text(newRaw);

  Text cookies = oldIn;
  Text newCookies = newIn;
  const Text merged = MergeCookies(cookies, newCookies);
  FUZZ_CHECK_EQ(merged, cookies);
  FUZZ_CHECK_EQ(newCookies, RemoveAllSpaces(newIn));
  if (words) CheckMerge(oldIn, merged, newCookies);

  const Text delimiter = words ? Words(delimiterRaw) : Text(delimiterRaw);
  if (words) FUZZ_CHECK_EQ(JoinDistinct(oldIn, delimiter), ExpectedDistinct(oldIn, delimiter));
  return 0;
}
