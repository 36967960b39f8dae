#!/bin/sh
# Runs the drawn-window test under Wine on a virtual X screen of its own, once
# at each DPI, in a Wine prefix that draws (unlike the tests' prefix without a
# display) and shows every window on one virtual desktop, as a user's does.
#   drawn_windows_test.sh PROGRAM.exe
set -e
program=$(realpath "$1")
: "${QUILLSTOW_DRAWN_PREFIX:=$(dirname "$program")/wine-drawn}"
export WINEPREFIX="$QUILLSTOW_DRAWN_PREFIX" WINEDEBUG=-all
unset WAYLAND_DISPLAY

# The first display number no X server uses.
number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=":$number"
tries=0
until [ -e "/tmp/.X11-unix/X$number" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

if [ ! -f "$WINEPREFIX/.quillstow-drawn" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.quillstow-drawn"
fi

for dpi in 96 120 144; do
  echo "== at $dpi DPI"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  QUILLSTOW_EXPECTED_DPI=$dpi wine "$program" --gtest_brief=1
done
