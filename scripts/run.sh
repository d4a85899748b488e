#!/usr/bin/env bash
# Installs what is missing, builds, and starts quorvelctl on the bundled sample product with a virtual mouse.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/bin/quorvelctl" "$@"
