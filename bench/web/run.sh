#!/usr/bin/env bash
# Runs the web benchmarks from the build folder given and prints each figure
# beside its anchor from the same run (medians of five repetitions, CPU time),
# with the ratio and the limit it must stay within. Exits non-zero when a
# figure misses its limit.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/web_bench"
[ -x "$bench" ] || { echo "web: $bench is not built" >&2; exit 1; }

out=$("$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 \
  --benchmark_time_unit=ms 2>/dev/null)

# The median CPU time of a benchmark, in ms.
cpu_ms() {
  awk -v name="$1_median" '$1 == name { print $4 }' <<<"$out"
}

status=0
# Throughput against the anchor's: must be at least `floor` times it.
throughput() {  # label, figure, anchor label, anchor, floor
  local figure anchor
  figure=$(cpu_ms "$2")
  anchor=$(cpu_ms "$4")
  awk -v label="$1" -v f="$figure" -v aname="$3" -v a="$anchor" -v floor="$5" 'BEGIN {
    speed = a / f
    verdict = speed >= floor ? "meets" : "BELOW"
    printf "%-44s %8.2f ms   %-26s %8.2f ms   throughput %5.2fx  (%s %.1fx)\n", label, f, aname, a, speed, verdict, floor
    exit speed >= floor ? 0 : 1
  }' || status=1
}
# Time against the anchor's: must be at most `limit` times it.
within() {  # label, figure, anchor label, anchor, limit
  local figure anchor
  figure=$(cpu_ms "$2")
  anchor=$(cpu_ms "$4")
  awk -v label="$1" -v f="$figure" -v aname="$3" -v a="$anchor" -v limit="$5" 'BEGIN {
    ratio = f / a
    verdict = ratio <= limit ? "within" : "OVER"
    printf "%-44s %8.2f ms   %-26s %8.2f ms   ratio %5.2f  (%s %.1fx)\n", label, f, aname, a, ratio, verdict, limit
    exit ratio <= limit ? 0 : 1
  }' || status=1
}
# A figure shown for reference, without a limit.
reference() {  # label, figure, anchor label, anchor
  awk -v label="$1" -v f="$(cpu_ms "$2")" -v aname="$3" -v a="$(cpu_ms "$4")" 'BEGIN {
    printf "%-44s %8.2f ms   %-26s %8.2f ms   throughput %5.2fx  (reference)\n", label, f, aname, a, a / f
  }'
}

# Both sides make a new 64 MiB result, as a caller converting a page needs.
throughput "Utf8ToAnsi, 64 MiB ASCII" BM_Utf8ToAnsi_Ascii64MiB "iconv UTF-8->CP936" BM_Iconv_Ascii64MiB 1.0
throughput "Utf8ToAnsi, 64 MiB half CJK" BM_Utf8ToAnsi_Mixed64MiB "iconv UTF-8->CP936" BM_Iconv_Mixed64MiB 0.8
# Both into a buffer made once: the conversion work alone (measure and convert
# on our side, as Utf8ToAnsi does), without the cost of first touching the new
# pages of a result, which on a virtual machine can exceed the conversion.
reference "measure+convert, reused buffer, ASCII" BM_Utf8ToCp936ReusedBuffer_Ascii64MiB \
  "iconv, reused buffer" BM_IconvReusedBuffer_Ascii64MiB
reference "measure+convert, reused buffer, half CJK" BM_Utf8ToCp936ReusedBuffer_Mixed64MiB \
  "iconv, reused buffer" BM_IconvReusedBuffer_Mixed64MiB
within "TextBetween, 64 MiB ASCII, markers at end" BM_TextBetween_Ascii64MiB "two memmem calls" \
  BM_Memmem_Ascii64MiB 2
within "TextBetween, 64 MiB with 936, markers at end" BM_TextBetween_Gbk64MiB "two memmem calls" \
  BM_Memmem_Gbk64MiB 2
exit $status
