#!/usr/bin/env bash
# Start-up time of the window program, from process start until its window is
# viewable, under a private Xvfb display with a window manager: one warm-up
# run, then the median of five, against the limit of 500 ms and beside a bare
# GTK window of the same size from the same runs. Also the resident memory of
# the program and of its HTML view's helper processes a second after the
# window appears. Exits non-zero when the median is over the limit.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
launcher="$build/bench_app_startup_time"
for program in "$launcher" "$build/bench_app_bare_window" "$build/tarnwick"; do
  [ -x "$program" ] || { echo "app: $program is not built" >&2; exit 1; }
done
limit_ms=500

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
read -r -u "$fd" number
export DISPLAY=":$number"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" "$xvfb" 2>/dev/null; wait 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

# Prints "mapped_ms rss_kib children_rss_kib" for one run.
run_once() {
  "$launcher" "$1" | awk '{ print $2, $4, $6 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_once "$build/tarnwick" >/dev/null
run_once "$build/bench_app_bare_window" >/dev/null
program_runs=()
anchor_runs=()
for _ in 1 2 3 4 5; do
  program_runs+=("$(run_once "$build/tarnwick")")
  anchor_runs+=("$(run_once "$build/bench_app_bare_window")")
done

program_ms=$(printf '%s\n' "${program_runs[@]}" | awk '{ print $1 }' | median)
anchor_ms=$(printf '%s\n' "${anchor_runs[@]}" | awk '{ print $1 }' | median)
rss=$(printf '%s\n' "${program_runs[@]}" | awk '{ print $2 }' | median)
children=$(printf '%s\n' "${program_runs[@]}" | awk '{ print $3 }' | median)

echo "runs (ms): tarnwick $(printf '%s\n' "${program_runs[@]}" | awk '{ print $1 }' | tr '\n' ' ')" \
  "| bare GTK window $(printf '%s\n' "${anchor_runs[@]}" | awk '{ print $1 }' | tr '\n' ' ')"
verdict=within
[ "$program_ms" -le "$limit_ms" ] || verdict=OVER
printf '%-46s %6d ms   %-20s %6d ms   (%s %d ms)\n' "start-up to mapped window, median of 5" \
  "$program_ms" "bare GTK window" "$anchor_ms" "$verdict" "$limit_ms"
printf '%-46s %6d MiB  (HTML view helper processes: %d MiB)\n' "resident memory after start" \
  $((rss / 1024)) $((children / 1024))
[ "$verdict" = within ]
