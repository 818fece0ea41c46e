#!/bin/sh
# Copies the program alone into an empty folder and runs it there offscreen until its first
# paint: it needs no file beside it.
set -e
binary="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$binary" "$dir/marventa"
cd "$dir"
out=$(QT_QPA_PLATFORM=offscreen MARVENTA_EXIT_AFTER_FIRST_PAINT=1 timeout 60 ./marventa)
echo "$out"
[ "$out" = "painted ProvinceMap 3248x2633" ]
[ "$(ls)" = "marventa" ]  # and wrote nothing
