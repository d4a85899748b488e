#!/usr/bin/env bash
# A short scripted quorvelctl session against the virtual mouse, in a throw-away home: preferences,
# database, log and the mouse's state file all live in a temporary folder that is removed at the end.
# Builds nothing. Usage: scripts/demo.sh [BIN_DIR]   (default: build/bin)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
ctl="$bin/quorvelctl"
if [ ! -x "$ctl" ]; then
  echo "demo: $ctl not found; build first (scripts/build.sh)" >&2
  exit 1
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-demo.XXXXXX")
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
export QUORVEL_VIRTUAL_STATE="$home/mouse-state.json"
unset QUORVEL_VIRTUAL QUORVEL_HID_TRACE

# Prints the command as a user would type it, then runs it.
step() {
  local line="quorvelctl" arg
  for arg in "$@"; do
    if [[ "$arg" =~ ^[A-Za-z0-9_./:=+,@-]+$ ]]; then line+=" $arg"; else line+=" '$arg'"; fi
  done
  printf '\n$ %s\n' "$line"
  "$ctl" "$@"
}

mouse=(--virtual 102)
step "${mouse[@]}" devices
step "${mouse[@]}" read
step "${mouse[@]}" dpi 400 800 1600 3200 --active 2
step "${mouse[@]}" dpi-colors '#FF0000' '#00FF00' '#0000FF' '#FFFFFF'
step "${mouse[@]}" rate 500
step "${mouse[@]}" button 3 key:ctrl+c
step "${mouse[@]}" light 2 --brightness 3 --speed 5
step "${mouse[@]}" macro new "Greeting"
step "${mouse[@]}" button 4 macro:1
step "${mouse[@]}" profile rename 2 Gaming
step "${mouse[@]}" profile switch 2
step "${mouse[@]}" profile list
step "${mouse[@]}" profile export "$home/gaming.xml"
step "${mouse[@]}" macro export-all "$home/macros.xml"
step "${mouse[@]}" --json show
echo
echo "demo: done (the exported files were in $home, which is removed now)"
