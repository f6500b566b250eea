#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Safe to run again.
set -euo pipefail

packages=(
  build-essential g++ cmake ninja-build pkg-config git
  qtbase5-dev qtbase5-dev-tools libqt5xml5 libqt5network5 libqt5test5
  libopencv-dev
  libboost-thread-dev libboost-system-dev libboost-chrono-dev libboost-date-time-dev
  libpugixml-dev
  libqcustomplot-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-format
  xvfb xauth ccache xdotool openbox imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
