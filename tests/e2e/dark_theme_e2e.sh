#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a dark GTK theme (Qt's GTK platform theme with Adwaita's dark
# variant) under Xvfb: the skinned window's input box, catalogue and player bar stay light.
source "$(dirname "$0")/x11_session.sh" "$1"

plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platformthemes/*gtk3* >/dev/null 2>&1 || { echo "SKIP: no GTK platform theme"; exit 77; }
export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
export XDG_CONFIG_HOME="$work/config" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
start_program
# The window is painted once its picture holds more than a few colours: the toolkit puts all
# of its controls on the screen at once.
colours=0
for _ in $(seq 150); do
    import -window "$window" "$work/window.png" 2>/dev/null &&
        colours=$(identify -format '%k' "$work/window.png" 2>/dev/null || echo 0)
    [ "$colours" -gt 16 ] && break
    sleep 0.1
done
[ "$colours" -gt 16 ] || fail "the window was never painted (its picture has $colours colours)"
[ -n "${QIR_E2E_SCREENSHOT:-}" ] && cp "$work/window.png" "$QIR_E2E_SCREENSHOT"

# The lightness (0 to 100) of the window's pixel at X, Y.
lightness() {
    convert "$work/window.png" -colorspace Gray -format "%[fx:round(100*p{$1,$2})]" info:
}
check_light() {  # WHAT X Y
    local seen
    seen=$(lightness "$2" "$3")
    [ "$seen" -ge 80 ] || fail "$1 is dark under the dark theme (lightness $seen at $2,$3)"
}
check_light "the input box" $((34 + 100)) $((91 + 12))
check_light "the catalogue" $((34 + 100)) $((91 + 300))
check_light "the player bar's first button" $((272 + 5)) $((229 + 10))
check_light "the grid's scroll bar" $((34 + 124 + 2 + 425 + 8)) $((91 + 3 + 161 + 86))
echo "dark theme end-to-end: the window's controls stay light"
