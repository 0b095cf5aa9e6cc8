#!/bin/bash
# Adding N generated files through the list against the same N probes run
# one after another from this shell.
# Usage: benchmarks/list_bench.sh [build-folder] [N] [rounds]
set -euo pipefail
build=${1:-build}
n=${2:-40}
rounds=${3:-3}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/list_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"

for i in $(seq 1 "$n"); do
    ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "testsrc2=size=640x360:rate=25:duration=4" \
        -f lavfi -i "sine=frequency=$((300 + i * 10)):duration=4" \
        -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac "$work/clip$i.mp4"
done
files=("$work"/clip*.mp4)

for r in $(seq 1 "$rounds"); do
    start=$(date +%s%N)
    for f in "${files[@]}"; do
        "$app/ffmpeg" -i "$f" -y -f image2 -t 1.520 "$work/thumb.jpg" </dev/null >/dev/null 2>&1 || true
    done
    seq_ms=$(( ($(date +%s%N) - start) / 1000000 ))
    read -r list_ms gap rows < <("$bench" "$app" "${files[@]}" 2>/dev/null)
    awk -v s="$seq_ms" -v l="$list_ms" -v g="$gap" -v r="$rows" -v k="$r" 'BEGIN {
        printf "round %d: sequential shell %d ms, through the list %d ms (%d rows) = %.2f x, longest event-loop gap %d ms\n",
            k, s, l, r, l / s, g }'
done
echo "targets: at most 0.7 x the sequential time; no gap over 100 ms"
