#!/bin/sh
# Draws the program's icons (a key over a small tree of nodes) with ImageMagick.
# Run from anywhere; writes quillmere.ico (114) and quillmere-about.ico (115) beside itself.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

draw() { # size file
  s=$1
  convert -size 256x256 xc:none \
    -stroke '#2f5d8a' -strokewidth 10 -fill none \
    -draw 'line 128,150 64,214' -draw 'line 128,150 192,214' -draw 'line 128,150 128,214' \
    -stroke '#1d3f63' -strokewidth 6 -fill '#4f8fcf' \
    -draw 'circle 64,214 64,238' -draw 'circle 128,214 128,238' -draw 'circle 192,214 192,238' \
    -stroke '#7a5a00' -strokewidth 8 -fill '#f2c230' \
    -draw 'circle 92,82 92,134' \
    -draw 'polygon 132,72 236,72 236,92 222,92 222,112 206,112 206,92 132,92' \
    -fill '#ffffff' -stroke '#7a5a00' -strokewidth 6 -draw 'circle 84,82 84,100' \
    -resize "${s}x${s}" -depth 8 "PNG32:$2"
}
draw 32 "$tmp/k32.png"
draw 16 "$tmp/k16.png"
draw 48 "$tmp/k48.png"
convert "$tmp/k32.png" "$tmp/k16.png" quillmere.ico
convert "$tmp/k48.png" "$tmp/k32.png" quillmere-about.ico
