#!/bin/sh
# Installs the build into a scratch DESTDIR and builds and runs each example
# host against the installed tree only: the C host through pkg-config (shared
# and static), the C++ host through find_package(UB04PPA) (shared and
# static), the Python host through ctypes. A missing or wrong install rule
# fails here.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1 src=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/opt/ub04ppa
root=$scratch/root$prefix

fail() { echo "install test: $*" >&2; exit 1; }

DESTDIR=$scratch/root cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
  { cat "$scratch/install.log"; fail "cmake --install failed"; }

pc=$(find "$root" -name ub04ppa.pc)
[ -n "$pc" ] || fail "no ub04ppa.pc installed"
libdir=$(dirname "$(dirname "$pc")")
for f in "$root/bin/ub04fmt" "$root/share/man/man1/ub04fmt.1" "$libdir/libQVR_UB04PPA_Format.a" \
         "$libdir/libQVR_UB04PPA_Format.so" "$libdir/libQVR_UB04PPA_Format.so.1" \
         "$libdir/cmake/UB04PPA/UB04PPAConfig.cmake" "$root/share/ub04ppa/batch.txt" \
         "$root/share/ub04ppa/reference.db" "$root/share/doc/ub04ppa/records.md"; do
  [ -e "$f" ] || fail "not installed: ${f#"$scratch/root"}"
done
[ "$(readlink "$libdir/libQVR_UB04PPA_Format.so.1")" = "libQVR_UB04PPA_Format.so.$(
  sed -n 's/^Version: //p' "$pc")" ] || fail "the soname link does not name the library"

# Every public header compiles on its own, in the oldest language it promises.
for h in ub04.h classes.h export.h version.h; do
  echo "#include <ub04/$h>" | cc -std=c99 -Wall -Wextra -Werror -fsyntax-only -I"$root/include" -x c - ||
    fail "ub04/$h does not compile on its own as C99"
done
for h in ub04.h classes.h format_class.hpp; do
  echo "#include <ub04/$h>" | c++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I"$root/include" -x c++ - ||
    fail "ub04/$h does not compile on its own as C++17"
done

batch=$root/share/ub04ppa/batch.txt
# The hosts format the example batch; the last line of a whole file is "T".
check_run() {  # NAME OUTDIR COMMAND...
  name=$1 out=$2
  shift 2
  mkdir -p "$out"
  "$@" >"$scratch/$name.log" 2>&1 || { cat "$scratch/$name.log"; fail "$name failed"; }
  tail -n 1 "$out/claims.fmt" | grep -q '^"T"' || fail "$name wrote no whole formatted-record file"
  [ -s "$out/claims.pdf" ] || fail "$name printed nothing"
}

export PKG_CONFIG_PATH="$libdir/pkgconfig"
cp -r "$src/examples/hosts/c" "$scratch/c"
make -s -C "$scratch/c" host host_static >/dev/null || fail "the C host does not build with pkg-config"
readelf -d "$scratch/c/host" | grep -q 'NEEDED.*libQVR_UB04PPA_Format.so.1' ||
  fail "the C host does not load the library by its soname"
readelf -d "$scratch/c/host_static" | grep -q 'libQVR_UB04PPA_Format' &&
  fail "the static C host still needs the shared library"
LD_LIBRARY_PATH=$libdir check_run c_host "$scratch/out-c" "$scratch/c/host" "$batch" "$scratch/out-c"
check_run c_host_static "$scratch/out-cs" "$scratch/c/host_static" "$batch" "$scratch/out-cs"

cp -r "$src/examples/hosts/cpp" "$scratch/cpp"
cmake -S "$scratch/cpp" -B "$scratch/cpp/build" -DCMAKE_PREFIX_PATH="$root" >"$scratch/cpp.log" 2>&1 &&
  cmake --build "$scratch/cpp/build" >>"$scratch/cpp.log" 2>&1 ||
  { cat "$scratch/cpp.log"; fail "the C++ host does not build with find_package(UB04PPA)"; }
LD_LIBRARY_PATH=$libdir check_run cpp_host "$scratch/out-cpp" "$scratch/cpp/build/host" "$batch" "$scratch/out-cpp"
check_run cpp_host_static "$scratch/out-cpps" "$scratch/cpp/build/host_static" "$batch" "$scratch/out-cpps"

check_run python_host "$scratch/out-py" python3 "$src/examples/hosts/python/host.py" "$batch" \
  "$scratch/out-py" "$libdir/libQVR_UB04PPA_Format.so.1"

# The C and C++ hosts heard of every claim through their callbacks.
for name in c_host cpp_host; do
  [ "$(grep -c '^claim [0-9]*: account ' "$scratch/$name.log")" = 6 ] ||
    { cat "$scratch/$name.log"; fail "$name did not list the example's six claims"; }
done

# Every host formatted the same claims.
for d in out-cs out-cpp out-cpps out-py; do
  cmp -s "$scratch/out-c/claims.fmt" "$scratch/$d/claims.fmt" || fail "$d differs from the C host's file"
done
echo "installed tree: C, C++ (shared and static) and Python hosts formatted the example batch"
