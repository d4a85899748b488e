#!/usr/bin/env bash
# Configures and builds Quorvel. Usage: scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
# Default build folder: build/. Warnings are errors here, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
# A compiler cache, when the machine has one, makes rebuilds in several work trees cheap; nothing needs it.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$dir" "${generator[@]}" -DQUORVEL_WERROR=ON "${launcher[@]}" "$@"
elif [ $# -gt 0 ]; then
  cmake -S "$root" -B "$dir" "$@"
fi
# QUORVEL_BUILD_TARGETS (space-separated) builds only those targets; default everything.
build=(cmake --build "$dir" -j "$(nproc)")
# shellcheck disable=SC2206  # the list is split on spaces on purpose
[ -n "${QUORVEL_BUILD_TARGETS:-}" ] && build+=(--target $QUORVEL_BUILD_TARGETS)
"${build[@]}"
