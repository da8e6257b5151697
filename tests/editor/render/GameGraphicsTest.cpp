// A project's game graphics: what the shipped structures name, and the
// page file, palette and picture table found and read together.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/GameMapRenderer.h"
#include "graphics/PageSet.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

const fs::path kShipped = SourceDir() / "data" / "MapDefs";

} // namespace

TEST(GameGraphics, ShippedStructuresNameTheirPaletteTableAndColours)
{
    for (const std::string name : {"WL1", "WL3", "WL6", "SOD", "SDM", "SD2", "SD3"}) {
        SCOPED_TRACE(name);
        const bool wolf = name[0] == 'W';
        const fs::path folder = StructureFolderByName(kShipped, name);
        const GraphicsSettings settings = ReadGraphicsSettings(IniFile(StructureSettingsPathByName(kShipped, name)));
        ASSERT_TRUE(settings.Configured());
        EXPECT_EQ(settings.CeilingColours.size(), wolf ? 60u : 21u);
        EXPECT_EQ(settings.CeilingColour(0), wolf ? 0x1d : 0x6f);
        EXPECT_EQ(settings.FloorColour, 0x19);
        auto palette = Palette::Load(folder / settings.Palette);
        auto pictures = PictureTable::Load(folder / settings.Pictures);
        ASSERT_TRUE(palette) << palette.failure().text;
        ASSERT_TRUE(pictures) << pictures.failure().text;
        // The two palettes differ in colours 166 and 167.
        EXPECT_EQ(palette->colours[166], wolf ? 0xFFB620FFu : 0xFF003800u);
        // The walls are the engine's, words 1 to 63 (MAXWALLTILES); every
        // side of an actor's frames is a sprite of the game.
        const int sprites = wolf ? 436 : 421;
        for (const PictureEntry& e : pictures->Entries()) {
            if (e.kind == PictureKind::Wall) {
                EXPECT_EQ(e, (PictureEntry{0, 1, PictureKind::Wall, kEngineWall, Facing::None, 0, 0, 63}));
            } else if (e.kind != PictureKind::Door && e.kind != PictureKind::Floor) {
                EXPECT_LE(e.number + std::max(1, e.frames * kRotations), sprites) << e.value;
            }
        }
        // Markers keep their symbols: player starts, turning points, pushwall, end, ambush.
        for (int marker : {19, 22, 90, 97, 98, 99})
            EXPECT_EQ(pictures->Find(1, static_cast<std::uint16_t>(marker)), std::nullopt) << marker;
        EXPECT_EQ(pictures->Find(0, 106), std::nullopt);
    }
}

TEST(GameGraphics, SharewarePicturesAreThereForEveryWordItsMapsUse)
{
    const auto path = RealPageFileWL1();
    if (!path)
        GTEST_SKIP() << "no VSWAP.WL1";
    const fs::path dir = path->parent_path();
    const IniFile settings(StructureSettingsPathByName(kShipped, "WL1"));
    const GraphicsLoad load = LoadGameGraphics(dir, "WL1", StructureFolderByName(kShipped, "WL1"), settings);
    ASSERT_EQ(load.Status, GraphicsStatus::Loaded) << load.Problem.text;
    const GameGraphics& graphics = *load.Graphics;
    const GameMapRenderer renderer(load.Graphics);

    // Word 91 (a horizontal door) is door chunk 0: the first of the eight before the sprites.
    EXPECT_EQ(graphics.Pictures.Find(0, 91)->number, 0);
    EXPECT_FALSE(graphics.Pages.Wall(graphics.Pages.FirstSpriteChunk() - 8).empty());
    // Word 23 is the puddle, sprite 2.
    EXPECT_EQ(graphics.Pages.SpriteAt(graphics.Pictures.Find(1, 23)->number)->firstColumn, 10);

    const MapHandler set = LoadSet(dir);
    ASSERT_EQ(set.NumMaps(), 10);
    int pictured = 0;
    for (const MapList& map : set.Maps)
        for (int plane = 0; plane < 2; ++plane)
            for (const std::uint16_t word : map.Planes[static_cast<std::size_t>(plane)])
                if (graphics.Pictures.Find(plane, word)) {
                    ASSERT_TRUE(renderer.HasPicture(plane, word))
                        << MapNameText(map.Name) << " plane " << plane << " word " << word;
                    ++pictured;
                }
    EXPECT_GT(pictured, 10 * 2000);

    // The full game's sound list names every sound of the shareware's table.
    const PageSet pages = PageSet::From(graphics.Pages);
    ASSERT_EQ(pages.Sounds().size(), 46u);
    for (const DigitisedSound& sound : pages.Sounds())
        EXPECT_NE(graphics.Sounds.Name(sound.number), "") << sound.number;
    EXPECT_EQ(graphics.Sounds.Name(0), "Halt");
    EXPECT_EQ(graphics.Sounds.Name(34), "Death scream 4 (Aiieee)");
}

TEST(GameGraphics, ShippedStructuresNameTheSoundsOfTheirGamesList)
{
    const struct {
        const char* name;
        int count;
        int number;
        const char* sound;
    } cases[] = {
        {"WL1", 46, 13, "Death scream 2 and 3"}, {"WL3", 46, 45, "Rose (episode 5 boss die)"},
        {"WL6", 46, 0, "Halt"},                  {"SOD", 40, 23, "Death scream 4 (Aiieee) and 3"},
        {"SDM", 40, 39, "Get spear"},            {"SD2", 40, 1, "Dog bark"},
        {"SD3", 40, 34, "Death Knight sight"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GraphicsSettings settings = ReadGraphicsSettings(IniFile(StructureSettingsPathByName(kShipped, c.name)));
        const auto names = LoadSoundNames(StructureFolderByName(kShipped, c.name), settings);
        ASSERT_TRUE(names) << names.failure().text;
        EXPECT_EQ(names->Count(), c.count);
        EXPECT_EQ(names->Name(c.number), c.sound);
        EXPECT_EQ(names->Name(c.count), "") << "past the list: a number";
    }
}

TEST(GameGraphics, SaysWhyAGameHasNone)
{
    TempDir game, structure;
    WriteFile(structure / "GAM.ini", std::string("[General]\r\n"));
    GraphicsLoad load = LoadGameGraphics(game.path(), "GAM", structure.path(), IniFile(structure / "GAM.ini"));
    EXPECT_EQ(load.Status, GraphicsStatus::NotConfigured);
    EXPECT_EQ(load.Problem.text, "\"" + (structure / "GAM.ini").string() +
                                     "\" names no palette and picture table for the game's own graphics.");

    WriteFile(structure / "GAM.ini", std::string("[Graphics]\r\nPalette=pal.txt\r\nPictures=pics.txt\r\n"));
    load = LoadGameGraphics(game.path(), "GAM", structure.path(), IniFile(structure / "GAM.ini"));
    EXPECT_EQ(load.Status, GraphicsStatus::NoPageFile);
    EXPECT_EQ(load.Problem.text, "There is no page file \"VSWAP.GAM\" in " + game.path().string() + ".");

    Bytes damaged = TestPageFile({TestWall(1)}, 1, 1);
    damaged.resize(damaged.size() - 1);
    WriteFile(game / "vswap.gam", damaged);
    load = LoadGameGraphics(game.path(), "GAM", structure.path(), IniFile(structure / "GAM.ini"));
    EXPECT_EQ(load.Status, GraphicsStatus::Failed);
    EXPECT_EQ(load.Problem.text, "The page file \"" + (game / "vswap.gam").string() +
                                     "\" is damaged: chunk 0 reaches past the end of the file (offset 12, 4096 bytes).");

    WriteFile(game / "vswap.gam", TestPageFile({TestWall(1)}, 1, 1));
    load = LoadGameGraphics(game.path(), "GAM", structure.path(), IniFile(structure / "GAM.ini"));
    EXPECT_EQ(load.Status, GraphicsStatus::Failed);
    EXPECT_EQ(load.Problem.text, "The palette \"" + (structure / "pal.txt").string() + "\" cannot be read.");

    WriteFile(structure / "pal.txt", std::string("JASC-PAL\r\n0100\r\n1\r\n1 2 3\r\n"));
    WriteFile(structure / "pics.txt", std::string("0,1,wall,0\r\n"));
    load = LoadGameGraphics(game.path(), "GAM", structure.path(), IniFile(structure / "GAM.ini"));
    ASSERT_EQ(load.Status, GraphicsStatus::Loaded) << load.Problem.text;
    EXPECT_EQ(load.Graphics->Colours.colours[0], 0xFF010203u);
    EXPECT_EQ(load.Graphics->Pages.ChunkCount(), 1);
}
