#!/usr/bin/env bash
# Checks that two builds format the same batches into the same bytes:
#   bench/same_output.sh [--mended] OLD_BUILD NEW_BUILD [BATCH...]
# Each build folder holds ub04fmt (and, in one of them, bench/gen). The
# formatted-record file and the run log (less its "Opened on"/"Closed on"
# banner lines) of each batch must be byte-identical. Without BATCH: the
# example batch, with the example reference database, and a generated
# 100k-charge batch. Prints the hashes; exits 1 on the first difference.
#
# --mended compares a build from before the payer mends with one after, on
# batches that hold none of the mends' cases (tests/data/clean_batch.txt):
# the old outputs are mapped through bench/mend_rows.py (service rows on
# the form's grid, 0001 on line 23), and the new build keeps one page a
# claim (--split-long-claims), as the old one did. A build with the claim
# checks runs without them (--no-checks): their findings are new log lines.
set -euo pipefail
mended=0
if [ "${1:-}" = --mended ]; then mended=1; shift; fi
old=$(cd "$1" && pwd); new=$(cd "$2" && pwd)
shift 2
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

gen=""
for b in "$old" "$new"; do [ -x "$b/bench/gen" ] && gen="$b/bench/gen" && break; done
db="$work/reference.db"
sqlite3 -bail "$db" ".read '$src/examples/reference.sql'"

batches=()
if [ $# -gt 0 ]; then
  for b in "$@"; do batches+=("$(basename "$b" .txt):$(cd "$(dirname "$b")" && pwd)/$(basename "$b")"); done
else
  batches=("example:$src/examples/batch.txt")
  if [ -n "$gen" ]; then
    "$gen" --charges "${CHARGES:-100000}" --seed 1 > "$work/gen.txt"
    batches+=("gen:$work/gen.txt")
  else
    echo "no bench/gen in either build: the generated batch is skipped" >&2
  fi
fi

status=0
for entry in "${batches[@]}"; do
  name=${entry%%:*}; batch=${entry#*:}
  for side in old new; do
    build=$old; [ $side = new ] && build=$new
    out="$work/$name.$side"; mkdir -p "$out"
    extra=()
    if [ $side = new ] && [ $mended = 1 ]; then extra=(--split-long-claims); fi
    # The claim checks add their findings to the log; compare without them.
    help=$("$build/ub04fmt" --help 2>&1 || true)
    if [[ $help == *--no-checks* ]]; then extra+=(--no-checks); fi
    "$build/ub04fmt" --out "$out" --file claims.fmt --dsn "$db" --log-level 2 --no-print \
      "${extra[@]}" "$batch" 2>"$out.stderr" || true
    grep -v -e '^"\*\*\* Opened on: ' -e '^"\*\*\* Closed on: ' \
      "$out/QVR_UB04PPA_Format.Log" > "$out/log.cmp"
    if [ $side = old ] && [ $mended = 1 ]; then
      python3 "$src/bench/mend_rows.py" fmt < "$out/claims.fmt" > "$out/claims.mended"
      python3 "$src/bench/mend_rows.py" log < "$out/log.cmp" > "$out/log.mended"
      mv "$out/claims.mended" "$out/claims.fmt"; mv "$out/log.mended" "$out/log.cmp"
    fi
  done
  for f in claims.fmt log.cmp; do
    a=$(sha256sum < "$work/$name.old/$f" | cut -c1-16)
    b=$(sha256sum < "$work/$name.new/$f" | cut -c1-16)
    if [ "$a" = "$b" ]; then echo "same      $name $f $a"
    else echo "DIFFERENT $name $f old $a new $b"; status=1
      diff <(tr -d "\r" < "$work/$name.old/$f") <(tr -d "\r" < "$work/$name.new/$f") | head -20 || true
    fi
  done
done
exit $status
