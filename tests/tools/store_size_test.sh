#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built character store's tables together stay under 150 MB, the size the package and each
# installation can afford. Usage: store_size_test.sh STORE_DIR
set -euo pipefail
total=0
for table in "$1"/*.db; do
    size=$(stat -c %s "$table")
    echo "$(basename "$table"): $size bytes"
    total=$((total + size))
done
echo "all tables: $total bytes"
[ "$total" -lt 150000000 ] || { echo "FAIL: the store has grown past 150 MB" >&2; exit 1; }
