#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with the real store under Xvfb and openbox: Ctrl+Shift+D opens the
# handwriting pad, and the real pointer draws 永 along its medians on the pad. 永 must be among
# the ten candidates: the drawing is repeated and the first, second, ... candidate chosen with
# its number key until the main window shows 永 (the clip it writes out for playing is 永's).
# QIR_E2E_SCREENSHOT=FILE keeps a picture of the pad with its candidates.
source "$(dirname "$0")/x11_session.sh" "$1"
probe=$2
table_rows=$3

[ -s bishunvec.db ] || fail "no vector table in the stage folder"
strokes=$("$probe" strokes . '永') || fail "cannot read the strokes of 永"
[ "$(echo "$strokes" | wc -l)" = 5 ] || fail "永 should have 5 strokes: $strokes"

# 永's clip as the store holds it (D3C0 in GB2312), to know it when the window shows it.
"$table_rows" donghua.db D3C0 >"$work/yong.avi" || fail "cannot read the clip of 永"
[ -s "$work/yong.avi" ] || fail "the store has no clip of 永"

start_program
wait_for_keyboard
xdotool key ctrl+shift+d
pad=""
for _ in $(seq 100); do
    pad=$(xdotool search --onlyvisible --name '^Find by drawing$' 2>/dev/null | head -n 1 || true)
    [ -n "$pad" ] && break
    sleep 0.1
done
[ -n "$pad" ] || fail "Ctrl+Shift+D opened no handwriting pad"

# The pad is where the window paints its guides' colour, rgb(200,90,90).
find_framed_box "$pad" 'rgb(200,90,90)' 150 "drawing pad in the pad's window"

for key in 1 2 3 4 5 6 7 8 9 0; do
    for line in 1 2 3 4 5; do
        drag_stroke "$pad" "$(echo "$strokes" | sed -n "${line}p")"
    done
    if [ "$key" = 1 ] && [ -n "${QIR_E2E_SCREENSHOT:-}" ]; then
        # Only for the picture: the pad has painted its candidates for the last stroke.
        wait_for_still_picture "$QIR_E2E_SCREENSHOT" 0.4 import -window "$pad"
    fi
    before1=$(mtime tmp1.avi) before2=$(mtime tmp2.avi) steps=$(mtime bishunbmp.db)
    # The chosen character is shown once the steps' rebuild rewrites the stroke display table;
    # its clip was written whole before, to tmp1.avi or tmp2.avi, in turn. Strokes drawn while
    # the pad still prepares its characters get their candidates when it is done, and a number
    # key before that chooses nothing: so the key is pressed again each second, for 15 s.
    for tick in $(seq 300); do
        [ $((tick % 20)) = 1 ] && xdotool key --window "$pad" "$key"
        [ "$(mtime bishunbmp.db)" != "$steps" ] && break
        sleep 0.05
    done
    [ "$(mtime bishunbmp.db)" != "$steps" ] || fail "choosing candidate $key showed no character"
    written=""
    [ -s tmp1.avi ] && [ "$(mtime tmp1.avi)" != "$before1" ] && written=tmp1.avi
    [ -s tmp2.avi ] && [ "$(mtime tmp2.avi)" != "$before2" ] && written=tmp2.avi
    [ -n "$written" ] || fail "choosing candidate $key wrote no clip"
    if cmp -s "$written" "$work/yong.avi"; then
        echo "handwriting end-to-end: 永 drawn with the pointer on a ${box_side} px pad was candidate $key"
        exit 0
    fi
done
fail "永 drawn on the pad was not among its ten candidates"
