// Code page 936 as Windows maps it, both ways: glibc iconv's CP936 for the
// codes it knows, our own private-use blocks for the rest. Built once, on
// first use, and never changed or freed after, so any thread may read it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tw::cp936 {

// A 936 code: a byte below 0x100, or lead << 8 | trail.
using Code = std::uint16_t;

// Marks "no character" in both directions: U+FFFF is a noncharacter and
// FFFF no 936 code (0xFF is never a trail byte).
inline constexpr char16_t kNoUnit = 0xFFFF;
inline constexpr Code kNoCode = 0xFFFF;

class Table {
 public:
  // The unit for a code: a single byte (ASCII, 0x80, 0xFF) or a two-byte
  // code; kNoUnit when 936 gives it no character.
  [[nodiscard]] char16_t Unit(Code code) const { return units_[code]; }
  // The code for a unit; kNoCode when 936 cannot hold it.
  [[nodiscard]] Code CodeOf(char16_t unit) const { return codes_[unit]; }
  // The number of bytes a unit takes in 936: 2 for a two-byte code, else 1
  // (a single byte, or the "?" of a unit 936 cannot hold). Read from a bitmap
  // small enough to stay in the nearest cache while a page is measured.
  [[nodiscard]] std::size_t SizeOf(char16_t unit) const { return 1 + (twoByte_[unit / 64] >> unit % 64 & 1); }

 private:
  friend struct TableBuilder;
  Table() = default;

  std::array<char16_t, 0x10000> units_{};
  std::array<Code, 0x10000> codes_{};
  std::array<std::uint64_t, 0x10000 / 64> twoByte_{};
};

// The table; built on the first call. Ends the process with the fatal
// run-time error when iconv has no CP936.
[[nodiscard]] const Table& TheTable();

}  // namespace tw::cp936
