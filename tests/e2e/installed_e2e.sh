#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program installed under a prefix of its own (cmake --install) and started from there by a
# user with a fresh home: it prepares the user's working folder, shows a typed character, and
# writes nothing under the prefix. Usage: installed_e2e.sh STAGE_DIR BUILD_DIR
source "$(dirname "$0")/x11_session.sh" "$1"
build_dir=$2

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install failed"
[ -x "$prefix/bin/qir-stroke" ] || fail "no executable under the prefix"
touch "$work/installed"

export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
folder="$HOME/.local/share/qir-stroke"
# Started from a folder that holds nothing of the program's.
cd "$HOME"

start_program "$prefix/bin/qir-stroke"
[ -L "$folder/donghua.db" ] || fail "the working folder has no link to the animation table"
[ "$(readlink "$folder/donghua.db")" = "$prefix/share/qir-stroke/donghua.db" ] ||
    fail "donghua.db links to $(readlink "$folder/donghua.db")"
[ -f "$folder/bishunbmp.db" ] && [ ! -L "$folder/bishunbmp.db" ] || fail "no own stroke display table"
[ -f "$folder/exityellow.bmp" ] && [ -f "$folder/help.htm" ] && [ -f "$folder/help_zh_CN.htm" ] ||
    fail "skins or help pages missing"
[ -L "$folder/bishunvec.db" ] || fail "the working folder has no link to the vector table"
[ -L "$folder/bishunzi.db" ] || fail "the working folder has no link to the facts table"

wait_for_keyboard
steps=$(mtime "$folder/bishunbmp.db")
type_character '永'
wait_for_file "$folder/tmp2.avi"
# The steps' rebuild comes last in showing a character.
wait_for_rewrite "$folder/bishunbmp.db" "$steps"
[ "$folder/bishunbmp.db" -nt "$work/installed" ] || fail "the stroke display table was not rebuilt"

# The command line reads the installed store, from any folder, with no display.
(unset DISPLAY && "$prefix/bin/qir-stroke" --practice-sheet '永' --output "$HOME/sheet.pdf") \
    >"$work/sheet.log" 2>&1 || fail "the practice sheet command failed: $(cat "$work/sheet.log")"
[ -s "$HOME/sheet.pdf" ] || fail "no practice sheet written"

written=$(find "$prefix" -newer "$work/installed" | head -n 5)
[ -z "$written" ] || fail "the program wrote under the prefix: $written"

# A user who deletes their own stroke display table gets a new one at the next start.
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
rm "$folder/bishunbmp.db"
start_program "$prefix/bin/qir-stroke"
[ -f "$folder/bishunbmp.db" ] || fail "the deleted stroke display table was not restored"
echo "installed end-to-end: working folder prepared in $folder, 永 shown, nothing written under the prefix"
