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
