# Sourced by the benchmark areas' run.sh: runs a Google Benchmark program once
# and prints each figure beside its anchor from the same run (medians of five
# repetitions, CPU time). A figure that misses its bound sets bench_status.

bench_out=""
bench_status=0

run_benchmark() {  # program
  bench_out=$("$1" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.2 --benchmark_time_unit=ms 2>/dev/null)
}

# The median CPU time of a benchmark, in ms.
cpu_ms() {
  awk -v name="$1_median" '$1 == name { print $4 }' <<<"$bench_out"
}

# Time against the anchor's: must be at most `limit` times it.
within() {  # label, figure, anchor label, anchor, limit
  awk -v label="$1" -v f="$(cpu_ms "$2")" -v aname="$3" -v a="$(cpu_ms "$4")" -v limit="$5" 'BEGIN {
    ratio = f / a
    verdict = ratio <= limit ? "within" : "OVER"
    printf "%-46s %9.2f ms   %-26s %9.2f ms   ratio %5.2f  (%s %.1fx)\n", label, f, aname, a, ratio, verdict, limit
    exit ratio <= limit ? 0 : 1
  }' || bench_status=1
}

# Throughput against the anchor's: must be at least `floor` times it.
throughput() {  # label, figure, anchor label, anchor, floor
  awk -v label="$1" -v f="$(cpu_ms "$2")" -v aname="$3" -v a="$(cpu_ms "$4")" -v floor="$5" 'BEGIN {
    speed = a / f
    verdict = speed >= floor ? "meets" : "BELOW"
    printf "%-46s %9.2f ms   %-26s %9.2f ms   throughput %5.2fx  (%s %.1fx)\n", label, f, aname, a, speed, verdict, floor
    exit speed >= floor ? 0 : 1
  }' || bench_status=1
}
