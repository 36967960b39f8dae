#!/bin/sh
# Runs the drawn-window test under Wine on a virtual X screen of its own, once
# at each DPI, in a Wine prefix that draws (see cmake/wine-drawing-prefix).
#   drawn_windows_test.sh PROGRAM.exe
set -e
program=$(realpath "$1")
: "${QUILLSTOW_DRAWN_PREFIX:=$(dirname "$program")/wine-drawn}"
export WINEPREFIX="$QUILLSTOW_DRAWN_PREFIX" WINEDEBUG=-all
unset WAYLAND_DISPLAY

# A virtual X screen on a display number it finds free itself.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
tries=0
until [ -s "$display_file" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(cat "$display_file")"

prepare="$(dirname "$0")/../../../cmake/wine-drawing-prefix"
for dpi in 96 120 144; do
  echo "== at $dpi DPI"
  sh "$prepare" 1280x1024 "$dpi"
  QUILLSTOW_EXPECTED_DPI=$dpi wine "$program" --gtest_brief=1
done
