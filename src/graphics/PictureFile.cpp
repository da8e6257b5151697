#include "graphics/PictureFile.h"

#include "core/FileSystem.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace tsl {

namespace {

// The longest chunk libpng may take (a picture of 320 x 200 needs some
// thousand bytes; a colour profile may take more): far less than a forged
// length would ask for.
constexpr png_alloc_size_t kPngChunkLimit = 1u << 20;
// Text chunks and the like libpng may keep: none (the reader asks it to
// skip them), and a bound all the same.
constexpr png_uint_32 kPngChunkCache = 8;
constexpr std::size_t kPngStreamRead = 128;

Failure PictureFailure(const std::string& name, const std::string& what)
{
    return {"The picture \"" + name + "\" " + what, kPictureImportCaption, MessageIcon::Warning};
}

Failure WrongSize(const std::string& name, std::int64_t width, std::int64_t height, const PictureBounds& bounds)
{
    return PictureFailure(name, "is " + std::to_string(width) + " x " + std::to_string(height) + " pixels; " +
                                    bounds.says + ".");
}

bool Fits(std::int64_t width, std::int64_t height, const PictureBounds& bounds)
{
    if (bounds.exact)
        return width == bounds.width && height == bounds.height;
    return width >= 1 && height >= 1 && width <= bounds.width && height <= bounds.height;
}

std::uint32_t GetU32BigEndian(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// A chunk's type as letters, any other byte as \xNN.
std::string PrintableChunkType(const std::string& type)
{
    std::string out;
    for (const char c : type) {
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
        out += (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? std::string(1, c) : std::string(code);
    }
    return out;
}

// --- PNG --------------------------------------------------------------------

// libpng reports errors by a long jump back to the setjmp below, so the
// functions between hold no objects with destructors: the buffers are
// allocated by the caller and reached through this plain record.
struct PngRead {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
    bool reading;  // png_read_image runs
    bool rowsRead; // every row is in place: the rest of the file is not read
    char message[160];
    std::uint8_t* rgba;    // width * height * 4, filled for a picture that is not indexed
    std::uint8_t* indices; // width * height, filled for an indexed picture
    png_bytep* rows;       // height
    png_uint_32 width;
    png_uint_32 height;
    std::uint32_t* palette; // 256
    int paletteSize;
    bool indexed;
    bool hasAlpha;
};

void PngError(png_structp png, png_const_charp message)
{
    auto* job = static_cast<PngRead*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngReadData(png_structp png, png_bytep out, png_size_t length)
{
    auto* job = static_cast<PngRead*>(png_get_io_ptr(png));
    // After the last row (of the last pass) libpng would inflate whatever
    // the stream still holds, however far it inflates, and read on to the
    // end: the picture is complete, so the read ends here.
    if (job->reading && (png_get_current_pass_number(png) >= 7 || png_get_current_row_number(png) >= job->height)) {
        job->rowsRead = true;
        png_longjmp(png, 1);
    }
    if (length > job->size - job->at)
        png_error(png, "the file ends early");
    std::memcpy(out, job->data + job->at, length);
    job->at += length;
}

void ReadPalette(png_structp png, png_infop info, PngRead& job)
{
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    png_bytep alpha = nullptr;
    int alphas = 0;
    png_color_16p unused = nullptr;
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_get_tRNS(png, info, &alpha, &alphas, &unused);
    job.paletteSize = count;
    job.hasAlpha = alphas > 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t a = i < alphas ? alpha[i] : 0xFFu;
        job.palette[i] = a << 24 | static_cast<std::uint32_t>(colours[i].red) << 16 |
                         static_cast<std::uint32_t>(colours[i].green) << 8 | colours[i].blue;
    }
}

bool ReadPngRows(png_structp png, png_infop info, PngRead& job)
{
    if (setjmp(png_jmpbuf(png)))
        return job.rowsRead;
    png_set_read_fn(png, &job, PngReadData);
    png_set_user_limits(png, job.width, job.height);
    png_set_chunk_malloc_max(png, kPngChunkLimit);
    png_set_chunk_cache_max(png, kPngChunkCache);
    // libpng only warns of what it calls benign (a chunk over the limit
    // among them, which it then allocates): here each is an error.
    png_set_benign_errors(png, 0);
    // Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is skipped unread.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    // The pixel stream in small reads, so that what one read inflates past
    // the rows (up to a thousand times its size) stays small.
    png_set_compression_buffer_size(png, kPngStreamRead);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    job.indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    if (job.indexed) {
        ReadPalette(png, info, job);
        png_set_packing(png); // 1, 2 and 4-bit indices one to a byte
    } else {
        job.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);
        png_set_expand(png); // low bit depths to 8, a transparent colour to alpha
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = job.indexed ? job.width : 4 * static_cast<std::size_t>(job.width);
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, "its rows are not of the expected size");
    std::uint8_t* target = job.indexed ? job.indices : job.rgba;
    for (png_uint_32 y = 0; y < job.height; ++y)
        job.rows[y] = target + static_cast<std::size_t>(y) * rowBytes;
    job.reading = true;
    png_read_image(png, job.rows);
    return true;
}

// The chunks of a PNG file, each within the file, so that a length that
// claims more than the file holds is refused before libpng allocates it.
std::optional<Failure> CheckPngChunks(std::span<const std::uint8_t> bytes, const std::string& name)
{
    for (std::size_t at = 8; at + 8 <= bytes.size();) {
        const std::uint64_t length = GetU32BigEndian(bytes.data() + at);
        const std::string type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
        if (length + 12 > bytes.size() - at)
            return PictureFailure(name, "is damaged: its " + PrintableChunkType(type) + " chunk of " +
                                            std::to_string(length) + " bytes reaches past the end of the file.");
        if (type == "IEND")
            break;
        at += static_cast<std::size_t>(length) + 12;
    }
    return std::nullopt;
}

Outcome<PictureFile> ReadPng(std::span<const std::uint8_t> bytes, const std::string& name, const PictureBounds& bounds)
{
    // The size from the header before libpng starts, so that a wrong one is
    // named and nothing is allocated for it.
    if (bytes.size() < 33 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return PictureFailure(name, "is damaged: its header is missing.");
    const std::uint32_t width = GetU32BigEndian(bytes.data() + 16);
    const std::uint32_t height = GetU32BigEndian(bytes.data() + 20);
    if (!Fits(width, height, bounds))
        return WrongSize(name, width, height, bounds);

    if (auto failure = CheckPngChunks(bytes, name))
        return *failure;

    const std::size_t kPixels = static_cast<std::size_t>(width) * height;
    Bytes rgba(kPixels * 4);
    Bytes indices(kPixels);
    std::vector<std::uint32_t> palette(256);
    std::vector<png_bytep> rows(height);
    PngRead job{bytes.data(), bytes.size(), 0, false, false, {}, rgba.data(), indices.data(), rows.data(), width,
                height, palette.data(), 0, false, false};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool read = info && ReadPngRows(png, info, job);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read)
        return PictureFailure(name, std::string("is damaged: ") + (job.message[0] ? job.message : "libpng failed") + ".");

    PictureFile picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.hasAlpha = job.hasAlpha;
    picture.pixels.resize(kPixels);
    if (job.indexed) {
        palette.resize(static_cast<std::size_t>(job.paletteSize));
        for (std::size_t i = 0; i < kPixels; ++i) {
            if (indices[i] >= palette.size())
                return PictureFailure(name, "is damaged: a pixel has the index " + std::to_string(indices[i]) +
                                                ", past its palette of " + std::to_string(palette.size()) + " colours.");
            picture.pixels[i] = palette[indices[i]];
        }
        picture.indices = std::move(indices);
        picture.palette = std::move(palette);
    } else {
        for (std::size_t i = 0; i < kPixels; ++i) {
            const std::uint8_t* p = rgba.data() + 4 * i;
            picture.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                                static_cast<std::uint32_t>(p[1]) << 8 | p[2];
        }
    }
    return picture;
}

// --- BMP --------------------------------------------------------------------

std::uint32_t MaskedChannel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    const std::uint64_t top = mask >> shift;
    return static_cast<std::uint32_t>(((value & mask) >> shift) * std::uint64_t{255} / top);
}

Outcome<PictureFile> ReadBmp(std::span<const std::uint8_t> bytes, const std::string& name, const PictureBounds& bounds)
{
    const auto damaged = [&](const std::string& what) { return PictureFailure(name, "is damaged: " + what + "."); };
    if (bytes.size() < 26)
        return damaged("its header is missing");
    const std::uint32_t pixelsAt = GetU32(bytes.data() + 10);
    const std::uint32_t headerSize = GetU32(bytes.data() + 14);
    if (headerSize != 12 && (headerSize < 40 || headerSize > 124))
        return damaged("its header has an unknown size of " + std::to_string(headerSize) + " bytes");
    if (14 + static_cast<std::size_t>(headerSize) > bytes.size())
        return damaged("its header reaches past the end of the file");
    const std::uint8_t* h = bytes.data() + 14;
    const bool core = headerSize == 12;
    const std::int64_t width = core ? GetU16(h + 4) : static_cast<std::int32_t>(GetU32(h + 4));
    const std::int64_t rawHeight = core ? GetU16(h + 6) : static_cast<std::int32_t>(GetU32(h + 8));
    const int bits = GetU16(h + (core ? 10 : 14));
    const std::uint32_t compression = core ? 0 : GetU32(h + 16);
    const std::int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (!Fits(width, height, bounds))
        return WrongSize(name, width, rawHeight, bounds);
    const int kWidth = static_cast<int>(width);
    const int kHeight = static_cast<int>(height);
    const std::size_t kPixels = static_cast<std::size_t>(kWidth) * static_cast<std::size_t>(kHeight);
    const bool bitfields = compression == 3 && (bits == 16 || bits == 32);
    if ((compression != 0 && !bitfields) || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return PictureFailure(name, "is a BMP file of a kind this program does not read (" + std::to_string(bits) +
                                        " bits a pixel, compression " + std::to_string(compression) + ").");

    PictureFile picture;
    picture.width = kWidth;
    picture.height = kHeight;
    if (bits <= 8) {
        const std::size_t entrySize = core ? 3 : 4;
        const std::uint32_t used = core ? 0 : GetU32(h + 32);
        const std::size_t count = used == 0 || used > (1u << bits) ? (std::size_t{1} << bits) : used;
        const std::size_t at = 14 + headerSize;
        if (at + count * entrySize > bytes.size())
            return damaged("its palette reaches past the end of the file");
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = bytes.data() + at + i * entrySize;
            picture.palette.push_back(0xFF000000u | static_cast<std::uint32_t>(e[2]) << 16 |
                                      static_cast<std::uint32_t>(e[1]) << 8 | e[0]);
        }
    }
    // Masks: from the header's extension, or the default of each depth.
    std::uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (bits == 16)
        masks[0] = 0x7C00u, masks[1] = 0x03E0u, masks[2] = 0x001Fu;
    if (bitfields) {
        const std::size_t maskAt = headerSize >= 52 ? 14 + 40 : 14 + headerSize;
        const std::size_t maskCount = headerSize >= 56 ? 4 : 3;
        if (maskAt + 4 * maskCount > bytes.size())
            return damaged("its colour masks reach past the end of the file");
        for (std::size_t i = 0; i < maskCount; ++i)
            masks[i] = GetU32(bytes.data() + maskAt + 4 * i);
    }
    picture.hasAlpha = masks[3] != 0;

    const std::size_t stride = (static_cast<std::size_t>(kWidth) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    if (pixelsAt > bytes.size() || stride * static_cast<std::size_t>(kHeight) > bytes.size() - pixelsAt)
        return damaged("its pixels reach past the end of the file");
    picture.pixels.resize(kPixels);
    if (picture.Indexed())
        picture.indices.resize(kPixels);
    for (int y = 0; y < kHeight; ++y) {
        const int fileRow = rawHeight < 0 ? y : kHeight - 1 - y;
        const std::uint8_t* row = bytes.data() + pixelsAt + static_cast<std::size_t>(fileRow) * stride;
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * kWidth + x);
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const std::uint8_t byte = row[x / perByte];
                const int shift = 8 - bits * (x % perByte + 1);
                const std::uint8_t index = static_cast<std::uint8_t>((byte >> shift) & ((1 << bits) - 1));
                if (index >= picture.palette.size())
                    return damaged("a pixel has the index " + std::to_string(index) + ", past its palette of " +
                                   std::to_string(picture.palette.size()) + " colours");
                picture.indices[at] = index;
                picture.pixels[at] = picture.palette[index];
                continue;
            }
            std::uint32_t value = 0;
            const std::uint8_t* p = row + static_cast<std::size_t>(x * bits / 8);
            for (int b = 0; b < bits / 8; ++b)
                value |= static_cast<std::uint32_t>(p[b]) << (8 * b);
            const std::uint32_t alpha = masks[3] ? MaskedChannel(value, masks[3]) : 0xFFu;
            picture.pixels[at] = alpha << 24 | MaskedChannel(value, masks[0]) << 16 |
                                 MaskedChannel(value, masks[1]) << 8 | MaskedChannel(value, masks[2]);
        }
    }
    return picture;
}

// --- PNG writing ------------------------------------------------------------

struct PngWrite {
    std::ostringstream* out;
    const std::uint8_t* rows; // the picture's bytes, row after row
    std::size_t rowBytes;
    png_uint_32 width;
    png_uint_32 height;
    int colourType;
    png_color palette[256];
    png_byte alpha[256];
    int alphas;
};

void PngWriteData(png_structp png, png_bytep data, png_size_t length)
{
    auto* job = static_cast<PngWrite*>(png_get_io_ptr(png));
    job->out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
}

void PngFlush(png_structp) {}

bool WritePngRows(png_structp png, png_infop info, PngWrite& job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &job, PngWriteData, PngFlush);
    png_set_IHDR(png, info, job.width, job.height, 8, job.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (job.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, job.palette, 256);
        if (job.alphas > 0)
            png_set_tRNS(png, info, job.alpha, job.alphas, nullptr);
    }
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < job.height; ++y)
        png_write_row(png, job.rows + y * job.rowBytes);
    png_write_end(png, info);
    return true;
}

Bytes WritePng(PngWrite& job)
{
    std::ostringstream out;
    job.out = &out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && WritePngRows(png, info, job);
    png_destroy_write_struct(&png, &info);
    if (!written)
        return {};
    const std::string text = out.str();
    return Bytes(text.begin(), text.end());
}

} // namespace

Outcome<PictureFile> ReadPictureFile(std::span<const std::uint8_t> bytes, const std::string& name,
                                     const PictureBounds& bounds)
{
    static constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0)
        return ReadPng(bytes, name, bounds);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return ReadBmp(bytes, name, bounds);
    return PictureFailure(name, "is neither a PNG nor a BMP file.");
}

Outcome<PictureFile> LoadPictureFile(const std::filesystem::path& path, const PictureBounds& bounds)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return PictureFailure(path.string(), "cannot be read.");
    return ReadPictureFile(*bytes, path.string(), bounds);
}

Bytes EncodeIndexedPng(int width, int height, std::span<const std::uint8_t> indices,
                       const std::array<std::uint32_t, 256>& palette, std::optional<int> transparent)
{
    PngWrite job{};
    job.rows = indices.data();
    job.rowBytes = static_cast<std::size_t>(width);
    job.width = static_cast<png_uint_32>(width);
    job.height = static_cast<png_uint_32>(height);
    job.colourType = PNG_COLOR_TYPE_PALETTE;
    for (std::size_t i = 0; i < 256; ++i)
        job.palette[i] = {static_cast<png_byte>(palette[i] >> 16), static_cast<png_byte>(palette[i] >> 8),
                          static_cast<png_byte>(palette[i])};
    if (transparent) {
        // Entries past the last one listed are opaque: list up to the transparent one.
        job.alphas = *transparent + 1;
        std::fill_n(job.alpha, job.alphas, png_byte{0xFF});
        job.alpha[*transparent] = 0;
    }
    return WritePng(job);
}

Bytes EncodeRgbaPng(int width, int height, std::span<const std::uint32_t> pixels)
{
    Bytes rgba(pixels.size() * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rgba[4 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rgba[4 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rgba[4 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
        rgba[4 * i + 3] = static_cast<std::uint8_t>(pixels[i] >> 24);
    }
    PngWrite job{};
    job.rows = rgba.data();
    job.rowBytes = static_cast<std::size_t>(width) * 4;
    job.width = static_cast<png_uint_32>(width);
    job.height = static_cast<png_uint_32>(height);
    job.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    return WritePng(job);
}

} // namespace tsl
