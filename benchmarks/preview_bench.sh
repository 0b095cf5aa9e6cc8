#!/bin/bash
# Clicking the row that is not on preview (while the other file plays) until
# the player reports the clicked file's duration, against the same player
# program started by the driver itself on the same file, with the arguments
# the program builds, into a plain window of the video window's size, with
# the program's environment, asked for the time every 15 ms until it answers
# with a duration. Both sides run in one driver, round by round, alternating
# which goes first. Also the peak memory of the program while it previews,
# and of the player.
#
# While the player alone starts, the program's own preview is paused (its
# player stays open but idle), and the previous player alone has been told
# "exit" and reaped; while the program's side runs, no player alone is left.
#
# Checks: every round of both sides gives a value within 20 s; each reported
# duration is the clicked file's duration from ffprobe within 0.1 s (the two
# files differ in length, so the old file's duration would not pass); both
# sides start the player with the same arguments but the window id; no
# player started during the run is left afterwards.
#
# Runs under its own Xvfb. Usage: benchmarks/preview_bench.sh BUILD [rounds]
set -euo pipefail
build=${1:?usage: preview_bench.sh BUILD [rounds]}
rounds=${2:-10}
if [ -z "${SPLICORA_BENCH_IN_X:-}" ]; then
    exec env SPLICORA_BENCH_IN_X=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
fi
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/preview_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=xcb
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

# Two lengths, so that a duration from the wrong file shows.
declare -A expected
for clip in a:30 b:20; do
    name=${clip%%:*} length=${clip##*:}
    ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$length" \
        -f lavfi -i "sine=duration=$length" \
        -c:v libx264 -preset ultrafast -g 30 -pix_fmt yuv420p -c:a aac "$work/$name.mp4"
    expected[$work/$name.mp4]=$(ffprobe -v error -show_entries format=duration -of csv=p=0 \
        "$work/$name.mp4")
done

status=0
out=$("$bench" "$app" "$rounds" "$work/a.mp4" "$work/b.mp4") || status=$?
fail() {
    echo "preview_bench: $*" >&2
    exit 1
}

# No player of the run may be left, whatever the driver said.
left=""
for pid in $(sed -n 's/^player_pid //p' <<<"$out"); do
    if [[ "$(readlink "/proc/$pid/exe" 2>/dev/null)" == "$app/ffplay"* ]]; then
        left+=" $pid"
    fi
done
[ -z "$left" ] || fail "players left running after the run:$left"
[ "$status" -eq 0 ] || fail "the driver failed (exit $status); see its message above"

for side in program baseline; do
    count=$(grep -c "^$side " <<<"$out" || true)
    [ "$count" -eq "$rounds" ] || fail "$side: $count of $rounds rounds gave a value"
    while read -r _ round ms duration file; do
        want=${expected[$file]:-}
        [ -n "$want" ] || fail "$side round $round: unknown file $file"
        awk -v d="$duration" -v w="$want" 'BEGIN { exit !(d - w <= 0.1 && w - d <= 0.1) }' ||
            fail "$side round $round: duration $duration s for $(basename "$file"), ffprobe says $want s"
    done < <(grep "^$side " <<<"$out")
done

# Both sides of a round on one line, in the order they ran.
awk '$1 == "program" || $1 == "baseline" {
        n = split($5, path, "/")
        line[$2] = line[$2] sprintf("%s%s %s ms", line[$2] == "" ? "" : ", ", $1, $3)
        file[$2] = path[n] }
    END { for (r = 1; r in line; ++r) printf "round %d (%s): %s\n", r, file[r], line[r] }' <<<"$out"

# median, min and max of the ms column of one side
stats() {
    grep "^$1 " <<<"$out" | awk '{ print $3 }' | sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}
read -r pm pmin pmax < <(stats program)
read -r bm bmin bmax < <(stats baseline)
echo "click to first duration, $rounds rounds, interleaved, alternating first" \
    "(video window $(sed -n 's/^video_window //p' <<<"$out")):"
echo "  program (click on the other row while one plays): median $pm ms (min $pmin, max $pmax)"
echo "  player alone (program's preview paused):           median $bm ms (min $bmin, max $bmax)"
awk -v p="$pm" -v b="$bm" 'BEGIN { printf "  ratio of medians %.2f x (target: at most 1.1 x)\n", p / b }'
sed -n 's/^program_kib /peak memory of the program while previewing: /p; s/^player_kib /peak memory of the player program: /p' <<<"$out" |
    awk '{ printf "%s%.1f MiB\n", substr($0, 1, index($0, ":") + 1), $NF / 1024 }'
