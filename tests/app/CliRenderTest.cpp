// tesselar-cli with the game's map definition structure: its loader
// settings, and "render" drawing a map with its symbols.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "core/Image.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/GameMapRenderer.h"
#include "editor/render/MapRenderer.h"
#include "engine/StructureRules.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A WL6 structure of our own in `root`: walls red, everything else on plane
// 0 grey, objects as a white dot; plane 2 hidden.
void WriteStructure(const fs::path& root, int planes = 3)
{
    StructureSettings choice;
    choice.Compression = 1;
    ASSERT_FALSE(CreateFromScratch(root, "WL6", "", choice, planes));
    std::string walls = "0,Nothing," + std::string(64, '0') + ",ot,0\r\n";
    for (int v = 1; v < 64; ++v)
        walls += std::to_string(v) + ",Wall " + std::to_string(v) + "," + std::string(64, '9') + ",w,0\r\n";
    WriteFile(root / "WL6" / "plane1.txt", walls);
    WriteFile(root / "WL6" / "plane2.txt", "0,Nothing," + std::string(64, '0') + ",ot,0\r\n");
    WriteFile(root / "WL6" / "WL6.ini", std::string("[General]\r\nCompression=1\r\n[Planes]\r\nNumPlanes=") +
                                            std::to_string(planes) +
                                            "\r\n0=plane1.txt\r\n1=plane2.txt\r\n2=plane3.txt\r\n"
                                            "[ShowPlanes]\r\n0=1\r\n1=1\r\n2=0\r\n");
}

} // namespace

TEST(CliRender, DrawsTheMapAsTheMapViewDoes)
{
    TempDir root, out;
    WriteStructure(root.path());
    const std::string mapdefs = "--mapdefs=" + root.path().string();
    CliResult r = RunCli({"render", SampleGameDir().string(), (out / "map2.bmp").string(), "--map", "2", mapdefs});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // The same picture through the core.
    const MapHandler set = LoadSet(SampleGameDir());
    const IniFile settings(StructureSettingsPath(root.path(), "WL6", ""));
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(StructureFolder(root.path(), "WL6", ""), settings, 3));
    Image expected;
    RedrawMap(expected, set.Maps[1], tables, ReadPlaneDisplay(settings, 3), kIntMode);
    EXPECT_EQ(r.out, "Map 2 (" + MapNameText(set.Maps[1].Name) + ") saved as " + (out / "map2.bmp").string() + ", " +
                         std::to_string(expected.width) + " x " + std::to_string(expected.height) + " pixels.\n");
    EXPECT_EQ(DecodeBmp(ReadFile(out / "map2.bmp")), expected);

    // Zoom position 3: six times as large; ".png" gives a PNG.
    r = RunCli({"render", SampleGameDir().string(), (out / "map1.png").string(), "--zoom", "3", mapdefs});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bytes png = ReadFile(out / "map1.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_EQ(png[19] | png[18] << 8, set.Maps[0].Width * 8 * 6);
    EXPECT_EQ(png[23] | png[22] << 8, set.Maps[0].Height * 8 * 6);
}

TEST(CliRender, ExplainsWhatKeepsItFromDrawing)
{
    TempDir empty, out;
    const std::string target = (out / "map.bmp").string();
    CliResult r = RunCli({"render", SampleGameDir().string(), target, "--mapdefs", empty.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "There is no map definition structure for \"WL6\"-files in " + empty.path().string() + ".\n");
    EXPECT_FALSE(fs::exists(target));

    TempDir root;
    WriteStructure(root.path());
    const std::string mapdefs = "--mapdefs=" + root.path().string();
    r = RunCli({"render", SampleGameDir().string(), target, "--map", "99", mapdefs});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "There is no map 99: the set has 7 maps.\n");

    WriteFile(root / "WL6" / "plane2.txt", std::string("0,Nothing,0000,ot,0\r\n"));
    r = RunCli({"render", SampleGameDir().string(), target, mapdefs});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error loading map symbols: Line 1 of \"" + (root / "WL6" / "plane2.txt").string() +
                         "\": the pattern has 4 digits instead of 64.\n");

    WriteFile(root / "WL6" / "plane2.txt", "0,Nothing," + std::string(64, '0') + ",ot,0\r\n");
    r = RunCli({"render", SampleGameDir().string(), (out / "missing" / "map.bmp").string(), mapdefs});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Couldn't write the picture"), std::string::npos);
}

TEST(CliLoader, TakesTheStructuresSettingsUnlessTheOptionsSayOtherwise)
{
    TempDir root;
    WriteStructure(root.path(), 2); // two planes do not fit the three-plane sample
    const std::string mapdefs = "--mapdefs=" + root.path().string();
    CliResult r = RunCli({"info", SampleGameDir().string(), mapdefs});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("gives an invalid size"), std::string::npos) << r.err;

    r = RunCli({"info", SampleGameDir().string(), mapdefs, "--planes", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Planes:      3\n"), std::string::npos) << r.out;

    // Tags from the structure: wrong ones damage every plane.
    WriteFile(root / "WL6" / "WL6.ini", "[General]\r\nNearTag=16\r\nFarTag=32\r\n[Planes]\r\nNumPlanes=3\r\n");
    r = RunCli({"info", SampleGameDir().string(), mapdefs});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Some maps are damaged."), std::string::npos) << r.err;
    r = RunCli({"info", SampleGameDir().string(), mapdefs, "--near", "A7", "--far", "A8"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(CliRender, DrawsTheGamesOwnPicturesWithGraphics)
{
    TempDir game, out;
    CopyGame(SampleGameDir(), game.path());
    const fs::path shipped = SourceDir() / "data" / "MapDefs";
    const std::string mapdefs = "--mapdefs=" + shipped.string();
    const std::string target = (out / "map.bmp").string();
    CliResult r = RunCli({"render", game.path().string(), target, "--graphics", mapdefs});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "There is no page file \"VSWAP.WL6\" in " + game.path().string() + ".\n");
    EXPECT_FALSE(fs::exists(target));

    // The walls and doors of a page file of our own; its sprites are empty.
    std::vector<Bytes> chunks(542);
    for (int chunk = 0; chunk < 106; ++chunk)
        if (chunk < 20 || chunk >= 98)
            chunks[static_cast<std::size_t>(chunk)] = TestWall(chunk * 5);
    WriteFile(game / "VSWAP.WL6", TestPageFile(chunks, 106, 542));
    r = RunCli({"render", game.path().string(), target, "--graphics", "--map", "3", "--zoom", "1", mapdefs});
    ASSERT_EQ(r.status, 0) << r.err;
    const MapHandler set = LoadSet(game.path());
    const IniFile settings(StructureSettingsPathByName(shipped, "WL6"));
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(StructureFolderByName(shipped, "WL6"), settings, 3, false));
    const GraphicsLoad load = LoadGameGraphics(game.path(), "WL6", StructureFolderByName(shipped, "WL6"), settings);
    ASSERT_EQ(load.Status, GraphicsStatus::Loaded) << load.Problem.text;
    GameMapRenderer renderer(load.Graphics);
    renderer.SetRules(LoadEngineRules(StructureFolderByName(shipped, "WL6"), settings, tables).Rules);
    auto expected = renderer.RenderMap(set.Maps[2], tables, ReadPlaneDisplay(settings, 3), kIntMode, 2);
    ASSERT_TRUE(expected);
    EXPECT_EQ(r.out, "Map 3 (" + MapNameText(set.Maps[2].Name) + ") saved as " + target + ", " +
                         std::to_string(expected->width) + " x " + std::to_string(expected->height) + " pixels.\n");
    EXPECT_EQ(DecodeBmp(ReadFile(target)), *expected);
}
