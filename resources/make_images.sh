#!/usr/bin/env bash
# Rebuilds resources/images/ from draw_images.cpp: builds the drawing program in the
# development build and runs it offscreen. Commit the PNGs it writes.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/dev}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target draw_images
QT_QPA_PLATFORM=offscreen "$build/resources/draw_images" resources/images
