#include "runtime/internal/finder.h"

#include <algorithm>
#include <cstring>

#include "runtime/internal/anchor.h"

namespace tw::internal {
namespace {

// Rough cost of one call beyond the bytes it scans, in byte comparisons:
// memmem sets up a table, memchr only restarts.
constexpr std::size_t kMemmemCallCost = 64;
constexpr std::size_t kMemchrCallCost = 16;
// A pattern of one or two bytes is verified with at most two reads per
// candidate, and candidates never repeat, so it never needs the automaton.
constexpr std::size_t kShortPattern = 2;
// Restart work allowed before any distance has been covered.
constexpr std::size_t kRestartSlack = 4096;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Lowers (or raises) the letters of `pattern` that are one-byte characters;
// trail bytes of two-byte characters stay as they are.
std::string FoldPattern(std::string_view pattern, char (*fold)(char)) {
  std::string folded(pattern);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (static_cast<unsigned char>(folded[i]) >= kFirstLeadByte) {
      ++i;
    } else {
      folded[i] = fold(folded[i]);
    }
  }
  return folded;
}

}  // namespace

Finder::Finder(std::string_view text, std::size_t begin, std::size_t end, std::string_view pattern,
               Case letters)
    : text_(text),
      begin_(begin),
      end_(end),
      pattern_(pattern),
      other_case_(pattern),
      starts_(text, begin),
      fold_starts_(text, begin) {
  if (letters == Case::kIgnore) {
    pattern_ = FoldPattern(pattern, LowerAscii);
    other_case_ = FoldPattern(pattern, UpperAscii);
    fold_ = pattern_ != other_case_;
  }
  if (fold_) {
    anchor_ = RarestByteOffset(pattern_, other_case_);
    // The anchor of a match lies before end - tail; a pattern longer than
    // the text is never searched.
    const std::size_t tail = pattern_.size() - 1 - anchor_;
    anchor_bytes_ = ByteSkipper(text_, end_ - std::min(end_, tail), pattern_[anchor_], other_case_[anchor_]);
  }
}

std::size_t Finder::Next(std::size_t from) {
  from = std::max(from, begin_);
  return automaton_ ? NextByAutomaton(from) : NextByCandidates(from);
}

std::size_t Finder::NextByCandidates(std::size_t from) {
  const std::size_t m = pattern_.size();
  while (from < end_ && end_ - from >= m) {
    if (m > kShortPattern && restart_work_ > kRestartSlack + 2 * (from - begin_)) {
      StartAutomaton();
      return NextByAutomaton(from);
    }
    const std::size_t at = fold_ ? NextAnchorHit(from) : NextMemmemHit(from);
    if (at == kNoMatch) return kNoMatch;
    if ((!fold_ || MatchesFoldedAt(at)) && starts_.IsCharStart(at)) return at;
    from = at + 1;
  }
  return kNoMatch;
}

std::size_t Finder::NextMemmemHit(std::size_t from) {
  const void* hit = memmem(text_.data() + from, end_ - from, pattern_.data(), pattern_.size());
  if (hit == nullptr) return kNoMatch;
  restart_work_ += pattern_.size() + kMemmemCallCost;
  return static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
}

std::size_t Finder::NextAnchorHit(std::size_t from) {
  const std::size_t hit = anchor_bytes_.Next(from + anchor_);
  if (hit == kNoMatch) return kNoMatch;
  restart_work_ += kMemchrCallCost;
  return hit - anchor_;
}

// The bytes at `at` are compared with the pattern's folding: when `at` is a
// character start, a text byte is a one-byte character exactly where the
// pattern's is, as far as the bytes agree, since both grids follow the same
// bytes >= 0x80.
bool Finder::MatchesFoldedAt(std::size_t at) {
  for (std::size_t j = 0; j < pattern_.size(); ++j) {
    const char c = text_[at + j];
    if (c != pattern_[j] && c != other_case_[j]) {
      restart_work_ += j + 1;
      return false;
    }
  }
  restart_work_ += pattern_.size();
  return true;
}

void Finder::StartAutomaton() {
  automaton_ = true;
  const std::size_t m = pattern_.size();
  failure_.assign(m, 0);
  for (std::size_t i = 1, k = 0; i < m; ++i) {
    while (k > 0 && pattern_[i] != pattern_[k]) k = failure_[k - 1];
    if (pattern_[i] == pattern_[k]) ++k;
    failure_[i] = k;
  }
  consumed_ = begin_;
  matched_ = 0;
  first_bytes_ = ByteSkipper(text_, end_, pattern_[0], other_case_[0]);
}

std::size_t Finder::NextByAutomaton(std::size_t from) {
  const std::size_t m = pattern_.size();
  if (from > consumed_) {
    consumed_ = from;
    matched_ = 0;
  }
  // Keep only the partial match that starts at or after `from`.
  while (matched_ > 0 && consumed_ - matched_ < from) matched_ = failure_[matched_ - 1];
  while (consumed_ < end_) {
    if (matched_ == 0) {
      consumed_ = first_bytes_.Next(consumed_);
      if (consumed_ == kNoMatch) {
        consumed_ = end_;
        break;
      }
    }
    char c = text_[consumed_];
    if (fold_ && fold_starts_.IsCharStart(consumed_)) c = LowerAscii(c);
    while (matched_ > 0 && pattern_[matched_] != c) matched_ = failure_[matched_ - 1];
    if (pattern_[matched_] == c) ++matched_;
    ++consumed_;
    if (matched_ == m) {
      const std::size_t at = consumed_ - m;
      matched_ = failure_[m - 1];
      if (starts_.IsCharStart(at)) return at;
    }
  }
  return kNoMatch;
}

}  // namespace tw::internal
