#pragma once
// Pictures read from PNG (any colour type libpng reads) and BMP files, and
// indexed PNG written, for the walls and sprites of the page file and the
// game's other pictures. Only pictures of the sizes asked for are read (64 x
// 64 for walls and sprites, at most the game's screen for the others): the
// size is taken from the file's header and anything else is refused before a
// pixel is decoded, so a header that declares a huge picture costs nothing.
// Every read is bounded by the bytes given: a PNG chunk that claims more
// than the file holds is refused before libpng sees it, chunks other than
// the header, palette, transparency and pixels are skipped unread, and the
// reading stops once the rows are in place, however far the rest of the
// pixel stream would inflate. This is the one PNG reader of the program (the
// editor's Replace and the command line's import-page and import-graphic).

#include "core/Bytes.h"
#include "core/Failure.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kPictureImportCaption = "Import picture";
inline constexpr int kPictureFileSide = 64;

struct PictureFile {
    int width = 0;
    int height = 0;
    // Every pixel 0xAARRGGBB, row by row from the top.
    std::vector<std::uint32_t> pixels;
    // For an indexed picture: each pixel's index, row by row, and the
    // palette the file holds (0xAARRGGBB, alpha from its transparency);
    // both empty for any other picture.
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> palette;
    // The file can say that a pixel is transparent (an alpha channel, or
    // transparency for a colour or palette entry).
    bool hasAlpha = false;

    bool Indexed() const { return !palette.empty(); }
};

// The sizes a read takes: exactly width x height, or any from 1 x 1 up to
// it; `says` ends the refusal of another ("walls and sprites are 64 x 64").
struct PictureBounds {
    int width = kPictureFileSide;
    int height = kPictureFileSide;
    bool exact = true;
    std::string says = "walls and sprites are 64 x 64";
};

// A PNG or BMP file by its first bytes; `name` names it in messages.
Outcome<PictureFile> ReadPictureFile(std::span<const std::uint8_t> bytes, const std::string& name,
                                     const PictureBounds& bounds = {});
Outcome<PictureFile> LoadPictureFile(const std::filesystem::path& path, const PictureBounds& bounds = {});

// A width x height picture of palette indices (row by row) as an 8-bit
// indexed PNG carrying `palette` (0xFFRRGGBB); with `transparent`, that
// entry is marked fully transparent and every other one opaque.
Bytes EncodeIndexedPng(int width, int height, std::span<const std::uint8_t> indices,
                       const std::array<std::uint32_t, 256>& palette, std::optional<int> transparent);
// A picture of 0xAARRGGBB pixels as an 8-bit RGBA PNG.
Bytes EncodeRgbaPng(int width, int height, std::span<const std::uint32_t> pixels);

} // namespace tsl
