#!/usr/bin/env bash
# Makes the pictures of the README and of the user manual: the editor on the
# sample game and its dialogs, under Xvfb, driven with xdotool and taken with
# imagemagick's import. Needs xvfb, xdotool and imagemagick; run after a build.
#   tools/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/manual/images
display=:77
work=$(mktemp -d)
trap 'kill ${editor:-0} ${xvfb:-0} 2>/dev/null || true; rm -rf "$work"' EXIT

# A private copy of the program's folder, so that its settings are our own.
mkdir -p "$work/app" "$out"
cp "$build/bin/tesselar" "$work/app/"
cp -r "$build/bin/MapDefs" "$build/bin/manual" "$work/app/"
cp -r data/sample "$work/game"
printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
sed -i 's/^ZoomFactor=.*/ZoomFactor=1/' "$work/app/MapDefs/WL6/WL6.ini"
# A game whose files carry an extension no structure knows yet.
mkdir -p "$work/newgame"
cp data/sample/MAPHEAD.WL6 "$work/newgame/MAPHEAD.MOD"
cp data/sample/GAMEMAPS.WL6 "$work/newgame/GAMEMAPS.MOD"

Xvfb $display -screen 0 1180x800x24 >/dev/null 2>&1 & xvfb=$!
export DISPLAY=$display
sleep 1

start() { # DIR: starts the editor on DIR and waits for its window
    "$work/app/tesselar" "$1" >/dev/null 2>&1 & editor=$!
    xdotool search --sync --onlyvisible --name '^Tesselar' >/dev/null
    sleep 2
}
stop() {
    kill "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
}
window() { # TITLE: the id of the visible window with that title
    xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}
shoot() { # NAME TITLE: a picture of that window
    sleep 1
    import -window "$(window "$2")" "$out/$1.png"
    echo "$out/$1.png"
}
shoot_screen() { # NAME: the whole screen
    sleep 1
    import -window root "$out/$1.png"
    echo "$out/$1.png"
}

start "$work/game"
main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
shoot_screen main
cp "$out/main.png" docs/screenshot.png

xdotool windowfocus --sync "$main" key F2
shoot view-options "Map View Options"
xdotool key Escape
sleep 1
xdotool windowfocus --sync "$main" key ctrl+alt+c
shoot configurations "Map Configurations"
xdotool key Escape
sleep 1
# The "&?" menu, opened with its access key, and its about box.
xdotool windowfocus --sync "$main" key alt+question
sleep 1
shoot_screen help-menu-full
convert "$out/help-menu-full.png" -crop 420x220+0+0 +repage "$out/help-menu.png"
rm "$out/help-menu-full.png"
xdotool key a
shoot about "About Tesselar"
xdotool key Escape
stop

# A game without a structure: the question, then the dialog that creates one.
start "$work/newgame"
xdotool search --sync --onlyvisible --name '^Error loading map definition structure$' >/dev/null
shoot structure-question "Error loading map definition structure"
xdotool key y
shoot create-structure "Create map definition structure"
xdotool key Escape
stop
echo "docs/screenshot.png written"
