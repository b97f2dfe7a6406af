#include "runtime/internal/finder.h"

#include <cstring>

namespace tw::internal {
namespace {

// Rough cost of one memmem call beyond the bytes it scans (table set-up), in
// byte comparisons.
constexpr std::size_t kMemmemCallCost = 64;
// Restart work allowed before any distance has been covered.
constexpr std::size_t kRestartSlack = 4096;

unsigned char LowerAscii(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + 32) : b;
}

bool IsAsciiLetter(unsigned char b) { return LowerAscii(b) >= 'a' && LowerAscii(b) <= 'z'; }

// The pattern with the letters that are one-byte characters lowered; trail
// bytes of two-byte characters stay as they are. Sets `has_letters`.
std::string FoldPattern(std::string_view pattern, bool& has_letters) {
  std::string folded(pattern);
  has_letters = false;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto b = static_cast<unsigned char>(folded[i]);
    if (b >= kFirstLeadByte) {
      ++i;
    } else if (IsAsciiLetter(b)) {
      has_letters = true;
      folded[i] = static_cast<char>(LowerAscii(b));
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
      fold_(false),
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
  if (from < begin_) from = begin_;
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
    restart_work_ += m + kMemmemCallCost;
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
}

unsigned char Finder::FoldedTextByte(std::size_t offset) {
  const auto b = static_cast<unsigned char>(text_[offset]);
  if (!fold_) return b;
  return fold_starts_.IsCharStart(offset) ? LowerAscii(b) : b;
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
    const auto c = static_cast<char>(FoldedTextByte(consumed_));
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
