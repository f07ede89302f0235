#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

# The code that reads untrusted bytes (pictures, clips, table files) runs its suites once more
# under AddressSanitizer and UndefinedBehaviorSanitizer.
"$root/scripts/sanitized-tests.sh"

# Every fuzz target runs a few seconds from its seeds, against code built for coverage and
# the same sanitizers (clang, in build-fuzz/).
"$root/scripts/fuzz.sh"

cd "$root/build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
