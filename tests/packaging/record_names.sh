#!/bin/sh
# Code outside records/ reads record members by the names that say what they
# hold: a FieldNN member is one that only the parser handles, so a read of
# one elsewhere means a member went unnamed.
#   record_names.sh SOURCE_DIR
set -eu
cd "$1"
found=0
for dir in */; do
  dir=${dir%/}
  # records/ itself, and build folders inside the tree
  [ "$dir" = records ] && continue
  [ -f "$dir/CMakeCache.txt" ] && continue
  if grep -rnE '\b[a-z_]+::Field[0-9]+' --include='*.c' --include='*.cpp' --include='*.h' \
       --include='*.hpp' "$dir"; then
    found=1
  fi
done
if [ $found -ne 0 ]; then
  echo "record members read by FieldNN outside records/: give them names in records/layouts.h"
  exit 1
fi
