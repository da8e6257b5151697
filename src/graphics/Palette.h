#pragma once
// The 256 colours a game's palette indices stand for. The games keep their
// VGA palette in the executable, so a structure ships it as a text file, and
// a mod may name one of its own in either of two formats:
// - the games' text format: comment lines starting with "#", then 256 lines
//   "r g b" in the VGA range 0-63, scaled to 0-255 as v * 255 / 63;
// - JASC-PAL, which palette tools write: "JASC-PAL", "0100", the colour
//   count (1 to 256), then that many lines "r g b" in 0-255. Colours it
//   does not list are black.
// Blank lines count nowhere; a bad line stops the reading with a message
// that names the file and the line.

#include "core/Failure.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tsl {

struct Palette {
    // Pixels 0xFFRRGGBB, by palette index.
    std::array<std::uint32_t, 256> colours{};

    std::uint32_t operator[](std::uint8_t index) const { return colours[index]; }

    // `fileName` names the text in messages.
    static Outcome<Palette> Parse(std::string_view text, const std::string& fileName);
    static Outcome<Palette> Load(const std::filesystem::path& path);
};

} // namespace tsl
