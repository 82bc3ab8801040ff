#!/bin/bash
# Renders the screenshots in docs/screenshots from the real forms on a virtual display, with a
# window manager so that windows carry their title bars; docs/screenshots/2x holds the same forms
# at twice the size (QT_SCALE_FACTOR=2), as on a high-density screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
command -v openbox > /dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends openbox
}
bash scripts/build.sh > /dev/null
mkdir -p docs/screenshots/2x
render() {
  xvfb-run -a -s "-screen 0 ${1}x24" bash -c '
    openbox & wm=$!
    sleep 1
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$2 build/tests/tarvex_screens "$1"
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$2 build/tests/help_screens "$1"
    kill $wm' _ "$2" "$3"
}
render 1024x800 "$PWD/docs/screenshots" 1
render 2048x1600 "$PWD/docs/screenshots/2x" 2
ls docs/screenshots docs/screenshots/2x
