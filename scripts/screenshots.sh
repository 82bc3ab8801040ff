#!/bin/bash
# Renders the screenshots in docs/screenshots from the real forms on a virtual display,
# with a window manager so that windows carry their title bars.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
command -v openbox > /dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends openbox
}
bash scripts/build.sh > /dev/null
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1024x800x24" bash -c '
  openbox & wm=$!
  sleep 1
  QT_QPA_PLATFORM=xcb build/tests/tarvex_screens "$1"
  QT_QPA_PLATFORM=xcb build/tests/help_screens "$1"
  kill $wm' _ "$PWD/docs/screenshots"
ls docs/screenshots
