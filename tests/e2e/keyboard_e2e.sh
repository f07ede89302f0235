#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program without the mouse, under Xvfb and openbox: into the catalogue with Tab,
# a character picked with the arrow keys (which show nothing) and shown with Return, the next
# character with Alt+Right, and Ctrl+Q to exit.
source "$(dirname "$0")/x11_session.sh" "$1"

[ -s donghua.db ] || fail "no character store in the stage folder"
start_program
wait_for_keyboard

keys() { xdotool key --clearmodifiers --delay 120 "$@"; }

# The input box has the focus; the catalogue lies two steps back in the tab order.
# Home selects "1画", which opens as it is selected; Down reaches its only character 一.
steps=$(mtime bishunbmp.db) clip=$(mtime tmp2.avi)
keys shift+Tab shift+Tab Home Down
import -window root "$work/navigated.png" 2>/dev/null || true
[ -n "${QIR_E2E_DEBUG:-}" ] && cp "$work/navigated.png" "$QIR_E2E_DEBUG"
[ "$(mtime bishunbmp.db)" = "$steps" ] || fail "moving the selection showed a character"
[ "$(mtime tmp2.avi)" = "$clip" ] || fail "moving the selection played a clip"

keys Return
wait_for_rewrite bishunbmp.db "$steps"
[ "$(mtime tmp2.avi)" != "$clip" ] || fail "Return did not play the character's clip"
import -window root "$work/shown.png" 2>/dev/null || true

# The next character of the store, whatever has the focus.
steps=$(mtime bishunbmp.db) clip=$(mtime tmp1.avi)
keys alt+Right
wait_for_rewrite bishunbmp.db "$steps"
[ "$(mtime tmp1.avi)" != "$clip" ] || fail "Alt+Right did not show the next character"
[ -n "${QIR_E2E_SCREENSHOT:-}" ] && cp "$work/shown.png" "$QIR_E2E_SCREENSHOT"

keys ctrl+q
for _ in $(seq 150); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$program_pid" || fail "the program ended with status $?"
# The clips go to tmp2.avi and tmp1.avi in turn, the first to tmp2.avi: Return's and Alt+Right's
# leave tmp1.avi the newer; a character shown by the arrows as well would leave tmp2.avi so.
[ tmp1.avi -nt tmp2.avi ] || fail "moving the selection showed a character"
echo "keyboard end-to-end: catalogue by arrows and Return, Alt+Right, Ctrl+Q"
