#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program as a screen reader sees it, through AT-SPI (at-spi2-core and pyatspi) on a
# session bus of the test's own under Xvfb: the application's name and every control with its
# name and role, before and after a character is shown.
probe=$(cd "$(dirname "$0")" && pwd)/atspi_probe.py
source "$(dirname "$0")/x11_session.sh" "$1"

[ -s donghua.db ] || fail "no character store in the stage folder"
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: no at-spi2-core"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: no python3-pyatspi"; exit 77; }

# A session bus of our own, on a socket in the scratch folder; the accessibility bus launcher
# runs on it and starts the accessibility bus and its registry.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$HOME"
start_session_bus
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi-launcher.log" 2>&1 &
pids+=($!)
a11y_bus() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}
for _ in $(seq 150); do
    a11y_bus && break
    sleep 0.1
done
a11y_bus || fail "the accessibility bus did not come up"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

start_program
/usr/bin/python3 "$probe" before >"$work/probe-before.log" 2>&1 || fail "the controls at start"
cat "$work/probe-before.log"

# 一 from the catalogue by keyboard: the grid's steps and the animation's name follow it.
steps=$(mtime bishunbmp.db)
wait_for_keyboard
xdotool key --clearmodifiers --delay 120 shift+Tab shift+Tab Home Down Return
wait_for_rewrite bishunbmp.db "$steps"
# The accessible tree follows the shown character as its events reach the registry: the
# probe looks again until it finds 一's names, for up to 15 s.
deadline=$(($(date +%s) + 15))
until /usr/bin/python3 "$probe" shown >"$work/probe-shown.log" 2>&1; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "the controls with 一 shown"
    sleep 0.2
done
cat "$work/probe-shown.log"
echo "AT-SPI end-to-end: the application and every control named with its role"
