#!/usr/bin/env bash
# Takes every picture of docs/images/ (the GUI's windows, pages and controls, in English and Chinese, and
# the "@2x" ones at double scale) on a private Xvfb with the tool ui_screenshots, into docs/images/ or the
# folder given. Builds the tool first. Usage: scripts/screenshots.sh [OUTDIR] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/images}
build=${2:-$root/build}
cmake --build "$build" --target ui_screenshots >/dev/null
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Makers whose language (QUORVEL_SCREENSHOT_LANG) and scale are chosen per run; the others take both
# languages themselves.
per_language='PerformanceScreenshots.*:ToolkitScreenshots.*'
shots() {  # shots LCID SCALE FILTER [SCREEN]
  env QT_QPA_PLATFORM=xcb QUORVEL_SCREENSHOT_LANG="$1" QT_SCALE_FACTOR="$2" \
    xvfb-run -a -s "-screen 0 ${4:-3000x1800}x24 -nolisten tcp" "$build/bin/ui_screenshots" "$out" \
    --gtest_filter="$3" --gtest_brief=1
}
shots 1033 1 "*-$per_language"
for lcid in 1033 2052; do
  shots "$lcid" 1 "$per_language"
  shots "$lcid" 2 'PerformanceScreenshots.*'
done
# "@2x": the button page in both languages, and the sheets with the finest detail in English.
shots 1033 2 'ButtonPageScreenshots.*:ToolkitScreenshots.FrameTabsAndCaptionButtons:ToolkitScreenshots.PerformanceControls:ToolkitScreenshots.ButtonPage'
# The window as it opens on a small laptop screen (both languages in one run).
shots 1033 1 'MainWindowScreenshots.PagesOnA1280x800Screen' 1280x800
echo "$(find "$out" -maxdepth 1 -name '*.png' | wc -l) pictures in $out"
