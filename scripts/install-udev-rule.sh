#!/usr/bin/env bash
# Installs the udev rule that lets the logged-in user open the sample product's mice (hidraw nodes) without
# root, when it is missing. Never fails the caller: without root or sudo it prints the command to run.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
rule=$root/product/70-quorvel.rules
target=/etc/udev/rules.d/70-quorvel.rules
[ -f "$rule" ] || exit 0
if [ -f "$target" ] && cmp -s "$rule" "$target"; then
  exit 0
fi
# The Debian package (scripts/package.sh) installs and applies the same rule itself.
for packaged in /usr/lib/udev/rules.d/70-quorvel.rules /lib/udev/rules.d/70-quorvel.rules; do
  if [ -f "$packaged" ] && cmp -s "$rule" "$packaged"; then
    exit 0
  fi
done
if [ ! -d /etc/udev/rules.d ]; then
  echo "install-udev-rule: no /etc/udev/rules.d here; skipped (only needed for a real mouse)"
  exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo=(sudo)
else
  echo "install-udev-rule: to use a real mouse without root, run:"
  echo "  sudo install -m 644 $rule /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw"
  exit 0
fi
"${sudo[@]}" install -m 644 "$rule" "$target" && echo "install-udev-rule: installed $target"
if command -v udevadm >/dev/null 2>&1; then
  "${sudo[@]}" udevadm control --reload-rules 2>/dev/null || true
  "${sudo[@]}" udevadm trigger --subsystem-match=hidraw 2>/dev/null || true
fi
exit 0
