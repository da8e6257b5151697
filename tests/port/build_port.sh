#!/usr/bin/env bash
# The EnginePort fixture: builds the source port the engine tests play with,
# once per build folder (the port's own script keeps a binary that is newer
# than its sources). It never fails: where the port cannot be built, the
# reason goes to OUTDIR/unavailable.txt and the engine tests skip with it.
#   build_port.sh PORTSDIR OUTDIR
ports=${1:?}; out=${2:?}
mkdir -p "$out"
rm -f "$out/unavailable.txt"
unavailable() { echo "$*" >"$out/unavailable.txt"; echo "$*"; exit 0; }
[ -f "$ports/build-wolf4sdl.sh" ] || unavailable "no source port beside the source tree ($ports)"
for tool in make cc pkg-config; do
    command -v "$tool" >/dev/null || unavailable "the source port needs $tool to build"
done
pkg-config --exists sdl2 SDL2_mixer ||
    unavailable "the source port needs the SDL2 development packages (libsdl2-dev, libsdl2-mixer-dev)"
if ! log=$(bash "$ports/build-wolf4sdl.sh" "$out" 2>&1); then
    unavailable "the source port did not build: $log"
fi
echo "$log"
