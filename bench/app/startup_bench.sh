#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up to first shown window, and peak memory after showing a 23-stroke character, for the
# real program under Xvfb and openbox. The start is timed from the X server's events
# (window_shown_bench): when the window is shown, exposed, and first painted whole.
# Usage: bench/app/startup_bench.sh [STAGE_DIR] [RUNS] [OTHER_PROGRAM...]
#   OTHER_PROGRAM: another build's qir-stroke (say, main's build/stage/qir-stroke), started in
#   turn with the stage folder's in the same working directory, for figures side by side.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/x11_session.sh" "${1:-$here/../../build/stage}"
runs=${2:-9}
others=("${@:3}")

probe="$(dirname "$stage_dir")/bench/app/x11/window_shown_bench"
[ -x "$probe" ] || fail "$probe is not built"
"$probe" --runs "$runs" ./qir-stroke "${others[@]}"

start_program
for _ in $(seq 100); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break
    sleep 0.05
done
steps=$(mtime bishunbmp.db)
xdotool type --delay 150 '罐'
wait_for_rewrite bishunbmp.db "$steps"
# The rebuild writes all 23 steps; the last write is the one to wait for.
while [ "$(mtime bishunbmp.db)" != "$steps" ]; do
    steps=$(mtime bishunbmp.db)
    sleep 0.5
done
echo "peak resident memory after showing 罐: $(grep VmHWM /proc/"$program_pid"/status | awk '{print $2, $3}')"
