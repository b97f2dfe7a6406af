// Skips, forward only, to the next byte that has one of two values (a letter
// in both cases, or one value twice), reading each byte once per value with
// memchr.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace tw::internal {

class ByteSkipper {
 public:
  ByteSkipper() = default;
  // Looks in text[.., end) for `a` and `b`.
  ByteSkipper(std::string_view text, std::size_t end, char a, char b)
      : text_(text), end_(end), values_{a, b}, count_(a == b ? 1 : 2) {}

  // The first offset at or after `from` that holds either value, else npos.
  // `from` must not decrease from call to call.
  [[nodiscard]] std::size_t Next(std::size_t from) {
    if (from >= end_) return std::string_view::npos;
    std::size_t next = end_;
    for (std::size_t k = 0; k < count_; ++k) {
      // Each offset kept only moves forward, so every byte is scanned once.
      if (next_[k] == kNotLooked || next_[k] < from) {
        const void* hit = std::memchr(text_.data() + from, values_[k], end_ - from);
        next_[k] =
            hit == nullptr ? end_ : static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
      }
      next = std::min(next, next_[k]);
    }
    return next == end_ ? std::string_view::npos : next;
  }

 private:
  std::string_view text_;
  std::size_t end_ = 0;
  char values_[2] = {};
  std::size_t count_ = 0;
  static constexpr std::size_t kNotLooked = std::string_view::npos;
  std::size_t next_[2] = {kNotLooked, kNotLooked};  // next offset of each value, or end_
};

}  // namespace tw::internal
