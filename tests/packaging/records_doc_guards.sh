#!/bin/sh
# The record reference leaves no member unexplained: the generator refuses a
# layouts.h that names a member the notes do not explain, and one that takes
# the name away from a member the notes explain.
#   records_doc_guards.sh GEN_RECORDS_DOC LAYOUTS_H
set -eu
gen=$1 layouts=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# refused SED_EXPRESSION REASON: the header edited so must be refused for REASON.
refused() {
  sed "$1" "$layouts" > "$work/layouts.h"
  cmp -s "$layouts" "$work/layouts.h" && { echo "the edit '$1' changed nothing"; exit 1; }
  if "$gen" "$work/layouts.h" - > /dev/null 2> "$work/err"; then
    echo "accepted a header edited with '$1'"
    exit 1
  fi
  grep -q "$2" "$work/err" || { echo "refused '$1' for another reason:"; cat "$work/err"; exit 1; }
}

refused 's/AdmissionSource = 19, Field20 = 20,/AdmissionSource = 19, Unexplained = 20,/' \
  'Practice: `Unexplained` has no note'
refused 's/ChargeAmount = 43,/Field43 = 43,/' 'Charge: `Field43` has a note'
