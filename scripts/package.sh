#!/usr/bin/env bash
# Builds the Debian package from the normal build and checks it: the desktop entry and the AppStream
# metainfo validate, lintian finds no error, and the programs run from the unpacked package in a scratch
# folder (quorvelctl against the virtual mouse, quorvel offscreen).
# Usage: scripts/package.sh [BUILD_DIR]     (default: build/, which CI has already built and tested)
# The package is left in BUILD_DIR/package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
started=$SECONDS

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$dir"

fail() {
  echo "package: $*" >&2
  exit 1
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Build the .deb (cpack installs into its own staging folder, strips, runs dpkg-shlibdeps).
out=$dir/package
rm -rf "$out"
if ! (cd "$dir" && cpack -G DEB -B "$out") >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
fi
debs=("$out"/*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no .deb in $out"
deb=${debs[0]}
echo "package: built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
# libcurl is opened at the first download, so no link names it: the package must.
dpkg-deb --field "$deb" Depends | grep -Eq '(^|, )libcurl4' || fail "the package does not depend on libcurl"

# Unpack into a scratch root: what `apt install` would put under /.
tree=$scratch/root
dpkg-deb -x "$deb" "$tree"
usr=$tree/usr
for path in bin/quorvelctl share/quorvel/config.xml share/quorvel/update-keys share/quorvel/device share/quorvel/language \
    share/quorvel/skins lib/udev/rules.d/70-quorvel.rules share/man/man1/quorvelctl.1.gz \
    share/doc/quorvel/copyright share/doc/quorvel/changelog.gz; do
  [ -e "$usr/$path" ] || fail "/usr/$path is missing from the package"
done
rule=$usr/lib/udev/rules.d/70-quorvel.rules
grep -q 'TAG+="uaccess"' "$rule" || fail "the udev rule does not grant access through uaccess"
! grep -Eq '^[^#]*(GROUP|MODE|OWNER)=' "$rule" || fail "the udev rule sets a group, mode or owner"

app_id=com.quorvel.Quorvel
gui=false
[ -e "$usr/bin/quorvel" ] && gui=true
if $gui; then
  for path in "share/applications/$app_id.desktop" "share/icons/hicolor/scalable/apps/$app_id.svg" \
      "share/metainfo/$app_id.metainfo.xml" share/man/man1/quorvel.1.gz; do
    [ -e "$usr/$path" ] || fail "/usr/$path is missing from the package"
  done
  desktop=$usr/share/applications/$app_id.desktop
  metainfo=$usr/share/metainfo/$app_id.metainfo.xml
else
  # Without the GUI the package carries no desktop files; the sources are still checked.
  desktop=$root/packaging/$app_id.desktop
  metainfo=$dir/packaging/$app_id.metainfo.xml
fi

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
echo "package: desktop-file-validate: ok"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
if $gui; then
  # The metainfo, its desktop entry and its icon together, as a software centre reads them.
  appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli rejects the installed tree"
fi

# lintian: errors fail; warnings and notes are shown for a person to read.
lintian --fail-on error --display-info "$deb" ||
  fail "lintian reports errors"
echo "package: lintian: no error"

# The programs, run from the unpacked tree with a throw-away home and a neutral working folder: they must
# find their product data in ../share/quorvel/ by themselves.
home=$scratch/home
mkdir -p "$home/work"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime
export QUORVEL_VIRTUAL_STATE=$home/mouse-state.json
unset QUORVEL_VIRTUAL QUORVEL_HID_TRACE
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
cd "$home/work"
if ! "$usr/bin/quorvelctl" --virtual 102 show >"$scratch/show.txt" 2>&1; then
  cat "$scratch/show.txt" >&2
  fail "quorvelctl --virtual 102 show failed from the installed tree"
fi
grep -q "Quorvel R2" "$scratch/show.txt" || fail "quorvelctl show did not show the virtual mouse"
echo "package: quorvelctl --virtual 102 show: ok"

if $gui; then
  if ! QT_QPA_PLATFORM=offscreen QUORVEL_VIRTUAL=102 timeout 120 "$usr/bin/quorvel" --smoke-test \
      >"$scratch/gui.txt" 2>&1; then
    cat "$scratch/gui.txt" >&2
    fail "quorvel --smoke-test did not start and quit with 0 from the installed tree (quit at once is its job)"
  fi
  echo "package: quorvel --smoke-test: ok"
else
  echo "package: SKIPPED the offscreen start of quorvel: bin/quorvel is not in the package (the GUI is not built)"
fi

echo "package: all checks passed in $((SECONDS - started)) s"
