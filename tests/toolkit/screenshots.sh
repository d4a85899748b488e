#!/usr/bin/env bash
# Takes the screenshots of the toolkit's controls under Xvfb into docs/images (or the folder given), in
# English and Chinese at 1x, and in English at 2x. Usage: tests/toolkit/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
run() {
  QT_QPA_PLATFORM=xcb QUORVEL_SCREENSHOT_DIR="$out" "$@" \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/test_toolkit" --gtest_filter='Screenshots.*' >/dev/null
}
run env QUORVEL_SCREENSHOT_LANG=1033
run env QUORVEL_SCREENSHOT_LANG=2052
run env QUORVEL_SCREENSHOT_LANG=1033 QT_SCALE_FACTOR=2
ls "$out"/toolkit-*.png
