#!/usr/bin/env bash
# Installs what is missing, builds, and starts quorvel on the bundled sample product with three virtual mice
# (a wired, a wireless and a feature-family one) on your display, in a throw-away home. With no display
# (no DISPLAY or WAYLAND_DISPLAY) it says so and runs the scripted quorvelctl session instead. With
# arguments, runs quorvelctl with them, e.g. scripts/run.sh --virtual 102 show
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/install-udev-rule.sh"
"$root/scripts/build.sh" "$root/build"
if [ $# -gt 0 ]; then
  exec "$root/build/bin/quorvelctl" "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY and WAYLAND_DISPLAY are unset): running the scripted quorvelctl session" \
    "instead of the window; under Xvfb: xvfb-run -a scripts/run.sh" >&2
  exec "$root/scripts/demo.sh" "$root/build/bin"
fi
if [ ! -x "$root/build/bin/quorvel" ]; then
  echo "run: build/bin/quorvel was not built (Qt 6 missing?): running the scripted quorvelctl session" >&2
  exec "$root/scripts/demo.sh" "$root/build/bin"
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-run.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
export QUORVEL_VIRTUAL_STATE="$home/mouse-state.json" QUORVEL_VIRTUAL="102;103:wireless,battery=60;201"
unset QUORVEL_HID_TRACE
echo "run: quorvel with the virtual mice $QUORVEL_VIRTUAL (close the window to end)"
"$root/build/bin/quorvel"
