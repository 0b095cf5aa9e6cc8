#!/bin/bash
# The program's jobs against the media tool run directly on the same inputs:
#   cut:    one ~320 MB file, kept 10-150 s, against "ffmpeg -ss -to -i -c copy";
#   join:   three ~110 MB files of one format, 5-55 s each, against the same
#           three stream copies and the concat run directly;
#   engine: two clips of differing formats re-encoded, against the engine's own
#           filter graph command run directly.
# Times are wall-clock; the ratio is taken of the medians of the rounds (best
# of the rounds beside it); the page cache is warmed first.
# Usage: benchmarks/convert_bench.sh [build-folder] [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/convert_bench"
work=$(mktemp -d "${BENCH_DIR:-/var/tmp}/convert_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$work/out"
ff=(ffmpeg -hide_banner -loglevel error -nostdin)

clip() { # clip NAME SECONDS SIZE RATE
    "${ff[@]}" -y -f lavfi -i "testsrc2=size=$3:rate=$4:duration=$2" \
        -f lavfi -i "sine=frequency=440:duration=$2" \
        -c:v libx264 -preset ultrafast -qp 6 -g "$4" -pix_fmt yuv420p -c:a aac "$work/$1"
}
echo "making media in $work ..."
clip big.mp4 170 1280x720 30
for k in 1 2 3; do clip "j$k.mp4" 60 1280x720 30; done
clip e1.mp4 20 640x360 30
clip e2.mp4 20 320x240 25
ls -l "$work"/*.mp4 | awk '{ printf "  %s %.0f MB\n", $NF, $5 / 1048576 }'
cat "$work"/*.mp4 >/dev/null

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
program_ms() { # program_ms START END FORMATROW FILES...; keeps the engine's command
    "$bench" "$app" "$work/out" "$@" >"$work/last.txt" 2>/dev/null ||
        { echo "the program's job failed: $*" >&2; exit 1; }
    sed -n 's/^engine //p' "$work/last.txt" >"$work/engine_cmd.txt"
    sed -n 's/^ms //p' "$work/last.txt"
}
direct_cut_ms() {
    local t; t=$(now_ms)
    "${ff[@]}" -ss 10 -to 150 -i "$work/big.mp4" -c copy "$work/out/direct.mp4"
    echo $(( $(now_ms) - t ))
}
direct_join_ms() {
    local t k; t=$(now_ms)
    : >"$work/list.txt"
    for k in 1 2 3; do
        "${ff[@]}" -y -ss 5 -to 55 -i "$work/j$k.mp4" -c copy "$work/seg$k.mp4"
        echo "file 'seg$k.mp4'" >>"$work/list.txt"
    done
    "${ff[@]}" -f concat -safe 0 -i "$work/list.txt" -c copy "$work/out/direct.mp4"
    echo $(( $(now_ms) - t ))
}
direct_engine_ms() { # reruns the engine's logged command into another file
    local t args; read -r -a args <"$work/engine_cmd.txt"
    args[-1]="$work/out/direct.${args[-1]##*.}"
    t=$(now_ms)
    "${args[@]}" >/dev/null 2>&1
    echo $(( $(now_ms) - t ))
}
clean() { rm -f "$work"/out/* "$work"/seg*.mp4; }

best() { sort -n | head -1; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
report() { # report NAME PROGRAM_TIMES DIRECT_TIMES TARGET
    local pm dm pb db
    pm=$(tr ' ' '\n' <<<"$2" | median); dm=$(tr ' ' '\n' <<<"$3" | median)
    pb=$(tr ' ' '\n' <<<"$2" | best); db=$(tr ' ' '\n' <<<"$3" | best)
    awk -v n="$1" -v pm="$pm" -v dm="$dm" -v pb="$pb" -v db="$db" -v t="$4" -v pa="$2" -v da="$3" 'BEGIN {
        printf "%-7s median: program %6d ms, direct %6d ms = %.2f x (target <= %s); best: %.2f x   [program: %s; direct: %s]\n",
            n, pm, dm, pm / dm, t, pb / db, pa, da }'
}

cut_p=""; cut_d=""; join_p=""; join_d=""; eng_p=""; eng_d=""
clean; direct_cut_ms >/dev/null; clean
for r in $(seq 1 "$rounds"); do
    cut_d+="$(direct_cut_ms) "; clean
    cut_p+="$(program_ms 10 150 0 "$work/big.mp4") "; clean
    join_d+="$(direct_join_ms) "; clean
    join_p+="$(program_ms 5 55 0 "$work/j1.mp4" "$work/j2.mp4" "$work/j3.mp4") "; clean
    eng_p+="$(program_ms 0 20 1 "$work/e1.mp4" "$work/e2.mp4") "; clean
    eng_d+="$(direct_engine_ms) "; clean
done
report cut "${cut_p% }" "${cut_d% }" 1.3
report join "${join_p% }" "${join_d% }" 1.2
report engine "${eng_p% }" "${eng_d% }" 1.05
