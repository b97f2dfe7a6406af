// The search under FindText, FindTextFromEnd, ReplaceText and SplitText:
// successive matches of a pattern that begin at character starts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/internal/byte_skipper.h"
#include "runtime/internal/char_cursor.h"
#include "runtime/text_ops.h"

namespace tw::internal {

inline constexpr std::size_t kNoMatch = std::string_view::npos;

class Finder {
 public:
  // Matches of `pattern` (not empty) that lie wholly inside text[begin, end)
  // and begin at a character start counted from `begin`. `end` may stop short
  // of the text; the text's own end still decides where the last character is.
  Finder(std::string_view text, std::size_t begin, std::size_t end, std::string_view pattern, Case letters);

  // The first match at or after `from`, else kNoMatch. `from` must not
  // decrease from call to call; matches may overlap earlier ones.
  [[nodiscard]] std::size_t Next(std::size_t from);

 private:
  std::size_t NextByCandidates(std::size_t from);
  // The next offset at or after `from` where the pattern's bytes may match,
  // else kNoMatch: found by memmem when exact, by memchr to the anchor byte
  // (then verified) when letters are folded.
  std::size_t NextMemmemHit(std::size_t from);
  std::size_t NextAnchorHit(std::size_t from);
  bool MatchesFoldedAt(std::size_t at);
  std::size_t NextByAutomaton(std::size_t from);
  void StartAutomaton();

  std::string_view text_;
  std::size_t begin_;
  std::size_t end_;
  // With Case::kIgnore, the pattern with its one-byte letters lowered, and
  // with them raised; otherwise the pattern twice.
  std::string pattern_;
  std::string other_case_;
  bool fold_ = false;
  CharCursor starts_;  // validates match starts

  // A folded search memchr's to the pattern's rarest byte (in both cases if
  // it is a letter), at pattern_[anchor_].
  std::size_t anchor_ = 0;
  ByteSkipper anchor_bytes_;

  // Candidates come fast, but memmem starts afresh on every call and each
  // candidate is verified with up to the whole pattern; that extra work is
  // counted, and past a budget linear in the distance covered the search goes
  // on as a Knuth-Morris-Pratt automaton, which reads every byte once.
  bool automaton_ = false;
  std::size_t restart_work_ = 0;

  std::vector<std::size_t> failure_;  // KMP failure function of pattern_
  std::size_t consumed_ = 0;          // the automaton has read text_[..consumed_)
  std::size_t matched_ = 0;           // pattern prefix matching the bytes read last
  CharCursor fold_starts_;            // which bytes read are one-byte characters
  ByteSkipper first_bytes_;           // the bytes that can begin a match
};

}  // namespace tw::internal
