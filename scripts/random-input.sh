#!/bin/bash
# Sends a seeded sequence of random keys and clicks to the sanitizer build of the program on a
# virtual X display, in each of its forms in turn. Fails on a crash, a sanitizer report or a window
# that stops answering for 10 s; afterwards the settings file must still read and the saved
# analyses pass SQLite's integrity check. Nothing reaches the network and no browser opens.
#   bash scripts/random-input.sh [seed] [events per form]      (27 and 500 when not given)
set -euo pipefail
cd "$(dirname "$0")/.."
seed="${1:-27}"
count="${2:-500}"
bash scripts/sanitizer-build.sh Tarvex random_input

work="$(mktemp -d /tmp/tarvex-random-XXXXXX)"
server=""
finish() {
  local status=$?
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "random input: the run's files are kept in $work"; fi
}
trap finish EXIT

# The program in a folder of its own, so its settings and analyses are the run's alone.
cp -r build-sanitizers/bin "$work/program"
mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$work/bin" "$work/logs"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
# A web page the program opens is written down instead of shown in a browser.
printf '#!/bin/sh\necho "$@" >> "%s/opened-pages"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" BROWSER="$work/bin/xdg-open"
# The update check asks a closed local port, so no request leaves the machine.
export http_proxy=http://127.0.0.1:9 https_proxy=http://127.0.0.1:9 ALL_PROXY=http://127.0.0.1:9 no_proxy= NO_PROXY=
unset HTTP_PROXY HTTPS_PROXY all_proxy
export QT_QPA_PLATFORM=xcb
# libxkbcommon reads strings past their end in ways strict string checks report; libdbus keeps
# memory until the process ends.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:handle_abort=1:detect_stack_use_after_return=1:strict_string_checks=0:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/random-input.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# A display of its own, with no window manager: the program's windows are the only ones.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "random input: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

build-sanitizers/tools/random_input "$seed" "$count" "$work/program/Tarvex" "$work/logs"

settings="$work/program/Tarvex.ini"
[ -f "$settings" ] || settings="$XDG_CONFIG_HOME/Tarvex/Tarvex.ini"
if [ -f "$settings" ]; then
  python3 - "$settings" <<'PY'
import re, sys
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
bad = [l for l in lines if l.strip() and not re.match(r"^\s*(\[[^\]]*\]|[^=\[]*=.*|;.*)$", l)]
if bad:
    sys.exit("random input: Tarvex.ini has lines that are neither a section nor a value: %r" % bad[:5])
PY
fi
store="$work/program/Clients.db"
[ -f "$store" ] || store="$XDG_DATA_HOME/Tarvex/Clients.db"
check="$(sqlite3 "$store" "PRAGMA integrity_check")"
[ "$check" = "ok" ] || { echo "random input: Clients.db fails its integrity check: $check"; exit 1; }
pages=0
[ -f "$work/opened-pages" ] && pages=$(wc -l < "$work/opened-pages")
echo "random input: Tarvex.ini reads, Clients.db passes its integrity check, $pages web pages caught"
