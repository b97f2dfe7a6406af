// Cuts a fuzzer's input into the arguments of the operation under test: a few
// leading bytes for numbers and switches, then texts separated by NUL bytes
// (a Text can hold no NUL, so the separator never needs escaping).
//
//   FuzzInput in(data, size);
//   const bool ignoreCase = in.Flag();
//   const tw::Text text = in.NextText();
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/text.h"

namespace tw::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, 0 once the input is used up.
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  bool Flag() { return (Byte() & 1) != 0; }
  // A small signed number in -2..253, for positions and counts: the edges
  // (negative, 0, 1, past the end) are the interesting values.
  Position SmallNumber() { return static_cast<Position>(Byte()) - 2; }

  // The bytes up to the next NUL (or the end), which is consumed.
  std::string_view NextPiece() {
    const std::size_t end = rest_.find('\0');
    const std::string_view piece = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return piece;
  }
  Text NextText() { return Text(NextPiece()); }

  // Everything not consumed yet, NUL bytes included.
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

}  // namespace tw::fuzz
