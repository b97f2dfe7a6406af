#include "runtime/internal/finder.h"

#include <algorithm>
#include <cstring>

namespace tw::internal {
namespace {

// Rough cost of one memmem call beyond the bytes it scans (its table set-up),
// in byte comparisons. Patterns of one or two bytes have no table, and every
// call re-reads at most one byte, so they never need the automaton.
constexpr std::size_t kMemmemCallCost = 64;
constexpr std::size_t kShortPattern = 2;
// Restart work allowed before any distance has been covered.
constexpr std::size_t kRestartSlack = 4096;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// The pattern with the letters that are one-byte characters lowered; trail
// bytes of two-byte characters stay as they are. Sets `has_letters`.
std::string FoldPattern(std::string_view pattern, bool& has_letters) {
  std::string folded(pattern);
  has_letters = false;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (static_cast<unsigned char>(folded[i]) >= kFirstLeadByte) {
      ++i;
    } else if (LowerAscii(folded[i]) != UpperAscii(folded[i])) {
      has_letters = true;
      folded[i] = LowerAscii(folded[i]);
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
      starts_(text, begin),
      fold_starts_(text, begin) {
  if (letters == Case::kIgnore) {
    pattern_ = FoldPattern(pattern, fold_);
    // Letters compared with case ignored need the automaton, which lowers the
    // text's one-byte letters as it reads them.
    if (fold_) StartAutomaton();
  }
}

std::size_t Finder::Next(std::size_t from) {
  from = std::max(from, begin_);
  return automaton_ ? NextByAutomaton(from) : NextByMemmem(from);
}

std::size_t Finder::NextByMemmem(std::size_t from) {
  const std::size_t m = pattern_.size();
  while (from < end_ && end_ - from >= m) {
    if (restart_work_ > kRestartSlack + 2 * (from - begin_)) {
      StartAutomaton();
      return NextByAutomaton(from);
    }
    const void* hit = memmem(text_.data() + from, end_ - from, pattern_.data(), m);
    if (hit == nullptr) return kNoMatch;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    if (m > kShortPattern) restart_work_ += m + kMemmemCallCost;
    if (starts_.IsCharStart(at)) return at;
    from = at + 1;
  }
  return kNoMatch;
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
  // A folded first byte that is a lowered letter also begins a match as a
  // capital; a trail byte never begins one.
  first_bytes_[0] = pattern_[0];
  first_byte_count_ = 1;
  if (fold_ && UpperAscii(pattern_[0]) != pattern_[0])
    first_bytes_[first_byte_count_++] = UpperAscii(pattern_[0]);
  std::fill(std::begin(next_first_), std::end(next_first_), kNoMatch);
}

std::size_t Finder::NextPossibleStart(std::size_t from) {
  std::size_t next = end_;
  for (std::size_t k = 0; k < first_byte_count_; ++k) {
    // Each offset kept only moves forward, so every byte is scanned once.
    if (next_first_[k] == kNoMatch || next_first_[k] < from) {
      const void* hit = std::memchr(text_.data() + from, first_bytes_[k], end_ - from);
      next_first_[k] =
          hit == nullptr ? end_ : static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    }
    next = std::min(next, next_first_[k]);
  }
  return next;
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
      consumed_ = NextPossibleStart(consumed_);
      if (consumed_ == end_) break;
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
