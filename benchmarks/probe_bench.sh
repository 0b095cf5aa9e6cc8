#!/bin/bash
# Probe overhead: the program's probe of N generated files, one after
# another, against the same probe commands run one file at a time from this
# shell.
# Usage: benchmarks/probe_bench.sh [build-folder] [N] [rounds]
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=${1:-build}
n=${2:-20}
rounds=${3:-3}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/probe_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"

make_clips "$work" "$n"
files=("$work"/clip*.mp4)

bare_best=""
prog_best=""
for r in $(seq 1 "$rounds"); do
    bare=$(bare_probes_ms "$app/ffmpeg" "$work/thumbs" 1 "${files[@]}")
    read -r prog added < <("$bench" "$app" "${files[@]}")
    [ "$added" = "$n" ] || { echo "only $added of $n files were added" >&2; exit 1; }
    echo "round $r: bare ${bare} ms, program ${prog} ms"
    if [ -z "$bare_best" ] || [ "$bare" -lt "$bare_best" ]; then bare_best=$bare; fi
    if [ -z "$prog_best" ] || [ "$prog" -lt "$prog_best" ]; then prog_best=$prog; fi
done
awk -v b="$bare_best" -v p="$prog_best" -v n="$n" 'BEGIN {
    printf "files: %d\nbare runs (best): %d ms (%.1f ms/file)\nprogram probe (best): %d ms (%.1f ms/file)\noverhead: %+.1f %% (target: at most +10 %%)\n",
        n, b, b / n, p, p / n, (p - b) * 100.0 / b }'
