#!/bin/sh
# docs/records.md is what the record tables say today.
#   records_doc_current.sh GEN_RECORDS_DOC LAYOUTS_H RECORDS_MD
set -eu
gen=$1 layouts=$2 doc=$3
fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
"$gen" "$layouts" "$fresh"
if ! diff -u "$doc" "$fresh"; then
  echo "docs/records.md is stale: regenerate it with 'cmake --build build --target records_doc'"
  exit 1
fi
