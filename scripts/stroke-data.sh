#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the pinned stroke data (npm package hanzi-writer-data) and the stroke-order reference
# it is checked against (cnchar-order) into node_modules/ at the repository root. Does nothing
# when node_modules already matches package-lock.json. Set-up runs it; the build runs it with
# --check, which only reads and fails when the data is missing or out of date.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stamp="$root/node_modules/.qir-stroke-data.lock"
data="$root/node_modules/hanzi-writer-data"
reference="$root/node_modules/cnchar-order"

# The stamp changes only when the data does, so the build can tell a real change from a touch.
if [ -f "$stamp" ] && cmp -s "$root/package-lock.json" "$stamp" && [ -f "$data/package.json" ] \
    && [ -f "$reference/package.json" ]; then
    exit 0
fi
if [ "${1:-}" = "--check" ]; then
    echo "stroke-data.sh: the stroke data in node_modules/ is missing or does not match" \
        "package-lock.json; run scripts/setup.sh" >&2
    exit 1
fi
if ! command -v npm >/dev/null 2>&1; then
    echo "stroke-data.sh: npm is needed to install the stroke data (scripts/setup.sh installs it)" >&2
    exit 1
fi
echo "Installing the stroke data (hanzi-writer-data, cnchar-order) from package-lock.json"
cd "$root"
npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
cp package-lock.json "$stamp"
