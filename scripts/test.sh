#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Usage: scripts/test.sh            normal build in build/
#        scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/, with clang;
#                                    the same tree builds the libFuzzer targets (scripts/fuzz.sh runs them)
#        scripts/test.sh --tsan      ThreadSanitizer build in build-tsan/ (the threaded tests)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
mode=${1:-normal}
# The sanitizer tree is clang's, so that the fuzz targets come out of it without a build of their own.
sanitize_args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON
               -DQUORVEL_BENCH=OFF)
filter=()
targets=()
case "$mode" in
  normal)     dir=$root/build;      args=() ;;
  --sanitize) dir=$root/build-asan; args=("${sanitize_args[@]}") ;;
  --tsan)     dir=$root/build-tsan; args=(-DQUORVEL_TSAN=ON -DQUORVEL_BENCH=OFF -DQUORVEL_GUI=OFF); filter=(-L threads)
              targets=(threaded_tests) ;;  # only what that label runs is built
  *) echo "usage: scripts/test.sh [--sanitize|--tsan]" >&2; exit 2 ;;
esac
QUORVEL_BUILD_TARGETS="${targets[*]}" "$root/scripts/build.sh" "$dir" "${args[@]}"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
# Allocations Qt, fontconfig and the X libraries keep until the process ends, named narrowly; leak detection
# stays on for everything else.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
cd "$dir"
ctest --output-on-failure -j "$(nproc)" "${filter[@]}"
