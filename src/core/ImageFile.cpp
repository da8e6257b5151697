#include "core/ImageFile.h"

#include "core/FileSystem.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

namespace tsl {

namespace {

constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFFull; // what a bitmap's size fields can say

// One enlarged row of the picture as R, G, B bytes.
void EnlargedRgbRow(const Image& image, int y, int scale, std::vector<std::uint8_t>& row, bool bgr)
{
    row.clear();
    const std::uint32_t* pixels = image.Row(y);
    for (int x = 0; x < image.width; ++x) {
        const std::uint32_t p = pixels[x];
        const auto r = static_cast<std::uint8_t>(p >> 16), g = static_cast<std::uint8_t>(p >> 8),
                   b = static_cast<std::uint8_t>(p);
        for (int k = 0; k < scale; ++k) {
            row.push_back(bgr ? b : r);
            row.push_back(g);
            row.push_back(bgr ? r : b);
        }
    }
}

void Put(std::ostream& out, std::span<const std::uint8_t> bytes)
{
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool EndsWithPng(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    return name.size() >= 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".png");
}

// libpng reports errors by a long jump back to the setjmp below, so the
// function that calls setjmp holds no objects with destructors: everything
// it needs lives in the caller's PngJob.
struct PngJob {
    std::ostream* out;
    const Image* image;
    int scale;
    png_uint_32 width;
    png_uint_32 height;
    std::vector<std::uint8_t>* row;
};

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    job->out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
    if (!*job->out)
        png_error(png, "write failed");
}

void PngFlush(png_structp png)
{
    static_cast<PngJob*>(png_get_io_ptr(png))->out->flush();
}

bool WritePngRows(png_structp png, png_infop info, PngJob& job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &job, PngWrite, PngFlush);
    png_set_IHDR(png, info, job.width, job.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < job.image->height; ++y) {
        EnlargedRgbRow(*job.image, y, job.scale, *job.row, false);
        for (int k = 0; k < job.scale; ++k)
            png_write_row(png, job.row->data());
    }
    png_write_end(png, info);
    return true;
}

// The 54 bytes before the pixels of a 24-bit bottom-up bitmap of w x h
// pixels; the size of one stored row, or nothing when the picture does not
// fit the format.
std::optional<std::size_t> BmpHeader(std::ostream& out, std::uint64_t w, std::uint64_t h)
{
    const std::uint64_t rowSize = (w * 3 + 3) / 4 * 4;
    const std::uint64_t dataSize = rowSize * h;
    if (w > 0x7FFFFFFF || h > 0x7FFFFFFF || 54 + dataSize > kMaxFileBytes)
        return std::nullopt;
    ByteWriter head;
    head.Append("BM");
    head.U32(static_cast<std::uint32_t>(54 + dataSize));
    head.U32(0);  // reserved
    head.U32(54); // where the pixels start
    head.U32(40); // BITMAPINFOHEADER
    head.U32(static_cast<std::uint32_t>(w));
    head.U32(static_cast<std::uint32_t>(h)); // positive: bottom-up
    head.U16(1);                             // planes
    head.U16(24);                            // bits per pixel
    head.U32(0);                             // no compression
    head.U32(static_cast<std::uint32_t>(dataSize));
    head.U32(0); // no resolution given
    head.U32(0);
    head.U32(0); // no palette
    head.U32(0);
    Put(out, head.Data());
    return static_cast<std::size_t>(rowSize);
}

Failure WriteFailure(const DiskError& error)
{
    return {"Couldn't write the picture " + error.Describe() + "!", "Error saving picture", MessageIcon::Warning};
}

} // namespace

bool WriteBmp(std::ostream& out, const Image& image, int scale)
{
    if (scale < 1)
        return false;
    const auto rowSize = BmpHeader(out, static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(scale),
                                   static_cast<std::uint64_t>(image.height) * static_cast<std::uint64_t>(scale));
    if (!rowSize)
        return false;
    std::vector<std::uint8_t> row;
    for (int y = image.height - 1; y >= 0 && out; --y) {
        EnlargedRgbRow(image, y, scale, row, true);
        row.resize(*rowSize, 0);
        for (int k = 0; k < scale; ++k)
            Put(out, row);
    }
    return static_cast<bool>(out);
}

bool WriteBmpBands(std::ostream& out, int width, int height, int bandRows, const BandPainter& paint)
{
    if (width < 0 || height < 0 || bandRows < 1)
        return false;
    const auto rowSize = BmpHeader(out, static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    if (!rowSize)
        return false;
    Image band;
    std::vector<std::uint8_t> row;
    for (int bottom = height; bottom > 0 && out;) {
        const int top = std::max(0, bottom - bandRows);
        if (band.width != width || band.height != bottom - top)
            band = Image(width, bottom - top);
        paint(band, top);
        for (int y = band.height - 1; y >= 0 && out; --y) {
            EnlargedRgbRow(band, y, 1, row, true);
            row.resize(*rowSize, 0);
            Put(out, row);
        }
        bottom = top;
    }
    return static_cast<bool>(out);
}

bool WritePng(std::ostream& out, const Image& image, int scale)
{
    if (scale < 1)
        return false;
    const std::uint64_t w = static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(scale);
    const std::uint64_t h = static_cast<std::uint64_t>(image.height) * static_cast<std::uint64_t>(scale);
    if (w == 0 || h == 0 || w > PNG_USER_WIDTH_MAX || h > PNG_USER_HEIGHT_MAX) // PNG has no empty pictures
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<std::uint8_t> row;
    PngJob job{&out, &image, scale, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), &row};
    const bool written = info && WritePngRows(png, info, job);
    png_destroy_write_struct(&png, &info);
    return written && static_cast<bool>(out);
}

Bytes EncodeBmp(const Image& image, int scale)
{
    std::ostringstream out(std::ios::binary);
    if (!WriteBmp(out, image, scale))
        return {};
    const std::string s = out.str();
    return Bytes(s.begin(), s.end());
}

Bytes EncodePng(const Image& image, int scale)
{
    std::ostringstream out(std::ios::binary);
    if (!WritePng(out, image, scale))
        return {};
    const std::string s = out.str();
    return Bytes(s.begin(), s.end());
}

std::optional<Failure> SaveImageFile(const std::filesystem::path& path, const Image& image, int scale)
{
    AtomicFile file(path);
    if (auto error = file.Open())
        return WriteFailure(*error);
    std::ostream& out = file.Stream();
    if (!(EndsWithPng(path) ? WritePng(out, image, scale) : WriteBmp(out, image, scale)))
        // A picture too large for its format, unless the disk said otherwise.
        return WriteFailure(file.Finish().value_or(DiskError{path, std::make_error_code(std::errc::file_too_large)}));
    if (auto error = file.Commit())
        return WriteFailure(*error);
    return std::nullopt;
}

std::optional<Failure> SaveBmpBands(const std::filesystem::path& path, int width, int height, const BandPainter& paint)
{
    // About four megabytes a band, whatever the width.
    constexpr int kBandPixels = 1 << 20;
    const int bandRows = std::max(1, kBandPixels / std::max(width, 1));
    AtomicFile file(path);
    if (auto error = file.Open())
        return WriteFailure(*error);
    if (!WriteBmpBands(file.Stream(), width, height, bandRows, paint))
        return WriteFailure(file.Finish().value_or(DiskError{path, std::make_error_code(std::errc::file_too_large)}));
    if (auto error = file.Commit())
        return WriteFailure(*error);
    return std::nullopt;
}

} // namespace tsl
