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
# The supporting-WM check appears before openbox has finished starting, and a window mapped in
# that moment stays unmanaged for many seconds. Its client list is set last, once it has
# taken over the windows already there and turns to new ones.
for _ in $(seq 200); do
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)' && break
    sleep 0.05
done
xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)' || fail "openbox did not start"

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

# Waits up to 5 s for the program's window to have the keyboard, so that typing reaches it.
wait_for_keyboard() {
    for _ in $(seq 100); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && return 0
        sleep 0.05
    done
    fail "the window did not get the keyboard"
}
