#!/usr/bin/env bash
# Takes the pictures of the performance page, the DPI indicator and the colour picker under Xvfb into
# docs/images (or the folder given): English and Chinese, at 1x and 2x.
# Usage: tests/ui/performance-screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
for lang in 1033 2052; do
  for scale in 1 2; do
    env QT_QPA_PLATFORM=xcb QUORVEL_SCREENSHOT_DIR="$out" QUORVEL_SCREENSHOT_LANG=$lang QT_SCALE_FACTOR=$scale \
      xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/test_ui" --gtest_filter='PerformanceScreenshots.*' >/dev/null
  done
done
ls "$out"/performance-*.png
