#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The order checker over every GB2312 character (with the catalogue's verdict), the way the
# build's check runs it: wall and CPU time of each run, and the report's counts.
# Usage: bench/tools/order_check_bench.sh [STAGE_DIR] [RUNS]   (STAGE_DIR: build/stage)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
stage_dir=$(cd "${1:-$root/build/stage}" && pwd)
build_dir=$(dirname "$stage_dir")
runs=${2:-5}
checker="$build_dir/tools/order_checker/qir-order-checker"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

times=()
for _ in $(seq "$runs"); do
    # The checker's exit status is its verdict on the catalogue, not a benchmark failure.
    TIMEFORMAT='%R %U'
    { time "$checker" --data "$root/node_modules/hanzi-writer-data" \
        --reference "$build_dir/tools/order_checker/order_reference.txt" \
        --corrections "$root/data/order_corrections.txt" \
        --catalogue "$root/selection/catalogue.txt" \
        --report "$work/report.txt" >"$work/summary.txt" 2>&1 || true; } 2>"$work/time.txt"
    times+=("$(cat "$work/time.txt")")
done
echo "order checker over GB2312, wall and user CPU (s):"
printf '  %s\n' "${times[@]}"
echo "its summary:"
sed 's/^/  /' "$work/summary.txt"
