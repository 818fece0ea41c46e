#!/usr/bin/env bash
# Compares our decode of the embedded pictures with the djpeg program on the same bytes:
# djpeg is timed as a whole process (start to exit), ours in-process, repeated and from a
# fresh process (the first decode after start). Prints medians and the ratios ours / djpeg.
# Usage: bench/djpeg_ratio.sh <build dir, configured with -DMARVENTA_BUILD_BENCH=ON> [runs]
set -euo pipefail

build=${1:?usage: djpeg_ratio.sh <build dir> [runs]}
runs=${2:-15}
bin=$build/bench
for tool in decode_bench first_decode extract_picture; do
    [[ -x $bin/$tool ]] || { echo "missing $bin/$tool: build with -DMARVENTA_BUILD_BENCH=ON" >&2; exit 1; }
done
command -v djpeg > /dev/null || { echo "djpeg not found (package libjpeg-turbo-progs)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Microseconds of one djpeg process, fork to exit ($EPOCHREALTIME: no helper process timed).
time_djpeg() {
    local start=$EPOCHREALTIME
    djpeg -dct int -outfile /dev/null "$1"
    local end=$EPOCHREALTIME
    echo $(( (${end/./} - ${start/./}) ))
}

report() {
    local holder=$1 filter=$2
    local jpeg=$work/$holder.jpg
    "$bin/extract_picture" "$holder" "$jpeg"

    djpeg -dct int -outfile /dev/null "$jpeg"  # warm the page cache
    local djpeg_us first_us repeated_us
    djpeg_us=$(for ((i = 0; i < runs; i++)); do time_djpeg "$jpeg"; done | median)
    first_us=$(for ((i = 0; i < runs; i++)); do "$bin/first_decode" "$holder"; done | median)
    repeated_us=$("$bin/decode_bench" --benchmark_filter="^$filter\$" \
        --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2> /dev/null |
        awk -F, -v name="\"${filter}_median\"" '$1 == name { print $3 }')

    printf '%-12s %7d bytes  djpeg %8.0f us  first decode %8.0f us (%.2f x)  repeated %8.0f us (%.2f x)\n' \
        "$holder" "$(stat -c %s "$jpeg")" "$djpeg_us" \
        "$first_us" "$(awk -v a="$first_us" -v b="$djpeg_us" 'BEGIN { print a / b }')" \
        "$repeated_us" "$(awk -v a="$repeated_us" -v b="$djpeg_us" 'BEGIN { print a / b }')"
}

echo "median of $runs runs; ratio = ours / djpeg process (target: province <= 0.8)"
report ProvinceMap BM_ProvinceDecode/real_time
report crowncitymap BM_CrownCityDecode/real_time
