#!/usr/bin/env bash
# Runs the web benchmarks from the build folder given and prints each figure
# beside its anchor from the same run (medians of five repetitions, CPU time),
# with the ratio and the limit it must stay within. Exits non-zero when a
# figure misses its limit.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/web_bench"
[ -x "$bench" ] || { echo "web: $bench is not built" >&2; exit 1; }

. "$(dirname "$0")/../compare.sh"
run_benchmark "$bench"

# A figure shown for reference, without a limit.
reference() {  # label, figure, anchor label, anchor
  awk -v label="$1" -v f="$(cpu_ms "$2")" -v aname="$3" -v a="$(cpu_ms "$4")" 'BEGIN {
    printf "%-46s %9.2f ms   %-26s %9.2f ms   throughput %5.2fx  (reference)\n", label, f, aname, a, a / f
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
exit $bench_status
