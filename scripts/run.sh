#!/usr/bin/env bash
# Sets up the machine when needed, builds the application in Release and starts it.
# Arguments are passed on to the application ("-d" logs "Debug mode").
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF
cmake --build build/run -j "$(nproc)" --target orvane

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found; on a machine without one, try: xvfb-run -s '-screen 0 1920x1080x24' $0" >&2
fi
exec ./build/run/ui/orvane "$@"
