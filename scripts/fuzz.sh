#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build-fuzz/ (the fuzz preset of CMakePresets.json),
# the project's code instrumented for coverage, AddressSanitizer and UBSan, and runs each for a
# bounded time from its seeds in the repository. Prints one line per target: runs, coverage from
# the seeds and at the end, corpus.
# A crash, a leak, a timeout or a failed check fails the run; the input that caused it is kept
# in build-fuzz/artifacts/ and shown in hex.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 6, or $QIR_FUZZ_SECONDS)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-${QIR_FUZZ_SECONDS:-6}}

"$root/scripts/configure.sh" fuzz "$build"
cmake --build "$build" --parallel "$(nproc)" --target qir_fuzzers

# Every run works in a scratch folder of its own: new corpus entries, and whatever the code
# under test writes to the working directory or the temporary folder.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qir-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
artifacts="$build/artifacts"
logs="$build/logs"
mkdir -p "$artifacts" "$logs"

# The field after `label` on libFuzzer's status line `line`, e.g. "cov:".
field() { awk -v label="$2" '{ for (i = 1; i < NF; i++) if ($i == label) { print $(i + 1); exit } }' <<<"$1"; }

failed=()
while IFS=$'\t' read -r name program seeds; do
    if [ ! -d "$seeds" ]; then
        echo "fuzz: $name has no seeds: add a few inputs to $seeds (see tests/fuzz/README.md)"
        failed+=("$name")
        continue
    fi
    work="$scratch/$name"
    mkdir -p "$work/corpus" "$work/tmp"
    log="$logs/$name.log"
    rm -f "$artifacts/$name"-*
    started=$(date +%s)
    status=0
    (cd "$work/tmp" && TMPDIR="$work/tmp" "$program" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$work/corpus" "$seeds" \
        >"$log" 2>&1) || status=$?
    elapsed=$(($(date +%s) - started))
    inited=$(grep -E '^#[0-9]+[[:space:]]+INITED' "$log" | tail -n 1 || true)
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    if [ "$status" -eq 0 ] && [ -n "$done_line" ]; then
        corpus=$(field "$done_line" corp:)
        printf 'fuzz: %-24s %3d s %9s runs  coverage %5s points (seeds %s)  features %s  corpus %s inputs\n' \
            "$name" "$elapsed" "${done_line%%[[:space:]]*}" "$(field "$done_line" cov:)" \
            "$(field "$inited" cov:)" "$(field "$done_line" ft:)" "${corpus%%/*}" | tr -d '#'
    else
        echo "fuzz: $name FAILED (exit $status after $elapsed s); the end of its log:"
        tail -n 60 "$log"
        for input in "$artifacts/$name"-*; do
            [ -e "$input" ] || continue
            echo "fuzz: the failing input, $input ($(stat -c %s "$input") bytes):"
            od -A x -t x1z "$input" | head -n 64
        done
        failed+=("$name")
    fi
done <"$build/fuzz-targets.txt"

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}; logs in $logs"
    exit 1
fi
echo "fuzz: every target ran $seconds s without a fault"
