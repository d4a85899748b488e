#!/usr/bin/env bash
# Builds the libFuzzer targets (clang; libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) in the
# sanitizer tree build-asan/ (the tree `scripts/test.sh --sanitize` builds, so after it nothing is built
# twice) and runs each target on its committed, minimised corpus fuzz/corpus/<target>/ for SECONDS
# (default 20; 0: each corpus input once, nothing more). Inputs found on the way go to a scratch folder, not into the corpus. A crash, leak, time-out
# or sanitizer report fails the run; its input is kept in build-asan/fuzz-findings/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (targets: fuzz_<name> of fuzz/; default all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
dir=$root/build-asan
if [ ! -f "$dir/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" "${generator[@]}" "${launcher[@]}" -DQUORVEL_WERROR=ON -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON -DQUORVEL_BENCH=OFF
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
findings=$dir/fuzz-findings
mkdir -p "$findings"
summary=()
for target in "${targets[@]}"; do
  corpus=$root/fuzz/corpus/$target
  scratch=$(mktemp -d)
  log=$findings/$target.log
  echo "fuzz: $target for ${seconds} s on $(find "$corpus" -type f 2>/dev/null | wc -l) corpus inputs"
  limit=(-max_total_time="$seconds")
  [ "$seconds" = 0 ] && limit=(-runs=0)
  if ! "$dir/bin/$target" "$scratch" "$corpus" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    rm -rf "$scratch"
    tail -n 60 "$log" >&2
    echo "fuzz: $target FAILED (input and log in $findings/)" >&2
    exit 1
  fi
  rm -rf "$scratch"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  ten_million=$(( rate > 0 ? 10000000 / rate : 0 ))
  summary+=("$(printf '%-22s %10s runs %8s exec/s   10 million in %dh%02dm' "$target" "$runs" "$rate" \
    $((ten_million / 3600)) $((ten_million % 3600 / 60)))")
done
printf '%s\n' "${summary[@]}"
