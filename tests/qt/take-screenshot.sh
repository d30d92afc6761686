#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Photographs the control playing a video asana in a real X window (Xvfb, xcb platform);
# with "formats", each picture of the real-world course's picture asana.
# Usage: tests/qt/take-screenshot.sh [BUILD_DIR] [OUTPUT.png] [formats]
set -euo pipefail
build=${1:-build}
output=$(realpath -m "${2:-qt-host-screenshot.png}")
ninja -C "$build" qt_screenshot_host
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" \
    "$build/tests/qt/qt_screenshot_host" "$output" ${3:+"$3"}
echo "$output"
