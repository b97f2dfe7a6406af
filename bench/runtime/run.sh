#!/usr/bin/env bash
# Runs the runtime benchmarks from the build folder given and prints each
# figure beside its anchor from the same run (medians of five repetitions, CPU
# time), with the ratio and the limit it must stay within. Exits non-zero when
# a ratio is over its limit.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/runtime_text_ops_bench"
[ -x "$bench" ] || { echo "runtime: $bench is not built" >&2; exit 1; }

. "$(dirname "$0")/../compare.sh"
run_benchmark "$bench"

linear() {  # label, benchmark name: ns per byte at 8 and 64 MiB
  local small large
  small=$(cpu_ms "$2/8")
  large=$(cpu_ms "$2/64")
  awk -v label="$1" -v s="$small" -v l="$large" 'BEGIN {
    printf "%-46s %7.3f ns/byte at 8 MiB   %7.3f ns/byte at 64 MiB   (64 MiB / 8 MiB per byte: %.2f)\n",
           label, s * 1e6 / (8 * 1048576), l * 1e6 / (64 * 1048576), (l / 64) / (s / 8)
  }'
}

within "FindText, absent 16 bytes, 64 MiB ASCII" BM_FindText_Ascii64MiB memmem BM_Memmem_Ascii64MiB 2
within "FindText, absent 16 bytes, 64 MiB two-byte" BM_FindText_TwoByte64MiB memmem BM_Memmem_TwoByte64MiB 4
within "JoinBytes, 64 MiB from 1024-byte pieces" BM_JoinBytes_Build64MiB std::string::append \
  BM_StringAppend_Build64MiB 1.3
within "JoinText, 64 MiB from 1024-byte pieces" BM_JoinText_Build64MiB std::string::append \
  BM_StringAppend_Build64MiB 1.3
printf "%-46s %9.2f ms   (every candidate at a trail byte)\n" "FindText, 64 MiB of 81 41, needle \"A\\x81\"" \
  "$(cpu_ms BM_FindText_TrailByteCandidates64MiB)"
linear "SplitText on \",\" (one byte in 16)" BM_SplitText
linear "ReplaceText \"Q\", exact" BM_ReplaceText_Exact
linear "ReplaceText \"q\", case ignored" BM_ReplaceText_IgnoreCase
linear "FindTextFromEnd \"Q,\"" BM_FindTextFromEnd
exit $bench_status
