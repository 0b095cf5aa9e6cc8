#!/bin/sh
# The installed program started as a user starts it, from PREFIX/bin, on an
# X display: it prints its version without a display, then takes two clips
# from its command line, joins them on Ctrl+Return, and the completion
# dialog closes on Return.
#
#   sh run_installed.sh PREFIX WORKDIR VERSION      (under xvfb-run)
#
# WORKDIR is emptied and holds a fresh home, settings, runtime and temporary
# folder, the clips and the program's output. Exit 77: skipped.
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 PREFIX WORKDIR VERSION" >&2
    exit 2
fi
prefix=$1
work=$2
version=$3
program="$prefix/bin/splicora"

say() { echo "install_runs: $*"; }
skip() { say "SKIPPED: $*"; exit 77; }

pid=
failures=0
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        # A moment to end its preview player and tools as it should.
        n=0
        while kill -0 "$pid" 2>/dev/null && [ $n -lt 50 ]; do sleep 0.1; n=$((n + 1)); done
        kill -9 "$pid" 2>/dev/null
    fi
    pid=
}
show_log() {
    for f in "$work/program.out" "$work/runtime/splicora/splicora.log"; do
        if [ -s "$f" ]; then
            echo "----- last lines of $f"
            tail -n 40 "$f"
        fi
    done
}
fail() {
    say "FAILED: $*"
    show_log
    cleanup
    exit 1
}
trap cleanup EXIT
trap 'cleanup; exit 1' INT TERM

[ -L "$program" ] || [ -x "$program" ] || fail "$program is missing (did install_prefix run?)"
for tool in ffmpeg ffprobe xdotool timeout; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool missing"
done
[ -n "${DISPLAY:-}" ] || skip "no X display (xvfb-run missing)"

rm -rf "$work"
mkdir -p "$work/home" "$work/config" "$work/cache" "$work/data" "$work/runtime" "$work/tmp" \
    "$work/media" || fail "cannot make $work"
chmod 700 "$work/runtime"
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache"
export XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
export TMPDIR="$work/tmp"
outdir="$HOME/Documents/Tarnwick/Splicora"

# --- --version, with no display at all ---------------------------------------
printed=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" --version 2>"$work/version.err")
status=$?
if [ $status -ne 0 ]; then
    say "FAILED: '$program --version' ended with status $status (124: still running after 20 s)"
    sed -n 1,10p "$work/version.err"
    failures=$((failures + 1))
elif ! printf '%s\n' "$printed" | grep -qx "Splicora $version"; then
    say "FAILED: '$program --version' printed '$printed', not 'Splicora $version'"
    failures=$((failures + 1))
else
    say "--version prints 'Splicora $version'"
fi

# --- Two clips of one format ---------------------------------------------------
make_clip() {
    ffmpeg -v error -nostdin -y \
        -f lavfi -i "$1=size=320x240:rate=25:duration=2" \
        -f lavfi -i "sine=frequency=$2:sample_rate=44100:duration=2" \
        -c:v libx264 -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k -shortest "$3" \
        || fail "ffmpeg could not make $3"
}
clip1="$work/media/clip1.mp4"
clip2="$work/media/clip2.mp4"
make_clip testsrc 440 "$clip1"
make_clip testsrc2 660 "$clip2"

# --- The window ----------------------------------------------------------------
"$program" "$clip1" "$clip2" >"$work/program.out" 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarnwick Splicora$' 2>/dev/null | head -n 1)
[ -n "$window" ] || {
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its window"
    fail "no window named 'Tarnwick Splicora' was shown within 30 s"
}
say "window $window is shown"

# The application folder is the one under lib/, reached through bin/'s link.
# The log ends its lines with CR LF.
log="$XDG_RUNTIME_DIR/splicora/splicora.log"
app_dir=$(dirname "$(readlink -f "$program")")
if [ -s "$log" ]; then
    started=$(tr -d '\r' <"$log" | sed -n 's/.* started from \(.*\)$/\1/p' | head -n 1)
    [ "$started" = "$app_dir" ] \
        || fail "the program took '$started' for its folder, not $app_dir"
    say "the application folder is $app_dir"
fi

# Both clips are in the list once their rows are filled in (probing runs in
# the background); with no word in the log after 30 s, go on and let the
# result speak.
rows() {
    c=$(grep -c 'add Video durationinfo' "$log" 2>/dev/null)
    echo "${c:-0}"
}
n=0
while [ "$(rows)" -lt 2 ] && [ $n -lt 300 ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended while taking the two clips"
    sleep 0.1
    n=$((n + 1))
done
[ $n -lt 300 ] || say "the log does not show both rows after 30 s; going on"

# Windows of the program that are shown now (the main window has native
# child windows too, so only a given window's presence tells anything).
shown() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$1"; }
# The window with the keyboard focus: with no window manager, the toolkit
# gives it to a dialog as it opens.
focused() { xdotool getwindowfocus 2>/dev/null; }

# --- Ctrl+Return starts the join -------------------------------------------------
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" \
    || fail "cannot focus the window"
sleep 0.5
# Typed, not sent to the window: a shortcut only fires in the active window,
# which is what a person's keyboard reaches.
xdotool key --clearmodifiers ctrl+Return || fail "xdotool cannot send Ctrl+Return"
say "Ctrl+Return sent"

# The result is complete once ffprobe reads its whole length.
result=
duration=
n=0
while [ $n -lt 600 ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended during the join"
    for f in "$outdir"/Join_file_*.mp4; do
        [ -f "$f" ] && result=$f
    done
    if [ -n "$result" ]; then
        duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$result" 2>/dev/null)
        if [ -n "$duration" ] && awk -v d="$duration" 'BEGIN { exit !(d >= 3.8 && d <= 4.2) }'; then
            break
        fi
    fi
    sleep 0.1
    n=$((n + 1))
done
if [ -z "$result" ]; then
    fail "no Join_file_*.mp4 in $outdir within 60 s of Ctrl+Return"
fi
if [ $n -ge 600 ]; then
    fail "$result lasts '${duration:-unreadable}' s after 60 s, not 4.0 +- 0.2 s"
fi
streams=$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$result" | sort | tr '\n' ' ')
[ "$streams" = "audio video " ] || fail "$result has the streams '$streams', not one video and one audio"
say "joined into $(basename "$result"): $duration s, one video and one audio stream"

# --- Return answers the completion dialog ------------------------------------
dialog=
n=0
while [ $n -lt 150 ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended after the join"
    dialog=$(focused)
    if [ -n "$dialog" ] && [ "$dialog" != "$window" ] && shown "$dialog"; then
        break
    fi
    dialog=
    sleep 0.1
    n=$((n + 1))
done
[ -n "$dialog" ] || fail "no completion dialog took the keyboard within 15 s of the result"
say "completion dialog $dialog is shown"
sleep 0.5
xdotool key --clearmodifiers Return || fail "xdotool cannot send Return"
n=0
while shown "$dialog" && [ $n -lt 100 ]; do
    sleep 0.1
    n=$((n + 1))
done
[ $n -lt 100 ] || fail "the completion dialog is still open 10 s after Return"
say "the completion dialog closed on Return"

# --- Closing --------------------------------------------------------------------
kill "$pid" 2>/dev/null
n=0
while kill -0 "$pid" 2>/dev/null && [ $n -lt 100 ]; do
    sleep 0.1
    n=$((n + 1))
done
kill -0 "$pid" 2>/dev/null && fail "the program is still running 10 s after SIGTERM"
pid=

if [ $failures -ne 0 ]; then
    say "$failures check(s) failed"
    exit 1
fi
say "passed"
exit 0
