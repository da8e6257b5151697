#!/usr/bin/env bash
# Makes docs/screenshot.png: the editor on the sample game at zoom 2, under
# Xvfb. Needs xvfb, x11-apps (xwd) and imagemagick (convert); run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'kill ${xvfb:-0} ${editor:-0} 2>/dev/null || true; rm -rf "$work"' EXIT

# A private copy of the program's folder, so that its settings are our own.
mkdir -p "$work/app"
cp build/bin/tesselar "$work/app/"
cp -r build/bin/MapDefs "$work/app/"
cp -r data/sample "$work/game"
printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
sed -i 's/^ZoomFactor=.*/ZoomFactor=1/' "$work/app/MapDefs/WL6/WL6.ini"

Xvfb :77 -screen 0 1180x800x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
DISPLAY=:77 "$work/app/tesselar" "$work/game" >/dev/null 2>&1 & editor=$!
sleep 3
mkdir -p docs
DISPLAY=:77 xwd -root -silent > "$work/shot.xwd"
convert "$work/shot.xwd" docs/screenshot.png
echo "docs/screenshot.png written"
