#pragma once
// Pictures written as files: Windows bitmaps (24-bit, bottom-up) and PNG
// (RGB, compressed by libpng). Both enlarge the picture row by row while
// writing, so a large enlargement never needs the enlarged picture in memory.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Image.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

namespace tsl {

// Each pixel becomes a scale x scale block. False when the stream fails or
// the enlarged picture does not fit the format.
bool WriteBmp(std::ostream& out, const Image& image, int scale = 1);
bool WritePng(std::ostream& out, const Image& image, int scale = 1);

Bytes EncodeBmp(const Image& image, int scale = 1);
Bytes EncodePng(const Image& image, int scale = 1);

// PNG when the file name ends in ".png" (any letter case), a bitmap
// otherwise. The file is complete before it replaces an older one.
std::optional<Failure> SaveImageFile(const std::filesystem::path& path, const Image& image, int scale = 1);

} // namespace tsl
