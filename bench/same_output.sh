#!/usr/bin/env bash
# Checks that two builds format the same batches into the same bytes:
#   bench/same_output.sh OLD_BUILD NEW_BUILD
# Each build folder holds ub04fmt (and, in one of them, bench/gen). The
# formatted-record file and the run log (less its "Opened on"/"Closed on"
# banner lines) of the example batch, with the example reference database,
# and of a generated 100k-charge batch must be byte-identical. Prints the
# hashes; exits 1 on the first difference.
set -euo pipefail
old=$(cd "$1" && pwd); new=$(cd "$2" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

gen=""
for b in "$old" "$new"; do [ -x "$b/bench/gen" ] && gen="$b/bench/gen" && break; done
db="$work/reference.db"
sqlite3 -bail "$db" ".read '$src/examples/reference.sql'"

batches=("example:$src/examples/batch.txt")
if [ -n "$gen" ]; then
  "$gen" --charges "${CHARGES:-100000}" --seed 1 > "$work/gen.txt"
  batches+=("gen:$work/gen.txt")
else
  echo "no bench/gen in either build: the generated batch is skipped" >&2
fi

status=0
for entry in "${batches[@]}"; do
  name=${entry%%:*}; batch=${entry#*:}
  for side in old new; do
    build=$old; [ $side = new ] && build=$new
    out="$work/$name.$side"; mkdir -p "$out"
    "$build/ub04fmt" --out "$out" --file claims.fmt --dsn "$db" --log-level 2 --no-print \
      "$batch" 2>"$out.stderr" || true
    grep -v -e '^"\*\*\* Opened on: ' -e '^"\*\*\* Closed on: ' \
      "$out/QVR_UB04PPA_Format.Log" > "$out/log.cmp"
  done
  for f in claims.fmt log.cmp; do
    a=$(sha256sum < "$work/$name.old/$f" | cut -c1-16)
    b=$(sha256sum < "$work/$name.new/$f" | cut -c1-16)
    if [ "$a" = "$b" ]; then echo "same      $name $f $a"
    else echo "DIFFERENT $name $f old $a new $b"; status=1
      diff <(tr -d '\r' < "$work/$name.old/$f") <(tr -d '\r' < "$work/$name.new/$f") | head -20
    fi
  done
done
exit $status
