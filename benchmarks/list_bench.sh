#!/bin/bash
# Adding N generated files through the list against the same N probes run
# one after another from this shell.
# Usage: benchmarks/list_bench.sh [build-folder] [N] [rounds]
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=${1:-build}
n=${2:-40}
rounds=${3:-3}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/list_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"

make_clips "$work" "$n"
files=("$work"/clip*.mp4)

for r in $(seq 1 "$rounds"); do
    seq_ms=$(bare_probes_ms "$app/ffmpeg" "$work/thumb.jpg" "${files[@]}")
    read -r list_ms gap rows < <("$bench" "$app" "${files[@]}" 2>/dev/null)
    awk -v s="$seq_ms" -v l="$list_ms" -v g="$gap" -v r="$rows" -v k="$r" 'BEGIN {
        printf "round %d: sequential shell %d ms, through the list %d ms (%d rows) = %.2f x, longest event-loop gap %d ms\n",
            k, s, l, r, l / s, g }'
done
echo "targets: at most 0.7 x the sequential time; no gap over 100 ms"
