#!/bin/bash
# Builds the Debian package and checks it as an installed program: its desktop entry, its
# AppStream data, lintian, and the program itself started from the unpacked package, in a
# folder no user may write, keeping its settings in the user's own folder.
set -euo pipefail
cd "$(dirname "$0")/../build"
rm -f tarvex_*.deb
cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls tarvex_*_*.deb)
root=$(mktemp -d)
config=$(mktemp -d)
runtime=$(mktemp -d)
cleanup() { chmod -R u+w "$root"; rm -rf "$root" "$config" "$runtime"; }
trap cleanup EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/tarvex.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml > appstream.log || { cat appstream.log; exit 1; }
lintian --fail-on error "$deb" 2>&1 | grep -v "running with root privileges" || true
lintian --fail-on error "$deb" > /dev/null 2>&1 || { echo "lintian reports errors in $deb"; exit 1; }

# An installed program folder belongs to the system: read-only for the user.
program="$root/opt/tarvex"
chmod -R a-w "$program"
XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen "$program/Tarvex" &
pid=$!
# Once its window is shown the program records when it last checked for an update.
for _ in $(seq 1 200); do
  [ -f "$config/Tarvex/Tarvex.ini" ] && grep -q '^LastCheck=' "$config/Tarvex/Tarvex.ini" && break
  sleep 0.1
done
kill "$pid" 2> /dev/null || true
wait "$pid" 2> /dev/null || true
grep -q '^LastCheck=' "$config/Tarvex/Tarvex.ini" || { echo "the installed program kept no settings in $config/Tarvex"; exit 1; }
[ ! -e "$program/Tarvex.ini" ] || { echo "the installed program wrote into its own folder"; exit 1; }
[ "$(stat -c %a "$config/Tarvex")" = 700 ] || { echo "the settings folder is open to others"; exit 1; }
echo "Package $deb: desktop entry, AppStream data, lintian and the installed program all check out."
