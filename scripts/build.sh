#!/usr/bin/env bash
# Configures and builds Quorvel. Usage: scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
# Default build folder: build/. Warnings are errors here, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$dir" "${generator[@]}" -DQUORVEL_WERROR=ON "$@"
elif [ $# -gt 0 ]; then
  cmake -S "$root" -B "$dir" "$@"
fi
cmake --build "$dir" -j "$(nproc)"
