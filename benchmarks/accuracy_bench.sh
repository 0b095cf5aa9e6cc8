#!/bin/bash
# How exactly and how fast lossless cuts and joins keep the chosen ranges.
# For each corpus file and cut mode: the requested and kept range, the error
# of the result's start and length in frames and milliseconds, the share of
# picture bytes copied rather than encoded again, and the time against a plain
# stream copy of the same range ("ffmpeg -ss -to -i -c copy"). Then joins of 3
# and 50 files against one ffmpeg pass over a concat list with in and out
# points. Rounds are interleaved, medians printed with [min-max]; every result
# of the program is checked (decoding, packet order, length, frame count) and
# the script stops with an error on a wrong one.
# Usage: benchmarks/accuracy_bench.sh [build-folder] [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
driver="$(cd "$build/benchmarks" && pwd)/cut_driver"
work=$(mktemp -d "${BENCH_DIR:-/var/tmp}/accuracy_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR" "$work/out"
ff=(ffmpeg -hide_banner -loglevel error -nostdin)
probe=(ffprobe -v error)

fail() { echo "FAILED: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# stats MS...: "median [min-max]"
stats() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%d [%d-%d]", m, v[1], v[NR] }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

src() { # src NAME SECONDS TRACKS CODEC-ARGS...
    local name=$1 seconds=$2 tracks=$3 t
    shift 3
    local args=(-f lavfi -i "testsrc2=size=640x360:rate=25:duration=$seconds")
    for t in $(seq 1 "$tracks"); do
        args+=(-f lavfi -i "sine=frequency=$((330 + 110 * t)):duration=$seconds")
    done
    local maps=(-map 0:v)
    [[ " $* " == *" -vn "* ]] && maps=()
    for t in $(seq 1 "$tracks"); do maps+=(-map "$t:a"); done
    "${ff[@]}" -y "${args[@]}" "${maps[@]}" "$@" "$work/$name"
}
echo "making media in $work ..."
h264=(-c:v libx264 -preset veryfast -g 50 -keyint_min 50 -sc_threshold 0 -bf 3 -pix_fmt yuv420p)
src h264.mp4 90 1 "${h264[@]}" -c:a aac
src hevc.mov 90 1 -c:v libx265 -preset ultrafast -tag:v hvc1 -pix_fmt yuv420p \
    -x265-params keyint=50:min-keyint=50:scenecut=0:open-gop=0:log-level=error -c:a aac
src vp9.webm 90 1 -c:v libvpx-vp9 -g 50 -deadline realtime -cpu-used 8 -c:a libopus
src mpeg4.avi 90 1 -c:v mpeg4 -g 50 -q:v 4 -c:a libmp3lame
src tracks.mkv 90 2 "${h264[@]}" -c:a aac
src tone.mp3 90 1 -vn -c:a libmp3lame
cat "$work"/*.* >/dev/null

# check RESULT KEPT-SECONDS FRAMES JOINS: fails loudly on a result that does
# not decode cleanly, whose packets go backwards, or whose length or frame
# count is off by more than a frame per join.
check() {
    local result=$1 kept=$2 frames=$3 joins=$4 errors span count
    errors=$("${ff[@]}" -v error -i "$result" -f null - 2>&1 | head -3)
    [ -z "$errors" ] || fail "$result decodes with errors: $errors"
    "${probe[@]}" -show_entries packet=stream_index,dts -of csv=p=0 "$result" |
        awk -F, '$2 != "N/A" { if (($1 in last) && $2 <= last[$1]) bad = 1; last[$1] = $2 }
                 END { exit bad }' || fail "$result has packet times that go backwards"
    span=$("${probe[@]}" -show_entries format=duration -of default=nw=1:nk=1 "$result")
    awk -v s="$span" -v k="$kept" -v j="$joins" 'BEGIN { exit !(s - k < 0.04 * j + 0.1 && k - s < 0.04 * j + 0.1) }' ||
        fail "$result lasts $span s, $kept s kept"
    if [ "$frames" -gt 0 ]; then
        count=$("${probe[@]}" -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
            -of default=nw=1:nk=1 "$result")
        [ $(( count - frames )) -le "$joins" ] && [ $(( frames - count )) -le "$joins" ] ||
            fail "$result holds $count frames, $frames expected"
    fi
}

# run_driver MODE OUT ITEMS...: job time in ms; the driver's report in $work/last
run_driver() {
    local mode=$1 out=$2
    shift 2
    rm -f "$out"
    "$driver" "$mode" "$out" "$@" >"$work/last" 2>/dev/null || fail "job $mode $*: $(tail -1 "$work/last")"
    sed -n 's/^job_ms //p' "$work/last"
}
kept_total() { awk '/^kept/ { t += $4 - $3 } END { printf "%.6f", t }' "$work/last"; }

echo
echo "cuts of 7.300-71.700 s (64.4 s), $rounds rounds:"
printf '%-10s %-8s %-14s %-13s %-13s %-13s %-7s %-16s %-16s %s\n' file mode kept "start error" \
    "end error" "length error" copied "program ms" "plain copy ms" ratio
S=7.3 E=71.7
for file in h264.mp4 hevc.mov vp9.webm mpeg4.avi tracks.mkv tone.mp3; do
    ext=${file##*.}
    for mode in exact keyframe; do
        prog=() base=()
        for r in $(seq 1 "$rounds"); do
            if (( r % 2 )); then
                prog+=("$(run_driver "$mode" "$work/out/p.$ext" "$work/$file@$S-$E")")
                t=$(now_ms); "${ff[@]}" -y -ss $S -to $E -i "$work/$file" -c copy "$work/out/b.$ext"; base+=($(( $(now_ms) - t )))
            else
                t=$(now_ms); "${ff[@]}" -y -ss $S -to $E -i "$work/$file" -c copy "$work/out/b.$ext"; base+=($(( $(now_ms) - t )))
                prog+=("$(run_driver "$mode" "$work/out/p.$ext" "$work/$file@$S-$E")")
            fi
        done
        read -r ks ke < <(awk '/^kept 0/ { print $3, $4 }' "$work/last")
        kept=$(kept_total)
        frames=0
        [ "$file" = tone.mp3 ] || frames=$(awk -v k="$kept" 'BEGIN { printf "%d", k * 25 + 0.5 }')
        check "$work/out/p.$ext" "$kept" "$frames" 1
        span=$("${probe[@]}" -select_streams "$([ "$file" = tone.mp3 ] && echo a || echo v):0" \
            -show_entries packet=pts_time,duration_time -of csv=p=0 "$work/out/p.$ext" |
            awk -F, 'NR == 1 || $1 < a { a = $1 } $1 + $2 > b { b = $1 + $2 } END { printf "%.6f", b - a }')
        vbytes=$("${probe[@]}" -select_streams v:0 -show_entries packet=size -of csv=p=0 "$work/out/p.$ext" 2>/dev/null | awk '{ t += $1 } END { print t + 0 }')
        enc=$(sed -n 's/^encoded_bytes //p' "$work/last")
        awk -v f="$file" -v m="$mode" -v s="$S" -v e="$E" -v ks="$ks" -v ke="$ke" -v span="$span" \
            -v vb="$vbytes" -v enc="$enc" -v p="$(stats "${prog[@]}")" -v b="$(stats "${base[@]}")" \
            -v pm="$(median "${prog[@]}")" -v bm="$(median "${base[@]}")" 'BEGIN {
            fr = 0.04
            printf "%-10s %-8s %-14s %+5.1f f %+5.0f ms %+5.1f f %+5.0f ms %+5.1f f %+5.0f ms %-7s %-16s %-16s %.2fx\n",
                f, m, sprintf("%.3f-%.3f", ks, ke), (ks - s) / fr, (ks - s) * 1000, (ke - e) / fr, (ke - e) * 1000,
                (span - (ke - ks)) / fr, (span - (ke - ks)) * 1000,
                (vb > 0 ? sprintf("%.1f%%", 100 * (1 - enc / vb)) : "-"), p, b, pm / bm }'
    done
done

# Joins: the program in keyframe mode (fully lossless) and in exact mode,
# against one ffmpeg pass over a concat list with the same in and out points.
join_bench() { # join_bench LABEL RANGE-START RANGE-END FILES...
    local label=$1 a=$2 b=$3 f
    shift 3
    local items=() list="$work/list.txt"
    echo "ffconcat version 1.0" >"$list"
    for f in "$@"; do
        items+=("$f@$a-$b")
        printf "file '%s'\ninpoint %s\noutpoint %s\n" "$f" "$a" "$b" >>"$list"
    done
    local key=() exact=() base=() t
    for r in $(seq 1 "$rounds"); do
        local order=(key exact base)
        (( r % 2 )) || order=(base exact key)
        for what in "${order[@]}"; do
            case $what in
                key) key+=("$(run_driver keyframe "$work/out/jk.mp4" "${items[@]}")")
                     check "$work/out/jk.mp4" "$(kept_total)" 0 "$#" ;;
                exact) exact+=("$(run_driver exact "$work/out/je.mp4" "${items[@]}")")
                       check "$work/out/je.mp4" "$(kept_total)" 0 "$#" ;;
                base) t=$(now_ms)
                      "${ff[@]}" -y -f concat -safe 0 -i "$list" -c copy "$work/out/jb.mp4"
                      base+=($(( $(now_ms) - t ))) ;;
            esac
        done
    done
    printf '%-9s keyframe %-16s exact %-16s one concat pass %-16s keyframe/pass %.2fx exact/pass %.2fx\n' \
        "$label" "$(stats "${key[@]}")" "$(stats "${exact[@]}")" "$(stats "${base[@]}")" \
        "$(awk -v p="$(median "${key[@]}")" -v b="$(median "${base[@]}")" 'BEGIN { print p / b }')" \
        "$(awk -v p="$(median "${exact[@]}")" -v b="$(median "${base[@]}")" 'BEGIN { print p / b }')"
}
echo
echo "joins, $rounds rounds (ms):"
for k in 1 2 3; do cp "$work/h264.mp4" "$work/j$k.mp4"; done
join_bench "3 files" 12.3 71.7 "$work"/j1.mp4 "$work"/j2.mp4 "$work"/j3.mp4
for k in $(seq 1 50); do
    "${ff[@]}" -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=4" \
        -f lavfi -i "sine=frequency=$((300 + k * 10)):duration=4" -map 0:v -map 1:a \
        -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac "$work/c$k.mp4"
done
join_bench "50 files" 0.5 3.7 $(for k in $(seq 1 50); do echo "$work/c$k.mp4"; done)
