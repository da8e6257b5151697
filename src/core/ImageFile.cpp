#include "core/ImageFile.h"

#include "core/FileSystem.h"

#include <array>
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

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

const std::array<std::uint32_t, 256>& CrcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

// PNG chunks: length, type, data, CRC over type and data.
void WriteChunk(std::ostream& out, const char (&type)[5], std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> head;
    PutBE32(head, static_cast<std::uint32_t>(data.size()));
    head.insert(head.end(), type, type + 4);
    Put(out, head);
    Put(out, data);
    std::uint32_t crc = Crc32(std::span<const std::uint8_t>(head).subspan(4));
    crc = Crc32(data, crc);
    std::vector<std::uint8_t> tail;
    PutBE32(tail, crc);
    Put(out, tail);
}

// A zlib stream of stored deflate blocks, cut into IDAT chunks.
class StoredZlibWriter {
public:
    StoredZlibWriter(std::ostream& out, std::uint64_t total) : out_(out), remaining_(total)
    {
        zlib_ = {0x78, 0x01}; // deflate, 32 KiB window, no dictionary; a multiple of 31
    }

    void Add(std::span<const std::uint8_t> data)
    {
        adler_ = Adler32(data, adler_);
        for (std::uint8_t byte : data) {
            block_.push_back(byte);
            --remaining_;
            if (block_.size() == 0xFFFF || remaining_ == 0)
                EndBlock();
        }
    }

    void Finish()
    {
        if (remaining_ == 0 && block_.empty() && !finalWritten_)
            EndBlock(); // an empty picture still needs its final block
        PutBE32(zlib_, adler_);
        Flush();
    }

private:
    void EndBlock()
    {
        const bool final = remaining_ == 0;
        const auto len = static_cast<std::uint16_t>(block_.size());
        zlib_.push_back(final ? 1 : 0);
        zlib_.push_back(static_cast<std::uint8_t>(len));
        zlib_.push_back(static_cast<std::uint8_t>(len >> 8));
        zlib_.push_back(static_cast<std::uint8_t>(~len));
        zlib_.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(~len) >> 8));
        zlib_.insert(zlib_.end(), block_.begin(), block_.end());
        block_.clear();
        finalWritten_ = final;
        if (zlib_.size() >= (1u << 20))
            Flush();
    }

    void Flush()
    {
        if (!zlib_.empty())
            WriteChunk(out_, "IDAT", zlib_);
        zlib_.clear();
    }

    std::ostream& out_;
    std::uint64_t remaining_;
    std::uint32_t adler_ = 1;
    std::vector<std::uint8_t> block_;
    std::vector<std::uint8_t> zlib_;
    bool finalWritten_ = false;
};

bool EndsWithPng(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    return name.size() >= 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".png");
}

} // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> data, std::uint32_t crc)
{
    const auto& table = CrcTable();
    crc = ~crc;
    for (std::uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> data, std::uint32_t adler)
{
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
    std::size_t i = 0;
    while (i < data.size()) {
        // 5552 bytes are the most that cannot overflow before the modulo.
        const std::size_t end = std::min(data.size(), i + 5552);
        for (; i < end; ++i) {
            a += data[i];
            b += a;
        }
        a %= kMod;
        b %= kMod;
    }
    return (b << 16) | a;
}

bool WriteBmp(std::ostream& out, const Image& image, int scale)
{
    if (scale < 1)
        return false;
    const std::uint64_t w = static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(scale);
    const std::uint64_t h = static_cast<std::uint64_t>(image.height) * static_cast<std::uint64_t>(scale);
    const std::uint64_t rowSize = (w * 3 + 3) / 4 * 4;
    const std::uint64_t dataSize = rowSize * h;
    if (w > 0x7FFFFFFF || h > 0x7FFFFFFF || 54 + dataSize > kMaxFileBytes)
        return false;

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

    std::vector<std::uint8_t> row;
    for (int y = image.height - 1; y >= 0 && out; --y) {
        EnlargedRgbRow(image, y, scale, row, true);
        row.resize(static_cast<std::size_t>(rowSize), 0);
        for (int k = 0; k < scale; ++k)
            Put(out, row);
    }
    return static_cast<bool>(out);
}

bool WritePng(std::ostream& out, const Image& image, int scale)
{
    if (scale < 1)
        return false;
    const std::uint64_t w = static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(scale);
    const std::uint64_t h = static_cast<std::uint64_t>(image.height) * static_cast<std::uint64_t>(scale);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) // PNG has no empty pictures
        return false;

    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Put(out, kSignature);
    std::vector<std::uint8_t> header;
    PutBE32(header, static_cast<std::uint32_t>(w));
    PutBE32(header, static_cast<std::uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, filter 0, no interlace
    WriteChunk(out, "IHDR", header);

    StoredZlibWriter zlib(out, h * (1 + w * 3));
    std::vector<std::uint8_t> row;
    for (int y = 0; y < image.height && out; ++y) {
        EnlargedRgbRow(image, y, scale, row, false);
        row.insert(row.begin(), 0); // filter type None
        for (int k = 0; k < scale; ++k)
            zlib.Add(row);
    }
    zlib.Finish();
    WriteChunk(out, "IEND", {});
    return static_cast<bool>(out);
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
    auto failed = [&](const DiskError& error) {
        return Failure{"Couldn't write the picture " + error.Describe() + "!", "Error saving picture",
                       MessageIcon::Warning};
    };
    AtomicFile file(path);
    if (auto error = file.Open())
        return failed(*error);
    std::ostream& out = file.Stream();
    if (!(EndsWithPng(path) ? WritePng(out, image, scale) : WriteBmp(out, image, scale)))
        // A picture too large for its format, unless the disk said otherwise.
        return failed(file.Finish().value_or(DiskError{path, std::make_error_code(std::errc::file_too_large)}));
    if (auto error = file.Commit())
        return failed(*error);
    return std::nullopt;
}

} // namespace tsl
