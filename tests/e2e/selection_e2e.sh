#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with the real store under Xvfb and openbox: a character typed, a catalogue
# click, next and previous; each writes its clip and fills the stroke display table.
source "$(dirname "$0")/x11_session.sh" "$1"
table_rows=$2

[ -s donghua.db ] || fail "no character store in the stage folder"
start_program
read -r x y < <(window_position)
wait_for_keyboard

# Each way in ends with the steps' rebuild, which rewrites the stroke display table: once it
# has, the clip of that character was written before it, or not at all.
shown() {  # CLIP STEPS_BEFORE CLIP_BEFORE
    wait_for_rewrite bishunbmp.db "$2"
    [ "$(mtime "$1")" != "$3" ] || fail "$1 was not written"
}

# Typed through the input method path: 永 is D3 C0 in GB2312.
steps=$(mtime bishunbmp.db) clip=$(mtime tmp2.avi)
type_character '永'
shown tmp2.avi "$steps" "$clip"
[ ! -e tmp1.avi ] || fail "the first clip went to tmp1.avi"

# The catalogue: open "1画" (its first row) and click its only character 一 (D2 BB), once the
# group has opened under the pointer.
steps=$(mtime bishunbmp.db) clip=$(mtime tmp1.avi)
xdotool mousemove $((x + 70)) $((y + 124)) click 1
# Each try waits up to 2 s for the clip: a second click on a character still being shown
# would show it again, into the other clip file.
for _ in $(seq 10); do
    xdotool mousemove $((x + 90)) $((y + 142)) click 1
    for _ in $(seq 40); do
        [ "$(mtime tmp1.avi)" != "$clip" ] && break 2
        sleep 0.05
    done
done
shown tmp1.avi "$steps" "$clip"

# Next, then previous: each writes the other temporary file.
steps=$(mtime bishunbmp.db) clip=$(mtime tmp2.avi)
xdotool mousemove $((x + 625)) $((y + 261)) click 1
shown tmp2.avi "$steps" "$clip"
steps=$(mtime bishunbmp.db) clip=$(mtime tmp1.avi)
xdotool mousemove $((x + 625)) $((y + 285)) click 1
shown tmp1.avi "$steps" "$clip"
import -window root "$work/shot.png" 2>/dev/null || true
[ -n "${QIR_E2E_SCREENSHOT:-}" ] && cp "$work/shot.png" "$QIR_E2E_SCREENSHOT"

# Exit, then read what the stroke display table kept: the steps of 一 again, after next and
# previous came back to it.
xdotool mousemove $((x + 543 + 30)) $((y + 58 + 12)) click 1
for _ in $(seq 150); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the exit button did not end the program"
rows=$("$table_rows" bishunbmp.db) || fail "cannot read bishunbmp.db"
count=$(echo "$rows" | head -n 1)
[ "$count" = 1 ] || fail "the stroke display table holds $count rows, not the 1 step of 一: $rows"
echo "$rows" | sed -n 2p | grep -q '^D2BB3031$' || fail "unexpected row: $rows"
echo "selection end-to-end: typed, catalogue, next and previous all shown; 一 has $count step"
