#!/usr/bin/env bash
# Installs the Debian packages Quorvel needs to build, test and run. Idempotent: only what is missing is
# installed. Works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libsqlite3-dev libhidapi-dev libminizip-dev zlib1g-dev libcurl4-openssl-dev
  libpugixml-dev libudev-dev nlohmann-json3-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # libxcb1-dev: the GUI's X tests and the core's focus source (profiles that follow the window in front);
  # libxcb-xtest0-dev, libxcb-damage0-dev: the start-up benchmark's click on the device list and its watch
  # for a window's first frame
  qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev libxcb-xtest0-dev libxcb-damage0-dev
  xvfb xauth xdotool x11-utils fonts-open-sans fonts-wqy-microhei
  # a window manager on the test X server: windows that must not take the focus are checked against one
  openbox
  # Wayland: a headless compositor and Qt's Wayland platform; a private session bus for the desktop-notice
  # and tray tests
  weston qt6-wayland dbus-daemon
  python3 zip unzip ca-certificates
  # signing releases (scripts/sign-release.sh)
  openssl
  # packaging: the .deb and its checks (scripts/package.sh)
  dpkg-dev fakeroot file desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
