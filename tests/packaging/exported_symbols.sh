#!/bin/sh
# The shared library exports exactly what the public headers declare: the
# dynamic symbols it defines (demangled) against the checked-in list. An
# internal symbol that leaks, or a public call that went missing, fails.
#   exported_symbols.sh LIBRARY EXPECTED_LIST
set -eu
lib=$1 expected=$2
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
nm -D --defined-only -C "$lib" | cut -d' ' -f3- | LC_ALL=C sort -u >"$actual"
if ! LC_ALL=C sort -u "$expected" | diff -u - "$actual" >"$actual.diff"; then
  echo "exported symbols differ from $expected ('+' exported but not promised, '-' promised but missing):"
  grep '^[-+][^-+]' "$actual.diff" || true
  rm -f "$actual.diff"
  exit 1
fi
rm -f "$actual.diff"
echo "$(wc -l <"$actual") exported symbols, as listed"
