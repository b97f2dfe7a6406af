// TextBetween over a 64 MiB page whose markers sit at its end, against the
// two memmem calls that find the same markers.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "web/text_between.h"

namespace {

constexpr std::size_t kSize = 64u << 20;
constexpr char kStart[] = "\"server_filename\":\"";
constexpr char kEnd[] = "\"";
constexpr char kTail[] = "\"server_filename\":\"report.zip\",\"size\":1}";

// A page of `line`s, the markers at the end.
std::string Page(const std::string& line) {
  std::string s;
  s.reserve(kSize + line.size());
  while (s.size() < kSize - sizeof kTail) s += line;
  s.resize(kSize - (sizeof kTail - 1));
  return s + kTail;
}

const tw::Text& AsciiPage() {
  static const tw::Text page(Page(
      "<div class=\"item\"><span>share file list, size and time</span><a href=\"/s/1x\">open</a></div>\n"));
  return page;
}

// Page text in code page 936 among the markup: "文件列表" (file list).
const tw::Text& Gbk936Page() {
  static const tw::Text page(
      Page("<div class=\"item\"><span>\xCE\xC4\xBC\xFE\xC1\xD0\xB1\xED size</span><a "
           "href=\"/s/1x\">open</a></div>\n"));
  return page;
}

void RunTextBetween(benchmark::State& state, const tw::Text& page) {
  for (auto _ : state) {
    const tw::Text value = tw::TextBetween(page, kStart, kEnd);
    if (value != "report.zip") state.SkipWithError("wrong value");
    benchmark::DoNotOptimize(value);
  }
}

void RunMemmem(benchmark::State& state, const tw::Text& page) {
  const char* data = page.c_str();
  for (auto _ : state) {
    const void* start = memmem(data, page.size(), kStart, sizeof kStart - 1);
    const char* begin = static_cast<const char*>(start) + (sizeof kStart - 1);
    const void* end =
        memmem(begin, page.size() - static_cast<std::size_t>(begin - data), kEnd, sizeof kEnd - 1);
    benchmark::DoNotOptimize(end);
  }
}

void BM_TextBetween_Ascii64MiB(benchmark::State& state) { RunTextBetween(state, AsciiPage()); }
void BM_Memmem_Ascii64MiB(benchmark::State& state) { RunMemmem(state, AsciiPage()); }
void BM_TextBetween_Gbk64MiB(benchmark::State& state) { RunTextBetween(state, Gbk936Page()); }
void BM_Memmem_Gbk64MiB(benchmark::State& state) { RunMemmem(state, Gbk936Page()); }

BENCHMARK(BM_TextBetween_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem_Ascii64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetween_Gbk64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem_Gbk64MiB)->Unit(benchmark::kMillisecond);

}  // namespace
