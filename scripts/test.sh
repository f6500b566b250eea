#!/usr/bin/env bash
# Sets up the machine when needed, builds, and runs every test: once in a plain
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  mkdir -p "$dir/test-home"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BUILD_BENCH=OFF
