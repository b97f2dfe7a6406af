#!/usr/bin/env bash
# Reads the ELF headers of the programs as `cmake --install` lays them out,
# and of the programs named on the command line, and fails when one of them
# lacks a hardening feature: PIE, full RELRO (RELRO and BIND_NOW), the stack
# protector, FORTIFY_SOURCE.
#
#   check_hardening.sh BUILD_DIR [PROGRAM...]
set -uo pipefail
build=${1:?usage: check_hardening.sh BUILD_DIR [PROGRAM...]}
shift
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
if ! cmake --install "$build" --prefix "$prefix" >/dev/null; then
  echo "cmake --install failed" >&2
  exit 1
fi

programs=()
for file in "$prefix"/bin/*; do
  [ -f "$file" ] && head -c 4 "$file" | grep -q 'ELF' && programs+=("$file")
done
for file in "$@"; do
  [ -e "$prefix/bin/$(basename "$file")" ] || programs+=("$file")
done

status=0
failed=0
fail() {
  echo "FAIL $1: $2"
  failed=1
  status=1
}
for program in "${programs[@]}"; do
  if [ ! -f "$program" ]; then
    fail "$program" "missing"
    continue
  fi
  header=$(readelf -hW "$program")
  dynamic=$(readelf -dW "$program")
  segments=$(readelf -lW "$program")
  symbols=$(readelf --dyn-syms -W "$program")
  name=$(basename "$program")
  failed=0
  grep -q 'Type: *DYN' <<<"$header" && grep -q 'FLAGS_1.*PIE' <<<"$dynamic" || fail "$name" "not a position-independent executable"
  grep -q 'GNU_RELRO' <<<"$segments" || fail "$name" "no RELRO segment"
  grep -q -E '\(FLAGS\).*BIND_NOW|FLAGS_1.*NOW' <<<"$dynamic" || fail "$name" "no BIND_NOW (lazy binding leaves the GOT writable)"
  grep -q ' __stack_chk_fail@' <<<"$symbols" || fail "$name" "no stack protector (__stack_chk_fail not used)"
  # A fortified build calls the checking variants (__memcpy_chk, __snprintf_chk, ...).
  grep -E ' __[a-z0-9_]+_chk@' <<<"$symbols" | grep -v -q '__stack_chk_fail' ||
    fail "$name" "no FORTIFY_SOURCE (no __*_chk function used)"
  [ $failed -eq 0 ] && echo "ok   $name"
done
[ ${#programs[@]} -gt 0 ] || fail "-" "no programs to check"
exit $status
