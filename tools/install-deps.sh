#!/usr/bin/env bash
# Installs the Debian packages of tools/packages.txt that are missing; quick
# when every one is present.
set -euo pipefail
list="$(dirname "$0")/packages.txt"
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$list")
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q "${missing[@]}"
