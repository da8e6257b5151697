// The game's pictures as files and back: every chunk of the shareware
// written out (pictures and tiles as indexed PNG, fonts, texts and data as
// they are) and taken back gives VGAGRAPH byte for byte; a picture of other
// colours is mapped to the palette; the font sheet shows each character.

#include "TestUtil.h"
#include "graphics/PagePictureExchange.h"
#include "graphics/PictureFile.h"
#include "vgagraph/GraphicsExchange.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

Palette GreyPalette()
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = 0xFF000000u | i << 16 | i << 8 | i;
    return palette;
}

} // namespace

TEST(GraphicsExchange, EveryChunkOfTheSharewareWrittenOutComesBackByteForByte)
{
    std::optional<GraphicsPaths> paths;
    for (const fs::path& dir : RealGameSets())
        if (!paths)
            paths = FindGraphicsFiles(dir, "WL1");
    if (!paths)
        GTEST_SKIP() << "The shareware game data is not there.";
    auto set = GraphicsSet::Load(*paths, nullptr);
    ASSERT_TRUE(set);
    const GraphicsFiles original = set->Encode();
    auto palette = Palette::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "palette.txt");
    ASSERT_TRUE(palette);
    TempDir out;
    const auto written = ExportGraphics(*set, *palette, out.path());
    ASSERT_TRUE(written) << written.failure().text;
    EXPECT_EQ(written->size(), 144u + 1 + 2 * 2 + 8); // pictures, the tiles, two fonts with their sheets, the data
    int taken = 0;
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk) {
        const auto names = GraphicsFileNames(*set, chunk);
        if (names.empty())
            continue;
        // Each through a changed chunk first, so that the file's contents are
        // encoded again rather than found equal.
        if (set->KindOf(chunk) == GraphicsKind::Tile8) {
            // The shareware's tiles hold 35 of 72: whole they would be longer.
        } else if (auto picture = set->Picture(chunk)) {
            picture->indices[0] ^= 1;
            ASSERT_FALSE(set->ReplacePicture(chunk, *picture)) << chunk;
        } else {
            Bytes contents = set->Expanded(chunk);
            contents.push_back(0);
            ASSERT_FALSE(set->ReplaceData(chunk, contents)) << chunk;
        }
        const auto refusal = ImportGraphic(*set, chunk, ReadFile(out / names.front()), names.front(), *palette);
        ASSERT_FALSE(refusal) << names.front() << ": " << refusal->text;
        ++taken;
    }
    EXPECT_EQ(taken, 144 + 1 + 2 + 8);
    EXPECT_TRUE(set->Encode() == original);
    EXPECT_TRUE(fs::exists(out / "text-150.txt")); // T_HELPART
    EXPECT_TRUE(fs::exists(out / "data-151.bin")); // T_DEMO0
}

TEST(GraphicsExchange, APictureOfOtherColoursIsMappedToThePaletteAndAFontShowsItsCharacters)
{
    // Greys of an RGBA file take the grey palette's entries.
    std::vector<std::uint32_t> pixels(8 * 2);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 10) * 0x010101u;
    const Palette grey = GreyPalette();
    auto picture = ReadPictureFile(EncodeRgbaPng(8, 2, pixels), "grey.png", GraphicsBounds(GraphicsKind::Picture));
    ASSERT_TRUE(picture) << picture.failure().text;
    const Bytes indices = PaletteIndices(*picture, grey);
    for (std::size_t i = 0; i < indices.size(); ++i)
        EXPECT_EQ(indices[i], i * 10);

    // A font of height 2 whose 'A' is two columns: 1 2 / 3 4.
    Bytes font;
    Put16(font, 2);
    for (int c = 0; c < 256; ++c)
        Put16(font, c == 'A' ? 770 : 0);
    for (int c = 0; c < 256; ++c)
        font.push_back(c == 'A' ? 2 : 0);
    font.insert(font.end(), {1, 2, 3, 4});
    const auto sheet = FontSheet(font);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->width, 16 * 3);
    EXPECT_EQ(sheet->height, 16 * 3);
    const int left = 'A' % 16 * 3, top = 'A' / 16 * 3;
    const auto at = [&](int x, int y) { return sheet->indices[static_cast<std::size_t>((top + y) * sheet->width + left + x)]; };
    EXPECT_EQ((Bytes{at(0, 0), at(1, 0), at(0, 1), at(1, 1)}), (Bytes{1, 2, 3, 4}));
    EXPECT_TRUE(IsText(Bytes{'^', 'P', '\r', '\n'}));
    EXPECT_FALSE(IsText(Bytes{'a', 0}));
}
