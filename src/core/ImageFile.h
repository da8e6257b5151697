#pragma once
// Pictures written as files: Windows bitmaps (24-bit, bottom-up) and PNG
// (RGB, compressed by libpng). Both enlarge the picture row by row while
// writing, so a large enlargement never needs the enlarged picture in memory;
// a bitmap can also be drawn band by band while it is written, so a picture
// of any size needs no more than one band in memory.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Image.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>

namespace tsl {

// Each pixel becomes a scale x scale block. False when the stream fails or
// the enlarged picture does not fit the format.
bool WriteBmp(std::ostream& out, const Image& image, int scale = 1);
bool WritePng(std::ostream& out, const Image& image, int scale = 1);

// Draws the rows [top, top + band.height) of a picture into `band`, which
// has the picture's width.
using BandPainter = std::function<void(Image& band, int top)>;

// A width x height bitmap whose pixels `paint` draws at most `bandRows` rows
// at a time, from the bottom band up as the file stores them. False when the
// stream fails or the picture does not fit the format.
bool WriteBmpBands(std::ostream& out, int width, int height, int bandRows, const BandPainter& paint);

Bytes EncodeBmp(const Image& image, int scale = 1);
Bytes EncodePng(const Image& image, int scale = 1);

// PNG when the file name ends in ".png" (any letter case), a bitmap
// otherwise. The file is complete before it replaces an older one.
std::optional<Failure> SaveImageFile(const std::filesystem::path& path, const Image& image, int scale = 1);
// A bitmap drawn band by band (bands of about four megabytes), whatever the
// file name's ending; complete before it replaces an older file.
std::optional<Failure> SaveBmpBands(const std::filesystem::path& path, int width, int height, const BandPainter& paint);

} // namespace tsl
