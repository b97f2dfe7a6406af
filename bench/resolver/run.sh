#!/usr/bin/env bash
# Whole-process timing of tarnwick-resolve on a 20 MiB share page (ASCII, and
# UTF-8 that must be converted) against curl making the same two requests
# (GET with a cookie jar, then the POST; plus iconv for the UTF-8 page). Runs
# alternate in one private network with the sample share service; the
# medians and their ratio are printed, and a ratio above the limit fails.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-15}
limit=1.5

if [ "${TARNWICK_BENCH_INSIDE:-}" != 1 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "resolver bench: the private network namespace needs root" >&2
    exit 1
  fi
  TARNWICK_BENCH_INSIDE=1 exec "$build/tarnwick-private-network" bash "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
service=http://pan.baidu.com

now() { date +%s%N; }

# tarnwick-resolve on one share; its output is checked once, not timed.
ours() { "$build/tarnwick-resolve" "$service$1" >"$work/ours.out"; }

# The same two requests with curl; $5 = 1 converts the page with iconv.
anchor() {
  local path=$1 id=$2 uk=$3 fs=$4 convert=$5 ts=$6 sign=$7
  if [ "$convert" = 1 ]; then
    curl -s -c "$work/jar" "$service$path" | iconv -f utf-8 -t cp936 >"$work/page"
  else
    curl -s -c "$work/jar" "$service$path" -o "$work/page"
  fi
  curl -s -b "$work/jar" -X POST --data "fid_list=%5B%22$fs%22%5D" \
    "$service/share/download?channel=chunlei&clienttype=0&web=1&uk=$uk&shareid=$id&timestamp=$ts&sign=$sign&bdstoken=null" \
    -o "$work/answer"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

status=0
measure() {
  local name=$1 path=$2 expect=$3; shift 3
  ours "$path"
  if ! grep -q "^$expect	http://files.sample-share.test/file/" "$work/ours.out"; then
    echo "resolver bench: unexpected output for $path: $(cat "$work/ours.out")" >&2
    status=1
    return
  fi
  anchor "$path" "$@"
  grep -q '"dlink"' "$work/answer" || { echo "resolver bench: the curl anchor got no dlink" >&2; status=1; return; }
  : >"$work/ours.times"
  : >"$work/anchor.times"
  for _ in $(seq "$runs"); do
    local t0 t1 t2
    t0=$(now); ours "$path"; t1=$(now); anchor "$path" "$@"; t2=$(now)
    echo $(((t1 - t0) / 1000)) >>"$work/ours.times"
    echo $(((t2 - t1) / 1000)) >>"$work/anchor.times"
  done
  local m_ours m_anchor ratio
  m_ours=$(median <"$work/ours.times")
  m_anchor=$(median <"$work/anchor.times")
  ratio=$(awk -v a="$m_ours" -v b="$m_anchor" 'BEGIN { printf "%.2f", a / b }')
  printf '%-26s tarnwick-resolve %8.1f ms   curl anchor %8.1f ms   ratio %s (limit %s, %d runs)\n' \
    "$name" "$(awk -v v="$m_ours" 'BEGIN { print v / 1000 }')" "$(awk -v v="$m_anchor" 'BEGIN { print v / 1000 }')" \
    "$ratio" "$limit" "$runs"
  if awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r > l) }'; then status=1; fi
}

measure "20 MiB ASCII page" /s/1big big.bin 3027 77807 90007 0 1700000360 c0ffee07
measure "20 MiB UTF-8 page" /s/1bigutf8 大文件.bin 3028 77808 90008 1 1700000420 c0ffee08
exit $status
