// The map view's rendering, pixel for pixel, on small hand-made maps and
// symbol tables.

#include "EditorTestUtil.h"
#include "RulesTestUtil.h"
#include "core/ImageFile.h"
#include "core/IniFile.h"
#include "editor/render/GameMapRenderer.h"
#include "editor/render/MapRenderer.h"
#include "symbols/SymbolFiles.h"

#include <gtest/gtest.h>

#include <random>

using namespace tsl;
using namespace tsl::test;

namespace {

std::string Solid(char digit)
{
    return std::string(64, digit);
}

// Only pixel (0, 0) coloured, the rest black (transparent above plane 0).
std::string Dot(char digit)
{
    return digit + std::string(63, '0');
}

// The top four rows coloured, the bottom four black.
std::string TopHalf(char digit)
{
    return std::string(32, digit) + std::string(32, '0');
}

std::string Line(int value, const std::string& name, const std::string& pattern, const std::string& type)
{
    return std::to_string(value) + "," + name + "," + pattern + "," + type + ",0";
}

const std::vector<std::string> kTypes = {"ot,Other Tile,1", "w,Wall,1", "f,Floor,1", "so,Static Object,1",
                                         "sg1,Level 1 Guards (Standing),1", "x,Extra,1"};

// Plane 0: walls and floors, opaque. Plane 1: objects with black holes.
// Plane 2: one dot. Value 0x12 = 18 and 3 stand for the bytes of 0x1203.
SymbolTables MakeTables(std::vector<std::string> typeLines = kTypes)
{
    auto tables = SymbolTables::FromLines(
        {
            {Line(0, "Nothing", Solid('0'), "ot"), Line(1, "Red wall", Solid('9'), "w"),
             Line(2, "Grey floor", Solid('8'), "f"), Line(18, "Lime wall", Solid('A'), "w"),
             Line(3, "Yellow floor", Solid('B'), "f")},
            {Line(0, "Nothing", Solid('0'), "ot"), Line(7, "Aqua top", TopHalf('E'), "sg1"),
             Line(18, "Fuchsia dot", Dot('D'), "so"), Line(3, "Blue top", TopHalf('C'), "so"),
             Line(5, "White dot", Dot('F'), "so")},
            {Line(0, "Nothing", Solid('0'), "ot"), Line(5, "Blue dot", Dot('C'), "x")},
        },
        typeLines);
    EXPECT_TRUE(tables) << tables.failure().text;
    return std::move(*tables);
}

MapList MakeMap(int width, int height, int planes = 3)
{
    const std::vector<std::uint16_t> zeros(static_cast<std::size_t>(width * height), 0);
    return GridMap(width, height, PlaneSet(static_cast<std::size_t>(planes), zeros));
}

Image Pattern(const std::string& digits)
{
    Image image(8, 8);
    DrawPattern(image, 0, 0, digits);
    return image;
}

// `top` laid over `base` with black transparent.
Image Over(Image base, const std::string& top)
{
    const Image t = Pattern(top);
    for (std::size_t i = 0; i < base.pixels.size(); ++i)
        if (RgbOf(t.pixels[i]) != 0)
            base.pixels[i] = t.pixels[i];
    return base;
}

Image Tile(const Image& view, int x, int y)
{
    return CropImage(view, 8 * x, 8 * y, 8, 8);
}

const Image kBlack(8, 8);

std::vector<PlaneDisplay> Shown(int planes)
{
    return std::vector<PlaneDisplay>(static_cast<std::size_t>(planes), PlaneDisplay{true, false});
}

} // namespace

TEST(DisplayedValue, ShowsTheByteOfTheValueModeOnShownSplitPlanes)
{
    const PlaneDisplay split{true, true}, whole{true, false}, hiddenSplit{false, true};
    EXPECT_EQ(DisplayedValue(0x1203, split, kIntMode), 0);
    EXPECT_EQ(DisplayedValue(0x1203, split, kHighByteMode), 0x12);
    EXPECT_EQ(DisplayedValue(0x1203, split, kLowByteMode), 0x03);
    EXPECT_EQ(DisplayedValue(0x1203, whole, kHighByteMode), 0x1203);
    EXPECT_EQ(DisplayedValue(0x1203, hiddenSplit, kLowByteMode), 0x1203);
    EXPECT_EQ(DisplayedValue(0, split, kLowByteMode), 0);

    EXPECT_EQ(FilterValue(0x1203, kIntMode), 0x1203);
    EXPECT_EQ(FilterValue(0x1203, kHighByteMode), 0x1200);
    EXPECT_EQ(FilterValue(0x1203, kLowByteMode), 0x03);
    EXPECT_EQ(FilterValue(0x12, kHighByteMode), 0); // a displayed byte is never looked up in High Byte Mode

    const int factors[] = {1, 2, 4, 6, 8}; // for the track-bar positions 0 to 4
    for (int position = 0; position < 5; ++position)
        EXPECT_EQ(ZoomFactorOf(position), factors[position]);
}

TEST(MapRenderer, DrawsEachTileFromItsPlanesSymbolsAndTheirTypesEightPixelsATile)
{
    const SymbolTables tables = MakeTables();
    // Value 0 has a visible pattern of a switched-off type here.
    auto hiding = SymbolTables::FromLines({{Line(0, "Ground", Solid('7'), "w"), Line(1, "Red wall", Solid('9'), "w"),
                                            Line(2, "Grey floor", Solid('8'), "f")},
                                           {Line(0, "Nothing", Solid('0'), "ot"),
                                            Line(7, "Aqua top", TopHalf('E'), "sg1")}},
                                          {"w,Wall,0", "f,Floor,1", "sg1,Level 1 Guards (Standing),0"});
    ASSERT_TRUE(hiding);
    // Switched on again through the tables the view options change.
    SymbolTables wallsOn = *hiding;
    wallsOn.SymbolTypes()[0].Shown = 1;
    std::vector<std::string> types = kTypes;
    types[3] = "so,Static Object,0";
    types[1] = "w,Wall,0";
    const SymbolTables masking = MakeTables(types);
    // Files whose first symbol is not the black default.
    auto firstNotBlack = SymbolTables::FromLines(
        {{Line(4, "Checks", "9" + std::string(62, '0') + "9", "w"), Line(0, "Nothing", Solid('0'), "ot")},
         {Line(8, "Frame", TopHalf('B'), "w"), Line(0, "Nothing", Solid('0'), "ot")}},
        {"w,Wall,0"});
    ASSERT_TRUE(firstNotBlack);

    const MapList planes = GridMap(4, 2, {{1, 2, 0, 0, 0, 0, 0, 0},
                                          {7, 5, 0, 0, 0, 0, 0, 3},
                                          {5, 0, 0, 0, 0, 0, 0, 0}});
    const MapList oneTile = GridMap(1, 1, {{1}, {7}, {0}});
    const MapList bytes = GridMap(2, 1, {{0x0202, 0x1203}, {0x1203, 0}, {0, 0}});
    const MapList bytesAndDot = GridMap(2, 1, {{0x0202, 0x1203}, {0x1203, 0}, {5, 0}});
    const std::vector<PlaneDisplay> split = {{true, true}, {true, true}, {true, false}};
    // A wall (hidden, black); a floor (drawn) under a guard (hidden, the floor
    // shows); value 0 (never hidden); no symbol (never hidden, the first pattern).
    const MapList hidden = GridMap(4, 1, {{1, 2, 0, 99}, {0, 7, 0, 99}});
    // 0x1203 on the split plane 1; 0x0101 and 0x1200 on plane 0, not split.
    const MapList masked = GridMap(3, 1, {{0, 0x0101, 0x1200}, {0x1203, 0, 0}, {0, 0, 0}});
    const std::vector<PlaneDisplay> split1 = {{true, false}, {true, true}, {true, false}};
    const MapList unknown = GridMap(2, 1, {{500, 0}, {0, 77}});
    const MapList largest = MakeMap(256, 256);
    // A map whose plane buffers are short (or missing) draws what it has.
    MapList shortPlanes = MakeMap(2, 2, 2);
    shortPlanes.Planes[1].resize(3);
    shortPlanes.SetWord(0, 1, 1, 1);
    struct Drawing {
        const char* name;
        const SymbolTables& tables;
        const MapList& map;
        std::vector<PlaneDisplay> display;
        int mode;
        std::vector<std::tuple<int, int, Image>> tiles; // column, row, the tile drawn there
    };
    const Drawing drawings[] = {
        {"(0,0) wall, top half and dot; (1,0) floor and dot; (2,0) nothing; (3,1) object on black",
         tables, planes, Shown(3), kIntMode,
         {{0, 0, Over(Over(Pattern(Solid('9')), TopHalf('E')), Dot('C'))},
          {1, 0, Over(Pattern(Solid('8')), Dot('F'))},
          {2, 0, kBlack},
          {3, 1, Over(kBlack, TopHalf('C'))}}},
        {"plane 0 off: black below", tables, oneTile, {{false, false}, {true, false}, {true, false}},
         kIntMode, {{0, 0, Over(kBlack, TopHalf('E'))}}},
        {"plane 1 off, plane 2 without a flag", tables, oneTile, {{true, false}, {false, false}}, kIntMode,
         {{0, 0, Pattern(Solid('9'))}}},
        {"no flags at all", tables, oneTile, {}, kIntMode, {{0, 0, kBlack}}},
        {"high bytes: 0x02 on plane 0 under 0x12 on plane 1; 0x12 on plane 0", tables, bytes, split,
         kHighByteMode, {{0, 0, Over(Pattern(Solid('8')), Dot('D'))}, {1, 0, Pattern(Solid('A'))}}},
        {"low bytes: 0x02 under 0x03; 0x03", tables, bytes, split, kLowByteMode,
         {{0, 0, Over(Pattern(Solid('8')), TopHalf('C'))}, {1, 0, Pattern(Solid('B'))}}},
        {"whole words on split planes show value 0: black on plane 0, nothing on plane 1", tables, bytes,
         split, kIntMode, {{0, 0, kBlack}, {1, 0, kBlack}}},
        {"planes not split show whole words in every mode; 0x0202 and 0x1203 the first pattern, black",
         tables, bytesAndDot, Shown(3), kHighByteMode, {{0, 0, Over(kBlack, Dot('C'))}, {1, 0, kBlack}}},
        {"switched-off types hidden, value 0 and values without a symbol never", *hiding, hidden, Shown(2),
         kIntMode,
         {{0, 0, kBlack}, {1, 0, Pattern(Solid('8'))}, {2, 0, Pattern(Solid('7'))}, {3, 0, Pattern(Solid('7'))}}},
        {"a type switched on again", wallsOn, hidden, Shown(2), kIntMode, {{0, 0, Pattern(Solid('9'))}}},
        // Low Byte Mode looks the byte 0x03 itself up (its type is off), and
        // masks a whole word too: 0x0101 looks up 0x01, a wall.
        {"low byte mode filters the masked value", masking, masked, split1, kLowByteMode,
         {{0, 0, kBlack}, {1, 0, kBlack}}},
        // High Byte Mode: a displayed byte masked with 0xFF00 is 0, never
        // hidden; 0x1200 has no symbol, is not hidden and shows the first pattern.
        {"high byte mode filters the masked value", masking, masked, split1, kHighByteMode,
         {{0, 0, Over(kBlack, Dot('D'))}, {2, 0, Pattern(Solid('0'))}}},
        {"no symbol: the plane's first pattern, whatever its value; never hidden", *firstNotBlack, unknown,
         Shown(2), kIntMode,
         {{0, 0, Pattern("9" + std::string(62, '0') + "9")}, {1, 0, Over(kBlack, TopHalf('B'))}}},
        {"the largest map, still eight pixels a tile", tables, largest, Shown(3), kIntMode, {}},
        {"short and missing planes", tables, shortPlanes, Shown(3), kIntMode, {{1, 1, Pattern(Solid('9'))}}},
    };
    Image view; // reused: every pixel of a view of the right size is drawn anew
    for (const Drawing& d : drawings) {
        SCOPED_TRACE(d.name);
        RedrawMap(view, d.map, d.tables, d.display, d.mode);
        ASSERT_EQ(view.width, 8 * d.map.Width);
        ASSERT_EQ(view.height, 8 * d.map.Height);
        for (const auto& [x, y, tile] : d.tiles)
            EXPECT_EQ(Tile(view, x, y), tile) << x << "," << y;
    }
}

TEST(MapRenderer, ThePlaneFlagsAreReadAsTheStructureKeepsThem)
{
    // A missing ShowPlanes key is false.
    TempDir dir;
    WriteFile(dir / "WL6.ini", "[ShowPlanes]\r\n0=1\r\n2=1\r\n[SplitPlanes]\r\n2=1\r\n");
    const auto display = ReadPlaneDisplay(IniFile(dir / "WL6.ini"), 3);
    EXPECT_EQ(display, (std::vector<PlaneDisplay>{{true, false}, {false, false}, {true, true}}));
}

TEST(MapRenderer, RedrawsOneTileAsTheWholeMapDrawsIt)
{
    // Value 0 is of a switched-off type too: it is never hidden either way.
    std::vector<std::string> types = kTypes;
    types[0] = "ot,Other Tile,0";
    types[2] = "f,Floor,0";
    types[3] = "so,Static Object,0";
    const SymbolTables tables = MakeTables(types);
    std::mt19937 random(7);
    const std::uint16_t values[] = {0, 1, 2, 3, 5, 7, 18, 99, 0x1203, 0x0305, 0x1207, 0x0101};
    MapList map = MakeMap(9, 7);
    for (auto& plane : map.Planes)
        for (auto& word : plane)
            word = values[random() % std::size(values)];

    for (int mode : {kIntMode, kHighByteMode, kLowByteMode})
        for (const auto& display : {Shown(3), std::vector<PlaneDisplay>{{true, true}, {true, true}, {false, false}},
                                    std::vector<PlaneDisplay>{{false, true}, {true, false}, {true, true}}}) {
            Image view;
            RedrawMap(view, map, tables, display, mode);
            for (int i = 0; i < 20; ++i) {
                const int x = random() % 9, y = random() % 7;
                map.SetWord(random() % 3, x, y, values[random() % std::size(values)]);
                RedrawTile(view, map, tables, display, mode, x, y);
                Image whole;
                RedrawMap(whole, map, tables, display, mode);
                ASSERT_EQ(view, whole) << "mode " << mode << " tile " << x << "," << y;
            }
        }

    // Outside the map nothing is drawn; a view of another size takes the map's.
    Image view(5, 5);
    RedrawTile(view, map, tables, Shown(3), kIntMode, 9, 0);
    EXPECT_EQ(view, Image(72, 56));
}

// A skill level leaves out the actors the game does not place on it, in
// both renderers and tile by tile, as if their words were not there.
TEST(MapRenderer, ASkillLevelLeavesOutTheActorsTheGameDoesNotPlaceOnIt)
{
    const EngineRules rules = ShippedRules("WL6");
    auto tables = SymbolTables::FromLines(
        {{Line(0, "Nothing", Solid('0'), "ot"), Line(1, "Wall", Solid('9'), "w")},
         {Line(0, "Nothing", Solid('0'), "ot"), Line(23, "Table", Dot('F'), "so"),
          Line(108, "Guard", TopHalf('E'), "sg1"), Line(144, "Guard from level 3", TopHalf('C'), "sg1")}},
        kTypes);
    ASSERT_TRUE(tables);
    MapList map = MakeMap(4, 1, 2);
    const std::uint16_t objects[] = {108, 144, 23, 0};
    for (int x = 0; x < 4; ++x)
        map.SetWord(1, x, 0, objects[x]);
    MapList without = map;
    without.SetWord(1, 1, 0, 0);
    const std::vector<PlaneDisplay> shown(2, PlaneDisplay{true, false});
    Image expected, filtered, unfiltered;
    RedrawMap(expected, without, *tables, shown, kIntMode);
    RedrawMap(filtered, map, *tables, shown, kIntMode, {&rules, 2});
    RedrawMap(unfiltered, map, *tables, shown, kIntMode, {&rules, 3});
    EXPECT_EQ(filtered, expected);
    EXPECT_NE(unfiltered, expected);
    RedrawTile(unfiltered, map, *tables, shown, kIntMode, 1, 0, {&rules, 1});
    EXPECT_EQ(unfiltered, expected);
    GameMapRenderer game;
    Image painted(32, 8), gameExpected(32, 8);
    game.Paint(painted, 0, 0, 1, map, *tables, shown, kIntMode, {&rules, 2});
    game.Paint(gameExpected, 0, 0, 1, without, *tables, shown, kIntMode);
    EXPECT_EQ(painted, gameExpected);
}

TEST(MapRenderer, ASampleMapsPngHoldsTheBitmapsPixelsInATenthOfItsSize)
{
    TempDir dir;
    fs::copy(SourceDir() / "data" / "MapDefs" / "WL6", dir / "WL6", fs::copy_options::recursive);
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(dir / "WL6", IniFile(dir / "WL6" / "WL6.ini"), 3));
    const MapHandler set = LoadSet(SampleGameDir());
    Image view;
    RedrawMap(view, set.Maps[0], tables, Shown(3), kIntMode);
    const Bytes bmp = EncodeBmp(view);
    const Bytes png = EncodePng(view);
    EXPECT_LE(png.size() * 10, bmp.size()) << png.size() << " against " << bmp.size();
}

TEST(MapRenderer, RendersBlockPreviewsEnlarged)
{
    std::vector<std::string> types = kTypes;
    types[1] = "w,Wall,0";
    const SymbolTables tables = MakeTables(types);
    // Two tiles, three planes: the filter, the flags and the value mode do not apply.
    const std::vector<std::vector<std::uint16_t>> block = {{1, 0}, {7, 0x1203}, {0, 5}};
    Image preview;
    RenderBlockPreview(preview, block, 2, 1, 2, tables);
    Image small(16, 8);
    CopyBlock(small, 0, 0, Over(Pattern(Solid('9')), TopHalf('E')), 0, 0);
    CopyBlock(small, 8, 0, Over(kBlack, Dot('C')), 0, 0); // 0x1203: no symbol on plane 1, first pattern (black)
    EXPECT_EQ(preview, Enlarge(small, 2));

    RenderBlockPreview(preview, block, 2, 1, 1, tables);
    EXPECT_EQ(preview, small);
}

TEST(TileInfoText, DescribesTheWordOrTheByteOfTheValueMode)
{
    const SymbolTables tables = MakeTables();
    const MapList map = GridMap(2, 1, {{1, 0}, {0x1203, 0x4409}, {0, 0}});

    EXPECT_EQ(TileInfoText(map, tables, 0, 0, 0, false, kIntMode), (TileInfo{"1 - Red wall", 1}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 0, 0, false, kIntMode), (TileInfo{"4611 - Unknown", 0}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 0, 0, true, kIntMode), (TileInfo{"4611 - Unknown", 0}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 0, 0, true, kHighByteMode), (TileInfo{"18 - Fuchsia dot", 18}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 0, 0, true, kLowByteMode), (TileInfo{"3 - Blue top", 3}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 0, 0, false, kLowByteMode), (TileInfo{"4611 - Unknown", 0}));
    EXPECT_EQ(TileInfoText(map, tables, 1, 1, 0, true, kHighByteMode), (TileInfo{"68 - Unknown", 0}));
    EXPECT_EQ(TileInfoText(map, tables, 2, 1, 0, false, kIntMode), (TileInfo{"0 - Nothing", 0}));
    EXPECT_EQ(TileInfoText(map, tables, 3, 0, 0, false, kIntMode), TileInfo{});
    EXPECT_EQ(TileInfoText(map, tables, 0, 2, 0, false, kIntMode), TileInfo{});
}
