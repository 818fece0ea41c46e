#!/usr/bin/env bash
# Compares our decode of the embedded pictures with the djpeg program on the same bytes, and on
# the same picture in libjpeg's default progressive scan script (jpegtran -copy all -progressive:
# the same coefficients, so the same pixels): djpeg is timed as a whole process (start to exit),
# ours in-process, both repeated and from a fresh process (the first decode after start). Prints
# medians of wall-clock time and, steadier on a shared machine, of CPU time (user + system), with
# the ratios ours / djpeg on either file.
# Usage: bench/djpeg_ratio.sh <build dir, configured with -DMARVENTA_BUILD_BENCH=ON> [runs]
set -euo pipefail

build=${1:?usage: djpeg_ratio.sh <build dir> [runs]}
runs=${2:-15}
bin=$build/bench
for tool in decode_bench first_decode extract_picture; do
    [[ -x $bin/$tool ]] || { echo "missing $bin/$tool: build with -DMARVENTA_BUILD_BENCH=ON" >&2; exit 1; }
done
for tool in djpeg jpegtran; do
    command -v $tool > /dev/null || { echo "$tool not found (package libjpeg-turbo-progs)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median of column $1 of the lines on stdin.
median() {
    awk -v c="$1" '{ print $c }' | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# One djpeg process, fork to exit: "<wall us> <cpu us>". $EPOCHREALTIME and the `time`
# keyword are bash's own, so no helper process is timed along.
time_djpeg() {
    local TIMEFORMAT='%3U %3S' start end cpu
    start=$EPOCHREALTIME
    cpu=$({ time djpeg -dct int -outfile /dev/null "$1"; } 2>&1)
    end=$EPOCHREALTIME
    awk -v s="${start/./}" -v e="${end/./}" -v u="${cpu% *}" -v k="${cpu#* }" \
        'BEGIN { printf "%d %d\n", e - s, (u + k) * 1000000 }'
}

report() {
    local holder=$1 filter=$2
    local jpeg=$work/$holder.jpg
    local fixed=$work/$holder.default.jpg
    "$bin/extract_picture" "$holder" "$jpeg"
    jpegtran -copy all -progressive -outfile "$fixed" "$jpeg"
    djpeg -dct int -outfile /dev/null "$jpeg"  # warm the page cache
    djpeg -dct int -outfile /dev/null "$fixed"

    # Alternating keeps a change in machine load from favouring any.
    : > "$work/djpeg" && : > "$work/fixed" && : > "$work/first"
    local i
    for ((i = 0; i < runs; i++)); do
        time_djpeg "$jpeg" >> "$work/djpeg"
        time_djpeg "$fixed" >> "$work/fixed"
        "$bin/first_decode" "$holder" >> "$work/first"
    done
    "$bin/decode_bench" --benchmark_filter="^$filter\$" --benchmark_repetitions="$runs" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2> /dev/null |
        awk -F, -v name="\"${filter}_median\"" '$1 == name { print $3, $4 }' > "$work/repeated"

    local -A wall cpu
    for what in djpeg fixed first repeated; do
        wall[$what]=$(median 1 < "$work/$what")
        cpu[$what]=$(median 2 < "$work/$what")
    done
    printf '%s (%d bytes; %d in the default script)\n' "$holder" "$(stat -c %s "$jpeg")" \
        "$(stat -c %s "$fixed")"
    printf '  %-30s wall %7.0f us   cpu %7.0f us\n' "djpeg process" "${wall[djpeg]}" "${cpu[djpeg]}"
    printf '  %-30s wall %7.0f us   cpu %7.0f us\n' "djpeg process, default script" \
        "${wall[fixed]}" "${cpu[fixed]}"
    for what in first repeated; do
        printf '  %-30s wall %7.0f us   cpu %7.0f us   ratio wall %s  cpu %s   default script: wall %s  cpu %s\n' \
            "ours, $what decode" "${wall[$what]}" "${cpu[$what]}" \
            "$(ratio "${wall[$what]}" "${wall[djpeg]}")" "$(ratio "${cpu[$what]}" "${cpu[djpeg]}")" \
            "$(ratio "${wall[$what]}" "${wall[fixed]}")" "$(ratio "${cpu[$what]}" "${cpu[fixed]}")"
    done
}

echo "medians of $runs runs; ratio = ours / djpeg process on the same bytes, then on the default script"
report ProvinceMap BM_ProvinceDecode/real_time
report crowncitymap BM_CrownCityDecode/real_time
