#!/bin/sh
# scripts/configure, on the core alone in a scratch folder: a configure that failed is run again
# by the next command with the same arguments, and an option dropped from the arguments does not
# linger in the cache.
set -e
cd "$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
core="-DMARVENTA_BUILD_UI=OFF -DBUILD_TESTING=OFF -DMARVENTA_BUILD_BENCH=OFF"
cached() { sed -n "s/^$1:[A-Z]*=//p" "$dir/CMakeCache.txt"; }

# No working compiler: CMake stops after writing its cache.
if CC=false CXX=false ./scripts/configure "$dir" $core > "$dir.log" 2>&1; then
    echo "configure with no compiler succeeded"
    exit 1
fi
rm -f "$dir.log"
test -f "$dir/CMakeCache.txt"
test ! -f "$dir/Makefile"
# The same command with a compiler configures instead of taking the cache for a finished tree.
./scripts/configure "$dir" $core > /dev/null
test -f "$dir/Makefile"

./scripts/configure "$dir" $core -DCMAKE_BUILD_TYPE=Debug > /dev/null
test "$(cached CMAKE_BUILD_TYPE)" = Debug
./scripts/configure "$dir" $core > /dev/null
test -z "$(cached CMAKE_BUILD_TYPE)"
echo "configure: recovers from a failed run; follows its arguments"
