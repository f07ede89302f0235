#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds the program and its character store, and makes the Debian package in
# build/package/: the program's and the architecture-independent data package. Prints their
# paths.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cpack -G DEB --config "$root/build/CPackConfig.cmake" -B "$root/build/package" >/dev/null
ls "$root"/build/package/qir-stroke_*.deb "$root"/build/package/qir-stroke-data_*.deb
