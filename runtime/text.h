// The three value types every routine of the program is written on.
//
// Text   bytes in code page 936 (GBK), never holding a NUL; a byte >= 0x80 and
//        its follower form one character. Positions count bytes from 1.
// Bytes  a length-counted byte string that may hold NUL bytes.
// TextArray  Text members numbered from 1; an index outside 1..MemberCount is
//        the fatal run-time error.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw {

// Byte positions and counts. Positions start at 1; -1 means "not found".
using Position = std::ptrdiff_t;
inline constexpr Position kNotFound = -1;

class Text {
 public:
  Text() = default;
  // Literals and C strings: the bytes up to their NUL.
  Text(const char* s) : bytes_(s != nullptr ? s : "") {}  // NOLINT(google-explicit-constructor)
  // Any byte string: the bytes before its first NUL, as a NUL-terminated
  // string would read.
  explicit Text(std::string_view s) : bytes_(s.substr(0, s.find('\0'))) {}
  explicit Text(std::string&& s) : bytes_(std::move(s)) { bytes_.resize(std::strlen(bytes_.c_str())); }

  [[nodiscard]] std::string_view view() const { return bytes_; }
  [[nodiscard]] const std::string& str() const { return bytes_; }
  [[nodiscard]] const char* c_str() const { return bytes_.c_str(); }
  [[nodiscard]] std::size_t size() const { return bytes_.size(); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }
  // The byte at 0-based offset i, as an unsigned value.
  [[nodiscard]] unsigned char at(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  // Appends the bytes of `piece` before its first NUL; amortised O(piece).
  Text& Append(std::string_view piece) {
    bytes_.append(piece.substr(0, piece.find('\0')));
    return *this;
  }
  // Room for at least n bytes. The buffer grows at least twofold, so that
  // a Reserve before every append stays amortised linear whatever the
  // library's reserve does.
  void Reserve(std::size_t n) {
    if (n > bytes_.capacity()) bytes_.reserve(std::max(n, 2 * bytes_.capacity()));
  }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(const char* s) : bytes_(s) {}
  explicit Bytes(std::string_view s) : bytes_(s) {}
  explicit Bytes(std::string&& s) : bytes_(std::move(s)) {}

  [[nodiscard]] std::string_view view() const { return bytes_; }
  [[nodiscard]] const std::string& str() const { return bytes_; }
  [[nodiscard]] const char* data() const { return bytes_.data(); }
  [[nodiscard]] char* data() { return bytes_.data(); }
  [[nodiscard]] std::size_t size() const { return bytes_.size(); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }
  [[nodiscard]] unsigned char at(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  // Appends `piece` whole, NUL bytes included; amortised O(piece).
  Bytes& Append(std::string_view piece) {
    bytes_.append(piece);
    return *this;
  }
  // Room for at least n bytes. The buffer grows at least twofold, so that
  // a Reserve before every append stays amortised linear whatever the
  // library's reserve does.
  void Reserve(std::size_t n) {
    if (n > bytes_.capacity()) bytes_.reserve(std::max(n, 2 * bytes_.capacity()));
  }
  // Moves the storage out, for a layer that fills or hands on a buffer.
  [[nodiscard]] std::string Release() && { return std::move(bytes_); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string bytes_;
};

class TextArray {
 public:
  TextArray() = default;
  TextArray(std::initializer_list<Text> members) : members_(members) {}

  [[nodiscard]] Position MemberCount() const { return static_cast<Position>(members_.size()); }
  // Member `index`, counted from 1; outside 1..MemberCount the fatal run-time error.
  [[nodiscard]] const Text& operator[](Position index) const;
  void Append(Text member) { members_.push_back(std::move(member)); }

  [[nodiscard]] auto begin() const { return members_.begin(); }
  [[nodiscard]] auto end() const { return members_.end(); }

  friend bool operator==(const TextArray&, const TextArray&) = default;

 private:
  std::vector<Text> members_;
};

// Printers for test failures: bytes >= 0x80 and control bytes as \xNN.
std::ostream& operator<<(std::ostream& out, const Text& text);
std::ostream& operator<<(std::ostream& out, const Bytes& bytes);
std::ostream& operator<<(std::ostream& out, const TextArray& array);

}  // namespace tw
