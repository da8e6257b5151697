#!/usr/bin/env bash
# Makes the pictures of the README and of the user manual: the editor on the
# sample game and its dialogs; on the shareware game (../shared/games/wl1,
# skipped when absent) the 3D preview beside the editor, the first map in the
# game's own graphics, a generated level and its dialog, a small level
# built on a new map with the keyboard picking the symbols, and the reachable
# area with the Level Statistics dialog, the episode board and a comparison
# with the game; under Xvfb, driven with xdotool and taken with
# imagemagick's import. Needs xvfb, xdotool and imagemagick; run after a build.
#   tools/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/manual/images
display=${SCREENSHOT_DISPLAY:-:77} # another one while :77 is taken
wl1=../shared/games/wl1
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

# Wide enough for the editor and the 3D preview side by side; the pictures of
# the whole screen keep to the editor's 1180 x 800.
Xvfb $display -screen 0 1420x800x24 >/dev/null 2>&1 & xvfb=$!
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
    import -window root -crop 1180x800+0+0 +repage "$out/$1.png"
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

# The 3D preview beside the editor: F4 opens it at the player start of the
# shareware game's first map (facing east), Alt + click on tile (27, 31) of
# the map view (zoom 1, the map's top-left pixel at 1,58) puts the camera in
# the big hall.
if [ -f "$wl1/VSWAP.WL1" ]; then
    cp -r "$wl1" "$work/wl1"
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=760\r\nHeight=640\r\n' > "$work/app/TSL.ini"
    start "$work/wl1"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    xdotool windowfocus --sync "$main" key F4
    window "3D Preview" >/dev/null
    sleep 1
    xdotool mousemove $((1 + 27 * 8 + 4)) $((58 + 31 * 8 + 4)) keydown alt click 1 keyup alt
    sleep 1
    # Few colours and no filtering: a quarter of the bytes of a plain PNG.
    import -window root -crop 1401x640+0+0 +repage -colors 256 -quality 90 "PNG8:$out/preview.png"
    echo "$out/preview.png"
    stop
    # The same map in its own pictures at 4x, a few rooms down, in the
    # window size of the sample game's pictures.
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
    sed -i 's/^ZoomFactor=.*/ZoomFactor=2/' "$work/app/MapDefs/WL1/WL1.ini"
    start "$work/wl1"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    xdotool mousemove --window "$main" 400 400
    for _ in $(seq 10); do xdotool click 5; done
    xdotool mousemove --window "$main" 0 0
    shoot_screen game-graphics
    # 256 colours hold the game's palette pictures and the window's greys.
    convert "$out/game-graphics.png" -colors 256 "PNG8:$out/game-graphics.png"
    cp "$out/game-graphics.png" docs/game-graphics.png
    echo "docs/game-graphics.png"
    stop
else
    echo "no $wl1: the 3D preview picture and the one in the game's graphics are left as they are"
fi

# A generated level: seed 7 with one key in map 1 of the shareware game, in
# its own pictures at 2x, and the dialog that makes it, opened from the Map
# menu (no window manager: the menu bar starts at the screen's corner).
if [ -f "$wl1/VSWAP.WL1" ]; then
    cp -r "$wl1" "$work/generated"
    "$build/bin/tesselar-cli" generate "$work/generated" --map 1 --seed 7 --keys 1 >/dev/null
    "$build/bin/tesselar-cli" render "$work/generated" "$work/generated.png" --graphics --zoom 1 >/dev/null
    convert "$work/generated.png" -colors 256 "PNG8:docs/generated.png"
    echo "docs/generated.png"
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
    start "$work/generated"
    xdotool mousemove 96 8 click 1; sleep 1
    xdotool mousemove 158 231 click 1
    box=$(window "Generate Level")
    field() { # X Y TEXT: replaces the text of the dialog's field at X,Y
        xdotool mousemove --window "$box" "$1" "$2" click 1 key ctrl+a
        xdotool type "$3"; xdotool key Tab; sleep 0.5
    }
    field 170 79 1   # Keys
    field 110 194 7  # Seed
    sleep 1
    import -window "$box" -colors 256 "PNG8:$out/generate.png"
    echo "$out/generate.png"
    xdotool key Escape
    stop
fi

# Three rooms on a new map of the shareware game, every symbol picked with
# the filter field and Enter; then a selection, with the status bar's fields.
if [ -f "$wl1/MAPHEAD.WL1" ]; then
    cp -r "$wl1" "$work/level"
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
    sed -i 's/^ZoomFactor=.*/ZoomFactor=0/' "$work/app/MapDefs/WL1/WL1.ini"
    start "$work/level"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    # The map's top-left corner in the window (no window manager: no frame),
    # at 2x, 16 pixels a tile.
    ox=1; oy=59; c=16
    at() { echo $((ox + c * $1 + c / 2)) $((oy + c * $2 + c / 2)); }
    key() { xdotool windowfocus --sync "$main" key "$@"; sleep 0.3; }
    pick() { # TEXT [DOWNS]: the filter narrows the list, Enter takes the entry
        key ctrl+l
        xdotool type --delay 20 "$1"
        for _ in $(seq 1 "${2:-0}"); do xdotool key Down; done
        xdotool key Return
        sleep 0.3
    }
    click() { xdotool mousemove --window "$main" $(at "$1" "$2") click 1; sleep 0.2; }
    drag() {
        xdotool mousemove --window "$main" $(at "$1" "$2") mousedown 1
        sleep 0.1
        xdotool mousemove --window "$main" $(at "$3" "$4")
        sleep 0.1
        xdotool mousemove --window "$main" $(at "$3" "$4") mouseup 1
        sleep 0.2
    }
    key Insert ctrl+plus
    pick "grey stone 1"; key f; click 2 2
    pick "floor area 1"; key r
    drag 4 4 13 13; drag 18 4 27 13; drag 4 18 13 27; drag 14 8 17 8; drag 8 14 8 17
    pick "door vertical"; key p; click 16 8
    pick "door horizontal"; click 8 16
    key ctrl+alt+f
    # The objects: the plane selector is the side panel's first control.
    xdotool mousemove --window "$main" 1060 72 click 1; sleep 0.5
    xdotool key Down Return; sleep 0.3
    pick "player start east"; click 6 9
    pick "guard standing west"; click 25 8
    pick "barrel"; click 5 26; click 12 26
    pick "treasure chest"; click 11 20
    key s; drag 18 4 27 13
    xdotool mousemove --window "$main" $(at 22 9); sleep 0.5
    sleep 1
    import -window root -crop 1180x800+0+0 +repage -colors 256 "PNG8:$out/level.png"
    echo "$out/level.png"
    stop
else
    echo "no $wl1: $out/level.png left as it is"
fi
# Game Pictures and Sounds on the shareware game, its grey stone wall
# (chunk 0) replaced by a picture drawn here. The Map menu opened with its
# access key; its entry clicked where it stands (no window manager: the menu
# drops from the window's top-left corner).
if [ -f "$wl1/VSWAP.WL1" ]; then
    cp -r "$wl1" "$work/pages"
    convert -size 64x64 gradient:orange-purple -fill white -draw "rectangle 8,8 55,55" \
        -fill green -draw "circle 32,32 32,16" "$work/wall.png"
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1000\r\nHeight=760\r\n' > "$work/app/TSL.ini"
    start "$work/pages"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    xdotool windowfocus --sync "$main" key alt+m
    sleep 1
    xdotool mousemove 192 413 click 1
    browser=$(window "Game Pictures and Sounds - VSWAP.WL1")
    xdotool mousemove 108 88 click 1 # the light side of chunks 0 and 1
    sleep 0.5
    xdotool mousemove 222 577 click 1 # Replace...
    xdotool windowfocus --sync "$(window "Replace wall 0")" type --delay 20 "$work/wall.png"
    xdotool key Return
    sleep 1
    import -window "$browser" -colors 256 "PNG8:$out/page-browser.png"
    echo "$out/page-browser.png"
    stop
else
    echo "no $wl1: $out/page-browser.png left as it is"
fi
# The analysis of play on map 2 of the shareware game at 2x, scrolled to the
# walk from the start to the elevator: a door of the room at the bottom left
# walled over with the pencil (tile 14,58), "Show Reachable Area" turned on;
# then the elevator walled off too (its switch is used from tile 1,48) and
# "Level Statistics" says no skill level can be finished.
if [ -f "$wl1/VSWAP.WL1" ]; then
    cp -r "$wl1" "$work/analysis"
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
    sed -i 's/^ZoomFactor=.*/ZoomFactor=1/' "$work/app/MapDefs/WL1/WL1.ini"
    start "$work/analysis"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    key() { xdotool windowfocus --sync "$main" key "$@"; sleep 0.5; }
    key Prior
    xdotool mousemove --window "$main" 400 400
    for _ in $(seq 18); do xdotool click 5; done
    # Scrolled to the bottom: the view's top-left tile is (0, 20).
    at() { echo $((1 + 16 * $1 + 8)) $((59 + 16 * ($2 - 20) + 8)); }
    key ctrl+l
    xdotool type --delay 20 "blue stone 1"
    xdotool key Return; sleep 0.3
    xdotool mousemove --window "$main" $(at 14 58) click 1; sleep 0.3
    key ctrl+l Escape
    key ctrl+shift+r
    xdotool mousemove --window "$main" 1000 790
    sleep 1
    import -window root -crop 1180x800+0+0 +repage -colors 256 "PNG8:$out/analysis.png"
    cp "$out/analysis.png" docs/analysis.png
    echo "$out/analysis.png"
    echo "docs/analysis.png"
    xdotool mousemove --window "$main" $(at 1 48) click 1; sleep 0.5
    key ctrl+shift+i
    shoot statistics "Level Statistics"
    xdotool key Escape
    stop
else
    echo "no $wl1: $out/analysis.png, $out/statistics.png and docs/analysis.png left as they are"
fi

# From levels to a mod on the shareware game: a level generated into map 1
# and map 2's flag walls turned into portraits (tesselar-cli); the episode
# board; then map 2 at 2x compared with the clean game, after Next Change.
if [ -f "$wl1/VSWAP.WL1" ]; then
    cp -r "$wl1" "$work/mod"
    cp -r "$wl1" "$work/original"
    "$build/bin/tesselar-cli" generate "$work/mod" --map 1 --seed 7 --keys 1 --secrets 2 >/dev/null
    "$build/bin/tesselar-cli" edit "$work/mod" --maps 2 --plane 0 --replace 3=4 >/dev/null
    printf '[Window]\r\nLeft=0\r\nTop=0\r\nWidth=1180\r\nHeight=800\r\n' > "$work/app/TSL.ini"
    sed -i 's/^ZoomFactor=.*/ZoomFactor=1/' "$work/app/MapDefs/WL1/WL1.ini"
    start "$work/mod"
    main=$(xdotool search --onlyvisible --name '^Tesselar' | head -n 1)
    key() { xdotool windowfocus --sync "$main" key "$@"; sleep 0.5; }
    key ctrl+shift+e
    board=$(window "Episode Board")
    xdotool windowmove "$board" 0 0
    sleep 1
    import -window "$board" -colors 256 "PNG8:$out/episodes.png"
    cp "$out/episodes.png" docs/episodes.png
    echo "$out/episodes.png"
    echo "docs/episodes.png"
    xdotool windowfocus --sync "$board" key Escape; sleep 0.5
    key alt+f m
    xdotool windowfocus --sync "$(window "Choose the game folder to compare the maps with.")" type --delay 20 "$work/original"
    xdotool key Return; sleep 1
    xdotool key Return; sleep 0.5 # the comparison's message
    key Prior F8
    xdotool mousemove --window "$main" 1000 790
    sleep 1
    import -window root -crop 1180x800+0+0 +repage -colors 256 "PNG8:$out/compare.png"
    cp "$out/compare.png" docs/compare.png
    echo "$out/compare.png"
    echo "docs/compare.png"
    stop
else
    echo "no $wl1: $out/episodes.png, $out/compare.png and their docs/ copies left as they are"
fi
echo "docs/screenshot.png written"
