#include "runtime/internal/anchor.h"

#include <array>
#include <cstdint>

namespace tw::internal {
namespace {

// Rough frequency of each byte in pages of HTML, script and text in code page
// 936, in bytes per thousand. Only rough magnitudes matter.
constexpr std::array<std::uint8_t, 256> MakeFrequencies() {
  std::array<std::uint8_t, 256> f{};
  f.fill(1);
  // Each lead and trail value of a two-byte character is one among ~100.
  for (std::size_t b = 0x80; b < 0x100; ++b) f[b] = 4;
  for (char c = '0'; c <= '9'; ++c) f[static_cast<unsigned char>(c)] = 6;
  struct Entry {
    char byte;
    std::uint8_t per_thousand;
  };
  constexpr Entry kCommon[] = {
      {' ', 110}, {'"', 30}, {'<', 18}, {'>', 18}, {'/', 18}, {'=', 15}, {'\n', 12}, {'\t', 8}, {'\r', 6},
      {'.', 10},  {'-', 8},  {',', 6},  {':', 4},  {';', 4},  {'_', 3},  {'\'', 3},  {'(', 3},  {')', 3},
      {'#', 2},   {'&', 2},  {'%', 2},  {'{', 2},  {'}', 2},  {'e', 55}, {'t', 45},  {'a', 45}, {'o', 40},
      {'i', 40},  {'n', 38}, {'s', 35}, {'r', 35}, {'l', 25}, {'c', 22}, {'h', 20},  {'d', 20}, {'u', 15},
      {'m', 15},  {'p', 15}, {'f', 10}, {'g', 10}, {'w', 8},  {'y', 8},  {'b', 8},   {'v', 8},  {'k', 5},
      {'x', 3},   {'j', 2},  {'q', 1},  {'z', 1},
  };
  for (const Entry& e : kCommon) f[static_cast<unsigned char>(e.byte)] = e.per_thousand;
  // Capitals: about a tenth of their small letters.
  for (char c = 'A'; c <= 'Z'; ++c) {
    const auto small = f[static_cast<unsigned char>(c - 'A' + 'a')];
    f[static_cast<unsigned char>(c)] = static_cast<std::uint8_t>(small / 10 + 1);
  }
  return f;
}

constexpr std::array<std::uint8_t, 256> kFrequency = MakeFrequencies();

// One memchr pass over the page, counted as the candidates per thousand bytes
// that would cost as much (a pass reads ~20 bytes per ns; a candidate, with
// the memchr call that restarts after it, ~15 ns).
constexpr unsigned kScanCost = 3;

unsigned Cost(char byte) { return kFrequency[static_cast<unsigned char>(byte)] + kScanCost; }

}  // namespace

std::size_t RarestByteOffset(std::string_view lower, std::string_view upper) {
  std::size_t best = 0;
  unsigned best_cost = ~0u;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    const unsigned cost = Cost(lower[i]) + (upper[i] != lower[i] ? Cost(upper[i]) : 0);
    if (cost < best_cost) {
      best = i;
      best_cost = cost;
    }
  }
  return best;
}

}  // namespace tw::internal
