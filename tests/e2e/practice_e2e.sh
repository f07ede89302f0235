#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with the real store under Xvfb and openbox: 十 typed, its shortcut
# (Ctrl+Shift+W, pressed with the keyboard in the input box) opens the practice window, and the
# real pointer writes both strokes along the character's medians in the writing box; the
# practice record then holds 十 with a score of 100 and no mistakes.
# QIR_E2E_SCREENSHOT=PREFIX keeps PREFIX-middle.png (one stroke written) and PREFIX-end.png.
source "$(dirname "$0")/x11_session.sh" "$1"
probe=$2

[ -s bishunvec.db ] || fail "no vector table in the stage folder"
strokes=$("$probe" strokes . '十') || fail "cannot read the strokes of 十"
[ "$(echo "$strokes" | wc -l)" = 2 ] || fail "十 should have 2 strokes: $strokes"

start_program
wait_for_keyboard
# 十 is CA AE in GB2312; it is shown once the steps' rebuild rewrites the stroke display table.
steps=$(mtime bishunbmp.db)
type_character '十'
wait_for_rewrite bishunbmp.db "$steps"

# The shortcut, pressed while the input box has the keyboard (it has just taken 十): the box
# must not take the key for itself, as it takes Ctrl+E for "end of line" under X11. (The
# context menu's entry has its widget test.)
xdotool key ctrl+shift+w
practice=""
for _ in $(seq 100); do
    practice=$(xdotool search --onlyvisible --name '^Write it yourself$' 2>/dev/null | head -n 1 || true)
    [ -n "$practice" ] && break
    sleep 0.1
done
[ -n "$practice" ] || fail "Ctrl+Shift+W opened no practice window"
[ -s practice-record.sqlite ] || wait_for_file practice-record.sqlite

# The writing box is where the window paints its guides' colour, rgb(220,120,120): the outer
# square of the 田字格 spans the box. Waits until the window has painted it.
find_framed_box "$practice" 'rgb(220,120,120)' 300 "writing box in the practice window"
side=$box_side left=$box_left top=$box_top
[ "$box_height" -ge $((side - 3)) ] && [ "$box_height" -le $((side + 3)) ] ||
    fail "the writing box is not square: ${side}x$box_height"
[ "$side" -ge 360 ] || fail "the writing box is $side px, less than 360"

record=$(mtime practice-record.sqlite)
drag_stroke "$practice" "$(echo "$strokes" | sed -n 1p)"
# The first stroke, judged right, snaps to the outline; the second is still to come.
[ "$(mtime practice-record.sqlite)" = "$record" ] || fail "the record changed after one stroke"
if [ -n "${QIR_E2E_SCREENSHOT:-}" ]; then
    # Only for the picture: the stroke snapped to its outline, which a done stroke fills in
    # pure black (the ink is not quite black).
    snapped=""
    for _ in $(seq 150); do
        import -window "$practice" "$work/middle.png" 2>/dev/null || true
        snapped=$(convert "$work/middle.png" -crop "${side}x${side}+${left}+${top}" +repage \
            -fill white +opaque black -format '%[fx:minima.r==0]' info: 2>/dev/null || true)
        [ "$snapped" = 1 ] && break
        sleep 0.1
    done
    [ "$snapped" = 1 ] || fail "the first stroke was never painted as done"
    import -window root "${QIR_E2E_SCREENSHOT}-middle.png" 2>/dev/null || true
fi
drag_stroke "$practice" "$(echo "$strokes" | sed -n 2p)"
wait_for_rewrite practice-record.sqlite "$record"
if [ -n "${QIR_E2E_SCREENSHOT:-}" ]; then
    # Only for the picture: the replay of the finished character has ended. It rests a fifth
    # of a second between strokes and moves at the screen's pace within one.
    wait_for_still_picture "${QIR_E2E_SCREENSHOT}-end.png" 0.4 import -window root
fi

rows=$("$probe" record practice-record.sqlite) || fail "cannot read the practice record"
[ "$(echo "$rows" | wc -l)" = 1 ] || fail "the record should hold one attempt: $rows"
[ "$rows" = "十 100 0 0" ] || fail "十 written right should score 100 with no mistakes: $rows"
echo "practice end-to-end: 十 written with the pointer in a ${side} px box; record: $rows"
