#!/bin/sh
# Takes a picture of a Windows program's windows: runs it under Wine on a
# virtual desktop inside a private Xvfb screen and saves the whole screen.
#   tools/screenshot.sh PROGRAM.exe OUTPUT.png [SECONDS] [ARGUMENTS...]
# SECONDS (default 8) is how long the program gets to draw its windows.
# The Wine prefix has a real display driver, unlike the null-driver prefix the
# tests use; set WINEPREFIX to choose it, DISPLAY_NUMBER for the Xvfb screen.
set -e
program=$(realpath "$1")
output=$(realpath -m "$2")
wait_seconds=${3:-8}
shift 2
[ $# -gt 0 ] && shift
: "${WINEPREFIX:=${TMPDIR:-/tmp}/quillstow-wine-screen-$(id -u)}"
: "${DISPLAY_NUMBER:=97}"
export WINEPREFIX WINEDEBUG=-all DISPLAY=":$DISPLAY_NUMBER"

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
if [ ! -f "$WINEPREFIX/.quillstow-ready" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  touch "$WINEPREFIX/.quillstow-ready"
fi
cd "$(dirname "$program")"
wine explorer /desktop=quillstow,1024x768 "$program" "$@" >/dev/null 2>&1 &
sleep "$wait_seconds"
import -window root "$output"
echo "$output"
