#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole character store built the way the build builds it (all 6,763 characters, the
# corrections, the facts from the Unicode data) into a scratch folder: wall, user and system
# time of each run, the load beside it, and the builder's summary. With COMPARE_BUILDER set to
# another qir-store-builder (say, main's, built beside), the runs alternate between the two and
# the rows of every table the two made are compared, so a change can show that it keeps the
# store's bytes.
# Usage: bench/tools/store_build_bench.sh [STAGE_DIR] [RUNS]   (STAGE_DIR: build/stage)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
stage_dir=${1:-$root/build/stage}
build_dir=$(dirname "$stage_dir")
runs=${2:-1}
builder="$build_dir/tools/store_builder/qir-store-builder"
rows="$build_dir/bench/tools/helpers/store_rows"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build() {  # build NAME BUILDER
    local out="$work/$1"
    rm -rf "$out"
    local load
    load=$(cut -d' ' -f1 /proc/loadavg)
    TIMEFORMAT='%R %U %S'
    { time "$2" --data "$root/node_modules/hanzi-writer-data" --out "$out" \
        --corrections "$root/data/order_corrections.txt" --unicode /usr/share/unicode \
        --quiet >"$work/$1.summary" 2>&1; } 2>"$work/time.txt"
    read -r wall user sys <"$work/time.txt"
    printf '  %-7s wall %6.2f s  CPU %6.2f s (user %.2f, system %.2f)  load %s\n' "$1" "$wall" \
        "$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" "$user" "$sys" "$load"
}

echo "the whole store built, $runs run(s) each:"
for _ in $(seq "$runs"); do
    if [[ -n "${COMPARE_BUILDER:-}" ]]; then
        build before "$COMPARE_BUILDER"
    fi
    build after "$builder"
done
echo "the builder's summary:"
sed 's/^/  /' "$work/after.summary"

if [[ -n "${COMPARE_BUILDER:-}" ]]; then
    # The table files differ wherever the encryption's salt does; their rows must not.
    echo "rows of each table, before against after:"
    for table in "$work/after"/*.db; do
        name=$(basename "$table")
        "$rows" "$work/before/$name" >"$work/before.rows"
        "$rows" "$table" >"$work/after.rows"
        if cmp -s "$work/before.rows" "$work/after.rows"; then
            echo "  $name: the same $(wc -l <"$work/after.rows") rows"
        else
            echo "  $name: DIFFERENT rows"
        fi
    done
fi
