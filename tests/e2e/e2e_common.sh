# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by every end-to-end test: a scratch folder of the test's own with a private runtime
# folder, processes stopped and the folder removed at the end, and a failure that shows the logs.
set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/qir-e2e-XXXXXX")
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()

cleanup() {
    [ -n "${KEEP:-}" ] && return
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; cat "$log"; } >&2
    done
    exit 1
}


# Waits up to 10 s for FILE to be written: not empty, and newer than SINCE when given.
wait_for_file() {
    local file=$1 since=${2:-}
    for _ in $(seq 100); do
        [ -s "$file" ] && { [ -z "$since" ] || [ "$file" -nt "$since" ]; } && return 0
        sleep 0.1
    done
    fail "$file was not written"
}

# Takes a picture with COMMAND... (an import writing to the file given last) into FILE until
# two taken GAP seconds apart are the same, for up to 15 s: what the window shows has stopped
# changing. GAP is longer than any pause in what moves there.
wait_for_still_picture() {  # FILE GAP COMMAND...
    local file=$1 gap=$2
    shift 2
    "$@" "$file.previous" 2>/dev/null || true
    local deadline=$(($(date +%s) + 15))
    while [ "$(date +%s)" -lt "$deadline" ]; do
        sleep "$gap"
        "$@" "$file" 2>/dev/null || true
        [ "$(compare -metric AE "$file.previous" "$file" null: 2>&1 || true)" = 0 ] && return 0
        mv "$file" "$file.previous"
    done
    fail "the picture for $file did not stop changing"
}

# The modification time of FILE to the nanosecond, or "none" when it does not exist.
mtime() {
    stat -c %y "$1" 2>/dev/null || echo none
}

# Waits up to 10 s for FILE to be written anew: not empty, and modified since BEFORE (what
# mtime said before the action).
wait_for_rewrite() {
    local file=$1 before=$2
    for _ in $(seq 200); do
        [ -s "$file" ] && [ "$(mtime "$file")" != "$before" ] && return 0
        sleep 0.05
    done
    fail "$file was not written"
}

# The program's working directory, entered: everything from the stage folder STAGE_DIR; the
# read-only tables are linked, the rest copied, since the program writes only its scratch files.
prepare_working_directory() {
    local stage_dir
    stage_dir=$(cd "$1" && pwd)
    mkdir "$work/cwd"
    for file in "$stage_dir"/*; do
        case "$(basename "$file")" in
            donghua.db | bishun.db | bishunvec.db | bishunzi.db) ln -s "$file" "$work/cwd/" ;;
            *) cp -r "$file" "$work/cwd/" ;;
        esac
    done
    cd "$work/cwd"
}

# A session bus of our own, on a socket in the scratch folder, exported as the session's. It
# starts no service on demand: only what the test starts on it runs there.
start_session_bus() {
    cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile --print-address=1 \
        >"$work/bus-address" 2>"$work/dbus.log" &
    pids+=($!)
    for _ in $(seq 150); do
        [ -s "$work/bus-address" ] && break
        sleep 0.1
    done
    [ -s "$work/bus-address" ] || fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus-address")
    export DBUS_SESSION_BUS_ADDRESS
}
