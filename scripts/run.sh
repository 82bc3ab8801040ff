#!/bin/bash
# Installs what is missing, builds, and starts the calculator from its program folder.
# Without a display it runs on a virtual one, saves a screenshot of the window and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
program=build/bin/Tarvex

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi

shot="$PWD/build/tarvex-window.png"
echo "No display found: running Tarvex on a virtual display to take a screenshot."
xvfb-run -a -s "-screen 0 1024x800x24" bash -c '
  "$1" & pid=$!
  sleep 3
  import -window root "$2"
  kill $pid; wait $pid 2>/dev/null || true' _ "$program" "$shot"
convert "$shot" -trim +repage "$shot"
echo "Screenshot of the calculator window saved to $shot"
