#!/usr/bin/env bash
# Runs the runtime benchmarks from the build folder given and prints each
# figure beside its anchor from the same run (medians of five repetitions, CPU
# time), with the ratio and the limit it must stay within. Exits non-zero when
# a ratio is over its limit.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/runtime_text_ops_bench"
[ -x "$bench" ] || { echo "runtime: $bench is not built" >&2; exit 1; }

out=$("$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 \
  --benchmark_time_unit=ms 2>/dev/null)

# The median CPU time of a benchmark, in ms.
cpu_ms() {
  awk -v name="$1_median" '$1 == name { print $4 }' <<<"$out"
}

status=0
compare() {  # label, figure, anchor name, anchor, limit
  local figure anchor
  figure=$(cpu_ms "$2")
  anchor=$(cpu_ms "$4")
  awk -v label="$1" -v f="$figure" -v aname="$3" -v a="$anchor" -v limit="$5" 'BEGIN {
    ratio = f / a
    verdict = ratio <= limit ? "within" : "OVER"
    printf "%-46s %9.2f ms   %-20s %9.2f ms   ratio %5.2f  (%s %.1fx)\n", label, f, aname, a, ratio, verdict, limit
    exit ratio <= limit ? 0 : 1
  }' || status=1
}

linear() {  # label, benchmark name: ns per byte at 8 and 64 MiB
  local small large
  small=$(cpu_ms "$2/8")
  large=$(cpu_ms "$2/64")
  awk -v label="$1" -v s="$small" -v l="$large" 'BEGIN {
    printf "%-46s %7.3f ns/byte at 8 MiB   %7.3f ns/byte at 64 MiB   (64 MiB / 8 MiB per byte: %.2f)\n",
           label, s * 1e6 / (8 * 1048576), l * 1e6 / (64 * 1048576), (l / 64) / (s / 8)
  }'
}

compare "FindText, absent 16 bytes, 64 MiB ASCII" BM_FindText_Ascii64MiB memmem BM_Memmem_Ascii64MiB 2
compare "FindText, absent 16 bytes, 64 MiB two-byte" BM_FindText_TwoByte64MiB memmem BM_Memmem_TwoByte64MiB 4
compare "JoinBytes, 64 MiB from 1024-byte pieces" BM_JoinBytes_Build64MiB std::string::append \
  BM_StringAppend_Build64MiB 1.3
compare "JoinText, 64 MiB from 1024-byte pieces" BM_JoinText_Build64MiB std::string::append \
  BM_StringAppend_Build64MiB 1.3
printf "%-46s %9.2f ms   (every candidate at a trail byte)\n" "FindText, 64 MiB of 81 41, needle \"A\\x81\"" \
  "$(cpu_ms BM_FindText_TrailByteCandidates64MiB)"
linear "SplitText on \",\" (one byte in 16)" BM_SplitText
linear "ReplaceText \"Q\", exact" BM_ReplaceText_Exact
linear "ReplaceText \"q\", case ignored" BM_ReplaceText_IgnoreCase
linear "FindTextFromEnd \"Q,\"" BM_FindTextFromEnd
exit $status
