#!/usr/bin/env bash
# The Debian package as a clinic gets it: built from the build folder, its desktop entry and metainfo
# validated, installed into this machine, the installed program started on a virtual screen until its
# window is seen, then removed again. Needs root for dpkg; skipped (77) without it.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
[ "$(id -u)" -eq 0 ] || { echo "needs root to install the package"; exit 77; }
work=$(mktemp -d)
cleanup() {
  dpkg -r velmora >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/velmora_*.deb)
desktop-file-validate "$source/packaging/example.velmora.Velmora.desktop"
appstreamcli validate --no-net "$build/packaging/example.velmora.Velmora.metainfo.xml"
# Debian's own checks of a package: no error, no warning.
lintian --fail-on error,warning "$deb"
# The dependencies were computed from the binaries.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' 
dpkg-deb -f "$deb" Depends | grep -q 'libmdb3'

DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "$deb" >/dev/null
test -x /usr/bin/velmora -a -x /usr/libexec/velmora/velmora-jet-reader
test -f /usr/share/icons/hicolor/scalable/apps/example.velmora.Velmora.svg
test -f /usr/share/man/man1/velmora.1.gz
[ "$(/usr/bin/velmora --version)" = "Velmora 3.2" ]

# Started as from the menu, on a data folder of its own, until its window is on the screen.
data="$work/data"
mkdir -p "$data"
HOME="$work" xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
  /usr/bin/velmora --data-folder "$1" & program=$!
  seen=1
  for attempt in $(seq 300); do
    if xwininfo -root -tree | grep -q "\"Velmora 3.2\""; then seen=0; break; fi
    kill -0 $program 2>/dev/null || break
    sleep 0.1
  done
  kill $program 2>/dev/null
  exit $seen' sh "$data"
test -f "$data/bdm6.mdb"

dpkg -r velmora >/dev/null
test ! -e /usr/bin/velmora
echo "the package built, installed, started and removed cleanly"
