#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program as GNOME's users meet it: Qt's GTK platform theme, chosen by Qt itself on a
# GNOME desktop, gives the program GTK's own file dialog. "Save practice sheet as PDF…" is
# opened from the animation's context menu ten times by keyboard and ten times by mouse; each
# time the sheet dialog is taken with Return and GTK's file dialog (a window not of the
# program's class) closed with Escape; the program must live through all of them.
# Skipped (77) where Qt's GTK theme is not installed (Debian: qt6-gtk-platformtheme).
theme=$(find /usr/lib/*/qt6/plugins/platformthemes -name 'libqgtk3.so' 2>/dev/null | head -n 1)
if [ -z "$theme" ]; then
    echo "skipped: Qt's GTK platform theme (qt6-gtk-platformtheme) is not installed"
    exit 77
fi
source "$(dirname "$0")/x11_session.sh" "$1"
[ -s donghua.db ] || fail "no character store in the stage folder"

export XDG_CURRENT_DESKTOP=GNOME
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME/Documents"
# GTK's file dialog talks to the session bus; the test brings its own.
export NO_AT_BRIDGE=1 GTK_A11Y=none
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")

start_program
read -r x y < <(window_position)
wait_for_keyboard
# 永, typed into the input box (clicked first: the GTK theme's start may take the focus late).
# Shown once the steps' rebuild rewrites the stroke display table, after the clip.
touch -d "@$(($(date +%s) - 1))" "$work/stamp"
steps=$(mtime bishunbmp.db)
for attempt in 1 2 3; do
    xdotool mousemove $((x + 34 + 50)) $((y + 91 + 10)) click 1
    wait_for_keyboard
    type_character '永'
    for _ in $(seq 50); do [ "$(mtime bishunbmp.db)" != "$steps" ] && break 2; sleep 0.1; done
done
wait_for_rewrite bishunbmp.db "$steps"
[ tmp2.avi -nt "$work/stamp" ] || fail "typing 永 showed no clip"

title="Save practice sheet as PDF"
# The animation's centre, where the context menu is asked for.
ax=$((x + 295 + 76))
ay=$((y + 100 + 62))

# The window titled $title that is the program's own (KIND ours: the sheet dialog) or not
# (KIND gtk: GTK's file dialog, which the GTK theme gives the program).
find_dialog() {
    local candidate
    for candidate in $(xdotool search --onlyvisible --name "^$title" 2>/dev/null); do
        if xprop -id "$candidate" WM_CLASS 2>/dev/null | grep -q MyTarsel; then
            [ "$1" = ours ] && { echo "$candidate"; return 0; }
        else
            [ "$1" = gtk ] && { echo "$candidate"; return 0; }
        fi
    done
    return 1
}

wait_for_dialog() {  # KIND WHAT
    dialog=""
    for _ in $(seq 100); do
        dialog=$(find_dialog "$1") && return 0
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended while the dialog opened ($2)"
        sleep 0.1
    done
    fail "the $1 dialog did not open ($2)"
}

# Gives the dialog the keyboard and waits up to 10 s until the display says it has it.
focus_dialog() {  # WHAT
    for _ in $(seq 100); do
        xdotool windowfocus "$dialog" 2>/dev/null || true
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$dialog" ] && return 0
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended while its dialog took the keyboard ($1)"
        sleep 0.1
    done
    fail "the dialog did not get the keyboard ($1)"
}

# The sheet dialog comes first; Return takes its choices, and GTK's file dialog opens.
save_through_sheet_dialog() {
    wait_for_dialog ours "$1"
    focus_dialog "$1"
    xdotool key Return
    wait_for_dialog gtk "$1"
}

# Escape closes GTK's file dialog; the main window has the keyboard again, and the program
# runs on.
close_dialog() {
    focus_dialog "$1"
    xdotool key Escape
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$title" >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "^$title" >/dev/null 2>&1 && fail "Escape left the dialog open ($1)"
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended when the dialog closed ($1)"
    wait_for_keyboard
}

# The context menu: the program's visible windows other than the main window.
menu_window() {
    for _ in $(seq 150); do
        for candidate in $(xdotool search --onlyvisible --class MyTarsel 2>/dev/null); do
            [ "$candidate" != "$window" ] && { echo "$candidate"; return 0; }
        done
        sleep 0.1
    done
    return 1
}

checked_theme=""
for round in $(seq 10); do
    # By keyboard: the menu's second entry.
    xdotool mousemove "$ax" "$ay" click 3
    # Once the menu is shown, the program gives it every key.
    menu_window >/dev/null || fail "no context menu (keyboard, round $round)"
    xdotool key Down Down Return
    save_through_sheet_dialog "keyboard, round $round"
    if [ -z "$checked_theme" ]; then
        import -window root "$work/gtk-dialog.png" 2>/dev/null || true
        [ -n "${QIR_E2E_SCREENSHOT:-}" ] && cp "$work/gtk-dialog.png" "$QIR_E2E_SCREENSHOT"
        checked_theme=yes
    fi
    close_dialog "keyboard, round $round"

    # By mouse: a click on the menu's second entry.
    xdotool mousemove "$ax" "$ay" click 3
    menu=$(menu_window) || fail "no context menu (mouse, round $round)"
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 3 / 4)) click 1
    save_through_sheet_dialog "mouse, round $round"
    close_dialog "mouse, round $round"
done
# The program lived through all of them: its exit button ends it, with status 0.
xdotool mousemove $((x + 543 + 30)) $((y + 58 + 12)) click 1
for _ in $(seq 150); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the exit button did not end the program"
status=0
wait "$program_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status after the dialogs"
echo "GTK theme end-to-end: the save dialog opened and closed 20 times (10 by keyboard, 10 by mouse)"
