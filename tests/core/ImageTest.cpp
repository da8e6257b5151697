// The pixel buffer, its 8 x 8 block operations, and the picture files.

#include "TestUtil.h"
#include "core/Image.h"
#include "core/ImageFile.h"

#include <gtest/gtest.h>

#include <sstream>

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

TEST(ImageFile, WritesCompressedPngThatDecodesToThePicture)
{
    const Image image = Numbered(7, 5);
    EXPECT_EQ(DecodePng(EncodePng(image)), image);
    EXPECT_EQ(DecodePng(EncodePng(image, 6)), Enlarge(image, 6));
    // One colour over a large enlargement: compressed far below its pixels.
    const Bytes flat = EncodePng(Image(64, 64, kRed), 8);
    EXPECT_EQ(DecodePng(flat), Image(512, 512, kRed));
    EXPECT_LT(flat.size(), 512u * 512u * 3u / 100u);
    EXPECT_TRUE(EncodePng(Image()).empty()); // PNG has no empty picture
}

TEST(ImageFile, SavesByTheFileNamesEnding)
{
    TempDir dir;
    const Image image = Numbered(4, 4);
    ASSERT_FALSE(SaveImageFile(dir / "map.PNG", image, 2));
    EXPECT_EQ(DecodePng(ReadFile(dir / "map.PNG")), Enlarge(image, 2));
    ASSERT_FALSE(SaveImageFile(dir / "map.bmp", image));
    EXPECT_EQ(DecodeBmp(ReadFile(dir / "map.bmp")), image);
    ASSERT_FALSE(SaveImageFile(dir / "map", image));
    EXPECT_EQ(ReadFile(dir / "map").at(0), 'B');

    const auto failure = SaveImageFile(dir / "missing" / "map.bmp", image);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Couldn't write the picture"), std::string::npos);
}

TEST(ImageFile, ABitmapDrawnInBandsIsTheWholePictureAndAsksForEveryRowOnce)
{
    const Image numbered = Numbered(5, 7);
    for (int rows : {1, 3, 7, 20}) {
        std::vector<std::pair<int, int>> bands; // top, height
        std::ostringstream out(std::ios::binary);
        ASSERT_TRUE(WriteBmpBands(out, 5, 7, rows, [&](Image& band, int top) {
            bands.emplace_back(top, band.height);
            ASSERT_EQ(band.width, 5);
            band = CropImage(numbered, 0, top, 5, band.height);
        }));
        const std::string s = out.str();
        EXPECT_EQ(Bytes(s.begin(), s.end()), EncodeBmp(numbered)) << rows << " rows a band";
        // From the bottom up, as the file stores the rows.
        int bottom = 7;
        for (auto [top, height] : bands) {
            EXPECT_EQ(top + height, bottom);
            EXPECT_LE(height, rows);
            bottom = top;
        }
        EXPECT_EQ(bottom, 0);
    }

    TempDir dir;
    ASSERT_FALSE(SaveBmpBands(dir / "map.png", 5, 7, [&](Image& band, int top) {
        band = CropImage(numbered, 0, top, 5, band.height);
    }));
    EXPECT_EQ(DecodeBmp(ReadFile(dir / "map.png")), numbered) << "a bitmap whatever the name";
    EXPECT_TRUE(SaveBmpBands(dir / "missing" / "map.bmp", 5, 7, [](Image&, int) {}));
}
