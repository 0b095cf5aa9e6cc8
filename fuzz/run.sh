#!/bin/sh
# Runs every fuzz driver of a fuzz build for SECONDS each (default 600) on
# one core, from its seed corpus, and prints what each found.
# usage: sh fuzz/run.sh BUILD_DIR [SECONDS]
set -u
build=${1:?build folder}
seconds=${2:-600}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for name in clock player paramblock probe manifest; do
    driver="$build/bin/fuzz_$name"
    [ -x "$driver" ] || { echo "missing $driver"; status=1; continue; }
    work=$(mktemp -d)
    cp "$here/corpus/$name"/* "$work/" 2>/dev/null
    log="$build/fuzz_$name.log"
    "$driver" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/fuzz_$name-" >"$log" 2>&1
    rc=$?
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}')
    [ -n "$runs" ] || runs=$(grep -Eo '#[0-9]+' "$log" | tail -1 | tr -d '#')
    echo "fuzz_$name: exit $rc, ${runs:-?} runs in ${seconds}s, corpus $(ls "$work" | wc -l) inputs"
    [ $rc -eq 0 ] || { status=1; tail -30 "$log"; }
    rm -rf "$work"
done
exit $status
