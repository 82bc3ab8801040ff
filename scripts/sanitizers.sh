#!/bin/bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitizers/ and runs the whole suite there: any memory error, leak or undefined behaviour
# fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/sanitizer-build.sh
# Some tests run the program under faketime, whose preloaded library comes before the runtime.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-sanitizers
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
