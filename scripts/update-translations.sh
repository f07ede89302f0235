#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Refreshes the translation sources (translations/*.ts) from the program's sources: a text newly
# marked with tr() or QCoreApplication::translate() comes in unfinished, for a translator to
# fill in (Qt Linguist, or by hand); a text no longer in the sources goes. The test
# translations.* fails until every text of every .ts file is translated.
# Usage: scripts/update-translations.sh [LUPDATE] [TS_FILE...]
#   LUPDATE defaults to Qt 6's lupdate; the .ts files to the English and Chinese ones.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lupdate=${1:-/usr/lib/qt6/bin/lupdate}
shift || true
cd "$root"
if [ $# -gt 0 ]; then
    ts_files=("$@")
else
    ts_files=(translations/qir-stroke_en.ts translations/qir-stroke_zh_CN.ts)
fi
# The folders of the program's own code (not the tools, tests or benchmarks, whose texts only
# developers read).
folders=(animation app commandline desktop facts geometry platform practice practice_window
    selection sheet sheet_dialog store strokes translations workfolder handwriting handwriting_pad)
# A folder a branch has not brought yet is left out rather than refused.
existing=()
for folder in "${folders[@]}"; do
    [ -d "$folder" ] && existing+=("$folder")
done
folders=("${existing[@]}")
for ts in "${ts_files[@]}"; do
    options=(-silent -locations none -no-obsolete -no-ui-lines -extensions cpp,h -I "$root")
    # English is the texts' own language: its file holds only the plural forms.
    [[ $ts == *_en.ts ]] && options+=(-pluralonly)
    # No source locations: they would change the files at every edit elsewhere.
    "$lupdate" "${options[@]}" "${folders[@]}" -ts "$ts"
done
