// FetchPage of a 64 MiB file from nginx on loopback, beside its anchor: a
// minimal libcurl program that writes the same body into a std::string.
//
//   fetch_bench [benchmark flags]   time both
//   fetch_bench --peak=fetchpage    one FetchPage, then its peak memory
//   fetch_bench --peak=curl         the same for the anchor
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/support/nginx/nginx_server.h"
#include "web/fetch_page.h"

namespace {

constexpr std::size_t kBodySize = std::size_t{64} << 20;

tw::test::NginxServer* nginx = nullptr;

// Written piece by piece, so the file itself adds nothing to peak memory.
void WriteBodyFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  std::string piece(1 << 16, '\0');
  for (std::size_t done = 0; done < kBodySize; done += piece.size()) {
    for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>('a' + (done + i) % 26);
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  }
}

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

std::string CurlToString(const std::string& url) {
  std::string body;
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(easy);
  curl_easy_cleanup(easy);
  return body;
}

std::size_t FetchPageSize(const std::string& url) { return tw::FetchPage(tw::Text(url)).size(); }

void BM_FetchPage(benchmark::State& state) {
  const std::string url = nginx->Url("/big.bin");
  for (auto _ : state) {
    if (FetchPageSize(url) != kBodySize) state.SkipWithError("FetchPage: short body");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodySize));
}

void BM_CurlToString(benchmark::State& state) {
  const std::string url = nginx->Url("/big.bin");
  for (auto _ : state) {
    if (CurlToString(url).size() != kBodySize) state.SkipWithError("anchor: short body");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodySize));
}

BENCHMARK(BM_FetchPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CurlToString)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  tw::test::NginxServer server;
  nginx = &server;
  WriteBodyFile(server.root() + "/big.bin");
  const std::string url = server.Url("/big.bin");

  if (argc == 2 && std::strncmp(argv[1], "--peak=", 7) == 0) {
    const std::string_view which = argv[1] + 7;
    const double before = PeakMiB();
    const std::size_t size = which == "curl" ? CurlToString(url).size() : FetchPageSize(url);
    std::printf("body_mib=%.1f peak_rss_mib=%.1f before_mib=%.1f\n", static_cast<double>(size) / (1 << 20),
                PeakMiB(), before);
    return size == kBodySize ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
