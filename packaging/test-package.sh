#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of a built tree into a scratch folder, then checks
# it with lintian, its desktop entry with desktop-file-validate and its
# AppStream metadata with appstreamcli. Any error or warning fails; lintian's
# info tags are shown, not counted. The catalogue must be a configuration file.
# Usage: test-package.sh <cpack> <build folder> <scratch folder> <app id> <program folder>
set -eu

cpack=$1
build=$2
scratch=$3
app_id=$4
appdir=$5
# The source tree this script lies in.
srcdir=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in lintian desktop-file-validate appstreamcli dpkg-deb; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing: scripts/deps.sh installs it"
done

rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
set -- "$scratch"/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no package or more than one: $*"
deb=$1

lintian --display-info --fail-on error,warning "$deb" || fail "lintian on $deb (above)"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/$app_id.desktop
found=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $found"
[ -z "$found" ] || fail "desktop-file-validate: $found"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate (above)"

# Edited by its owner, the catalogue lives in /etc, where an upgrade keeps it;
# the program still finds it beside itself.
conffiles=$(dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles)
[ "$conffiles" = /etc/trimwise/TRX.ini ] || fail "configuration files: '$conffiles'"
[ -f "$root/etc/trimwise/TRX.ini" ] || fail "no /etc/trimwise/TRX.ini in the package"
link=$(readlink "$root/usr/$appdir/TRX.ini") || fail "no link to the catalogue in /usr/$appdir"
[ "$link" = /etc/trimwise/TRX.ini ] || fail "/usr/$appdir/TRX.ini links to '$link'"

# The schema of a saved loading, where trx-sheet --help says it is.
cmp -s "$root/usr/share/trimwise/loading.schema.json" "$srcdir/loading/loading.schema.json" ||
    fail "/usr/share/trimwise/loading.schema.json missing from the package or not loading/loading.schema.json"

echo "$deb: lintian, desktop-file-validate and appstreamcli clean; the catalogue is a configuration file"
