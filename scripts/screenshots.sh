#!/usr/bin/env bash
# Takes the pictures of the GUI's windows in English and Chinese on a private Xvfb and writes them to
# docs/images/ (or the folder given). Builds the tool first. Usage: scripts/screenshots.sh [OUTDIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/images}
cmake --build "$root/build" --target ui_screenshots
xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/bin/ui_screenshots" "$out"
