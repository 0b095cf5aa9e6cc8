#!/bin/bash
# The program's cuts and joins, each against the one-pass way of doing the
# same with the media tools, on the same inputs and ranges:
#   cut        one ~170 s 1280x720 30 fps file, kept from 10.37 s (between
#              keyframes; they are 1 s apart) to 150.2 s;
#   join3      three 60 s files of that format, each kept 5.3-55.7 s;
#   join50     fifty 20 s 640x360 30 fps files, each kept 1.3-17.6 s;
#   engine     two 20 s clips of differing formats, re-encoded by the engine;
#   cut_mkv    the cut again from a .mkv copy of the file;
#   join3_mkv  the join of three again from .mkv copies.
# Baselines: one ffmpeg pass of the concat reader over a list with the same
# in and out points and "-c copy" into the same container; it starts every
# range at the keyframe before it, so it does less than the program does
# in its exact mode. For .mkv also mkvmerge --split parts, which moves each
# range's ends to keyframes. For the engine: its own logged command rerun.
# The program is timed twice: from the press of the start button to the
# job's report, and from adding the files to the report (probing included).
# Rounds are interleaved (program first, then baselines first, ...), the
# page cache is warmed first; medians with [min-max] and the ratio of the
# medians are printed beside the targets. Every result of every round is
# checked, and the script stops with exit 1 at the first wrong one.
# Usage: benchmarks/convert_bench.sh BUILD [rounds] [cases]
#   cases: a comma list of the names above, default all of them.
set -euo pipefail
all_cases=(cut join3 join50 engine cut_mkv join3_mkv)
build=${1:-build}
rounds=${2:-5}
cases=${3:-all}
[ "$cases" = all ] && cases=$(IFS=,; echo "${all_cases[*]}")
for c in ${cases//,/ }; do
    [[ " ${all_cases[*]} " == *" $c "* ]] || {
        echo "unknown case '$c'; the cases are: ${all_cases[*]}" >&2
        echo "usage: $0 BUILD [rounds] [case,case,...]" >&2
        exit 2
    }
done
wants() { [[ ",$cases," == *",$1,"* ]]; }

app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/convert_bench"
work=$(mktemp -d "${BENCH_DIR:-/var/tmp}/convert_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A fresh settings store, lock and private folder: never the user's.
export TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$work/out" "$work/base"
chmod 700 "$XDG_RUNTIME_DIR"
private="$XDG_RUNTIME_DIR/splicora"

ff=(ffmpeg -hide_banner -loglevel error -nostdin)
# The baselines run the same media tool the program runs.
tool=("$app/ffmpeg" -hide_banner -loglevel error -nostdin)
probe=(ffprobe -v error)
fail() { echo "FAILED: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# clip NAME SECONDS SIZE RATE TONE: h264 + aac, a keyframe every second.
clip() {
    "${ff[@]}" -y -f lavfi -i "testsrc2=size=$3:rate=$4:duration=$2" \
        -f lavfi -i "sine=frequency=$5:duration=$2" \
        -c:v libx264 -preset ultrafast -qp 6 -g "$4" -keyint_min "$4" -sc_threshold 0 \
        -pix_fmt yuv420p -c:a aac "$work/$1"
}
to_mkv() { "${ff[@]}" -y -i "$work/$1.mp4" -map 0 -c copy "$work/$1.mkv"; }

echo "making media in $work ..."
if wants cut || wants cut_mkv; then clip big.mp4 170 1280x720 30 440; fi
if wants join3 || wants join3_mkv; then
    clip j1.mp4 60 1280x720 30 440
    cp "$work/j1.mp4" "$work/j2.mp4"
    cp "$work/j1.mp4" "$work/j3.mp4"
fi
if wants join50; then
    # A few distinct clips under fifty names.
    for k in 1 2 3 4 5; do clip "s$k.mp4" 20 640x360 30 $((300 + 40 * k)); done
    for k in $(seq 1 50); do cp "$work/s$(( (k - 1) % 5 + 1 )).mp4" "$work/c$(printf %02d "$k").mp4"; done
    rm -f "$work"/s?.mp4
fi
if wants engine; then
    clip e1.mp4 20 640x360 30 440
    clip e2.mp4 20 320x240 25 550
fi
if wants cut_mkv; then to_mkv big; fi
if wants join3_mkv; then for k in 1 2 3; do to_mkv "j$k"; done; fi
du -sh "$work" | awk '{ print "  " $1 " of media" }'

have_mkvmerge=1
if ! command -v mkvmerge >/dev/null 2>&1; then
    have_mkvmerge=0
    if wants cut_mkv || wants join3_mkv; then
        echo "mkvmerge rows skipped: mkvmerge is not installed (apt-get install mkvtoolnix)"
    fi
fi

# --- checks ---------------------------------------------------------------

# count_streams FILE TYPE
count_streams() {
    "${probe[@]}" -show_entries stream=codec_type -of csv=p=0 "$1" | grep -c "^$2" || true
}
# check_streams FILE: one picture and one sound stream, as every input has.
check_streams() {
    local v a
    v=$(count_streams "$1" video)
    a=$(count_streams "$1" audio)
    [ "$v" = 1 ] && [ "$a" = 1 ] ||
        fail "$1: streams: expected 1 video and 1 audio, found $v video and $a audio"
}
# check_duration FILE EXPECTED TOLERANCE (seconds)
check_duration() {
    local found
    found=$("${probe[@]}" -show_entries format=duration -of default=nw=1:nk=1 "$1")
    awk -v f="$found" -v e="$2" -v t="$3" 'BEGIN { d = f - e; exit !(f != "" && d <= t && -d <= t) }' ||
        fail "$1: duration: expected $2 s (within $3 s), found ${found:-nothing} s"
}
# check_program FILE EXPECTED-SECONDS FPS: the program's result is frame-exact.
check_program() {
    local file=$1 expected=$2 fps=$3 frames count first
    [ -s "$file" ] || fail "$file: the result is missing or empty"
    check_streams "$file"
    first=$("${probe[@]}" -select_streams v:0 -read_intervals "%+#1" -show_entries frame=pts_time \
        -of csv=p=0 "$file" | head -1 | tr -d ',')
    awk -v t="$first" -v r="$fps" 'BEGIN { exit !(t != "" && t != "N/A" && t <= 1 / r && -t <= 1 / r) }' ||
        fail "$file: first video frame: expected at 0 s (within one frame), found ${first:-nothing} s"
    check_duration "$file" "$expected" "$(awk -v r="$fps" 'BEGIN { printf "%.4f", 1 / r + 0.05 }')"
    frames=$(awk -v s="$expected" -v r="$fps" 'BEGIN { printf "%d", s * r + 0.5 }')
    count=$("${probe[@]}" -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
        -of default=nw=1:nk=1 "$file")
    [ $(( count - frames )) -le 2 ] && [ $(( frames - count )) -le 2 ] ||
        fail "$file: video packets: expected $frames (within 2), found $count"
}
# check_baseline FILE EXPECTED-SECONDS TOLERANCE: keyframe-based, so only
# within a keyframe spacing (1 s here) of the chosen length.
check_baseline() {
    [ -s "$1" ] || fail "$1: the result is missing or empty"
    check_duration "$1" "$2" "$3"
    check_streams "$1"
}

# --- the sides --------------------------------------------------------------

# program START END FPS EXPECTED FILES...: one job through the window; its
# times go to $p_job and $p_whole, and its result is checked.
program() {
    local s=$1 e=$2 fps=$3 expected=$4 out result found
    shift 4
    rm -rf "$work/out"
    mkdir "$work/out"
    if ! "$bench" "$app" "$work/out" "$s" "$e" 0 "$@" >"$work/last.txt" 2>"$work/last.err"; then
        cat "$work/last.txt" "$work/last.err" >&2
        fail "the program's job failed: $s-$e s of $*"
    fi
    out=$(cat "$work/last.txt")
    mode=$(sed -n 's/^mode //p' <<<"$out")
    fallback=$(sed -n 's/^fallback //p' <<<"$out")
    result=$(sed -n 's/^result //p' <<<"$out")
    sed -n 's/^engine //p' <<<"$out" >"$work/engine_cmd.txt"
    if grep -q '^leftover ' <<<"$out"; then
        fail "the job left work files in the private folder $private:" \
            "expected none, found $(sed -n 's/^leftover //p' <<<"$out" | tr '\n' ' ')"
    fi
    found=$(find "$private/work" -mindepth 1 -maxdepth 1 -name 'job-*' 2>/dev/null | head -3)
    [ -z "$found" ] || fail "the job left its work folder behind: expected none, found $found"
    found=$(find "$work/out" -mindepth 1 | sort)
    [ "$found" = "$result" ] ||
        fail "output folder $work/out: expected only the result ${result:-(none named)}, found: $(echo $found)"
    check_program "$result" "$expected" "$fps"
    p_job+=" $(sed -n 's/^job_ms //p' <<<"$out")"
    p_whole+=" $(sed -n 's/^whole_ms //p' <<<"$out")"
}

# concat_pass EXT START END FILES...: one ffmpeg pass over a concat list
# with in and out points; the time goes to $b_concat.
concat_pass() {
    local ext=$1 s=$2 e=$3 f t list="$work/base/list.ffconcat" out="$work/base/concat.$1"
    shift 3
    rm -f "$out"
    t=$(now_ms)
    {
        echo "ffconcat version 1.0"
        for f in "$@"; do printf "file '%s'\ninpoint %s\noutpoint %s\n" "$f" "$s" "$e"; done
    } >"$list"
    "${tool[@]}" -f concat -safe 0 -i "$list" -map 0 -c copy "$out"
    b_concat+=" $(( $(now_ms) - t ))"
    check_baseline "$out" "$expected" 1
}

# hms SECONDS: the time as mkvmerge reads it.
hms() { awk -v s="$1" 'BEGIN { printf "%02d:%02d:%06.3f", s / 3600, (s % 3600) / 60, s - 60 * int(s / 60) }'; }

# mkvmerge_pass START END FILES...: the files appended and the same range
# of each kept, in one output; the time goes to $b_mkvmerge.
mkvmerge_pass() {
    local s=$1 e=$2 f t parts="" offset=0 length out="$work/base/mkvmerge.mkv" inputs=()
    shift 2
    # The ranges are on the appended timeline: each file starts where the
    # one before ends.
    for f in "$@"; do
        # "+" before a range keeps it in the same output; before a file,
        # appends it.
        if [ ${#inputs[@]} -gt 0 ]; then
            parts+=",+"
            inputs+=(+)
        fi
        parts+="$(hms "$(awk -v o="$offset" -v x="$s" 'BEGIN { print o + x }')")"
        parts+="-$(hms "$(awk -v o="$offset" -v x="$e" 'BEGIN { print o + x }')")"
        inputs+=("$f")
        length=$("${probe[@]}" -show_entries format=duration -of default=nw=1:nk=1 "$f")
        offset=$(awk -v o="$offset" -v l="$length" 'BEGIN { print o + l }')
    done
    rm -f "$work"/base/mkvmerge*.mkv
    t=$(now_ms)
    mkvmerge -q -o "$out" --split "parts:$parts" "${inputs[@]}" || [ $? -eq 1 ] ||
        fail "mkvmerge failed on $*"
    b_mkvmerge+=" $(( $(now_ms) - t ))"
    [ -e "$out" ] || out=$(ls "$work"/base/mkvmerge-*.mkv 2>/dev/null | head -1)
    # Each range may lose up to a keyframe spacing at its start and gain
    # one at its end.
    check_baseline "${out:-$work/base/mkvmerge.mkv}" "$expected" "$#"
}

# engine_rerun: the engine's logged command run directly into another file.
engine_rerun() {
    local t args
    read -r -a args <"$work/engine_cmd.txt"
    [ "${#args[@]}" -gt 2 ] || fail "the engine logged no command to rerun"
    args[-1]="$work/base/engine.${args[-1]##*.}"
    rm -f "${args[-1]}"
    t=$(now_ms)
    "${args[@]}" >/dev/null 2>&1 </dev/null || fail "the engine's command failed when rerun: ${args[*]}"
    b_engine+=" $(( $(now_ms) - t ))"
    check_program "${args[-1]}" "$expected" "$fps"
}

# --- the report -------------------------------------------------------------

# stats MS...: "median [min-max]"; median MS...
stats() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%d [%d-%d]", m, v[1], v[NR] }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$(median $1)" -v b="$(median $2)" 'BEGIN { printf "%.2fx", a / b }'; }

header_done=0
# report CASE BASELINE-NAME BASELINE-TIMES TARGET
report() {
    if [ "$header_done" = 0 ]; then
        printf '%-10s %-19s %-19s %-27s %-19s %-9s %-9s %s\n' case "program job ms" \
            "program whole ms" baseline "baseline ms" job/base whole/base "target (job)"
        header_done=1
    fi
    # shellcheck disable=SC2086
    printf '%-10s %-19s %-19s %-27s %-19s %-9s %-9s %s\n' "$1" "$(stats $p_job)" \
        "$(stats $p_whole)" "$2" "$(stats $3)" "$(ratio "$p_job" "$3")" \
        "$(ratio "$p_whole" "$3")" "<= $4x"
}

# run_case NAME EXT START END FPS FILES...: the rounds of one case.
run_case() {
    local name=$1 ext=$2 s=$3 e=$4 r side
    fps=$5
    shift 5
    expected=$(awk -v n="$#" -v s="$s" -v e="$e" 'BEGIN { printf "%.4f", n * (e - s) }')
    local sides=(program concat)
    [ "$ext" = mkv ] && [ "$have_mkvmerge" = 1 ] && sides+=(mkvmerge)
    [ "$name" = engine ] && sides=(program engine)
    p_job="" p_whole="" b_concat="" b_mkvmerge="" b_engine=""
    cat "$@" >/dev/null
    for r in $(seq 1 "$rounds"); do
        local order=("${sides[@]}")
        # Every other round the baselines go first, so that neither side
        # always finds the other's output in the cache.
        # The first round runs the program first: the engine rerun needs
        # the command the program logged.
        (( r % 2 )) || mapfile -t order < <(printf '%s\n' "${sides[@]}" | tac)
        for side in "${order[@]}"; do
            case $side in
                program) program "$s" "$e" "$fps" "$expected" "$@" ;;
                concat) concat_pass "$ext" "$s" "$e" "$@" ;;
                mkvmerge) mkvmerge_pass "$s" "$e" "$@" ;;
                engine) engine_rerun ;;
            esac
        done
    done
    echo "$name: $# file(s), $s-$e s of each, $expected s kept; program in $mode mode" \
        "(a fresh user's default)${fallback:+, handed to the engine: $fallback}" >>"$work/notes.txt"
    case $name in
        engine) report "$name" "engine command rerun" "$b_engine" 1.05 ;;
        *) report "$name" "ffmpeg concat, -c copy *" "$b_concat" 1.2
           if [ "$ext" = mkv ] && [ "$have_mkvmerge" = 1 ]; then
               report "$name" "mkvmerge --split parts *" "$b_mkvmerge" 1.2
           fi ;;
    esac
}

echo "$rounds rounds; times in ms, median [min-max]"
wants cut && run_case cut mp4 10.37 150.2 30 "$work/big.mp4"
wants join3 && run_case join3 mp4 5.3 55.7 30 "$work"/j{1,2,3}.mp4
wants join50 && run_case join50 mp4 1.3 17.6 30 "$work"/c??.mp4
wants engine && run_case engine mp4 0 20 30 "$work/e1.mp4" "$work/e2.mp4"
wants cut_mkv && run_case cut_mkv mkv 10.37 150.2 30 "$work/big.mkv"
wants join3_mkv && run_case join3_mkv mkv 5.3 55.7 30 "$work"/j{1,2,3}.mkv
echo
cat "$work/notes.txt"
echo "job: from the press of the start button to the job's report; whole: from adding the files"
echo "to the report, probing included. * keyframe-based, not frame-exact: each range starts at the"
echo "keyframe before (ffmpeg) or after (mkvmerge) the chosen start, where the program's exact mode"
echo "starts on the chosen frame and encodes the frames up to the next keyframe again."
echo "All results checked: the program's length within a frame + 0.05 s, 1 video + 1 audio stream,"
echo "packets within 2 of the kept frames, first frame at 0, the only new file in its folder, no work"
echo "files left; the baselines' length within a keyframe spacing per range, 1 video + 1 audio."
