#!/bin/bash
# The update check's figures against a local HTTPS server: the automatic
# check's delay after start, how long a silent server takes to give up on,
# and the installer download against curl. A fresh home, settings and
# private folder; no display needed.
# Usage: benchmarks/update_bench.sh [build-folder] [rounds]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
app="$(cd "$build/bin" && pwd)"
bench="$(cd "$build/benchmarks" && pwd)/update_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen "$bench" "$app" "$rounds"
