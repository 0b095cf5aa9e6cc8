#!/bin/bash
# A long media list, at several lengths:
#  - end to end: every file added through the window, P files probed at a
#    time, until the last row shows its thumbnail, against the program's
#    own probe commands run from this shell with the same parallelism; and
#    the longest the interface thread went without a 5 ms timer tick;
#  - per row: rows added straight to the list from answers probed once,
#    each followed by its events, row 50's neighbours against the last rows;
#  - memory: resident memory per row beyond the thumbnails' pixels.
# Usage: benchmarks/list_bench.sh BUILD [sizes] [rounds] [P]
#   e.g. benchmarks/list_bench.sh build "40 400 1000" 3 2
set -euo pipefail
source "$(dirname "$0")/common.sh"
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD [sizes] [rounds] [P]" >&2
    exit 2
fi
build=$1
read -r -a sizes <<<"${2:-40 400 1000}"
rounds=${3:-3}
parallel=${4:-2}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/list_bench"
[ -x "$bench" ] || { echo "no $bench: build the list_bench target" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program's settings, lock, log and work folder start fresh here and
# never touch the user's.
export TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

largest=$(printf '%s\n' "${sizes[@]}" | sort -n | tail -n 1)
echo "making $largest files from 5 clips..."
make_copied_clips "$work" "$largest"

# stats VALUES...: "median M (min A, max B)", the median of an even count
# being the mean of the middle two.
stats() {
    printf '%s\n' "$@" | sort -g | awk -v fmt="${FMT:-%.1f}" '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "median " fmt " (min " fmt ", max " fmt ")", m, v[1], v[NR] }'
}
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# field KEY LINE: the value of "KEY=value" in a line of list_bench rows.
field() {
    tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"
}

for n in "${sizes[@]}"; do
    head -n "$n" "$work/files.tsv" >"$work/list.tsv"
    mapfile -t files < <(cut -f1 "$work/list.tsv")
    echo
    echo "== $n files, $parallel at a time, $rounds rounds =="
    prog=() shell=() ratios=() stalls=() early=() late=() growth=() mib=() waits=()
    for r in $(seq 1 "$rounds"); do
        # Alternate which side goes first, so a warm cache or a busy moment
        # favours neither.
        if (( r % 2 )); then
            out=$("$bench" window "$app" "$parallel" "$work/list.tsv")
            base=$(bare_probes_ms "$app/ffmpeg" "$work/thumbs" "$parallel" "${files[@]}")
        else
            base=$(bare_probes_ms "$app/ffmpeg" "$work/thumbs" "$parallel" "${files[@]}")
            out=$("$bench" window "$app" "$parallel" "$work/list.tsv")
        fi
        read -r wall stall rows check <<<"$out"
        [ "$rows" = "$n" ] || { echo "round $r: $rows rows for $n files" >&2; exit 1; }
        rowline=$("$bench" rows "$app" "$work/list.tsv")
        [ "$(field rows "$rowline")" = "$n" ] || { echo "round $r: bad rows run: $rowline" >&2; exit 1; }

        ratio=$(awk -v p="$wall" -v b="$base" 'BEGIN { printf "%.3f", p / b }')
        prog+=("$wall") shell+=("$base") ratios+=("$ratio") stalls+=("$stall")
        e=$(field early_ms "$rowline") l=$(field late_ms "$rowline")
        late+=("$l") mib+=("$(field mib_per_row "$rowline")")
        waits+=("$(field thumbnails_ms "$rowline")")
        if [ "$e" != "-" ]; then
            early+=("$e")
            growth+=("$(awk -v e="$e" -v l="$l" 'BEGIN { printf "%.3f", l / e }')")
        fi
        printf 'round %d: program %.0f ms, shell %s ms (%s x), longest stall %.1f ms' \
            "$r" "$wall" "$base" "$ratio" "$stall"
        printf ' (its own check: at most %.2f ms of processor time a tick)\n' "$check"
        printf '         row cost (median, min-max over the rows):'
        if [ "$e" != "-" ]; then
            printf ' rows %s %s ms (%s-%s),' "$(field early_rows "$rowline")" "$e" \
                "$(field early_min "$rowline")" "$(field early_max "$rowline")"
        fi
        printf ' rows %s %s ms (%s-%s); thumbnails in %s ms after the last row; %s MiB/row\n' \
            "$(field late_rows "$rowline")" "$l" "$(field late_min "$rowline")" \
            "$(field late_max "$rowline")" "$(field thumbnails_ms "$rowline")" \
            "$(field mib_per_row "$rowline")"
    done

    echo "-- $n files, over $rounds rounds (median, min-max over the rounds):"
    echo "end to end, program:    $(FMT=%.0f stats "${prog[@]}") ms"
    echo "end to end, shell:      $(FMT=%.0f stats "${shell[@]}") ms"
    awk -v p="$(median "${prog[@]}")" -v b="$(median "${shell[@]}")" -v s="$(FMT=%.3f stats "${ratios[@]}")" \
        'BEGIN { printf "ratio of medians:       %.3f x (per round %s)   target: at most 1.1 x\n", p / b, s }'
    echo "longest stall:          $(stats "${stalls[@]}") ms   target: at most 50 ms"
    last_rows=$(field late_rows "$rowline")
    if [ "${#early[@]}" -gt 0 ]; then
        echo "row cost, rows 41-60:   $(FMT=%.3f stats "${early[@]}") ms"
        echo "row cost, rows $last_rows: $(FMT=%.3f stats "${late[@]}") ms"
        awk -v l="$(median "${late[@]}")" -v e="$(median "${early[@]}")" -v s="$(FMT=%.3f stats "${growth[@]}")" \
            'BEGIN { printf "last rows / rows 41-60: %.3f x (per round %s)   target: at most 1.5 x\n", l / e, s }'
    else
        echo "row cost, rows $last_rows: $(FMT=%.3f stats "${late[@]}") ms   (rows 41-60 need 80 files or more)"
    fi
    echo "thumbnails in after:    $(FMT=%.1f stats "${waits[@]}") ms after the last row"
    echo "memory beyond thumbnails: $(FMT=%.4f stats "${mib[@]}") MiB per row   target: at most 0.15 MiB"
done
