#!/usr/bin/env bash
# make demo: resolves two sample share links with tarnwick-resolve against the
# sample share service, in a private network namespace where the service's
# host name points at 127.0.0.1. Needs no network; needs root for unshare.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
for program in tarnwick-resolve tarnwick-private-network tarnwick-share-service; do
  if [ ! -x "$build/$program" ]; then
    echo "demo: $build/$program is missing; run make build first" >&2
    exit 1
  fi
done
if [ "$(id -u)" -ne 0 ]; then
  echo "demo: the private network namespace needs root; run: sudo make demo" >&2
  exit 1
fi

links=(http://pan.baidu.com/s/1utf8 http://pan.baidu.com/s/1gbk)
echo "Sample share service on pan.baidu.com:80 (127.0.0.1 inside a private network namespace)"
echo
# shellcheck disable=SC2016  # expanded by the inner shell
"$build/tarnwick-private-network" bash -c '
  resolve=$1; shift
  echo "\$ tarnwick-resolve $*"
  "$resolve" "$@"
  echo
  echo "\$ tarnwick-resolve --json $*"
  "$resolve" --json "$@"
' demo "$build/tarnwick-resolve" "${links[@]}"
