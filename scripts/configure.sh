#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures one build folder from its preset in CMakePresets.json: the first time, and again
# whenever the presets changed since, so that a changed preset is never silently ignored.
# Usage: scripts/configure.sh PRESET BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
preset=$1
build=$2
stamp="$build/.qir-configured-preset"

if [ ! -f "$build/CMakeCache.txt" ] || [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$preset" ] ||
    [ "$root/CMakePresets.json" -nt "$stamp" ]; then
    cmake -S "$root" --preset "$preset"
    echo "$preset" >"$stamp"
fi
