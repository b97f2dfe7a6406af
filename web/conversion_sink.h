// Where a measure-then-convert routine puts its output. With capacity 0 it
// only counts; otherwise it writes at most `capacity` elements, never part of
// a character that does not fit, and after the first character that does not
// fit it writes nothing more.
#pragma once

#include <cstddef>

namespace tw::conversion_internal {

// `kElementSize` is the size in bytes of one counted element: 1 for bytes,
// 2 for UTF-16 units.
template <std::size_t kElementSize>
class Sink {
 public:
  Sink(char* out, std::size_t capacity) : out_(capacity == 0 ? nullptr : out), capacity_(capacity) {}

  // One character of `count` elements, given as its `count * kElementSize` bytes.
  void Put(const char* bytes, std::size_t count) {
    if (out_ != nullptr) {
      if (full_ || capacity_ - size_ < count) {
        full_ = true;
        return;
      }
      // A character is a few bytes: a loop the compiler unrolls beats a call.
      char* to = out_ + size_ * kElementSize;
      for (std::size_t i = 0; i < count * kElementSize; ++i) to[i] = bytes[i];
    }
    size_ += count;
  }

  // A run of `count` one-element characters, which `write(destination, n)`
  // stores; a run that does not fit is cut.
  template <typename Write>
  void PutRun(std::size_t count, Write write) {
    if (out_ != nullptr) {
      if (full_) return;
      if (capacity_ - size_ < count) {
        count = capacity_ - size_;
        full_ = true;
      }
      write(out_ + size_ * kElementSize, count);
    }
    size_ += count;
  }

  // Whether the sink only counts, for callers that can tell a character's
  // size more cheaply than its bytes; they then Count it.
  [[nodiscard]] bool Measuring() const { return out_ == nullptr; }
  void Count(std::size_t count) { size_ += count; }

  // Elements counted, or written when converting.
  [[nodiscard]] std::size_t Size() const { return size_; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t size_ = 0;
  bool full_ = false;
};

}  // namespace tw::conversion_internal
