#!/usr/bin/env bash
# Builds the program and its tests with the address and undefined behaviour sanitizers in
# build-sanitize/ and runs the unit, gui, x11 and fuzz tests there. Any report fails the test
# that caused it.
# Usage: scripts/sanitize.sh [LABEL-REGEX]   (default "unit|gui|x11|fuzz")
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build test
labels=${1:-unit|gui|x11|fuzz}
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Release -DJEV_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"
suppressions=$PWD/tests/sanitizer-leaks.supp
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$suppressions:print_suppressions=0
cd build-sanitize
ctest --output-on-failure -j"$(nproc)" -L "$labels"
