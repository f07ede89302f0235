#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with a real input method: Fcitx 5 and its pinyin engine, on a D-Bus session,
# HOME and profile of their own, under Xvfb and openbox. "yong" with 永 chosen writes 永's clip;
# a full-width comma brings up the not-found notice; a pre-edit cancelled with Escape leaves
# the box, the clip and the screen as they were. No key that went to the input method beeps.
table_rows=$(realpath "$2")
source "$(dirname "$0")/x11_session.sh" "$1"

[ -s donghua.db ] || fail "no character store in the stage folder"

# Fcitx keeps its profile, its learnt words and its caches under HOME: a fresh one each run.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$XDG_CONFIG_HOME/fcitx5/conf" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
EOF
# Pinyin is on from the first key; no pop-up names the input method on focus.
cat >"$XDG_CONFIG_HOME/fcitx5/config" <<'EOF'
[Behavior]
ActiveByDefault=True
ShowInputMethodInformation=False
ShowFirstInputMethodInformation=False
EOF
# Nothing leaves the machine; candidates come from the local dictionary alone.
cat >"$XDG_CONFIG_HOME/fcitx5/conf/pinyin.conf" <<'EOF'
CloudPinyinEnabled=False
PageSize=9
EOF

# A session bus of our own, on a socket in the scratch folder. It starts no service on demand,
# so the only Fcitx on it is the one started below, with its options.
start_session_bus

# Wayland and the tray, notification and clipboard add-ons have nothing to talk to here.
fcitx5 --disable=wayland,waylandim,notificationitem,notifications,clipboard >"$work/fcitx5.log" 2>&1 &
pids+=($!)
fcitx_ready() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q 'boolean true'
}
for _ in $(seq 100); do
    fcitx_ready && break
    sleep 0.1
done
fcitx_ready || fail "fcitx5 did not come up on the session bus"

# Every bell the display rings, one line each.
echo "Bell() shell \"echo bell >> '$work/bells'\"" >"$work/bells.cfg"
xkbevd -cfg "$work/bells.cfg" >"$work/xkbevd.log" 2>&1 &
pids+=($!)
bells() { [ -f "$work/bells" ] && wc -l <"$work/bells" || echo 0; }

export QT_IM_MODULE=fcitx
start_program
read -r x y < <(window_position)
# The pointer rests off the window, so that no tooltip counts as a window of the program.
xdotool mousemove 0 0
wait_for_keyboard
# Keys reach Fcitx once the input box's input context has the focus there: Fcitx then reports
# its input method active (2) for it; before, it reports nothing focused (0).
for _ in $(seq 150); do
    [ "$(fcitx5-remote 2>/dev/null)" = 2 ] && break
    sleep 0.1
done
[ "$(fcitx5-remote 2>/dev/null)" = 2 ] || fail "the input box has no active input context with Fcitx"

# The input box as a person sees it, but for its left edge, where an empty box's caret blinks;
# -silent, since import rings the bell otherwise.
box_shot() { import -silent -window root -crop "103x23+$((x + 40))+$((y + 91))" +repage "$work/$1.png"; }
same_picture() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = 0 ]; }
stamp() { touch "$work/stamp"; }
# The clip file written since the stamp, if any.
new_clip() {
    for clip in tmp1.avi tmp2.avi; do
        [ -s "$clip" ] && [ "$clip" -nt "$work/stamp" ] && { echo "$clip"; return; }
    done
    return 0
}
program_windows() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | grep -vx "$window" || true; }
# Waits up to 15 s until the program shows no window but its main one.
wait_for_no_program_windows() {  # WHAT
    for _ in $(seq 150); do
        [ -z "$(program_windows)" ] && return 0
        sleep 0.1
    done
    fail "$1"
}
# Takes the box's picture as SHOT until it looks the SAME as, or UNLIKE, the picture
# REFERENCE, for up to 15 s; fails saying WHAT did not happen.
wait_for_box() {  # same|unlike REFERENCE SHOT WHAT
    for _ in $(seq 100); do
        box_shot "$3"
        if same_picture "$2" "$3"; then
            [ "$1" = same ] && return 0
        else
            [ "$1" = unlike ] && return 0
        fi
        sleep 0.05
    done
    fail "$4"
}
# Waits up to 15 s for the program's dialog WINDOW to be active and painted (more than two
# colours in its picture), so that a key answers it and a picture shows it.
wait_for_dialog_shown() {  # WINDOW WHAT
    wait_for_keyboard "$1"
    for _ in $(seq 150); do
        [ "$(import -silent -window "$1" png:- 2>/dev/null | identify -format '%k' - 2>/dev/null || echo 0)" -gt 2 ] &&
            return 0
        sleep 0.1
    done
    fail "$2 was never painted"
}

"$table_rows" donghua.db D3C0 >"$work/yong.avi" || fail "the store has no clip of 永 (D3C0)"
wait_for_no_program_windows "a window of the program besides the main one stayed up at start"
box_shot empty
bells_before=$(bells)

# 1. "yong", then a candidate. Fcitx learns the order of its candidates, so rather than trust a
# position, each one in turn is chosen until the clip written is 永's; another character is
# taken back out of the box with Backspace. A character of the store is shown once the steps'
# rebuild rewrites the stroke display table, after its clip; one outside it brings up the
# not-found notice.
chosen=""
for candidate in 1 2 3 4 5 6 7 8 9; do
    stamp
    steps=$(mtime bishunbmp.db)
    xdotool type --delay 120 yong
    [ "$candidate" = 1 ] && wait_for_box unlike empty preedit "the pre-edit of \"yong\" did not show in the box"
    xdotool key "$candidate"
    outcome="nothing within 15 s"
    for _ in $(seq 150); do
        [ "$(mtime bishunbmp.db)" != "$steps" ] && { outcome=shown; break; }
        notice=$(program_windows | head -n 1)
        [ -n "$notice" ] && { outcome=notice; break; }
        sleep 0.1
    done
    echo "candidate $candidate: $outcome" >>"$work/candidates.log"
    if [ "$outcome" = notice ]; then
        # A candidate from outside the store: the notice, answered Yes.
        wait_for_dialog_shown "$notice" "the not-found notice of candidate $candidate"
        xdotool key Return
        wait_for_no_program_windows "Enter did not close the notice of candidate $candidate"
    elif [ "$outcome" = shown ] && clip=$(new_clip) && [ -n "$clip" ] && cmp -s "$clip" "$work/yong.avi"; then
        chosen=$candidate
        break
    fi
    xdotool key BackSpace
    wait_for_box same empty backspaced "Backspace did not empty the box after candidate $candidate"
done
[ -n "$chosen" ] || fail "none of the first nine candidates of \"yong\" wrote the clip of 永"
[ "$(bells)" = "$bells_before" ] || fail "typing through the input method beeped $(($(bells) - bells_before)) times"

# 2. A full-width comma is two GB2312 bytes that pass the key filter, and no character of the
# store: the notice comes up, and Enter answers it.
xdotool key BackSpace
wait_for_box same empty backspaced "Backspace did not empty the box after 永"
stamp
xdotool key comma
dialog=""
for _ in $(seq 150); do
    dialog=$(program_windows | head -n 1)
    [ -n "$dialog" ] && break
    sleep 0.1
done
[ -n "$dialog" ] || fail "a full-width comma brought up no notice"
title=$(xdotool getwindowname "$dialog")
wait_for_dialog_shown "$dialog" "the notice of the comma"
import -silent -window root "$work/notice.png"
[ -n "${QIR_E2E_SCREENSHOT:-}" ] && cp "$work/notice.png" "$QIR_E2E_SCREENSHOT"
xdotool key Return
wait_for_no_program_windows "Enter did not close the notice"
[ -z "$(new_clip)" ] || fail "a character outside the store wrote a clip"
[ "$(bells)" = "$bells_before" ] || fail "the comma beeped"

# 3. A pre-edit cancelled with Escape: nothing reaches the box, nothing is shown or written.
xdotool key BackSpace
wait_for_box same empty cleared "Backspace did not empty the box after the comma"
stamp
xdotool type --delay 120 yong
wait_for_box unlike cleared typing "the pre-edit did not show before Escape"
xdotool key Escape
wait_for_box same cleared cancelled "the box is not empty again after Escape"
[ -z "$(new_clip)" ] || fail "a cancelled pre-edit wrote a clip"
[ -z "$(program_windows)" ] || fail "a cancelled pre-edit brought up a window"
[ "$(bells)" = "$bells_before" ] || fail "the cancelled pre-edit beeped"

# The bell counter hears the box: a digit with no pre-edit goes to the box, which refuses it.
xdotool key 7
for _ in $(seq 150); do
    [ "$(bells)" -gt "$bells_before" ] && break
    sleep 0.1
done
[ "$(bells)" = $((bells_before + 1)) ] ||
    fail "a digit refused by the box rang $(($(bells) - bells_before)) bells, not 1"

# Exit; the stroke display table still holds 永's steps: the comma and the cancelled pre-edit
# touched nothing.
xdotool mousemove $((x + 543 + 30)) $((y + 58 + 12)) click 1
for _ in $(seq 150); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the exit button did not end the program"
rows=$("$table_rows" bishunbmp.db) || fail "cannot read bishunbmp.db"
steps=$(echo "$rows" | head -n 1)
echo "$rows" | sed -n 2p | grep -qx 'D3C03031' || fail "the stroke steps shown are not 永's: $rows"
[ "$(echo "$rows" | tail -n +2 | grep -cv '^D3C0')" = 0 ] || fail "steps of another character: $rows"

echo "input method end-to-end: 永 was candidate $chosen of \"yong\"; its clip and $steps steps were" \
    "shown; \"，\" brought up the notice \"$title\"; Escape cancelled a pre-edit; no bell but the digit's"
