#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures (once, with the release preset of CMakePresets.json) and builds the given targets
# into build/, staging build/stage/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

"$root/scripts/configure.sh" "${QIR_PRESET:-release}" "$build"
cmake --build "$build" --parallel "$(nproc)" ${1:+--target "$@"}
