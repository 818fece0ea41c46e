#!/bin/sh
# Runs each fuzzer for a while from its committed seeds: run.sh <fuzz build dir> <seconds> [name...]
# New inputs go to a scratch corpus in the build dir (the seeds stay as committed); a crashing,
# leaking or hanging input is kept there as an artifact and fails the run.
set -e
build="$1"
seconds="$2"
shift 2
here=$(cd "$(dirname "$0")" && pwd)
names=${*:-"picture_stream jpeg_decode coordinate"}
for name in $names; do
    work="$build/fuzz-work/$name"
    artifacts="$build/fuzz-artifacts"
    mkdir -p "$work" "$artifacts"
    case $name in
        coordinate) max_len=64 ;;
        *) max_len=8192 ;;
    esac
    dict=""
    if [ -f "$here/$name.dict" ]; then
        dict="-dict=$here/$name.dict"
    fi
    echo "fuzz: $name for ${seconds}s"
    # shellcheck disable=SC2086
    "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$artifacts/$name-" $dict \
        "$work" "$here/corpus/$name" 2>"$build/fuzz-$name.log" ||
        { tail -n 60 "$build/fuzz-$name.log"; echo "fuzz: $name FAILED"; exit 1; }
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' \
        "$build/fuzz-$name.log" || true
done
