# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests: a private X server with a window manager, a scratch working
# directory prepared from the stage folder, and helpers to drive the real program.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
stage_dir=$(cd "$1" && pwd)
prepare_working_directory "$stage_dir"

# A display of our own with openbox managing it. Once in CI openbox could not open a display
# Xvfb had just announced, with nothing in Xvfb's log; so a start that does not come up is
# described in session.log, stopped, and tried afresh, up to three times.
start_x_session() {
    local attempt xvfb_pid openbox_pid
    for attempt in 1 2 3; do
        # -displayfd tells us which number Xvfb took, once it accepts clients.
        exec 3<> <(:)
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >>"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        pids+=("$xvfb_pid")
        display_number=""
        read -r -t 10 display_number <&3 || true
        exec 3<&-
        if [ -z "$display_number" ]; then
            echo "attempt $attempt: Xvfb announced no display" >>"$work/session.log"
            kill "$xvfb_pid" 2>/dev/null || true
            wait "$xvfb_pid" 2>/dev/null || true
            continue
        fi
        export DISPLAY=":$display_number"
        openbox >>"$work/openbox.log" 2>&1 &
        openbox_pid=$!
        pids+=("$openbox_pid")
        # The supporting-WM check appears before openbox has finished starting, and a window
        # mapped in that moment stays unmanaged for many seconds. Its client list is set last,
        # once it has taken over the windows already there and turns to new ones.
        for _ in $(seq 200); do
            if xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)'; then
                return 0
            fi
            kill -0 "$openbox_pid" 2>/dev/null || break
            sleep 0.05
        done
        {
            echo "attempt $attempt: openbox did not take display $DISPLAY"
            kill -0 "$xvfb_pid" 2>/dev/null && echo "  Xvfb is running" || echo "  Xvfb has ended"
            kill -0 "$openbox_pid" 2>/dev/null && echo "  openbox is running" || echo "  openbox has ended"
            xdpyinfo >/dev/null 2>&1 && echo "  the display answers" || echo "  the display does not answer"
            ls -la /tmp/.X11-unix /tmp/.X"$display_number"-lock 2>&1 | sed 's/^/  /' || true
        } >>"$work/session.log"
        kill "$openbox_pid" "$xvfb_pid" 2>/dev/null || true
        wait "$openbox_pid" "$xvfb_pid" 2>/dev/null || true
    done
    fail "openbox did not start"
}
start_x_session

# Starts the program (by default ./qir-stroke; or the command given) and waits for its window.
start_program() {
    [ $# -gt 0 ] || set -- ./qir-stroke
    "$@" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    window=""
    # Looks every QIR_WINDOW_POLL seconds (0.1 unless a benchmark asks for finer) for 15 s.
    local poll=${QIR_WINDOW_POLL:-0.1}
    local deadline=$(($(date +%s%N) + 15000000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        window=$(xdotool search --onlyvisible --class MyTarsel 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended at start"
        sleep "$poll"
    done
    [ -n "$window" ] || fail "no MyTarsel window appeared"
}

# Presses the key of CHARACTER, one that no keyboard layout has, such as 永. xdotool would
# bind it to a spare key only for the moment of the press; a program that, busy, reads the
# changed keyboard map a moment late finds that key bound to nothing again, and the character
# is lost. So it is bound here to a spare key for the rest of the session first.
type_character() {
    local keysym spare
    keysym=U$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n' |
        sed 's/^0*//' | tr a-f A-F)
    if ! xmodmap -pke | grep -qw "$keysym"; then
        spare=$(xmodmap -pke | awk 'NF == 3 { key = $2 } END { print key }')
        [ -n "$spare" ] || fail "no spare key for $1"
        xmodmap -e "keycode $spare = $keysym $keysym"
    fi
    xdotool key "$keysym"
}

window_position() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X $Y"
}

# Waits up to 15 s for WINDOW (by default the program's window) to be the active one, so that
# typing reaches it.
wait_for_keyboard() {
    local target=${1:-$window}
    for _ in $(seq 300); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$target" ] && return 0
        sleep 0.05
    done
    fail "the window $target did not get the keyboard"
}

# Waits up to 5 s for WINDOW to paint a box framed in COLOUR ("rgb(r,g,b)") at least MIN
# pixels wide, and sets its side, height, left and top (box_side ... box_top, in the window).
# NAME says what the box is, should it not come.
find_framed_box() {
    local target=$1 colour=$2 min=$3 name=$4 found=""
    for _ in $(seq 50); do
        import -window "$target" "$work/box.png" 2>/dev/null || true
        found=$(convert "$work/box.png" -fuzz 4% -fill black +opaque "$colour" \
            -format '%@' info: 2>/dev/null || true)
        [[ "$found" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
            [ "${BASH_REMATCH[1]}" -ge "$min" ] && break
        found=""
        sleep 0.1
    done
    [ -n "$found" ] || fail "no $name found"
    box_side=${BASH_REMATCH[1]} box_height=${BASH_REMATCH[2]}
    box_left=${BASH_REMATCH[3]} box_top=${BASH_REMATCH[4]}
}

# Drags the real pointer in WINDOW along STROKE ("x,y x,y ...", the box found above as the unit
# square): press at its start, move through its points at a hand's pace (the toolkit sees each
# move as its own event), lift.
drag_stroke() {
    local target=$1 first=1 pair x y
    for pair in $2; do
        x=$(awk -v v="${pair%,*}" -v s="$box_side" -v o="$box_left" 'BEGIN { printf "%d", o + v * s }')
        y=$(awk -v v="${pair#*,}" -v s="$box_side" -v o="$box_top" 'BEGIN { printf "%d", o + v * s }')
        xdotool mousemove --window "$target" "$x" "$y"
        if [ "$first" = 1 ]; then
            xdotool mousedown 1
            first=0
        fi
        sleep 0.02
    done
    xdotool mouseup 1
}
