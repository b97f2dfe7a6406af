#!/usr/bin/env bash
# Runs every benchmark area's run.sh against the build folder given; each
# prints its figures beside their anchors from the same run.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
status=0
for area in runtime web fetch app resolver; do
  script="$here/$area/run.sh"
  [ -f "$script" ] || continue
  echo "== $area"
  bash "$script" "$build" || status=1
done
exit $status
