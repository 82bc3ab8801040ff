#!/bin/bash
# Builds the fuzz targets of tests/fuzz with clang into build-fuzz/ and runs each for the given
# number of seconds (20 by default), as many at once as there are cores. A target starts from its
# committed seeds (tests/fuzz/corpus/NAME) and from what earlier runs found (build-fuzz/corpus/NAME);
# an input that crashes, hangs or breaks a check is kept as build-fuzz/findings/NAME/crash-* (or
# timeout-*, leak-*, oom-*) and fails the run. Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ > build-fuzz.log 2>&1 || { cat build-fuzz.log; exit 1; }
rm -f build-fuzz.log
cmake --build build-fuzz -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

run_target() {
  local name="$1"
  mkdir -p "build-fuzz/corpus/$name" "build-fuzz/findings/$name"
  if "build-fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/findings/$name/" -print_final_stats=1 \
      "build-fuzz/corpus/$name" "tests/fuzz/corpus/$name" > "build-fuzz/findings/$name.log" 2>&1; then
    echo "fuzz $name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/findings/$name.log" | grep -o '[0-9]*$') inputs in ${seconds} s, no finding"
  else
    echo "fuzz $name: FINDING, see build-fuzz/findings/$name.log"
    grep -A30 -m1 "check failed\|ERROR\|runtime error\|deadly signal" "build-fuzz/findings/$name.log" | head -40
    ls "build-fuzz/findings/$name"
    return 1
  fi
}

failed=0
running=0
for name in "${targets[@]}"; do
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
