#!/bin/sh
# docs/checks.md is what the rule table says today.
#   checks_doc_current.sh GEN_CHECKS_DOC CHECKS_MD
set -eu
gen=$1 doc=$2
fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
"$gen" "$fresh"
if ! diff -u "$doc" "$fresh"; then
  echo "docs/checks.md is stale: regenerate it with 'cmake --build build --target checks_doc'"
  exit 1
fi
