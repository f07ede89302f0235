#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on Wayland, under Weston's headless backend on a 640x480 output: the window
# announces the menu entry's app_id, and a second start (with a launcher's activation token)
# hands over to the first and ends, and the first asks the compositor to activate its window
# with that token where the compositor offers activation. Weston's protocol dump is the witness.
# Skipped (77), saying why, where Weston or Qt's Wayland plugin is missing or Weston cannot run.
source "$(dirname "$0")/e2e_common.sh"
skip() { echo "skipped: $*"; exit 77; }
command -v weston >/dev/null && command -v weston-debug >/dev/null || skip "Weston is not installed (Debian: weston)"
[ -n "$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland-generic.so' 2>/dev/null)" ] ||
    skip "Qt's Wayland plugin is not installed (Debian: qt6-wayland)"
prepare_working_directory "$1"
[ -s donghua.db ] || fail "no character store in the stage folder"

export WAYLAND_DISPLAY=qir-e2e
unset DISPLAY
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug \
    --width=640 --height=480 >"$work/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 150); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || skip "Weston cannot run here: $(tail -n 2 "$work/weston.log" | tr '\n' ' ')"
weston-debug proto >"$work/proto.log" 2>&1 &
pids+=($!)
# Subscribed, weston-debug's own requests are the stream's first lines.
wait_for_file "$work/proto.log"

# Waits up to 15 s for the protocol dump to hold a line matching the extended regular
# expression PATTERN, after one matching AFTER when given; fails saying WHAT did not happen.
wait_for_protocol() {  # WHAT PATTERN [AFTER]
    for _ in $(seq 150); do
        awk -v p="$2" -v a="${3:-}" 'a == "" || $0 ~ a { seen = 1 } seen && $0 ~ p { found = 1 }
            END { exit !found }' "$work/proto.log" && return 0
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting: $1"
        sleep 0.1
    done
    fail "$1"
}
# Everything the compositor has logged so far is in the file once the requests of a client
# started after it are: weston-debug's listing binds the debug interface, which the program
# never does.
mark_protocol() {
    local before
    before=$(grep -c 'bind([0-9]*, "weston_debug_v1"' "$work/proto.log" || true)
    weston-debug -l >/dev/null 2>&1 || fail "weston-debug could not list the debug streams"
    for _ in $(seq 150); do
        [ "$(grep -c 'bind([0-9]*, "weston_debug_v1"' "$work/proto.log" || true)" -gt "$before" ] &&
            return 0
        sleep 0.1
    done
    fail "the protocol dump did not catch up with a listing of the debug streams"
}

export QT_QPA_PLATFORM=wayland
unset XDG_ACTIVATION_TOKEN DESKTOP_STARTUP_ID
./qir-stroke >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
for _ in $(seq 150); do
    grep -q 'set_app_id' "$work/proto.log" && break
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start"
    sleep 0.1
done
app_id=$(sed -n -E 's/.*xdg_toplevel@[0-9]+\.set_app_id\("([^"]*)"\).*/\1/p' "$work/proto.log" | head -n 1)
[ "$app_id" = org.example.qir.stroke ] || fail "the window's app_id is '$app_id', not org.example.qir.stroke"
# The window is up once it has answered its first configure with a picture.
wait_for_protocol "the window was never configured and drawn" \
    'wl_surface@[0-9]+\.attach\(wl_buffer' 'xdg_surface@[0-9]+\.ack_configure'
toplevels=$(grep -c 'xdg_surface@[0-9]*\.get_toplevel' "$work/proto.log" || true)

# A second start from a launcher that hands it an activation token.
started=$(date +%s%N)
XDG_ACTIVATION_TOKEN=qir-e2e-token ./qir-stroke >"$work/second.log" 2>&1 || fail "the second start exited $?"
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ "$elapsed_ms" -lt 2000 ] || fail "the second start took $elapsed_ms ms"
kill -0 "$program_pid" 2>/dev/null || fail "the first instance ended"
if grep -q '"xdg_activation_v1"' "$work/proto.log"; then
    wait_for_protocol "the first instance did not activate its window with the second start's token" \
        'xdg_activation_v1@[0-9]+\.activate\("qir-e2e-token"'
fi
mark_protocol
[ "$(grep -c 'xdg_surface@[0-9]*\.get_toplevel' "$work/proto.log")" = "$toplevels" ] ||
    fail "the second start opened a window of its own"
if grep -q '"xdg_activation_v1"' "$work/proto.log"; then
    grep -q 'xdg_activation_v1@[0-9]*\.activate("qir-e2e-token"' "$work/proto.log" ||
        fail "the first instance did not activate its window with the second start's token"
    activation="activated with the second start's token"
else
    activation="handed over (this Weston offers no xdg_activation_v1, so the activation itself is not seen)"
fi
echo "Wayland end-to-end: app_id $app_id; second start in $elapsed_ms ms, $activation"
