// The per-plane symbol tables built from a structure's files: symbols,
// pattern sheet and mask, pictures by value, symbol types, and saving.

#include "TestUtil.h"
#include "symbols/SymbolTables.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kGrey = 0xFF808080u;

std::string Line(int value, const std::string& name, char digit, const std::string& type = "w")
{
    return std::to_string(value) + "," + name + "," + std::string(64, digit) + "," + type + ",0";
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// A structure folder with a settings file naming the planes' files, each
// holding the default symbol only (plane 2 reads "extra.txt": it has no key).
struct Structure {
    TempDir dir;
    fs::path folder = dir / "WL6";
    Structure()
    {
        fs::create_directories(folder);
        WriteFile(folder / "WL6.ini", "[Planes]\r\nNumPlanes=3\r\n0=walls.txt\r\n1=objects.txt\r\n");
        WriteFile(folder / "mapsymboltypes.txt", "ot,Other Tile,1\r\n");
        for (const char* name : {"walls.txt", "objects.txt", "extra.txt"})
            WriteFile(folder / name, Lines({Line(0, "Nothing", '0', "ot")}));
    }
    IniFile Settings() const { return IniFile(folder / "WL6.ini"); }
};

} // namespace

TEST(SymbolTables, BuildsEveryPlanesTablesFromTheStructure)
{
    Structure s;
    WriteFile(s.folder / "walls.txt", Lines({Line(0, "Nothing", '0', "ot"), Line(1, "Grey stone", '8'),
                                              Line(300, "Red brick", '9')}));
    WriteFile(s.folder / "objects.txt", Lines({Line(0, "Nothing", '0', "ot"), Line(5, "Red", '9', "so"),
                                                Line(5, "Blue", 'C', "so")}));
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(s.folder, s.Settings(), 3));
    ASSERT_TRUE(tables.Loaded());
    ASSERT_EQ(tables.NumPlanes(), 3);

    const auto& walls = tables.PlaneSymbols(0);
    ASSERT_EQ(walls.size(), 3u);
    EXPECT_EQ(walls[2], (MapSymbols{300, 2, "Red brick", "w", "0"}));
    // Each plane's file is SymbolEditingTest's, which saves them.

    // Values 0, 1 and 300: 301 pictures, 298 of them empty.
    const auto& pictures = tables.SymbolPictures(0);
    ASSERT_EQ(pictures.size(), 301u);
    EXPECT_EQ(std::count_if(pictures.begin(), pictures.end(), [](const Image& p) { return p.empty(); }), 298);
    EXPECT_EQ(pictures[1], Image(8, 8, kGrey));
    EXPECT_EQ(tables.SymbolPicture(0, 300), Image(8, 8, kRed));
    EXPECT_TRUE(tables.SymbolPicture(0, 301).empty());
    EXPECT_TRUE(tables.SymbolPicture(7, 0).empty());

    // Two symbols of value 5: lookups find the red one, the picture is blue.
    EXPECT_EQ(tables.FindSymbol(1, 5), 1);
    EXPECT_EQ(tables.SymbolPicture(1, 5), Image(8, 8, kBlue));
    EXPECT_EQ(tables.PatternSheet(1).Pixel(SheetX(1), SheetY(1)), kRed);
    EXPECT_EQ(tables.ValueText(1, 5), "5 - Red");
    EXPECT_EQ(tables.ValueText(1, 6), "6 - Unknown");
    EXPECT_FALSE(tables.FindSymbol(1, 70000));
}

TEST(SymbolTables, LaysPatternsOutOnTheSheetMasksTheirBlackAndGrowsTheSheetPast784)
{
    std::string pattern(64, '9');
    pattern[9] = '0'; // pixel (1, 1) black
    std::vector<std::string> lines = {Line(0, "Nothing", '0', "ot"), "1,Dot," + pattern + ",w,0"};
    auto tables = SymbolTables::FromLines({lines}, {});
    ASSERT_TRUE(tables) << tables.failure().text;
    const Image& sheet = tables->PatternSheet(0);
    const Image& mask = tables->PatternMask(0);
    EXPECT_EQ(sheet.width, 448);
    EXPECT_EQ(sheet.height, 112);
    EXPECT_EQ(sheet.Pixel(8, 0), kRed);
    EXPECT_EQ(sheet.Pixel(9, 1), 0xFF000000u);
    EXPECT_EQ(mask.Pixel(8, 0), 0xFF000000u);
    EXPECT_EQ(mask.Pixel(9, 1), 0xFFFFFFFFu);
    EXPECT_EQ(mask.Pixel(0, 0), 0xFFFFFFFFu);   // the black default pattern
    EXPECT_EQ(mask.Pixel(447, 111), 0xFFFFFFFFu); // unused places are black too

    // 784 patterns fill the sheet; the 785th starts a new row.
    for (int i = 2; i < 784; ++i)
        lines.push_back(Line(i, "S" + std::to_string(i), 'A'));
    auto full = SymbolTables::FromLines({lines}, {});
    ASSERT_TRUE(full) << full.failure().text;
    EXPECT_EQ(full->PatternSheet(0).height, 112);

    lines.push_back(Line(784, "The 785th", 'B'));
    auto grown = SymbolTables::FromLines({lines}, {});
    ASSERT_TRUE(grown);
    const Image& grownSheet = grown->PatternSheet(0);
    EXPECT_EQ(grownSheet.height, 120);
    EXPECT_EQ(grownSheet.Pixel(0, 112), 0xFFFFFF00u);
    EXPECT_EQ(grownSheet.Pixel(447, 111), 0xFF00FF00u);
    EXPECT_EQ(grownSheet.Pixel(8, 112), 0xFF000000u);
    EXPECT_EQ(grown->PatternMask(0).height, 120);
}

TEST(SymbolTables, GivesAnEmptyFileTheDefaultSymbolAndWritesItBack)
{
    Structure s;
    WriteFile(s.folder / "walls.txt", std::string());
    WriteFile(s.folder / "extra.txt", std::string()); // read by plane 2 only: no key
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(s.folder, s.Settings(), 3));
    const std::string record = "0,Nothing,0000000000000000000000000000000000000000000000000000000000000000,ot,0\r\n";
    EXPECT_EQ(FileText(s.folder / "walls.txt"), record);
    EXPECT_EQ(FileText(s.folder / "extra.txt"), record);
    EXPECT_EQ(tables.PlaneSymbols(0), (std::vector<MapSymbols>{{0, 0, "Nothing", "ot", "0"}}));
}

TEST(SymbolTables, CompletesTheTypesKeepingTheirFlagsAndSavesThemAndTheSymbols)
{
    Structure s;
    const fs::path typesFile = s.folder / "mapsymboltypes.txt";
    WriteFile(typesFile, "ot,Other Tile,1\r\nw,Wall,0\r\n");
    WriteFile(s.folder / "walls.txt",
              Lines({Line(0, "Nothing", '0', "ot"), Line(3, "Stone", '7'), Line(1, "Brick", '1')}));
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(s.folder, s.Settings(), 3));
    // The built-in types are appended in their order (SymbolFilesTest).
    const auto& types = tables.SymbolTypes();
    ASSERT_EQ(types.size(), 20u);
    EXPECT_EQ(types[1], (MapSymbolTypes{0, "w", "Wall"}));
    EXPECT_EQ(types[2], (MapSymbolTypes{1, "f", "Floor"}));
    EXPECT_FALSE(tables.TypeShown("w"));
    EXPECT_TRUE(tables.TypeShown("f"));
    EXPECT_TRUE(tables.TypeShown("no such type"));
    EXPECT_EQ(FileText(typesFile).substr(0, 38), "ot,Other Tile,1\r\nw,Wall,0\r\nf,Floor,1\r\n");

    // The view options switch a type off; saving writes every type.
    tables.SymbolTypes()[2].Shown = 0;
    ASSERT_FALSE(tables.SaveSymbolTypes());
    EXPECT_EQ(FileText(typesFile).substr(0, 38), "ot,Other Tile,1\r\nw,Wall,0\r\nf,Floor,0\r\n");

    // An edited copy, as the symbols editor keeps it; the lines left alone are written back as they were.
    std::vector<MapSymbols> symbols = tables.PlaneSymbols(0);
    std::vector<Image> pictures = tables.SymbolPictures(0);
    symbols[1].SymbolName = "Silver stone";
    pictures[3].SetPixel(0, 0, 0xFF010101u); // not in the palette: "F"
    ASSERT_FALSE(tables.SavePlaneSymbols(0, symbols, pictures));
    EXPECT_EQ(FileText(s.folder / "walls.txt"),
              Lines({Line(0, "Nothing", '0', "ot"), "3,Silver stone,F" + std::string(63, '7') + ",w,0",
                     Line(1, "Brick", '1')}));
    EXPECT_TRUE(tables.SavePlaneSymbols(3, symbols, pictures));
}

TEST(SymbolTables, StopsOnABadFileAndKeepsTheTablesItHad)
{
    Structure s;
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(s.folder, s.Settings(), 3));

    WriteFile(s.folder / "objects.txt", Lines({Line(0, "Nothing", '0', "ot"), "12,Guard,000,sg1,e"}));
    auto failure = tables.LoadMapSymbols(s.folder, s.Settings(), 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text,
              "Line 2 of \"" + (s.folder / "objects.txt").string() + "\": the pattern has 3 digits instead of 64.");
    EXPECT_EQ(failure->caption, "Error loading map symbols");
    EXPECT_EQ(tables.NumPlanes(), 3);

    fs::remove(s.folder / "objects.txt");
    failure = tables.LoadMapSymbols(s.folder, s.Settings(), 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't read \"" + (s.folder / "objects.txt").string() + "\"!");
    EXPECT_EQ(failure->caption, "Error loading map symbols");

    WriteFile(s.folder / "objects.txt", Lines({Line(0, "Nothing", '0', "ot")}));
    WriteFile(s.folder / "mapsymboltypes.txt", "ot,Other Tile\r\n");
    failure = tables.LoadMapSymbols(s.folder, s.Settings(), 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Line 1 of \"" + (s.folder / "mapsymboltypes.txt").string() +
                                 "\" has 2 fields; a symbol type needs 3: id, name and shown flag.");

    fs::remove(s.folder / "mapsymboltypes.txt");
    failure = tables.LoadMapSymbols(s.folder, s.Settings(), 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't read \"" + (s.folder / "mapsymboltypes.txt").string() + "\"!");

    WriteFile(s.folder / "WL6.ini", "[Planes]\r\n0=..\\..\\secret.txt\r\n");
    failure = tables.LoadMapSymbols(s.folder, s.Settings(), 1);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "The symbol file \"..\\..\\secret.txt\" of plane 0 is not inside the map definition "
                             "structure " + s.folder.string() + "!");

    tables.FreeMapSymbols();
    EXPECT_FALSE(tables.Loaded());
    EXPECT_EQ(tables.NumPlanes(), 0);
    EXPECT_TRUE(tables.SymbolTypes().empty());
}

TEST(SymbolTables, TheListFilterMatchesNamesAnywhereAndValuesFromTheirStart)
{
    const MapSymbols guard{108, 0, "Guard, Standing (E)", "g", "e"};
    const MapSymbols wall{1, 0, "Grey Stone \xE9", "w", "0"}; // Windows-1252 "é"
    struct Case {
        const MapSymbols& symbol;
        const char* filter;
        bool kept;
    };
    const Case cases[] = {
        {guard, "", true},         {guard, "  ", true},    {guard, "GUARD", true}, {guard, "standing (e", true},
        {guard, "10", true},       {guard, "108", true},   {guard, "08", false},   {guard, "0x6c", true},
        {guard, "0x6", true},      {guard, "0xc", false},  {guard, "dog", false},  {wall, "stone \xC3\xA9", true},
        {wall, "1", true},         {wall, "0x", false},    {wall, "0x1", true},    {wall, "2", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SymbolTables::MatchesFilter(c.symbol, c.filter), c.kept) << c.symbol.Value << " '" << c.filter << "'";
}
