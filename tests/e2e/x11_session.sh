# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests: a private X server with a window manager, a scratch working
# directory prepared from the stage folder, and helpers to drive the real program.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
stage_dir=$(cd "$1" && pwd)
prepare_working_directory "$stage_dir"

# A display of our own; -displayfd tells us which number it took.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 display_number <&3 || fail "Xvfb did not start"
export DISPLAY=":$display_number"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
done
# The check property appears before openbox has finished starting; a window mapped in that
# moment stays unmanaged for many seconds.
sleep 1

# Starts the program (by default ./qir-stroke; or the command given) and waits for its window.
start_program() {
    [ $# -gt 0 ] || set -- ./qir-stroke
    "$@" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    window=""
    # Looks every QIR_WINDOW_POLL seconds (0.1 unless a benchmark asks for finer) for 15 s.
    local poll=${QIR_WINDOW_POLL:-0.1}
    local deadline=$(($(date +%s%N) + 15000000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        window=$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start"
        sleep "$poll"
    done
    [ -n "$window" ] || fail "no MyTarsel window appeared"
}

window_position() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X $Y"
}
