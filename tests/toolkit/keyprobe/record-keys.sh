#!/usr/bin/env bash
# Records the key events X11 delivers for the keys key capture must handle, as rows for the table in
# KeyTranslationTest.cpp. Builds the probe, starts it under Xvfb with the stock keymap (evdev rules,
# pc105, us), presses physical keys by keycode through XTest, as a keyboard would, and prints the rows.
# Usage: tests/toolkit/keyprobe/record-keys.sh   (needs xvfb, xdotool, x11-xkb-utils, qt6-base-dev)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -fPIC "$here/KeyProbe.cpp" -o "$work/keyprobe" $(pkg-config --cflags --libs Qt6Widgets)

# Presses and releases keycodes through XTest: "+50 +23 -23 -50" is Shift+Tab.
cat > "$work/press.py" <<'PY'
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
for step in sys.argv[1:]:
    xtst.XTestFakeKeyEvent(display, int(step[1:]), step[0] == "+", 0)
    x11.XFlush(display)
    time.sleep(0.02)
x11.XCloseDisplay(display)
PY

# Each step: the comment for the table, then "keys <keycodes>", "type <xdotool keysyms>" or "layout <name>".
steps=(
  "F13 (the stock keymap calls it XF86Tools)|keys +191 -191"
  "F14 (XF86Launch5)|keys +192 -192"
  "F19 (no keysym in the stock keymap)|keys +197 -197"
  "F23 (XF86TouchpadOff)|keys +201 -201"
  "F24 (no keysym)|keys +202 -202"
  "F13 typed by its keysym: xdotool lends it a spare keycode|type F13"
  "F12|keys +96 -96"
  "Enter|keys +36 -36"
  "Escape|keys +9 -9"
  "Tab|keys +23 -23"
  "Shift+Tab|keys +50 +23 -23 -50"
  "Pause|keys +127 -127"
  "Print|keys +107 -107"
  "Alt+Print (Sys Req)|keys +64 +107 -107 -64"
  "keypad 8, Num Lock off|keys +80 -80"
  "keypad 5, Num Lock off|keys +84 -84"
  "keypad ., Num Lock off|keys +91 -91"
  "keypad Enter|keys +104 -104"
  "keypad /|keys +106 -106"
  "keypad *|keys +63 -63"
  "Num Lock on|keys +77 -77"
  "keypad 8, Num Lock on|keys +80 -80"
  "keypad 0, Num Lock on|keys +90 -90"
  "keypad ., Num Lock on|keys +91 -91"
  "Num Lock off|keys +77 -77"
  "left Ctrl|keys +37 -37"
  "right Ctrl|keys +105 -105"
  "left Shift|keys +50 -50"
  "right Shift|keys +62 -62"
  "left Shift held, right Shift pressed|keys +50 +62 -62 -50"
  "left Alt|keys +64 -64"
  "right Alt|keys +108 -108"
  "left Win|keys +133 -133"
  "right Win|keys +134 -134"
  "Menu|keys +135 -135"
  "a|keys +38 -38"
  "Shift+a|keys +50 +38 -38 -50"
  "Ctrl+a|keys +37 +38 -38 -37"
  "Shift+1|keys +50 +10 -10 -50"
  "Up|keys +111 -111"
  "Home|keys +110 -110"
  "Delete|keys +119 -119"
  "Insert|keys +118 -118"
  "minus|keys +20 -20"
  "space|keys +65 -65"
  "Caps Lock|keys +66 -66"
  "German layout|layout de"
  "German Z (the US Y key)|keys +29 -29"
  "German AltGr|keys +108 -108"
  "Russian layout|layout ru"
  "Russian ef (the US A key)|keys +38 -38"
  "US layout again|layout us"
)
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  work=$1; shift
  "$work/keyprobe" > "$work/events.txt" 2>/dev/null &
  probe=$!
  for i in $(seq 100); do xdotool search --onlyvisible --name keyprobe >/dev/null 2>&1 && break; sleep 0.1; done
  xdotool windowfocus "$(xdotool search --onlyvisible --name keyprobe | head -1)"
  sleep 0.3
  for step in "$@"; do
    comment=${step%%|*}; action=${step#*|}
    before=$(wc -l < "$work/events.txt")
    case $action in
      keys\ *) python3 "$work/press.py" ${action#keys } ;;
      type\ *) xdotool key ${action#type } ;;
      layout\ *) setxkbmap ${action#layout } ;;
    esac
    sleep 0.25
    echo "// $comment" >> "$work/marks.txt"
    echo "$before $(wc -l < "$work/events.txt")" >> "$work/marks.txt"
  done
  kill $probe
' _ "$work" "${steps[@]}"
# Interleave the comments with the events each step produced.
exec 3< "$work/marks.txt"
while read -r comment <&3 && read -r range <&3; do
  set -- $range
  [ "$1" = "$2" ] && continue
  echo "$comment"
  sed -n "$(($1 + 1)),$2p" "$work/events.txt"
done
