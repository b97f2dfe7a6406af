// The text runtime against its anchors: FindText against memmem on the same
// 64 MiB buffer, and building 64 MiB with JoinBytes / JoinText against
// std::string::append. Further figures show that SplitText, ReplaceText and
// FindTextFromEnd stay linear: the same work on 8 and 64 MiB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/text_ops.h"

namespace tw {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kPieceSize = 1024;

// A fixed-seed generator, so every run searches the same bytes.
class Random {
 public:
  std::uint32_t Below(std::uint32_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33) % n;
  }

 private:
  std::uint64_t state_ = 42;
};

// Lower-case words: no digit or capital occurs.
std::string AsciiText(std::size_t size) {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz     ,.\n";
  Random random;
  std::string t(size, ' ');
  for (char& c : t) c = kAlphabet[random.Below(sizeof kAlphabet - 1)];
  return t;
}

// Nine characters in ten are two-byte characters of the GB2312 area (lead
// B0-F7, trail A1-FE), the rest ASCII letters.
std::string TwoByteText(std::size_t size) {
  Random random;
  std::string t;
  t.reserve(size);
  while (t.size() + 2 <= size) {
    if (random.Below(10) == 0) {
      t += static_cast<char>('a' + random.Below(26));
    } else {
      t += static_cast<char>(0xB0 + random.Below(0xF8 - 0xB0));
      t += static_cast<char>(0xA1 + random.Below(0xFF - 0xA1));
    }
  }
  t.resize(size, 'a');
  return t;
}

const Text& Ascii64() {
  static const Text text(AsciiText(64 * kMiB));
  return text;
}

const Text& TwoByte64() {
  static const Text text(TwoByteText(64 * kMiB));
  return text;
}

// 16 bytes made of the texts' own characters, in an order that occurs in
// neither (checked before timing).
const Text kAsciiNeedle("zqxjzqxjzqxjzqxj");
const Text kTwoByteNeedle("\xB0\xA1\xB1\xA2\xB2\xA3\xB3\xA4\xB4\xA5\xB5\xA6\xB6\xA7\xB7\xA8");

void CheckAbsent(const Text& text, const Text& needle, benchmark::State& state) {
  if (memmem(text.c_str(), text.size(), needle.c_str(), needle.size()) != nullptr) {
    state.SkipWithError("the needle occurs in the text");
  }
}

void SearchWithMemmem(benchmark::State& state, const Text& text, const Text& needle) {
  CheckAbsent(text, needle, state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(text.c_str(), text.size(), needle.c_str(), needle.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void SearchWithFindText(benchmark::State& state, const Text& text, const Text& needle) {
  CheckAbsent(text, needle, state);
  for (auto _ : state) {
    if (FindText(text, needle) != kNotFound) state.SkipWithError("FindText found an absent needle");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Memmem_Ascii64MiB(benchmark::State& state) { SearchWithMemmem(state, Ascii64(), kAsciiNeedle); }
void BM_FindText_Ascii64MiB(benchmark::State& state) { SearchWithFindText(state, Ascii64(), kAsciiNeedle); }
void BM_Memmem_TwoByte64MiB(benchmark::State& state) { SearchWithMemmem(state, TwoByte64(), kTwoByteNeedle); }
void BM_FindText_TwoByte64MiB(benchmark::State& state) {
  SearchWithFindText(state, TwoByte64(), kTwoByteNeedle);
}

// The needle "A\x81" sits at every trail byte of 81 41 81 41 ..., never at a
// character start: each candidate memmem offers is rejected.
void BM_FindText_TrailByteCandidates64MiB(benchmark::State& state) {
  static const Text text([] {
    std::string t;
    t.reserve(64 * kMiB);
    while (t.size() < 64 * kMiB) t += "\x81\x41";
    return t;
  }());
  for (auto _ : state) {
    if (FindText(text, Text("A\x81")) != kNotFound) state.SkipWithError("found at a trail byte");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Building 64 MiB from 1024-byte pieces.
constexpr std::size_t kPieces = 64 * kMiB / kPieceSize;

void BM_StringAppend_Build64MiB(benchmark::State& state) {
  const std::string piece(kPieceSize, 'x');
  for (auto _ : state) {
    std::string built;
    for (std::size_t i = 0; i < kPieces; ++i) built.append(piece);
    benchmark::DoNotOptimize(built.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPieces * kPieceSize));
}

void BM_JoinBytes_Build64MiB(benchmark::State& state) {
  const Bytes piece(std::string(kPieceSize, 'x'));
  for (auto _ : state) {
    Bytes built;
    for (std::size_t i = 0; i < kPieces; ++i) built = JoinBytes(std::move(built), piece);
    benchmark::DoNotOptimize(built.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPieces * kPieceSize));
}

void BM_JoinText_Build64MiB(benchmark::State& state) {
  const Text piece(std::string(kPieceSize, 'x'));
  for (auto _ : state) {
    Text built;
    for (std::size_t i = 0; i < kPieces; ++i) built = JoinText(std::move(built), piece);
    benchmark::DoNotOptimize(built.c_str());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPieces * kPieceSize));
}

// Linearity: the argument is the text's size in MiB; bytes per second must
// not fall as the size grows. The text is ASCII with a "," every 16 bytes on
// average and a "Q" about every 1000.
const Text& Delimited(std::size_t mib) {
  static Text texts[65];
  if (texts[mib].empty()) {
    std::string t = AsciiText(mib * kMiB);
    Random random;
    for (char& c : t) {
      const std::uint32_t r = random.Below(1000);
      if (r < 62) c = ',';
      if (r == 999) c = 'Q';
    }
    texts[mib] = Text(std::move(t));
  }
  return texts[mib];
}

void BM_SplitText(benchmark::State& state) {
  const Text& text = Delimited(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(MemberCount(SplitText(text, ",")));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReplaceText_Exact(benchmark::State& state) {
  const Text& text = Delimited(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(text, "Q", "<q>", 1, kAll, Case::kExact));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReplaceText_IgnoreCase(benchmark::State& state) {
  const Text& text = Delimited(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(text, "q", "<q>"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_FindTextFromEnd(benchmark::State& state) {
  const Text& text = Delimited(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindTextFromEnd(text, "Q,"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_Memmem_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem_TwoByte64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText_TwoByte64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText_TrailByteCandidates64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringAppend_Build64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinBytes_Build64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinText_Build64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitText)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceText_Exact)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceText_IgnoreCase)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindTextFromEnd)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tw

// Fresh pages are slow to fault in on some machines (about 20 microseconds
// each in the virtual machine this was measured on, 0.4 s for 64 MiB), which
// would swamp every figure that allocates tens of MiB. So freed memory stays
// in the heap, and the heap is faulted in once before the first figure: the
// figures measure the operations, and the anchors run under the same
// allocator settings.
constexpr std::size_t kWarmHeap = std::size_t{1} << 30;

int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kWarmHeap));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(kWarmHeap));
  void* warm = std::malloc(kWarmHeap);
  if (warm != nullptr) {
    std::memset(warm, 0, kWarmHeap);
    benchmark::DoNotOptimize(warm);
    benchmark::ClobberMemory();
    std::free(warm);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
