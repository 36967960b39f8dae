#!/bin/sh
# Redraws res/quillstow.ico (16, 32 and 48 pixels) from the drawing below:
# an envelope on a blue tile with a quill laid across it.
set -e
out="$(dirname "$0")/../res/quillstow.ico"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 16 32 48; do
  convert -size 48x48 xc:none -fill '#1f4e79' -draw "roundrectangle 1,1 46,46 8,8" \
    -fill white -stroke '#1f4e79' -strokewidth 1 -draw "rectangle 8,16 36,36" \
    -fill none -stroke '#1f4e79' -strokewidth 2 -draw "polyline 8,16 22,28 36,16" \
    -stroke '#e8b923' -strokewidth 4 -draw "line 42,6 26,30" \
    -stroke '#fff3c4' -strokewidth 1 -draw "line 41,8 28,27" \
    -resize "${size}x${size}" "$tmp/icon_$size.png"
done
convert "$tmp/icon_16.png" "$tmp/icon_32.png" "$tmp/icon_48.png" "$out"
