#!/bin/bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitizers/: every target, or only the ones named.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-sanitizers -DCMAKE_BUILD_TYPE=Debug -DTARVEX_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  > build-sanitizers.log 2>&1 || { cat build-sanitizers.log; exit 1; }
rm -f build-sanitizers.log
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build-sanitizers -j"$(nproc)" "${targets[@]}"
