#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined
# behaviour sanitizers) in build-fuzz and runs each for SECONDS, starting from
# its committed corpus. Fails when a target finds a crash, a leak, undefined
# behaviour or a broken invariant; the input is kept in build-fuzz/artifacts.
#
#   tools/fuzz.sh 30              # every target, 30 s each
#   tools/fuzz.sh 600 cookies     # one target, longer
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: tools/fuzz.sh SECONDS [TARGET...]}
shift
build="$root/build-fuzz"
all=(text_ops text_between url cookies utf8 cp936 fetch_headers)
targets=("${@:-${all[@]}}")

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build" -DTARNWICK_SANITIZE=fuzzer >/dev/null
fi
cmake --build "$build" --target tarnwick_fuzz_targets -j "$(nproc)" >/dev/null

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# The fetch target talks to a loopback server only; a network namespace with
# nothing but loopback makes sure that no Location it invents leaves the machine.
isolated() {
  if [ "$(id -u)" -eq 0 ]; then
    unshare --net -- sh -c 'ip link set lo up && exec "$@"' isolated "$@"
  else
    unshare --net --map-root-user -- sh -c 'ip link set lo up && exec "$@"' isolated "$@"
  fi
}

status=0
for target in "${targets[@]}"; do
  work="$build/work/$target"
  mkdir -p "$work" "$build/artifacts"
  run=("$build/${target}_fuzz" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560
       -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-"
       "$work" "$root/tests/fuzz/corpus/$target")
  start=$(date +%s)
  if [ "$target" = fetch_headers ]; then
    isolated "${run[@]}" >"$build/$target.log" 2>&1 && result=ok || result=FAILED
  else
    "${run[@]}" >"$build/$target.log" 2>&1 && result=ok || result=FAILED
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")
  printf '%-14s %-6s %4ss %10s runs\n' "$target" "$result" "$(( $(date +%s) - start ))" "${runs:-?}"
  if [ "$result" != ok ]; then
    status=1
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$build/$target.log" | head -20 || true
  fi
done
exit $status
