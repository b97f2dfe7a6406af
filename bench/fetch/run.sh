#!/usr/bin/env bash
# FetchPage of a 64 MiB file from nginx on loopback against a minimal libcurl
# program writing the same body into a std::string, in the same run:
# the median of FetchPage must be within 1.3x of the anchor's, and its peak
# memory at most 3x the body plus 32 MiB.
set -euo pipefail
build=$1
bench="$build/fetch_bench"
max_ratio=1.3
max_peak_mib=$((3 * 64 + 32))

csv=$("$bench" --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
median() { echo "$csv" | awk -F, -v name="\"$1/iterations:3/real_time_median\"" '$1 == name { print $3 }'; }
fetch_ms=$(median BM_FetchPage)
curl_ms=$(median BM_CurlToString)
fetch_peak=$("$bench" --peak=fetchpage | sed 's/.*peak_rss_mib=\([0-9.]*\).*/\1/')
curl_peak=$("$bench" --peak=curl | sed 's/.*peak_rss_mib=\([0-9.]*\).*/\1/')

awk -v f="$fetch_ms" -v c="$curl_ms" -v r="$max_ratio" -v fp="$fetch_peak" -v cp="$curl_peak" -v mp="$max_peak_mib" '
BEGIN {
  ratio = f / c
  printf "FetchPage 64 MiB from nginx: median %.1f ms; libcurl into std::string: %.1f ms; ratio %.2f (limit %.1f)\n", f, c, ratio, r
  printf "peak memory: FetchPage %.1f MiB (limit %d MiB); libcurl into std::string %.1f MiB\n", fp, mp, cp
  exit (ratio <= r && fp <= mp) ? 0 : 1
}'
