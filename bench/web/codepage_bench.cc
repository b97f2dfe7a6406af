// Utf8ToAnsi against glibc iconv UTF-8 -> CP936 on the same 64 MiB input.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <string>

#include "web/codepage.h"
#include "web/cp936.h"

namespace {

constexpr std::size_t kSize = 64u << 20;

// HTML-like ASCII.
const std::string& AsciiPage() {
  static const std::string page = [] {
    const std::string line = "<div class=\"file-item\"><a href=\"/s/1AbC?x=1\">name_0123.zip</a></div>\n";
    std::string s;
    s.reserve(kSize + line.size());
    while (s.size() < kSize) s += line;
    s.resize(kSize);
    return s;
  }();
  return page;
}

// Half the characters CJK: an ASCII letter, then a character of the CJK
// block (3 bytes of UTF-8), varied so the table is not read at one place.
const std::string& MixedPage() {
  static const std::string page = [] {
    std::string s;
    s.reserve(kSize + 4);
    for (unsigned i = 0; s.size() < kSize - 4; ++i) {
      s += static_cast<char>('a' + i % 26);
      const unsigned cp = 0x4E00 + i * 7919u % 20902u;
      s += static_cast<char>(0xE0 | cp >> 12);
      s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
  }();
  return page;
}

void RunUtf8ToAnsi(benchmark::State& state, const std::string& page) {
  const tw::Bytes data(page);
  for (auto _ : state) benchmark::DoNotOptimize(tw::Utf8ToAnsi(data));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// What Utf8ToAnsi does (measure, then convert) into a buffer made once,
// outside the timing: the conversion work alone, to set beside iconv's.
void RunMeasureConvertReused(benchmark::State& state, const std::string& page) {
  std::string out(page.size(), '\0');
  for (auto _ : state) {
    const std::size_t size = tw::Utf8ToCp936(page, nullptr, 0);
    benchmark::DoNotOptimize(tw::Utf8ToCp936(page, out.data(), size));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// One iconv call over the whole input. A code page 936 text is never longer
// than its UTF-8, so a buffer of the input's size holds it. With `fresh` the
// buffer is made in each run, as Utf8ToAnsi makes its result (the anchor);
// without, it is made once outside the timing (shown for reference: on a
// virtual machine first touching 64 MiB of new pages can cost more than the
// conversion).
void RunIconv(benchmark::State& state, const std::string& page, bool fresh) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  std::string reused(page.size(), '\0');
  for (auto _ : state) {
    std::string made = fresh ? std::string(page.size(), '\0') : std::string();
    std::string& out = fresh ? made : reused;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(page.data());
    std::size_t inLeft = page.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) state.SkipWithError("iconv");
    out.resize(out.size() - outLeft);
    benchmark::DoNotOptimize(out.data());
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_Utf8ToAnsi_Ascii64MiB(benchmark::State& state) { RunUtf8ToAnsi(state, AsciiPage()); }
void BM_Iconv_Ascii64MiB(benchmark::State& state) { RunIconv(state, AsciiPage(), true); }
void BM_IconvReusedBuffer_Ascii64MiB(benchmark::State& state) { RunIconv(state, AsciiPage(), false); }
void BM_Utf8ToCp936ReusedBuffer_Ascii64MiB(benchmark::State& state) {
  RunMeasureConvertReused(state, AsciiPage());
}
void BM_Utf8ToCp936ReusedBuffer_Mixed64MiB(benchmark::State& state) {
  RunMeasureConvertReused(state, MixedPage());
}
void BM_Utf8ToAnsi_Mixed64MiB(benchmark::State& state) { RunUtf8ToAnsi(state, MixedPage()); }
void BM_Iconv_Mixed64MiB(benchmark::State& state) { RunIconv(state, MixedPage(), true); }
void BM_IconvReusedBuffer_Mixed64MiB(benchmark::State& state) { RunIconv(state, MixedPage(), false); }

BENCHMARK(BM_Utf8ToAnsi_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iconv_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvReusedBuffer_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToCp936ReusedBuffer_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToAnsi_Mixed64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iconv_Mixed64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvReusedBuffer_Mixed64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToCp936ReusedBuffer_Mixed64MiB)->Unit(benchmark::kMillisecond);

}  // namespace
