#!/bin/bash
# Adding N generated files through the list against the same probe commands
# run from this shell with the same parallelism (P files at a time).
# Usage: benchmarks/list_bench.sh [build-folder] [N] [rounds] [P]
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=${1:-build}
n=${2:-40}
rounds=${3:-5}
parallel=${4:-2}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/list_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"

make_clips "$work" "$n"
files=("$work"/clip*.mp4)

ratios=()
for r in $(seq 1 "$rounds"); do
    # Alternate which side goes first, so a warm cache favours neither.
    if (( r % 2 )); then
        shell_ms=$(bare_probes_ms "$app/ffmpeg" "$work/thumbs" "$parallel" "${files[@]}")
        read -r list_ms gap rows < <("$bench" "$app" "$parallel" "${files[@]}" 2>/dev/null)
    else
        read -r list_ms gap rows < <("$bench" "$app" "$parallel" "${files[@]}" 2>/dev/null)
        shell_ms=$(bare_probes_ms "$app/ffmpeg" "$work/thumbs" "$parallel" "${files[@]}")
    fi
    ratio=$(awk -v s="$shell_ms" -v l="$list_ms" 'BEGIN { printf "%.3f", l / s }')
    ratios+=("$ratio")
    echo "round $r: shell $shell_ms ms, through the list $list_ms ms ($rows rows) = $ratio x," \
        "longest event-loop gap $gap ms"
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "ratio: median %.3f x, min %.3f x, max %.3f x over %d rounds\n", m, v[1], v[NR], NR }'
echo "targets: at most 1.1 x the shell time at the same parallelism; no gap over 100 ms"
