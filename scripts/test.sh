#!/bin/bash
# Installs what is missing, builds, runs every test through CTest, then builds the Debian
# package and checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
cd ..
bash scripts/check-package.sh
