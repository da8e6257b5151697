#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every file a
# desktop program needs is where the desktop looks for it, and runs the
# installed programs on the installed sample game.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/tesselar bin/tesselar-cli share/bash-completion/completions/tesselar-cli \
         share/tesselar/MapDefs/WL6/WL6.ini share/tesselar/MapDefs/SOD/plane1.txt \
         share/tesselar/sample/MAPHEAD.WL6 share/tesselar/sample/GAMEMAPS.WL6 \
         share/tesselar/manual/index.html share/doc/tesselar/manual/index.html \
         share/applications/tesselar.desktop share/metainfo/org.tesselar.Tesselar.metainfo.xml \
         share/icons/hicolor/scalable/apps/tesselar.svg \
         share/icons/hicolor/48x48/apps/tesselar.png share/icons/hicolor/256x256/apps/tesselar.png; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -L "$prefix/share/doc/tesselar/manual" ] || fail "the documentation folder does not link to the manual"
# Every page the manual links to is installed with it.
for page in $(grep -oh 'href="[^"#:]*' "$prefix"/share/tesselar/manual/*.html | sed 's/href="//' | sort -u); do
    [ -e "$prefix/share/tesselar/manual/$page" ] || fail "the manual links to $page, which is not installed"
done
for page in $(grep -oh 'src="[^"]*' "$prefix"/share/tesselar/manual/*.html | sed 's/src="//' | sort -u); do
    [ -e "$prefix/share/tesselar/manual/$page" ] || fail "the manual shows $page, which is not installed"
done

desktop-file-validate "$prefix/share/applications/tesselar.desktop" || fail "desktop entry"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.tesselar.Tesselar.metainfo.xml" >/dev/null \
        || fail "AppStream file"
fi

version=$(sed -n 's/^project(Tesselar VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$("$prefix/bin/tesselar-cli" --version)" = "tesselar-cli $version" ] || fail "tesselar-cli --version"
[ "$("$prefix/bin/tesselar" --version)" = "tesselar $version" ] || fail "tesselar --version"

# The installed companion reads the installed sample game as the build does,
# with the installed structures: the same game with an installed WL6
# structure that claims two planes per map no longer reads.
cd "$prefix"
installed=$("$prefix/bin/tesselar-cli" info "$prefix/share/tesselar/sample")
expected=$("$build/bin/tesselar-cli" info "$prefix/share/tesselar/sample")
[ "$installed" = "$expected" ] || fail "installed tesselar-cli info differs: $installed"
grep -q "Maps:        7" <<<"$installed" || fail "installed tesselar-cli info: $installed"
sed -i 's/^NumPlanes=3/NumPlanes=2/' "$prefix/share/tesselar/MapDefs/WL6/WL6.ini"
if "$prefix/bin/tesselar-cli" info "$prefix/share/tesselar/sample" >/dev/null 2>&1; then
    fail "installed tesselar-cli does not read the installed structures"
fi
echo "install into $prefix checked"
