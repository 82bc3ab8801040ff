#!/bin/bash
# Builds these sources a second time as version 3.0.2.0 in build-next/, with its installer, and
# runs the update test that downloads that installer into a copy of the version in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-next -DTARVEX_VERSION=3.0.2.0 -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-next --target Tarvex installer -j"$(nproc)" > /dev/null
cd build
TARVEX_NEXT_INSTALLER="$PWD/../build-next/TarvexSetup-3.0.2.0.run" TARVEX_NEXT_PROGRAM="$PWD/../build-next/bin/Tarvex" \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -R 'UpdateLifeTest.TheRealInstaller'
