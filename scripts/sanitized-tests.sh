#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the store, stroke picture and animation suites with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ (the asan preset of CMakePresets.json) and runs
# them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-asan"
suites=(store strokes animation)

"$root/scripts/configure.sh" asan "$build"
cmake --build "$build" --parallel "$(nproc)" --target "${suites[@]/%/_tests}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for suite in "${suites[@]}"; do
    echo "Sanitized: ${suite}_tests"
    (cd "$build/tests/$suite" && "./${suite}_tests" --gtest_brief=1)
done
