#!/bin/bash
# Selecting a row until the player's first position line for the loaded file,
# against starting the same player program on the same file from this shell
# and asking it for the time until it answers with a duration. Also the peak
# memory of the program while it previews, and of the player.
# Runs under its own Xvfb. Usage: benchmarks/preview_bench.sh [build-folder] [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-6}
if [ -z "${SPLICORA_BENCH_IN_X:-}" ]; then
    exec env SPLICORA_BENCH_IN_X=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
fi
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/preview_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb
mkdir -p "$TMPDIR"
for name in a b; do
    ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=30" -f lavfi -i "sine=duration=30" \
        -c:v libx264 -preset ultrafast -g 30 -pix_fmt yuv420p -c:a aac "$work/$name.mp4"
done

now_ns() { date +%s%N; }
shell_ms() { # the player on FILE, asked for the time until a duration shows
    local start line duration
    start=$(now_ns)
    coproc PLAYER { FONTCONFIG_FILE="$app/fonts/fonts.conf" "$app/ffplay" -i "$1" -volume 80 2>/dev/null; }
    while :; do
        echo time >&"${PLAYER[1]}"
        if read -t 0.04 -r line <&"${PLAYER[0]}"; then
            duration=${line##*Duration:}
            if [[ $line == Current:* ]] && awk -v d="$duration" 'BEGIN { exit !(d > 0) }'; then
                break
            fi
        fi
    done
    echo $(( ($(now_ns) - start) / 1000000 ))
    echo exit >&"${PLAYER[1]}"
    wait "$PLAYER_PID" 2>/dev/null || true
}

shell=""
for r in $(seq 1 "$rounds"); do
    f=$([ $((r % 2)) -eq 1 ] && echo a || echo b)
    shell+="$(shell_ms "$work/$f.mp4") "
done
out=$("$bench" "$app" "$rounds" "$work/a.mp4" "$work/b.mp4")
program=$(sed -n 's/^select //p' <<<"$out" | tr '\n' ' ')
best() { tr ' ' '\n' | grep -v '^$' | sort -n | head -1; }
median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v pb="$(best <<<"$program")" -v sb="$(best <<<"$shell")" \
    -v pm="$(median <<<"$program")" -v sm="$(median <<<"$shell")" -v pa="$program" -v sa="$shell" 'BEGIN {
    printf "select to first position: program best %d ms, median %d ms; shell best %d ms, median %d ms\n", pb, pm, sb, sm
    printf "ratio (median) %.2f x, (best) %.2f x (target <= 1.2)   [program: %s; shell: %s]\n", pm / sm, pb / sb, pa, sa }'
sed -n 's/^program_kib /peak memory of the program while previewing: /p; s/^player_kib /peak memory of the player program: /p' <<<"$out" |
    awk '{ printf "%s%.1f MiB\n", substr($0, 1, index($0, ":") + 1), $NF / 1024 }'
