#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a desktop user meets it: built, checked with lintian, installed with
# apt, started by two ordinary users exactly as the menu entry's Exec line says, and removed.
# It installs a package and creates users, so it runs only as root with QIR_PACKAGE_TEST=1
# (CI sets it); otherwise it reports itself skipped.
# Usage: package_e2e.sh STAGE_DIR BUILD_DIR
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || [ -z "${QIR_PACKAGE_TEST:-}" ]; then
    echo "skipped: installs a package and creates users; runs as root with QIR_PACKAGE_TEST=1"
    exit 77
fi
if dpkg-query -W -f='${Status}' qir-stroke 2>/dev/null | grep -q 'ok installed'; then
    echo "skipped: qir-stroke is already installed on this machine; not touching it"
    exit 77
fi

source "$(dirname "$0")/../e2e/x11_session.sh" "$1"
build_dir=$(cd "$2" && pwd)
users=()
installed=""

cleanup_package() {
    for user in "${users[@]}"; do
        pkill -u "$user" 2>/dev/null || true
    done
    sleep 0.5
    for user in "${users[@]}"; do
        userdel --remove "$user" 2>/dev/null || true
    done
    [ -n "$installed" ] && apt-get remove -y -qq qir-stroke qir-stroke-data >/dev/null 2>&1 || true
    cleanup
}
trap cleanup_package EXIT

# Build the package.
started=$(date +%s)
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed"
# Two packages: the program, and its data for every architecture.
deb=$(ls "$work"/package/qir-stroke_*.deb)
data_deb=$(ls "$work"/package/qir-stroke-data_*_all.deb) || fail "no architecture-independent data package"
echo "packages: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB; $(basename "$data_deb"), $(du -k "$data_deb" | cut -f1) KiB; built in $(($(date +%s) - started)) s"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
dpkg-deb --info "$data_deb" | sed -n '/Package:/,$p'
version=$(dpkg-deb --field "$deb" Version)
# Each listing is read whole before it is searched: grep -q would end at the first match and,
# under pipefail, the writer's broken pipe would count as a failure.
depends=$(dpkg-deb --field "$deb" Depends)
grep -q -F "qir-stroke-data (= $version)" <<<"$depends" ||
    fail "the program's package does not depend on qir-stroke-data (= $version)"
[ "$(dpkg-deb --field "$data_deb" Architecture)" = all ] || fail "the data package is not Architecture: all"
program_files=$(dpkg-deb --contents "$deb")
data_files=$(dpkg-deb --contents "$data_deb")
grep -q 'usr/share/qir-stroke/' <<<"$program_files" && fail "the program's package holds the data folder"
grep -q 'usr/share/qir-stroke/donghua.db' <<<"$data_files" || fail "the data package lacks the store"

# lintian: no errors; its warnings are listed.
lintian --fail-on error --tag-display-limit 0 "$deb" "$data_deb" >"$work/lintian.log" 2>&1 || {
    cat "$work/lintian.log"
    fail "lintian reports errors"
}
echo "lintian:"
sed 's/^/    /' "$work/lintian.log"

# Install it as a user would, with apt.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" "$data_deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get install failed: $(tail -n 5 "$work/apt.log")"
installed=yes
dpkg -L qir-stroke qir-stroke-data >"$work/package-files"
desktop_file=/usr/share/applications/org.example.qir.stroke.desktop
[ -f "$desktop_file" ] || fail "no menu entry installed"
exec_line=$(sed -n 's/^Exec=//p' "$desktop_file")
[ -n "$exec_line" ] || fail "the menu entry has no Exec line"
for size in 16 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/org.example.qir.stroke.png" ] ||
        fail "no ${size}px icon"
done
[ -f /usr/share/man/man1/qir-stroke.1.gz ] || fail "no manual page"
touch "$work/installed"
sleep 1.1

# Make the X display reachable for the users.
add_user() {
    local user="qir-e2e-$1-$$"
    useradd --create-home --shell /bin/bash "$user"
    users+=("$user")
    command -v xhost >/dev/null && xhost "+si:localuser:$user" >/dev/null
    echo "$user"
}

# Starts the menu entry's command as `user`, with a login-like environment and no runtime
# folder of its own, and waits for the window. Its temporary folder is in its home, so what
# the fallbacks for a missing runtime folder make there goes with the user.
start_as() {
    local user=$1
    local home
    home=$(getent passwd "$user" | cut -d: -f6)
    runuser -u "$user" -- mkdir -p "$home/tmp"
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
        TMPDIR="$home/tmp" LANG=C.UTF-8 DISPLAY="$DISPLAY" sh -c "cd && exec $exec_line" \
        >"$work/program-$user.log" 2>&1 &
    pids+=($!)
    window=""
    for _ in $(seq 150); do
        local pid
        pid=$(pgrep -u "$user" -x qir-stroke | head -n 1 || true)
        if [ -n "$pid" ]; then
            window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
            [ -n "$window" ] && break
        fi
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window for $user"
}

# Types one character into the user's window and waits for its clip in the user's folder.
show_character() {
    local user=$1 character=$2
    local folder
    folder="$(getent passwd "$user" | cut -d: -f6)/.local/share/qir-stroke"
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool type --delay 150 "$character"
    wait_for_file "$folder/tmp2.avi"
    sleep 1
    [ "$folder/bishunbmp.db" -nt "$work/installed" ] || fail "$character: no steps in $folder"
    [ "$(stat -c %U "$folder/bishunbmp.db")" = "$user" ] || fail "$folder/bishunbmp.db is not $user's"
    [ "$(readlink "$folder/donghua.db")" = /usr/share/qir-stroke/donghua.db ] ||
        fail "$folder/donghua.db does not link to the installed table"
}

first=$(add_user a)
start_as "$first"
show_character "$first" '永'
import -window root "$work/first-user.png" 2>/dev/null || true
[ -n "${QIR_PACKAGE_SCREENSHOT:-}" ] && cp "$work/first-user.png" "$QIR_PACKAGE_SCREENSHOT"

# A second user beside the first: a window of their own, a folder of their own.
second=$(add_user b)
first_clip=$(stat -c %Y "/home/$first/.local/share/qir-stroke/tmp2.avi")
start_as "$second"
show_character "$second" '我'
[ "$(pgrep -u "$first" -x qir-stroke | wc -l)" = 1 ] || fail "the first user's program ended"
[ "$(stat -c %Y "/home/$first/.local/share/qir-stroke/tmp2.avi")" = "$first_clip" ] ||
    fail "the second user's start touched the first user's folder"

# A practice sheet from the command line, with no display, from the installed store.
sheet="/home/$second/sheet.pdf"
runuser -u "$second" -- env -i HOME="/home/$second" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    qir-stroke --practice-sheet '永我' --output "$sheet" >"$work/sheet.log" 2>&1 ||
    fail "the practice sheet command failed: $(cat "$work/sheet.log")"
[ -s "$sheet" ] || fail "no practice sheet written"

# Nothing of the installation was written.
dpkg --verify qir-stroke qir-stroke-data || fail "installed files changed"
written=$(find /usr/share/qir-stroke -newer "$work/installed" | head -n 5)
[ -z "$written" ] || fail "written under /usr/share/qir-stroke: $written"

# Removed, the package leaves nothing but the users' own folders.
for user in "${users[@]}"; do pkill -u "$user" -x qir-stroke || true; done
sleep 0.5
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq qir-stroke qir-stroke-data >"$work/remove.log" 2>&1 ||
    fail "apt-get remove failed"
installed=""
while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    [ -e "$path" ] || [ -L "$path" ] && fail "left behind after removal: $path"
done <"$work/package-files"
[ ! -e /usr/share/qir-stroke ] || fail "/usr/share/qir-stroke is left behind"
for user in "${users[@]}"; do
    [ -f "/home/$user/.local/share/qir-stroke/tmp2.avi" ] || fail "$user's folder was removed"
done
echo "package end-to-end: installed with apt, two users each saw their character in their own folder, removed cleanly"
