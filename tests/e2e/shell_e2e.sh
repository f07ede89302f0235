#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb and openbox: its window, the drag by the banner, and a second
# start that hands over and ends.
source "$(dirname "$0")/x11_session.sh" "$1"

start_program
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "window is ${WIDTH}x$HEIGHT, not 640x480"

# Drags the window by its banner: presses 300,30 into a window expected at FROM_X,FROM_Y and
# moves the pointer by DX,DY until the window is at FROM_X+DX,FROM_Y+DY, then lets go. The
# window manager follows the pointer only once it has taken it over, a moment after the press,
# so the pointer keeps moving between the target and the pixel beside it until then.
drag_banner() {  # FROM_X FROM_Y DX DY WHAT
    local px=$(($1 + 300)) py=$(($2 + 30)) nx ny deadline=$(($(date +%s) + 15))
    xdotool mousemove "$px" "$py" mousedown 1
    xdotool mousemove $((px + $3 / 3)) $((py + $4 / 3))
    while [ "$(date +%s)" -lt "$deadline" ]; do
        xdotool mousemove $((px + $3 + 1)) $((py + $4)) mousemove $((px + $3)) $((py + $4))
        read -r nx ny < <(window_position)
        [ "$nx" = $(($1 + $3)) ] && [ "$ny" = $(($2 + $4)) ] && break
        sleep 0.1
    done
    xdotool mouseup 1
    [ "$nx" = $(($1 + $3)) ] && [ "$ny" = $(($2 + $4)) ] ||
        fail "$5: the window is at $nx,$ny, not $(($1 + $3)),$(($2 + $4))"
}

# Drag by the banner.
read -r x0 y0 < <(window_position)
drag_banner "$x0" "$y0" 60 40 "the drag by the banner from $x0,$y0"
read -r x1 y1 < <(window_position)

# Pressing on the exit picture does not move the window. The next drag by the banner shows
# it: the program handles the press before that drag's, and the window manager can follow
# one press at a time, so a move begun by this press leaves the window elsewhere after it.
xdotool mousemove $((x1 + 543 + 20)) $((y1 + 58 + 10)) mousedown 1 mousemove $((x1 + 600)) $((y1 + 120)) mouseup 1
drag_banner "$x1" "$y1" -40 -30 "a press on a button moved the window (then dragged by the banner)"

# A second start hands over and ends within a second. Started as a launcher with startup
# notification starts it, it hands its id over, and the first instance ends the launch with
# the "remove:" message (its first piece as _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO).
xev -root -event property >"$work/xev.log" 2>&1 &
pids+=($!)
# xev listens once it sees a property of the root window change.
for mark in $(seq 100); do
    xprop -root -f _QIR_E2E_MARK 32c -set _QIR_E2E_MARK "$mark"
    grep -q '(_QIR_E2E_MARK)' "$work/xev.log" && break
    sleep 0.1
done
grep -q '(_QIR_E2E_MARK)' "$work/xev.log" || fail "xev did not start listening to the root window"
started=$(date +%s%N)
code=0
DESKTOP_STARTUP_ID=qir-e2e-launch_TIME0 ./qir-stroke || code=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ "$code" = 0 ] || fail "second start exited $code"
[ "$elapsed_ms" -lt 1000 ] || fail "second start took $elapsed_ms ms"
[ "$(xdotool search --class MyTarsel | wc -l)" -ge 1 ] || fail "first instance gone"
kill -0 "$program_pid" || fail "first instance ended"
for _ in $(seq 150); do grep -q '_NET_STARTUP_INFO)' "$work/xev.log" && break; sleep 0.1; done
grep -q '(_NET_STARTUP_INFO_BEGIN)' "$work/xev.log" && grep -q '(_NET_STARTUP_INFO)' "$work/xev.log" ||
    fail "the first instance did not end the second start's startup notification"

# Minimised, the running instance is restored by the next start.
read -r x y < <(window_position)
xdotool mousemove $((x + 625)) $((y + 77)) click 1
for _ in $(seq 150); do
    [ -z "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] && break
    sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] || fail "minimise left the window shown"
./qir-stroke || fail "the start that restores exited non-zero"
for _ in $(seq 150); do
    [ -n "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] && break
    sleep 0.1
done
[ -n "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] || fail "the second start did not restore the minimised window"
echo "shell end-to-end: window 640x480, dragged by $((x1 - x0)),$((y1 - y0)), hand-over in $elapsed_ms ms, restored from minimised"
