#!/usr/bin/env bash
# Takes the macro page's screenshots under Xvfb into docs/images (or the folder given), in English and
# Chinese. Usage: tests/ui/macro-screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
env QT_QPA_PLATFORM=xcb QUORVEL_SCREENSHOT_DIR="$out" \
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/test_ui" --gtest_filter='MacroPageScreenshots.*' >/dev/null
ls "$out"/macro-page*.png
