#!/usr/bin/env bash
# Builds the project with a sanitizer (g++) and runs tests under it; any
# report fails the test that caused it.
#
#   tools/run-sanitized.sh address   # build-asan: every test, ASan + UBSan + leaks
#   tools/run-sanitized.sh thread    # build-tsan: the concurrency tests, TSan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:?usage: tools/run-sanitized.sh address|thread}
jobs=${JOBS:-$(nproc)}
supp="$root/tests/sanitizers"

case "$mode" in
  address) build="$root/build-asan" ;;
  thread) build="$root/build-tsan" ;;
  *) echo "unknown sanitizer: $mode" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNWICK_SANITIZE="$mode" >/dev/null

# Whole allocation stacks, even through libraries built without frame
# pointers, so that a leak suppression names exactly whose memory it is.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# report_mutex_bugs=0: GLib's own C library calls are ignored (tsan.supp), and
# g_mutex_unlock tail-calls pthread_mutex_unlock, so an unlock through it
# reads as one from its caller of a mutex never locked. Data races and lock
# order inversions are still reported.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:report_mutex_bugs=0:suppressions=$supp/tsan.supp"

if [ "$mode" = address ]; then
  cmake --build "$build" -j "$jobs"
  cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 900
else
  mapfile -t tests < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$supp/concurrency_tests.txt")
  # Only what these tests run is built: the test programs and, through their
  # dependencies, the programs they drive.
  cmake --build "$build" -j "$jobs" --target "${tests[@]}"
  pattern="^($(IFS='|'; echo "${tests[*]}"))\$"
  cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 900 -R "$pattern"
fi
