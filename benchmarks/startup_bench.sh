#!/bin/bash
# Start-up of the program, run as a user runs it (no arguments), to the first
# paint of its window, against a minimal Qt widget program that shows one
# plain window of the same size. Both are started and watched the same way
# from outside by first_paint: it watches the X server for the new top-level
# window, spawns the program itself (the clock starts just before the spawn),
# stops the clock at the first damage (paint) of that window, checks the
# window's title and size, and ends the program (SIGTERM, reaped).
#
# Every start gets fresh runtime, settings, cache and temporary folders: the
# program runs once per user (a second copy would hand over and leave) and
# remembers its settings, so nothing of one start may reach the next. One
# warm-up start of each is not counted; then the rounds take turns, and
# which one goes first alternates.
#
# Checks: every start shows a window within 20 s and first_paint accepts it
# (the program's title names Splicora, at least 600x400, owned by the started
# process); the minimal window has exactly the program's window size.
#
# Needs first_paint, built only where the X11 DAMAGE development files
# (Debian package libxdamage-dev) were found when the build was configured.
# Runs under its own Xvfb. Usage: benchmarks/startup_bench.sh BUILD [rounds]
set -euo pipefail
build=${1:?usage: startup_bench.sh BUILD [rounds]}
rounds=${2:-15}
observer="$(cd "$build/benchmarks" && pwd)/first_paint"
minimal="$(cd "$build/benchmarks" && pwd)/minimal_window"
program="$(cd "$build/bin" && pwd)/splicora"
if [ ! -x "$observer" ]; then
    echo "startup_bench: $observer was not built: the X11 DAMAGE development files" \
        "(Debian package libxdamage-dev) were missing when $build was configured." \
        "Install the package, then run cmake on $build again and build first_paint." >&2
    exit 1
fi
for needed in "$minimal" "$program"; do
    [ -x "$needed" ] || { echo "startup_bench: $needed is missing; build it first" >&2; exit 1; }
done
if [ -z "${SPLICORA_BENCH_IN_X:-}" ]; then
    exec env SPLICORA_BENCH_IN_X=1 xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
# As a user starts it on an X desktop.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
    echo "startup_bench: $*" >&2
    exit 1
}

# start NAME TITLE PROGRAM [ARGS...]: one watched start with fresh folders;
# prints first_paint's line.
start() {
    local name=$1 title=$2 dir line
    shift 2
    dir=$(mktemp -d "$work/$name.XXXX")
    mkdir -p "$dir/runtime" "$dir/config" "$dir/cache" "$dir/tmp"
    chmod 700 "$dir/runtime"
    line=$(XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/config" \
        XDG_CACHE_HOME="$dir/cache" TMPDIR="$dir/tmp" \
        "$observer" --title "$title" --min-size 600x400 --timeout 20 -- "$@" 2>"$dir/errors") || {
        cat "$dir/errors" >&2
        fail "$name: no accepted first paint (see above)"
    }
    rm -rf "$dir"
    echo "$line"
}
field() { # field NAME LINE: the value after NAME in first_paint's line
    awk -v name="$1" '{ for (i = 1; i < NF; ++i) if ($i == name) { print $(i + 1); exit } }' <<<"$2"
}

# The warm-up start of the program also tells the window size to match.
warm=$(start program Splicora "$program")
size=$(field size "$warm")
start minimal "minimal window" "$minimal" "${size%x*}" "${size#*x}" >/dev/null
echo "program window: $size, $(field event "$warm") events ($(sed 's/.* title //' <<<"$warm"))"

program_ms=() minimal_ms=() program_map=() minimal_map=()
one() { # one program|minimal ROUND
    local line
    if [ "$1" = program ]; then
        line=$(start program Splicora "$program")
        program_ms+=("$(field first_paint_ms "$line")")
        program_map+=("$(field map_ms "$line")")
    else
        line=$(start minimal "minimal window" "$minimal" "${size%x*}" "${size#*x}")
        [ "$(field size "$line")" = "$size" ] ||
            fail "round $2: the minimal window is $(field size "$line"), not $size"
        minimal_ms+=("$(field first_paint_ms "$line")")
        minimal_map+=("$(field map_ms "$line")")
    fi
}
for r in $(seq 1 "$rounds"); do
    if ((r % 2)); then one program "$r"; one minimal "$r"; else one minimal "$r"; one program "$r"; fi
    echo "round $r: program ${program_ms[-1]} ms, minimal window ${minimal_ms[-1]} ms" \
        "($( ((r % 2)) && echo "program first" || echo "minimal first"))"
done
[ "${#program_ms[@]}" -eq "$rounds" ] && [ "${#minimal_ms[@]}" -eq "$rounds" ] ||
    fail "${#program_ms[@]} program and ${#minimal_ms[@]} minimal values for $rounds rounds"

stats() { # median min max of the arguments
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}
read -r pm pmin pmax < <(stats "${program_ms[@]}")
read -r mm mmin mmax < <(stats "${minimal_ms[@]}")
read -r pmapm _ _ < <(stats "${program_map[@]}")
read -r mmapm _ _ < <(stats "${minimal_map[@]}")
echo "start to first paint, $rounds rounds, interleaved, alternating first (fresh folders each start):"
echo "  program:        median $pm ms (min $pmin, max $pmax); window mapped at median $pmapm ms"
echo "  minimal window: median $mm ms (min $mmin, max $mmax); window mapped at median $mmapm ms"
awk -v p="$pm" -v m="$mm" 'BEGIN { printf "  ratio of medians %.2f x (target: at most 1.5 x)\n", p / m }'
