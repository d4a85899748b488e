#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled sample product with the virtual
# mouse: a short scripted quorvelctl session (until the GUI replaces it). With arguments, runs quorvelctl
# with them instead, e.g. scripts/run.sh --virtual 102 show
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/install-udev-rule.sh"
"$root/scripts/build.sh" "$root/build"
if [ $# -gt 0 ]; then
  exec "$root/build/bin/quorvelctl" "$@"
fi
exec "$root/scripts/demo.sh" "$root/build/bin"
