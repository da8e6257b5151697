#!/usr/bin/env bash
# Tesselar's one entry point for a fresh Debian or Ubuntu machine:
#   ./build.sh run    installs what is missing, builds, and starts the editor on a writable copy of
#                     the sample game (build/sample; an existing copy and its edits are kept)
#   ./build.sh test   installs what is missing, builds, and runs every test
#   ./build.sh build  installs what is missing and builds (into ./build)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev
          libpng-dev libsndfile1-dev libsamplerate0-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev desktop-file-utils
          libcli11-dev nlohmann-json3-dev libadplug-dev libarchive-dev libssl-dev
          libsdl2-dev libsdl2-mixer-dev xvfb imagemagick xdotool)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    # Package names differ a little between Debian and Ubuntu releases: take
    # what this one knows.
    local known=()
    for p in "${missing[@]}"; do
        if apt-cache show "$p" >/dev/null 2>&1; then known+=("$p"); else echo "No package $p here, skipped"; fi
    done
    [ ${#known[@]} -eq 0 ] && return 0
    echo "Installing: ${known[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${known[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release ${TESSELAR_CMAKE_ARGS:-}
    cmake --build build --parallel "$(nproc)"
}

case "${1:-run}" in
    run)
        install_missing
        build
        if [ ! -f build/sample/GAMEMAPS.WL6 ]; then
            mkdir -p build/sample
            cp data/sample/MAPHEAD.WL6 data/sample/GAMEMAPS.WL6 build/sample/
        fi
        exec build/bin/tesselar build/sample
        ;;
    test)
        install_missing
        build
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir build --output-on-failure --parallel "$(nproc)"
        ;;
    build)
        install_missing
        build
        ;;
    *)
        echo "Usage: $0 run|test|build" >&2
        exit 2
        ;;
esac
