// The search under FindText, FindTextFromEnd, ReplaceText and SplitText:
// successive matches of a pattern that begin at character starts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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
  std::size_t NextByMemmem(std::size_t from);
  std::size_t NextByAutomaton(std::size_t from);
  void StartAutomaton();
  // The first offset at or after `from` whose byte can begin a match, or end_.
  std::size_t NextPossibleStart(std::size_t from);

  std::string_view text_;
  std::size_t begin_;
  std::size_t end_;
  // With Case::kIgnore, the pattern with its one-byte letters lowered.
  std::string pattern_;
  bool fold_ = false;
  CharCursor starts_;  // validates match starts

  // memmem finds candidates fast but starts afresh on every call, verifying
  // up to the whole pattern again; that extra work is counted, and past a
  // budget linear in the distance covered the search goes on as a
  // Knuth-Morris-Pratt automaton, which reads every byte once.
  bool automaton_ = false;
  std::size_t restart_work_ = 0;

  std::vector<std::size_t> failure_;  // KMP failure function of pattern_
  std::size_t consumed_ = 0;          // the automaton has read text_[..consumed_)
  std::size_t matched_ = 0;           // pattern prefix matching the bytes read last
  CharCursor fold_starts_;            // which bytes read are one-byte characters
  // The raw bytes that can begin a match (a letter in both cases) and the
  // next offset of each (kNoMatch: not looked for yet), so that the automaton
  // skips to them with memchr.
  char first_bytes_[2] = {};
  std::size_t first_byte_count_ = 0;
  std::size_t next_first_[2] = {};
};

}  // namespace tw::internal
