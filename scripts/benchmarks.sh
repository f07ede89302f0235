#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and runs every benchmark: each program in build/bench/<folder>/ and each
# shell benchmark bench/<folder>/*_bench.sh, after a description of the machine. A benchmark
# added to either place joins by itself. A program that needs what its folder's script sets up
# (an X session, say) lies one folder further down, where only that script runs it. The figures go to standard output and to
# build/bench-results/<time>.txt; docs/PERFORMANCE.md says what each one should reach.
# Usage: scripts/benchmarks.sh [ARGUMENTS FOR EVERY BENCHMARK PROGRAM...]
#   e.g. scripts/benchmarks.sh --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
# QIR_BENCH_FILTER=REGEX runs only the benchmarks whose name (app_bench, startup_bench, ...)
# matches.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
stage="$build/stage"
filter=${QIR_BENCH_FILTER:-.}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

mkdir -p "$build/bench-results" "$build/bench-data"
results="$build/bench-results/$(date -u +%Y%m%dT%H%M%SZ).txt"
exec > >(tee "$results") 2>&1

# Scratch files of the benchmarks (clips, tables, working directories) stay in here.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qir-bench-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

cpu=$(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n 1)
memory=$(awk '/^MemTotal:/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
echo "machine: ${cpu:-unknown CPU}, $(nproc) cores, $memory, $(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
echo "build: $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt") with" \
    "$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" | xargs -r basename)," \
    "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)"
echo "started: $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"

# The store benchmark builds a full-size synthetic store once and keeps it for later runs; the
# stroke and display benchmarks read the real one in the stage folder.
export QIR_BENCH_DIR="$build/bench-data/store"
export QIR_STAGE_DIR="$stage"
export QIR_STROKE_STORE="$stage"

mapfile -t programs < <(find "$build/bench" -mindepth 2 -maxdepth 2 -type f -executable | sort)
mapfile -t scripts < <(find "$root/bench" -mindepth 2 -maxdepth 2 -type f -name '*_bench.sh' | sort)
for program in "${programs[@]}"; do
    name=$(basename "$program")
    [[ $name =~ $filter ]] || continue
    echo
    echo "== $name"
    mkdir -p "$scratch/$name"
    (cd "$scratch/$name" && TMPDIR="$scratch/$name" "$program" "$@")
done
for script in "${scripts[@]}"; do
    name=$(basename "$script" .sh)
    [[ $name =~ $filter ]] || continue
    echo
    echo "== $name"
    TMPDIR="$scratch" "$script" "$stage"
done
echo
echo "finished: $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg); saved in $results"
