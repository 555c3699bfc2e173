#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root and runs what it
# holds: ub04fmt --version, and the library through ctypes.
#   deb_test.sh BUILD_DIR
set -eu
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "deb test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(ls "$scratch"/pkg/*.deb)
dpkg-deb -x "$deb" "$scratch/root"

depends=$(dpkg-deb -f "$deb" Depends)
for d in libcairo2 libfontconfig1 fonts-liberation libcups2 libodbc2 libsqlite3-0; do
  echo "$depends" | grep -q "$d" || fail "Depends lacks $d: $depends"
done
r=$scratch/root/usr
for f in bin/ub04fmt share/man/man1/ub04fmt.1 include/ub04/ub04.h include/ub04/format_class.hpp \
         share/ub04ppa/reference.db; do
  [ -e "$r/$f" ] || fail "the package lacks /usr/$f"
done
lib=$(find "$r" -name 'libQVR_UB04PPA_Format.so.1')
[ -n "$lib" ] || fail "the package lacks the shared library"

version=$(LD_LIBRARY_PATH=$(dirname "$lib") "$r/bin/ub04fmt" --version) ||
  fail "ub04fmt --version failed"
echo "$version" | grep -q "$(dpkg-deb -f "$deb" Version)" || fail "unexpected version: $version"
python3 -c 'import ctypes, sys
lib = ctypes.CDLL(sys.argv[1]); lib.ub04_version.restype = ctypes.c_char_p
print("library", lib.ub04_version().decode())' "$lib" || fail "the packaged library does not load"
echo "package $(basename "$deb"): $version"
