#!/bin/sh
# The Debian package: built from the build folder, checked by lintian,
# installed with apt-get, the installed console started on a virtual X
# server, and the package removed again. Needs root (apt-get).
# usage: deb_package.sh BUILD_FOLDER
set -eu
. "$(dirname "$0")/console_test.sh"

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: installing the package needs root"
    exit 77
fi
dpkg-query -W -f='${Status}' zorlo 2>/dev/null | grep -q 'install ok installed' &&
    fail "a zorlo package is installed already; this test would replace and remove it"

cpack -G DEB -B "$work/package" --config "$1/CPackConfig.cmake" >"$work/cpack.out" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.out")"
deb=$(ls "$work"/package/zorlo_*_amd64.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt in Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
for file in usr/bin/zorlo usr/share/applications/zorlo.desktop \
    usr/share/icons/hicolor/scalable/apps/zorlo.svg usr/share/zorlo/Bleep.WAV \
    usr/share/zorlo/zorlo-autostart.desktop usr/share/doc/zorlo/copyright \
    usr/share/doc/zorlo/changelog.gz; do
    grep -qx "./$file" "$work/contents" || fail "the package lacks $file"
done
grep -q '^./etc/' "$work/contents" && fail "the package puts files in /etc (autostart for everybody?)"
lintian --fail-on error "$deb" >"$work/lintian.out" 2>&1 || fail "lintian: $(cat "$work/lintian.out")"
cat "$work/lintian.out"

installed=""
trap 'if [ -n "$installed" ]; then apt-get remove -y -q zorlo >/dev/null 2>&1 || true; fi; cleanup' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.out" 2>&1 ||
    fail "apt-get install: $(cat "$work/apt.out")"
installed=yes
readelf -S /usr/bin/zorlo | grep -q '\.debug_info' && fail "the installed program carries debug information"

start_xvfb
start_console XDG_CONFIG_HOME="$work/config" /usr/bin/zorlo
stop_console || fail "the installed console did not end cleanly"
[ -f "$work/config/zorlo/zorlo.list" ] || fail "the installed console kept no settings in the user's folder"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q zorlo >"$work/apt.out" 2>&1 ||
    fail "apt-get remove: $(cat "$work/apt.out")"
installed=""
[ ! -e /usr/bin/zorlo ] || fail "/usr/bin/zorlo is still there after the removal"
echo "built, checked, installed, started and removed $(basename "$deb")"
