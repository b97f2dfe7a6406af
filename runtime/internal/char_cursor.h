// Tells the character starts of a Text, asked in forward order. A byte >= 0x80
// and its follower are one character; a byte >= 0x80 as the very last byte is
// no character, so nothing can start there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tw::internal {

inline constexpr unsigned char kFirstLeadByte = 0x80;

class CharCursor {
 public:
  // `first` is taken as a character start: the grid of characters is counted
  // from where a scan begins.
  CharCursor(std::string_view text, std::size_t first) : text_(text), pos_(first) { SettleAtEnd(); }

  // Whether `offset` is a character start. Offsets asked must not decrease:
  // each byte is then looked at once at most, which keeps a whole scan linear.
  [[nodiscard]] bool IsCharStart(std::size_t offset) {
    if (offset > pos_) {
      // A byte below 0x80 always ends a character (alone or as a trail), so
      // the grid is known right after the last such byte before `offset`;
      // the bytes from there on are all >= 0x80 and pair up as lead and
      // trail. Looking back from `offset` costs nothing in the usual text,
      // however far it is from the last offset asked.
      pos_ = HighRunBefore(offset) % 2 == 0 ? offset : offset + 1;
      SettleAtEnd();
    }
    return pos_ == offset;
  }

 private:
  // How many bytes >= 0x80 come right before `offset`, counted no further
  // back than pos_.
  [[nodiscard]] std::size_t HighRunBefore(std::size_t offset) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
    std::size_t run_start = offset;
    // A run of two-byte text goes eight bytes at a time.
    while (run_start - pos_ >= kWord) {
      std::uint64_t word;
      std::memcpy(&word, bytes + run_start - kWord, sizeof word);
      if ((word & kHighBits) != kHighBits) break;
      run_start -= kWord;
    }
    while (run_start > pos_ && bytes[run_start - 1] >= kFirstLeadByte) --run_start;
    return offset - run_start;
  }

  // A lone lead byte at the end is no character start: park past the end.
  void SettleAtEnd() {
    if (pos_ + 1 == text_.size() && static_cast<unsigned char>(text_[pos_]) >= kFirstLeadByte) {
      pos_ = text_.size() + 1;
    }
  }

  static constexpr std::size_t kWord = sizeof(std::uint64_t);
  static constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

  std::string_view text_;
  std::size_t pos_;  // a character start, or past the end
};

}  // namespace tw::internal
