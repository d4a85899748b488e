#!/usr/bin/env bash
# The GUI's start-up benchmark: exec -> first window mapped (X MapNotify) and -> its first frame (DAMAGE),
# and for quorvel exec -> the device list shown and exec -> the picked mouse's page filled in (the first
# card clicked through XTest as soon as the list shows), resident memory 2 s after the last of them;
# median of 10 runs, quorvel side by side with an empty Qt 6 Widgets window of the same build.
# Runs on a private Xvfb in a throw-away home, with the virtual mouse. Usage: bench/startup.sh [BUILD_DIR]
# PICK=0 leaves the window on the device list (memory 2 s after the map, as measured before the pick).
# WITH_CURL=1 adds "quorvel+curl": the same program with libcurl loaded at exec (LD_PRELOAD, through a
# shell that execs it), as when the update downloads linked it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target quorvel bench_startup bench_empty_window >/dev/null
home=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-bench.XXXXXX")
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
export QUORVEL_VIRTUAL=102 QUORVEL_VIRTUAL_STATE="$home/mouse.json" LC_ALL=C QT_QPA_PLATFORM=xcb
unset QUORVEL_HID_TRACE
mkdir -m 700 "$home/runtime"
programs=(quorvel="$build/bin/quorvel")
if [ -n "${WITH_CURL:-}" ]; then
  printf '#!/bin/sh\nLD_PRELOAD=libcurl.so.4 exec "%s" "$@"\n' "$build/bin/quorvel" >"$home/quorvel-curl"
  chmod +x "$home/quorvel-curl"
  programs+=(quorvel+curl="$home/quorvel-curl")
fi
picks=()
if [ "${PICK:-1}" != 0 ]; then
  picks=(--socket "$XDG_RUNTIME_DIR/com.quorvel.Quorvel.socket")
  for p in "${programs[@]}"; do picks+=(--pick "${p%%=*}"); done
fi
# A private session bus, as every desktop has: without one, Qt's accessibility bridge (started by the
# first text a program sets) forks dbus-launch and waits for it, which no user's start pays.
dbus-run-session -- xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" "$build/bin/bench_startup" \
  --runs "${RUNS:-10}" \
  "${picks[@]}" "${programs[@]}" empty-window="$build/bin/bench_empty_window"
