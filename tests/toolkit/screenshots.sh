#!/usr/bin/env bash
# Takes the screenshots of the toolkit's controls under Xvfb into docs/images (or the folder given), in
# English and Chinese at 1x, and three of them in English at 2x. Usage: tests/toolkit/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
run() {  # run FILTER ENV...
  local filter=$1
  shift
  env QT_QPA_PLATFORM=xcb QUORVEL_SCREENSHOT_DIR="$out" "$@" \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/test_toolkit" --gtest_filter="$filter" >/dev/null
}
run 'Screenshots.*' QUORVEL_SCREENSHOT_LANG=1033
run 'Screenshots.*' QUORVEL_SCREENSHOT_LANG=2052
# 2x: the sheets with the finest detail (caption glyphs, level cards, the mouse picture).
run 'Screenshots.FrameTabsAndCaptionButtons:Screenshots.PerformanceControls:Screenshots.ButtonPage' \
  QUORVEL_SCREENSHOT_LANG=1033 QT_SCALE_FACTOR=2
ls "$out"/toolkit-*.png
