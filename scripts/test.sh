#!/usr/bin/env bash
# Sets up the machine when needed, builds, and runs every test three times: in a
# plain build, under AddressSanitizer with UndefinedBehaviorSanitizer, and (the
# core's, engine's and control's tests) under ThreadSanitizer. Any sanitizer report,
# compiler warning, include of a higher layer or file off the house style fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
./scripts/check_layers.sh
./scripts/format.sh --check

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DORVANE_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  mkdir -p "$dir/test-home"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build/address -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=address -DORVANE_BUILD_BENCH=OFF

TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp \
  run_suite build/thread -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=thread -DORVANE_BUILD_BENCH=OFF \
    -DORVANE_TEST_FOLDERS="core;engine;control"
