#!/usr/bin/env bash
# Idle cost of the running window: quorvel is started on a private Xvfb in a throw-away home, left 3 s to
# settle, then every thread's context switches (voluntary + involuntary, /proc/PID/task/*/status) are
# counted over IDLE_SECONDS (default 10), and the CPU time of all threads (/proc/PID/task/*/schedstat,
# nanoseconds on a CPU). Three times: with no mouse (the HID backend finds nothing), with the virtual mouse
# 102 and with three virtual mice of the report family. The GUI thread is the one whose id is the process id.
# Usage: bench/idle.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
idle=${IDLE_SECONDS:-10}
cmake --build "$build" --target quorvel >/dev/null
home=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-idle.XXXXXX")
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
export QUORVEL_VIRTUAL_STATE="$home/mouse.json" LC_ALL=C QT_QPA_PLATFORM=xcb
unset QUORVEL_HID_TRACE
mkdir -m 700 "$home/runtime"

cat >"$home/measure.sh" <<'INNER'
set -euo pipefail
# "tid name switches" for every thread of the process
switches() {
  for task in /proc/$1/task/*; do
    local tid=${task##*/} name count
    name=$(tr ' ' '_' <"$task/comm")
    count=$(awk '/ctxt_switches/ {n += $2} END {print n}' "$task/status")
    echo "$tid $name $count"
  done
}
# nanoseconds on a CPU, all threads together
cpu_ns() {
  cat /proc/$1/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%d", n}'
}
for mice in "${@}"; do
  if [ "$mice" = none ]; then unset QUORVEL_VIRTUAL; else export QUORVEL_VIRTUAL=$mice; fi
  rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
  "$QUORVEL" & pid=$!
  sleep 3
  before=$(switches $pid)
  cpu0=$(cpu_ns $pid)
  sleep "$IDLE"
  cpu1=$(cpu_ns $pid)
  after=$(switches $pid)
  kill $pid
  wait $pid || true
  echo "mouse: $mice, ${IDLE} s idle"
  join <(echo "$before" | sort) <(echo "$after" | sort) |
    awk -v pid=$pid '{printf "  %-16s %s %6d wake-ups\n", $2, ($1 == pid ? "(GUI)" : "     "), $5 - $3; n += $5 - $3}
                     END {printf "  whole process    %6d wake-ups\n", n}'
  awk -v a=$cpu0 -v b=$cpu1 -v s=$IDLE 'BEGIN {printf "  CPU              %.4f %% of a core\n", (b - a) / (s * 1e7)}'
done
INNER
QUORVEL="$build/bin/quorvel" IDLE=$idle xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" \
  bash "$home/measure.sh" none 102 "102;103:wireless;103" 2>&1 | grep -v '^QStandardPaths'
