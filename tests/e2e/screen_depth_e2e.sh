#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on X screens of several colour depths: one of 256 colours, which the window
# system layer cannot paint, is refused at start with a message and exit code 1; one of
# thousands of colours runs.
source "$(dirname "$0")/e2e_common.sh"
stage_dir=$(cd "$1" && pwd)

# A display of the given depth; -displayfd tells which number it took.
start_screen() {
    local depth=$1
    exec 3<> <(:)
    Xvfb -displayfd 3 -screen 0 800x600x"$depth" -nolisten tcp >"$work/xvfb-$depth.log" 2>&1 &
    pids+=($!)
    read -r -t 10 display_number <&3 || fail "Xvfb did not start at depth $depth"
    exec 3<&-
    export DISPLAY=":$display_number"
}

mkdir "$work/cwd"
cd "$work/cwd"

start_screen 8
status=0
timeout 10 "$stage_dir/qir-stroke" >"$work/program-8.log" 2>&1 || status=$?
[ "$status" = 1 ] || fail "on an 8-bit screen the program ended with $status, not 1"
grep -q "cannot run on this screen: it shows 8 bits per pixel" "$work/program-8.log" ||
    fail "no message about the screen's depth"

start_screen 16
"$stage_dir/qir-stroke" >"$work/program-16.log" 2>&1 &
program=$!
pids+=("$program")
shown=""
for _ in $(seq 150); do
    kill -0 "$program" 2>/dev/null || fail "on a 16-bit screen the program did not keep running"
    shown=$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null | head -n 1 || true)
    [ -n "$shown" ] && break
    sleep 0.1
done
[ -n "$shown" ] || fail "on a 16-bit screen the program showed no window"
kill -0 "$program" 2>/dev/null || fail "on a 16-bit screen the program did not keep running"
kill -TERM "$program"
wait "$program" || fail "the program did not end cleanly on SIGTERM"
echo "screen depths: ok"
