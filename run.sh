#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the program in its working directory build/stage/.
# ./run.sh --stage-only does everything but start it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh" stage

if [ "${1:-}" != "--stage-only" ]; then
    cd "$root/build/stage"
    exec ./qir-stroke
fi
