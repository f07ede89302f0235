#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb and openbox: its window, the drag by the banner, and a second
# start that hands over and ends.
source "$(dirname "$0")/x11_session.sh" "$1"

start_program
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "window is ${WIDTH}x$HEIGHT, not 640x480"

# Drag by the banner.
read -r x0 y0 < <(window_position)
xdotool mousemove $((x0 + 300)) $((y0 + 30)) mousedown 1
sleep 0.2
xdotool mousemove $((x0 + 320)) $((y0 + 40))
sleep 0.1
xdotool mousemove $((x0 + 360)) $((y0 + 70))
sleep 0.2
xdotool mouseup 1
sleep 0.3
read -r x1 y1 < <(window_position)
[ $((x1 - x0)) -ge 40 ] && [ $((y1 - y0)) -ge 20 ] ||
    fail "the drag moved the window from $x0,$y0 to $x1,$y1"

# Pressing on the exit picture does not move the window.
xdotool mousemove $((x1 + 543 + 20)) $((y1 + 58 + 10)) mousedown 1 mousemove $((x1 + 600)) $((y1 + 120)) mouseup 1
sleep 0.3
read -r x2 y2 < <(window_position)
[ "$x2" = "$x1" ] && [ "$y2" = "$y1" ] || fail "a press on a button moved the window"

# A second start hands over and ends within a second. Started as a launcher with startup
# notification starts it, it hands its id over, and the first instance ends the launch with
# the "remove:" message (its first piece as _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO).
xev -root -event property >"$work/xev.log" 2>&1 &
pids+=($!)
sleep 0.3
started=$(date +%s%N)
code=0
DESKTOP_STARTUP_ID=qir-e2e-launch_TIME0 ./qir-stroke || code=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ "$code" = 0 ] || fail "second start exited $code"
[ "$elapsed_ms" -lt 1000 ] || fail "second start took $elapsed_ms ms"
[ "$(xdotool search --class MyTarsel | wc -l)" -ge 1 ] || fail "first instance gone"
kill -0 "$program_pid" || fail "first instance ended"
for _ in $(seq 30); do grep -q '_NET_STARTUP_INFO)' "$work/xev.log" && break; sleep 0.1; done
grep -q '(_NET_STARTUP_INFO_BEGIN)' "$work/xev.log" && grep -q '(_NET_STARTUP_INFO)' "$work/xev.log" ||
    fail "the first instance did not end the second start's startup notification"

# Minimised, the running instance is restored by the next start.
read -r x y < <(window_position)
xdotool mousemove $((x + 625)) $((y + 77)) click 1
for _ in $(seq 30); do
    [ -z "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] && break
    sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] || fail "minimise left the window shown"
./qir-stroke || fail "the start that restores exited non-zero"
for _ in $(seq 30); do
    [ -n "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] && break
    sleep 0.1
done
[ -n "$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null)" ] || fail "the second start did not restore the minimised window"
echo "shell end-to-end: window 640x480, dragged by $((x1 - x0)),$((y1 - y0)), hand-over in $elapsed_ms ms, restored from minimised"
