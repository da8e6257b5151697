// The pixel buffer, its 8 x 8 block operations, and the picture files.

#include "TestUtil.h"
#include "core/Image.h"
#include "core/ImageFile.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// A picture whose every pixel is different: 0xFF, then x, y and a marker.
Image Numbered(int w, int h)
{
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(x << 16 | y << 8 | 0x5A));
    return image;
}

std::uint32_t BE32(const Bytes& data, std::size_t at)
{
    return static_cast<std::uint32_t>(data.at(at)) << 24 | static_cast<std::uint32_t>(data.at(at + 1)) << 16 |
           static_cast<std::uint32_t>(data.at(at + 2)) << 8 | data.at(at + 3);
}

// Reads a PNG of stored deflate blocks back, checking every CRC, the block
// lengths and the Adler-32 on the way.
Image DecodeStoredPng(const Bytes& png)
{
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    std::size_t at = 8;
    int w = 0, h = 0;
    Bytes zlib;
    bool ended = false;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BE32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const std::span<const std::uint8_t> typeAndData(png.data() + at + 4, length + 4);
        EXPECT_EQ(BE32(png, at + 8 + length), Crc32(typeAndData)) << type;
        if (type == "IHDR") {
            w = static_cast<int>(BE32(png, at + 8));
            h = static_cast<int>(BE32(png, at + 12));
            EXPECT_EQ(Bytes(png.begin() + at + 16, png.begin() + at + 21), (Bytes{8, 2, 0, 0, 0}));
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(at, png.size());
    EXPECT_EQ((zlib.at(0) * 256 + zlib.at(1)) % 31, 0);
    Bytes raw;
    std::size_t z = 2;
    for (bool final = false; !final;) {
        final = zlib.at(z) & 1;
        EXPECT_EQ(zlib.at(z) & 6, 0) << "stored blocks only";
        const unsigned len = zlib.at(z + 1) | zlib.at(z + 2) << 8;
        const unsigned nlen = zlib.at(z + 3) | zlib.at(z + 4) << 8;
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        raw.insert(raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + len);
        z += 5 + len;
    }
    EXPECT_EQ(BE32(zlib, z), Adler32(raw));
    EXPECT_EQ(z + 4, zlib.size());

    Image image(w, h);
    EXPECT_EQ(raw.size(), static_cast<std::size_t>(h) * (1 + 3 * w));
    for (int y = 0; y < h; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * (1 + 3 * w);
        EXPECT_EQ(raw.at(row), 0) << "filter None";
        for (int x = 0; x < w; ++x) {
            const std::size_t p = row + 1 + 3 * x;
            image.SetPixel(x, y, 0xFF000000u | raw.at(p) << 16 | raw.at(p + 1) << 8 | raw.at(p + 2));
        }
    }
    return image;
}

Image DecodeBmp(const Bytes& bmp)
{
    EXPECT_EQ(bmp.at(0), 'B');
    EXPECT_EQ(bmp.at(1), 'M');
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    EXPECT_EQ(Get32(bmp, 10), 54u);
    EXPECT_EQ(Get32(bmp, 14), 40u);
    EXPECT_EQ(Get16(bmp, 28), 24);
    const int w = static_cast<int>(Get32(bmp, 18)), h = static_cast<int>(Get32(bmp, 22));
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(Get32(bmp, 34), stride * h);
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t p = 54 + (h - 1 - y) * stride + 3 * x; // bottom-up
            image.SetPixel(x, y, 0xFF000000u | bmp.at(p + 2) << 16 | bmp.at(p + 1) << 8 | bmp.at(p));
        }
    return image;
}

} // namespace

TEST(Image, CopiesAndCombinesEightByEightBlocks)
{
    Image src(16, 8, kBlackPixel);
    src.FillRect(8, 0, 8, 8, 0xFF0F0F0Fu);
    src.SetPixel(9, 1, kWhitePixel);
    Image dst(16, 16, 0xFFF0F000u);

    CopyBlock(dst, 8, 8, src, 8, 0);
    EXPECT_EQ(dst.Pixel(8, 8), 0xFF0F0F0Fu);
    EXPECT_EQ(dst.Pixel(9, 9), kWhitePixel);
    EXPECT_EQ(dst.Pixel(7, 8), 0xFFF0F000u);

    AndBlock(dst, 0, 0, src, 8, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.Pixel(1, 1), 0xFFF0F000u);
    OrBlock(dst, 0, 0, src, 8, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF0F0F0Fu);
    EXPECT_EQ(dst.Pixel(1, 1), kWhitePixel);
    EXPECT_EQ(dst.Pixel(8, 0), 0xFFF0F000u);
}

TEST(Image, ClipsBlocksAtEveryEdge)
{
    const Image src = Numbered(8, 8);
    Image dst(10, 10, kRed);
    CopyBlock(dst, 6, -3, src, 0, 0); // off the top and the right
    EXPECT_EQ(dst.Pixel(6, 0), src.Pixel(0, 3));
    EXPECT_EQ(dst.Pixel(9, 4), src.Pixel(3, 7));
    EXPECT_EQ(dst.Pixel(5, 0), kRed);
    EXPECT_EQ(dst.Pixel(6, 5), kRed);

    Image other(10, 10, kRed);
    CopyBlock(other, 0, 0, src, 4, 6); // the source runs out
    EXPECT_EQ(other.Pixel(3, 1), src.Pixel(7, 7));
    EXPECT_EQ(other.Pixel(4, 0), kRed);
    EXPECT_EQ(other.Pixel(0, 2), kRed);

    CopyBlock(other, 100, 100, src, 0, 0);
    CopyBlock(other, -8, 0, src, 0, 0);
    OrBlock(other, 0, 0, src, -20, 0);
    AndBlock(other, 0, 0, Image(), 0, 0);
    EXPECT_EQ(other.Pixel(9, 9), kRed);
}

TEST(Image, ResizesKeepingItsPixelsAndCrops)
{
    Image image = Numbered(4, 3);
    const Image before = image;
    image.Resize(6, 2, kGreen);
    EXPECT_EQ(image.width, 6);
    EXPECT_EQ(image.Pixel(3, 1), before.Pixel(3, 1));
    EXPECT_EQ(image.Pixel(4, 0), kGreen);
    image.Resize(-1, 5);
    EXPECT_TRUE(image.empty());

    const Image crop = CropImage(before, 2, 1, 3, 3);
    EXPECT_EQ(crop.Pixel(0, 0), before.Pixel(2, 1));
    EXPECT_EQ(crop.Pixel(1, 1), before.Pixel(3, 2));
    EXPECT_EQ(crop.Pixel(2, 0), kBlackPixel); // past the source
    EXPECT_EQ(crop.Pixel(0, 2), kBlackPixel);
}

TEST(Image, EnlargesWithoutSmoothing)
{
    const Image src = Numbered(3, 2);
    const Image big = Enlarge(src, 4);
    ASSERT_EQ(big.width, 12);
    ASSERT_EQ(big.height, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(big.Pixel(x, y), src.Pixel(x / 4, y / 4)) << x << "," << y;

    // In place: the top-left part is the source, the picture its enlargement.
    Image inPlace(12, 8, kBlue);
    CopyBlock(inPlace, 0, 0, src, 0, 0);
    EnlargeInPlace(inPlace, 4);
    EXPECT_EQ(inPlace, big);

    // Sizes that the factor does not divide: only the whole blocks change.
    Image odd(7, 5, kBlue);
    odd.SetPixel(0, 0, kRed);
    odd.SetPixel(2, 1, kGreen);
    EnlargeInPlace(odd, 3);
    EXPECT_EQ(odd.Pixel(2, 2), kRed);
    EXPECT_EQ(odd.Pixel(3, 0), kBlue);
    EXPECT_EQ(odd.Pixel(6, 4), kBlue);
}

TEST(ImageFile, WritesBottomUpTwentyFourBitBitmaps)
{
    Image image(2, 2);
    image.SetPixel(0, 0, 0xFF112233u);
    image.SetPixel(1, 0, 0xFF445566u);
    image.SetPixel(0, 1, 0xFF778899u);
    image.SetPixel(1, 1, 0xFFAABBCCu);
    const Bytes bmp = EncodeBmp(image);
    Bytes expected;
    PutText(expected, "BM");
    for (std::uint32_t v : {70u, 0u, 54u, 40u, 2u, 2u})
        Put32(expected, v);
    Put16(expected, 1);
    Put16(expected, 24);
    for (std::uint32_t v : {0u, 16u, 0u, 0u, 0u, 0u})
        Put32(expected, v);
    // The bottom row first, blue-green-red, each row padded to 4 bytes.
    for (std::uint8_t b : {0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA, 0, 0, 0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0})
        expected.push_back(b);
    EXPECT_EQ(bmp, expected);

    const Image numbered = Numbered(5, 3);
    EXPECT_EQ(DecodeBmp(EncodeBmp(numbered, 3)), Enlarge(numbered, 3));
}

TEST(ImageFile, WritesPngThatDecodes)
{
    const Image image = Numbered(7, 5);
    EXPECT_EQ(DecodeStoredPng(EncodePng(image)), image);
    EXPECT_EQ(DecodeStoredPng(EncodePng(image, 6)), Enlarge(image, 6));

    // Wider than one stored block (65535 bytes) and than one IDAT chunk (1 MiB).
    const Image wide = Numbered(200, 40);
    EXPECT_EQ(DecodeStoredPng(EncodePng(wide, 8)), Enlarge(wide, 8));

    EXPECT_TRUE(EncodePng(Image()).empty()); // PNG has no empty picture
}

TEST(ImageFile, ChecksumsMatchTheirStandards)
{
    const std::string text = "123456789";
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_EQ(Crc32(bytes), 0xCBF43926u);
    EXPECT_EQ(Adler32(bytes), 0x091E01DEu);
    const Bytes zeros(100000, 0xFF);
    EXPECT_EQ(Adler32(zeros), Adler32(std::span(zeros).subspan(50000), Adler32(std::span(zeros).first(50000))));
}

TEST(ImageFile, SavesByTheFileNamesEnding)
{
    TempDir dir;
    const Image image = Numbered(4, 4);
    ASSERT_FALSE(SaveImageFile(dir / "map.PNG", image, 2));
    EXPECT_EQ(DecodeStoredPng(ReadFile(dir / "map.PNG")), Enlarge(image, 2));
    ASSERT_FALSE(SaveImageFile(dir / "map.bmp", image));
    EXPECT_EQ(DecodeBmp(ReadFile(dir / "map.bmp")), image);
    ASSERT_FALSE(SaveImageFile(dir / "map", image));
    EXPECT_EQ(ReadFile(dir / "map").at(0), 'B');

    const auto failure = SaveImageFile(dir / "missing" / "map.bmp", image);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Couldn't write the picture"), std::string::npos);
}
