#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` works right after ./run.sh, which builds only the stage target: everything
# the installation takes from the build folder is made by that target. Then the installation
# itself, into a prefix of the test's own, and the manual page's menu entries as a reader sees
# them. Usage: install_after_stage.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qir-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$build/build.ninja" ] || { echo "skipped: the build folder is not Ninja's"; exit 77; }
# The documents' target, and the sources it makes the compressed pages from, are among what
# the stage target builds.
inputs=$(ninja -C "$build" -t inputs stage)
for needed in packaging/qir_package_documents packaging/qir-stroke.1 packaging/changelog; do
    grep -q -E "(^|/)$needed\$" <<<"$inputs" ||
        fail "the stage target does not build $needed, which cmake --install needs"
done

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 3 "$work/install.log")"
for file in bin/qir-stroke share/man/man1/qir-stroke.1.gz share/qir-stroke/donghua.db \
    share/applications/org.example.qir.stroke.desktop; do
    [ -e "$work/prefix/$file" ] || fail "$file was not installed"
done

page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$source_dir/packaging/qir-stroke.1" 2>/dev/null)
for entry in "Print practice sheet…" "Save practice sheet as PDF…"; do
    grep -q -F "$entry" <<<"$page" || fail "the manual page does not render \"$entry\""
done
echo "install after stage: ok"
