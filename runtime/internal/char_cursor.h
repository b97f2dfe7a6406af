// Walks the character starts of a Text forward. A byte >= 0x80 and its
// follower are one character; a byte >= 0x80 as the very last byte is no
// character and ends the walk, so nothing can start there.
#pragma once

#include <bit>
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

  // Whether `offset` is a character start. Offsets asked must not decrease,
  // which keeps a whole scan linear.
  [[nodiscard]] bool IsCharStart(std::size_t offset) {
    SkipTo(offset);
    return pos_ == offset;
  }

 private:
  // Moves to the first character start at or after `offset` (or past the end).
  void SkipTo(std::size_t offset) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
    while (pos_ < offset) {
      // Eight bytes all below 0x80 are eight characters; eight all at or above
      // 0x80, entered at a character start, are four two-byte characters.
      // Short of `offset`, the bytes before it that are all below 0x80 are
      // skipped the same way.
      if (pos_ + kWord <= text_.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes + pos_, sizeof word);
        const std::uint64_t high = word & kHighBits;
        const std::size_t ahead = offset - pos_;
        if (ahead >= kWord && (high == 0 || high == kHighBits)) {
          pos_ += kWord;
          continue;
        }
        if constexpr (std::endian::native == std::endian::little) {
          if (ahead < kWord && (high & ((std::uint64_t{1} << (8 * ahead)) - 1)) == 0) {
            pos_ = offset;
            break;
          }
        }
      }
      pos_ += bytes[pos_] >= kFirstLeadByte ? 2 : 1;
    }
    SettleAtEnd();
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
