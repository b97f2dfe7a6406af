#include "web/cp936_table.h"

#include <iconv.h>

#include <string>

#include "runtime/fatal.h"
#include "web/cp936_private_use.h"
#include "web/utf16le.h"

namespace tw::cp936 {

struct TableBuilder {
  // Asks iconv for the unit of each 936 code it knows. Lead bytes are 81-FE
  // and trail bytes 40-FE without 7F; 0x80 is the only other single byte
  // iconv maps.
  static void AddIconvCodes(Table& table) {
    iconv_t decoder = iconv_open("UTF-16LE", "CP936");
    if (decoder == reinterpret_cast<iconv_t>(-1)) {
      FatalRuntimeError("code page 936: iconv has no CP936 converter");
    }
    const auto add = [&](Code code, std::size_t size) {
      char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      char out[4 * utf16le::kUnitSize];
      char* inAt = size == 1 ? in + 1 : in;
      char* outAt = out;
      std::size_t inLeft = size;
      std::size_t outLeft = sizeof out;
      iconv(decoder, nullptr, nullptr, nullptr, nullptr);
      if (iconv(decoder, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) return;
      // A code that does not come out as exactly one unit is left unmapped.
      if (outAt - out != static_cast<std::ptrdiff_t>(utf16le::kUnitSize)) return;
      const char16_t unit = utf16le::Load(out);
      if (unit == kNoUnit || utf16le::IsHighSurrogate(unit) || utf16le::IsLowSurrogate(unit)) return;
      table.units_[code] = unit;
    };
    for (Code byte = 0x80; byte <= 0xFF; ++byte) add(byte, 1);
    for (Code lead = 0x81; lead <= 0xFE; ++lead) {
      for (Code trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail != 0x7F) add(static_cast<Code>(lead << 8 | trail), 2);
      }
    }
    iconv_close(decoder);
  }

  static void AddPrivateUse(Table& table) {
    for (const PrivateUseBlock& block : PrivateUseBlocks()) {
      char16_t unit = block.firstUnit;
      for (Code lead = block.firstLead; lead <= block.lastLead; ++lead) {
        for (Code trail = block.firstTrail; trail <= block.lastTrail; ++trail) {
          if (trail != 0x7F) table.units_[lead << 8 | trail] = unit++;
        }
      }
    }
    table.units_[kPrivateUseSingleByte] = kPrivateUseSingleUnit;
  }

  // The reverse direction is the inverse of the forward one, so every code
  // round-trips; should two codes share a unit, the lower code wins.
  static void Invert(Table& table) {
    for (std::size_t code = table.units_.size(); code-- > 0;) {
      const char16_t unit = table.units_[code];
      if (unit == kNoUnit) continue;
      table.codes_[unit] = static_cast<Code>(code);
      if (code >= 0x100) table.twoByte_[unit / 64] |= std::uint64_t{1} << unit % 64;
    }
  }

  static const Table* Build() {
    auto* table = new Table;
    table->units_.fill(kNoUnit);
    table->codes_.fill(kNoCode);
    for (char16_t ascii = 0; ascii < 0x80; ++ascii) table->units_[ascii] = ascii;
    AddIconvCodes(*table);
    AddPrivateUse(*table);
    Invert(*table);
    return table;
  }
};

const Table& TheTable() {
  // Never freed: workers may still convert while the process ends.
  static const Table* const table = TableBuilder::Build();
  return *table;
}

}  // namespace tw::cp936
