#!/bin/bash
# Installs what is missing, builds, runs every test through CTest, builds the Debian package and
# checks it, updates a copy to a second build of the same sources with the real installer, runs the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, sends seeded random keys
# and clicks to that build of the program, runs each fuzz target for a short time, and builds
# everything that needs no Qt for Windows and runs its tests under Wine. Each part says how long
# it took.
set -euo pipefail
cd "$(dirname "$0")/.."

part() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}

run_tests() (
  cd build
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
)

bash scripts/install-deps.sh
part "build" bash scripts/build.sh
part "tests" run_tests
part "package" bash scripts/check-package.sh
part "update across two versions" bash scripts/update-across-versions.sh
part "sanitizer build and tests" bash scripts/sanitizers.sh
part "random input, seed 27" bash scripts/random-input.sh 27 500
part "fuzz targets, 20 s each" bash scripts/fuzz.sh 20
part "Windows build and tests under Wine" bash scripts/windows.sh
