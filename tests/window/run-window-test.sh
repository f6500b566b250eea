#!/usr/bin/env bash
# Runs the real-window test: a virtual X screen with the openbox window manager, the
# driver program, and the orvane executable that it starts and drives.
# Usage: run-window-test.sh DRIVER ORVANE OUTPUT_FOLDER
set -euo pipefail
driver=$1 app=$2 out=$3
rm -rf "$out"
mkdir -p "$out"

# Inside the virtual screen: the window manager first, then the driver.
inside='openbox >"$3/openbox.log" 2>&1 & wm=$!
status=0
"$1" "$2" "$3" || status=$?
kill "$wm" 2>/dev/null || true
wait "$wm" 2>/dev/null || true
exit "$status"'
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" bash -c "$inside" window-test "$driver" "$app" "$out"
