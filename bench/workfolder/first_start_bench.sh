#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the installed program to its first shown window under Xvfb and openbox: a new
# user's first start (the working folder is prepared), a later start of the same user, and a
# start from the stage folder for comparison. Also the time the folder's preparation itself
# takes, and the package's size when one has been built.
# Usage: bench/workfolder/first_start_bench.sh [STAGE_DIR] [RUNS]   (STAGE_DIR: build/stage)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
stage_dir=$(cd "${1:-$here/../../build/stage}" && pwd)
build_dir=$(dirname "$stage_dir")
runs=${2:-9}
source "$here/../../tests/e2e/x11_session.sh" "$stage_dir"

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
unset XDG_DATA_HOME

# Milliseconds from the start of `command` to its window being shown; the window is polled
# every 5 ms.
time_to_window() {
    local started pid elapsed
    started=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "program ended at start" >&2; exit 1; }
        sleep 0.005
    done
    elapsed=$((($(date +%s%N) - started) / 1000000))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$elapsed"
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
report() {
    local label=$1
    shift
    echo "$label (ms): $(printf '%s\n' "$@" | sort -n | tr '\n' ' ')-> median $(median "$@") ms"
}

first=() later=() staged=()
for run in $(seq "$runs"); do
    export HOME="$work/home-$run"
    mkdir -p "$HOME"
    first+=("$(time_to_window "$prefix/bin/qir-stroke")")
    later+=("$(time_to_window "$prefix/bin/qir-stroke")")
    (cd "$work/cwd" && time_to_window ./qir-stroke) >"$work/staged-time"
    staged+=("$(cat "$work/staged-time")")
done
report "first start of a new user" "${first[@]}"
report "later start of the same user" "${later[@]}"
report "start from the stage folder" "${staged[@]}"
echo "working folder of one user: $(du -sk "$work/home-1/.local/share/qir-stroke" | cut -f1) KiB on disk"
deb=$(ls "$build_dir"/package/qir-stroke_*.deb 2>/dev/null | head -n 1 || true)
if [ -n "$deb" ]; then
    echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed $(dpkg-deb --field "$deb" Installed-Size) KiB"
fi
