#!/usr/bin/env bash
# Builds the benchmarks in a release build and runs them; pass --quick for a short run.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)" --target pipeline_bench ui_bench
./build/release/bench/pipeline_bench "$@"
./build/release/bench/ui_bench "$@"
