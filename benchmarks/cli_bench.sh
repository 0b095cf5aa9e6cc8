#!/bin/bash
# splicora-cli against the window, on the same jobs and the same inputs:
#   cut    one ~170 s 1280x720 30 fps file, kept from 10.37 s (between
#          keyframes; they are 1 s apart) to 150.2 s;
#   join3  three 60 s files of that format, each kept 5.3-55.7 s.
# Both sides run the exact mode (the window's default for a fresh user).
# The window is driven by benchmarks/convert_bench, which times from the
# press of the start button to the job's report ("job") and from adding the
# files to the report ("whole", probing included). The command line is
# timed the same two ways: its job from the start of the job to its end
# (the "elapsed" of its last --progress=json line), and the whole process
# from outside, start-up and probing included. Rounds are interleaved (the
# command line first, then the window first, ...) after the page cache is
# warmed; medians with [min-max] and the ratios of the medians are printed
# beside the target. Every result of every round is checked (length within
# a frame, one picture and one sound stream, first frame at 0, the number of
# frames, no work file left), and the script stops with exit 1 at the first
# wrong one. Last, the command line's peak memory in the join, measured
# apart from the timed rounds.
# Usage: benchmarks/cli_bench.sh BUILD [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}

app="$(cd "$build/bin" && pwd)"
cli="$app/splicora-cli"
bench="$(cd "$build/benchmarks" && pwd)/convert_bench"
for program in "$cli" "$bench"; do
    [ -x "$program" ] || { echo "$program is missing: build splicora-cli and convert_bench" >&2; exit 2; }
done
work=$(mktemp -d "${BENCH_DIR:-/var/tmp}/cli_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A fresh settings store, lock and private folder: never the user's.
export TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache" HOME="$work/home" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$HOME" "$work/out"
chmod 700 "$XDG_RUNTIME_DIR"
private="$XDG_RUNTIME_DIR/splicora"

ff=(ffmpeg -hide_banner -loglevel error -nostdin)
probe=(ffprobe -v error)
fail() { echo "FAILED: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# clip NAME SECONDS TONE: 1280x720 30 fps h264 + aac, a keyframe every second.
clip() {
    "${ff[@]}" -y -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$2" \
        -f lavfi -i "sine=frequency=$3:duration=$2" \
        -c:v libx264 -preset ultrafast -qp 6 -g 30 -keyint_min 30 -sc_threshold 0 \
        -pix_fmt yuv420p -c:a aac "$work/$1"
}
echo "making media in $work ..."
clip big.mp4 170 440
for k in 1 2 3; do clip "j$k.mp4" 60 $((400 + 60 * k)); done
du -sh "$work" | awk '{ print "  " $1 " of media" }'

# --- checks -------------------------------------------------------------------

# check_result FILE EXPECTED-SECONDS: what either side wrote is frame-exact.
check_result() {
    local file=$1 expected=$2 fps=30 streams first found frames count
    [ -s "$file" ] || fail "$file: the result is missing or empty"
    streams=$("${probe[@]}" -show_entries stream=codec_type -of csv=p=0 "$file" | sort | tr '\n' ' ')
    [ "$streams" = "audio video " ] ||
        fail "$file: streams: expected 1 video and 1 audio, found '$streams'"
    first=$("${probe[@]}" -select_streams v:0 -read_intervals "%+#1" -show_entries frame=pts_time \
        -of csv=p=0 "$file" | head -1 | tr -d ',')
    awk -v t="$first" -v r="$fps" 'BEGIN { exit !(t != "" && t != "N/A" && t <= 1 / r && -t <= 1 / r) }' ||
        fail "$file: first video frame: expected at 0 s (within one frame), found ${first:-nothing} s"
    found=$("${probe[@]}" -show_entries format=duration -of default=nw=1:nk=1 "$file")
    awk -v f="$found" -v e="$expected" -v r="$fps" \
        'BEGIN { d = f - e; t = 1 / r + 0.05; exit !(f != "" && d <= t && -d <= t) }' ||
        fail "$file: duration: expected $expected s (within a frame + 0.05 s), found ${found:-nothing} s"
    frames=$(awk -v s="$expected" -v r="$fps" 'BEGIN { printf "%d", s * r + 0.5 }')
    count=$("${probe[@]}" -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
        -of default=nw=1:nk=1 "$file")
    [ $(( count - frames )) -le 2 ] && [ $(( frames - count )) -le 2 ] ||
        fail "$file: video packets: expected $frames (within 2), found $count"
}
# check_clean SIDE RESULT: the result is the only new file in the output
# folder, and no job or run folder is left in the private work folder.
check_clean() {
    local found
    found=$(find "$work/out" -mindepth 1 | sort)
    [ "$found" = "$2" ] || fail "$1: expected only $2 in the output folder, found: $(tr "\n" " " <<<"$found")"
    found=$(find "$private/work" -mindepth 1 -maxdepth 1 \( -name 'job-*' -o -name 'cli-*' \) 2>/dev/null | head -3)
    [ -z "$found" ] || fail "$1 left its work folder behind: $found"
}

# --- the sides ----------------------------------------------------------------

# window START END EXPECTED FILES...: one job through the window's driver.
run_window() {
    local s=$1 e=$2 expected=$3 text result mode
    shift 3
    rm -rf "$work/out" && mkdir "$work/out"
    if ! "$bench" "$app" "$work/out" "$s" "$e" 0 "$@" >"$work/window.txt" 2>"$work/window.err"; then
        cat "$work/window.txt" "$work/window.err" >&2
        fail "the window's job failed: $s-$e s of $*"
    fi
    text=$(cat "$work/window.txt")
    mode=$(sed -n 's/^mode //p' <<<"$text")
    [ "$mode" = Exact ] || fail "the window started in mode '$mode', not Exact: the sides would differ"
    result=$(sed -n 's/^result //p' <<<"$text")
    check_result "$result" "$expected"
    check_clean "the window" "$result"
    w_job+=" $(sed -n 's/^job_ms //p' <<<"$text")"
    w_whole+=" $(sed -n 's/^whole_ms //p' <<<"$text")"
}

# run_cli EXPECTED ARGS...: one run of the command line into the out folder.
run_cli() {
    local expected=$1 t0 t1 last result elapsed
    shift
    rm -rf "$work/out" && mkdir "$work/out"
    t0=$(now_ms)
    if ! "$cli" "$@" -o "$work/out/cli.mp4" --mode exact --progress=json \
        >"$work/cli.txt" 2>"$work/cli.err"; then
        cat "$work/cli.txt" "$work/cli.err" >&2
        fail "the command line failed: $*"
    fi
    t1=$(now_ms)
    [ ! -s "$work/cli.err" ] || fail "the command line wrote to stderr: $(head -3 "$work/cli.err")"
    last=$(tail -n 1 "$work/cli.txt")
    result=$(sed -n 's/.*"result":"\([^"]*\)".*/\1/p' <<<"$last")
    [[ "$last" == '{"phase":"done","percent":100,'* ]] && [ "$result" = "$work/out/cli.mp4" ] ||
        fail "the command line's last line is not its result: $last"
    check_result "$result" "$expected"
    check_clean "the command line" "$result"
    elapsed=$(sed -n 's/.*"elapsed":\([0-9.]*\).*/\1/p' <<<"$last")
    c_job+=" $(awk -v s="$elapsed" 'BEGIN { printf "%d", s * 1000 + 0.5 }')"
    c_whole+=" $(( t1 - t0 ))"
}

# --- the report -----------------------------------------------------------------

stats() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%d [%d-%d]", m, v[1], v[NR] }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$(median $1)" -v b="$(median $2)" 'BEGIN { printf "%.3fx", a / b }'; }

# run_case NAME START END FILES...: the rounds of one case.
run_case() {
    local name=$1 s=$2 e=$3 r f expected job_args=()
    shift 3
    expected=$(awk -v n="$#" -v s="$s" -v e="$e" 'BEGIN { printf "%.4f", n * (e - s) }')
    if [ "$#" = 1 ]; then
        job_args=(cut "$1" --start "$s" --end "$e")
    else
        job_args=(join)
        for f in "$@"; do job_args+=("$f@$s-$e"); done
    fi
    w_job="" w_whole="" c_job="" c_whole=""
    cat "$@" >/dev/null
    for r in $(seq 1 "$rounds"); do
        if (( r % 2 )); then
            run_cli "$expected" "${job_args[@]}"
            run_window "$s" "$e" "$expected" "$@"
        else
            run_window "$s" "$e" "$expected" "$@"
            run_cli "$expected" "${job_args[@]}"
        fi
    done
    # shellcheck disable=SC2086
    printf '%-6s %-19s %-19s %-9s %-19s %-19s %-9s %s\n' "$name" "$(stats $c_job)" \
        "$(stats $w_job)" "$(ratio "$c_job" "$w_job")" "$(stats $c_whole)" "$(stats $w_whole)" \
        "$(ratio "$c_whole" "$w_whole")" "<= 1.05x (job)"
}

echo "$rounds rounds; times in ms, median [min-max]; expected lengths: cut 139.83 s, join3 151.2 s"
printf '%-6s %-19s %-19s %-9s %-19s %-19s %-9s %s\n' case "cli job" "window job" "ratio" \
    "cli whole" "window whole" "ratio" target
run_case cut 10.37 150.2 "$work/big.mp4"
run_case join3 5.3 55.7 "$work"/j{1,2,3}.mp4

# --- peak memory of the join ------------------------------------------------------
# /usr/bin/time reports the largest of the process and the tools it waited
# for; the command line's own peak (VmHWM) is read from /proc while it runs,
# without a pause between reads, so the end of the run is seen too.
join_args=(join "$work/j1.mp4@5.3-55.7" "$work/j2.mp4@5.3-55.7" "$work/j3.mp4@5.3-55.7"
    --mode exact -q)
rm -rf "$work/out" && mkdir "$work/out"
if [ -x /usr/bin/time ]; then
    /usr/bin/time -v "$cli" "${join_args[@]}" -o "$work/out/time.mp4" 2>"$work/time.txt" ||
        fail "the command line failed under /usr/bin/time: $(tail -3 "$work/time.txt")"
    check_result "$work/out/time.mp4" 151.2
    tree_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
else
    tree_kb=""
fi
"$cli" "${join_args[@]}" -o "$work/out/hwm.mp4" &
pid=$!
own_kb=0
while :; do
    mapfile -t status 2>/dev/null <"/proc/$pid/status" || break
    ended=1
    for line in "${status[@]}"; do
        case $line in
            VmHWM:*) read -r _ kb _ <<<"$line"; own_kb=$kb; ended=0 ;;
        esac
    done
    # A process that has ended but is not yet waited for has no memory line.
    [ "$ended" = 0 ] || break
done
wait "$pid" || fail "the command line failed in the memory run"
check_result "$work/out/hwm.mp4" 151.2
echo
printf 'join3 peak memory: splicora-cli itself %d MiB (VmHWM, target < 40 MiB)' $(( (own_kb + 1023) / 1024 ))
if [ -n "$tree_kb" ]; then
    printf '; /usr/bin/time -v maximum resident set size %d MiB (the largest of the program and its media tools)' \
        $(( (tree_kb + 1023) / 1024 ))
fi
echo
echo "job: from the start of the job (the window: the press of its start button) to its end;"
echo "whole: the command line's process from start to exit, against the window from adding the files"
echo "to its report (probing included, the window's own start-up not). Ratios: command line / window."
echo "All results checked: length within a frame + 0.05 s, 1 video + 1 audio stream, first frame at 0,"
echo "frames within 2 of the kept count, no work folder left behind."
