#!/bin/sh
# Runs the generator twice into scratch folders and compares both runs with each other and with
# the committed pictures. Usage: tools/check_determinism.sh [build dir with marventa-generate]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
generator=${1:-"$root/build-world"}/tools/marventa-generate
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The generator rewrites the province's tables in place, so each run starts from a copy.
for run in a b; do
    mkdir -p "$scratch/$run/catalogue"
    cp -r "$root/catalogue/tables" "$scratch/$run/catalogue/"
    "$generator" "$scratch/$run" >/dev/null 2>&1
done
status=0
for file in pictures/assets/province.jpg pictures/assets/overview.bmp \
    pictures/assets/tolvane.jpg pictures/assets/merrowick.jpg pictures/assets/hathmoor.jpg \
    pictures/assets/volmarren.jpg pictures/assets/dunmaris.jpg pictures/assets/crowncity.jpg \
    pictures/assets/saltreach.jpg pictures/assets/orlheim.jpg ui/icons/marventa.ico \
    ui/icons/marventa-16.png ui/icons/marventa-32.png ui/icons/marventa-48.png \
    ui/icons/marventa-64.png ui/icons/marventa-128.png ui/icons/marventa-256.png \
    $(cd "$root" && ls catalogue/tables/*.h); do
    if ! cmp -s "$scratch/a/$file" "$scratch/b/$file"; then
        echo "differs between runs: $file"
        status=1
    elif ! cmp -s "$scratch/a/$file" "$root/$file"; then
        echo "differs from the committed file: $file"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "all pictures and generated tables identical"
exit "$status"
