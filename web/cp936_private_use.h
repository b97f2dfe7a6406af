// The codes of code page 936 that Windows maps into the Unicode private use
// area and glibc's CP936 does not map at all: the user-defined areas and the
// unassigned cells of some rows.
#pragma once

#include <span>

namespace tw::cp936 {

// A block of two-byte codes, rows firstLead..lastLead, in each row the trail
// bytes firstTrail..lastTrail without 0x7F (never a trail byte). The cells,
// row by row in code order, map to consecutive units from firstUnit.
struct PrivateUseBlock {
  unsigned char firstLead;
  unsigned char lastLead;
  unsigned char firstTrail;
  unsigned char lastTrail;
  char16_t firstUnit;
};

[[nodiscard]] std::span<const PrivateUseBlock> PrivateUseBlocks();

// The single byte 0xFF, which Windows maps to U+F8F5.
inline constexpr unsigned char kPrivateUseSingleByte = 0xFF;
inline constexpr char16_t kPrivateUseSingleUnit = 0xF8F5;

}  // namespace tw::cp936
