// Operations on the words: the word a tool writes, the flood fill, and the
// whole-map operations Autofloor, Clear Map, turning and mirroring maps and
// the paste buffer, Flip Planes and resizing with its size checks.

#include "EditorTestUtil.h"
#include "editor/operations/MapOperations.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tsl;
using namespace tsl::test;

namespace {

using Words = std::vector<std::uint16_t>;
constexpr std::uint16_t W = 1; // a wall

// Floor symbols of the given values beside a wall and a tile object (120,
// the old floor value of the rooms below) that never count as floors.
std::vector<SymbolEntry> Floors(std::vector<int> values)
{
    std::vector<SymbolEntry> symbols = {{0}, {1, "w"}, {120, "tt"}};
    for (int v : values)
        symbols.push_back({v, "f"});
    return symbols;
}

struct AutofloorCase {
    const char* name;
    std::vector<int> floorValues;
    int width;
    Words before;
    Words after;
};

} // namespace

TEST(CombineWord, MergesByValueMode)
{
    struct Case { int mode; std::uint16_t value, word, expected; };
    for (const Case& c : std::vector<Case>{{kIntMode, 0x05, 0x1203, 0x0005},
                                           {kLowByteMode, 0x05, 0x1203, 0x1205},
                                           {kHighByteMode, 0x05, 0x1203, 0x0503},
                                           {kHighByteMode, 0x05, 0x0000, 0x0500},
                                           {kLowByteMode, 0x1234, 0xAB00, 0xAB34}})
        EXPECT_EQ(CombineWord(c.value, c.word, c.mode), c.expected) << c.mode << " " << c.value << " " << c.word;
}

TEST(FloodFill, FillsAWholeLargePlaneWithAMaze)
{
    const int w = 256, h = 256;
    std::vector<std::uint16_t> plane(w * h, 0);
    for (int x = 1; x < w; x += 2) // walls with a gap at alternating ends
        for (int y = 0; y < h; ++y)
            if (y != ((x / 2) % 2 ? 0 : h - 1))
                plane[static_cast<std::size_t>(y * w + x)] = 1;
    const auto zeros = static_cast<std::size_t>(std::count(plane.begin(), plane.end(), 0));
    EXPECT_EQ(FloodFill(plane, w, h, 0, 0, 5), zeros);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 0), 0);
}

TEST(Autofloor, NumbersTheAreasInScanOrderAndCyclesBelowTheHighestValue)
{
    // Rooms A (top left), B (top right) and C (below, touching A only at a
    // corner), which holds an old floor value 120 between two floor tiles.
    const Words rooms = {0, W, 0,   0,  //
                         W, 0, W,   W,  //
                         W, 0, 120, 0}; //
    const AutofloorCase cases[] = {
        {"range 108..143, old value inside a room", {108, 143}, 4, rooms,
         {108, W, 109, 109, W, 110, W, W, W, 110, 110, 110}},
        // 120 is no floor value here: it splits C in two.
        {"two floor values", {108, 109}, 4, rooms, {108, W, 108, 108, W, 108, W, W, W, 108, 120, 108}},
        {"one floor value", {108}, 4, rooms, {108, W, 108, 108, W, 108, W, W, W, 108, 120, 108}},
        {"cycling through 108..109", {108, 110}, 4, {0, W, 0, W, 0, W, 0, W},
         {108, W, 109, W, 108, W, 109, W}},
        {"no floor symbol", {}, 4, rooms, rooms},
        {"zero the only floor value", {0}, 4, rooms, rooms},
        {"zero is never the lowest", {0, 110, 108}, 4, {0, W, 0, W, 0, W, 0, W},
         {108, W, 109, W, 108, W, 109, W}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SymbolTables tables = TablesOf({Floors(c.floorValues)});
        MapList map = GridMap(c.width, static_cast<int>(c.before.size()) / c.width, {c.before});
        Autofloor(map, FindFloorRange(tables.PlaneSymbols(0)));
        EXPECT_EQ(map.Planes[0], c.after);
    }
}

TEST(MapTransforms, TurnAndMirrorEveryPlaneOfANonSquareMapButNoneOfTheWrongSize)
{
    // 3 x 2:  1 2 3
    //         4 5 6      plane 1 holds the same words plus 10.
    struct Case {
        MapTransform transform;
        int width, height;
        Words plane0;
    };
    const Case cases[] = {
        {MapTransform::Rotate90, 2, 3, {4, 1, 5, 2, 6, 3}},
        {MapTransform::Rotate180, 3, 2, {6, 5, 4, 3, 2, 1}},
        {MapTransform::Rotate270, 2, 3, {3, 6, 2, 5, 1, 4}},
        {MapTransform::FlipHorizontal, 3, 2, {3, 2, 1, 6, 5, 4}},
        {MapTransform::FlipVertical, 3, 2, {4, 5, 6, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.transform));
        MapList map = GridMap(3, 2, {{1, 2, 3, 4, 5, 6}, {11, 12, 13, 14, 15, 16}});
        TransformMap(map, c.transform);
        EXPECT_EQ(map.Width, c.width);
        EXPECT_EQ(map.Height, c.height);
        EXPECT_EQ(map.Planes[0], c.plane0);
        for (std::size_t i = 0; i < c.plane0.size(); ++i)
            EXPECT_EQ(map.Planes[1][i], c.plane0[i] + 10) << i;
    }
    // A plane of the wrong size leaves the map alone.
    MapList map = GridMap(3, 2, {{1, 2, 3, 4, 5, 6}});
    map.Planes.push_back({1, 2});
    const MapList before = map;
    EXPECT_FALSE(CanTransformMap(map));
    TransformMap(map, MapTransform::Rotate90);
    EXPECT_EQ(map.Planes, before.Planes);
    EXPECT_EQ(map.Width, 3);
}

// The mirrors and the half turn are pinned word for word above; the quarter
// turn shares their indexing and shows it holds on a larger map.
TEST(MapTransforms, WideMapsTurnWithTheirCornersAndFourTimesRestore)
{
    MapList map = GridMap(64, 32, {Words(64 * 32)});
    for (std::size_t i = 0; i < map.Planes[0].size(); ++i)
        map.Planes[0][i] = static_cast<std::uint16_t>(i);
    const MapList original = map;

    TransformMap(map, MapTransform::Rotate90);
    ASSERT_EQ(map.Width, 32);
    ASSERT_EQ(map.Height, 64);
    EXPECT_EQ(map.Word(0, 31, 0), original.Word(0, 0, 0));   // top left to top right
    EXPECT_EQ(map.Word(0, 0, 0), original.Word(0, 0, 31));   // bottom left to top left
    EXPECT_EQ(map.Word(0, 0, 63), original.Word(0, 63, 31)); // bottom right to bottom left
    for (auto t : {MapTransform::Rotate90, MapTransform::Rotate90, MapTransform::Rotate90}) // four turns
        TransformMap(map, t);
    EXPECT_EQ(map.Planes, original.Planes);
}

TEST(PasteBufferTransforms, TheBlockArrivesTurnedOrMirroredWhereItsTilesWent)
{
    // A 5 x 4 buffer whose block is columns 1..2 and rows 0..1 of distinct words.
    for (auto t : {MapTransform::Rotate90, MapTransform::Rotate180, MapTransform::Rotate270,
                   MapTransform::FlipHorizontal, MapTransform::FlipVertical}) {
        SCOPED_TRACE(static_cast<int>(t));
        CP_Manager buffer;
        buffer.Reset(2, 5, 4);
        buffer.X1 = 1, buffer.X2 = 3, buffer.Y1 = 0, buffer.Y2 = 2;
        PlaneSet block(2, Words(4));
        for (int p = 0; p < 2; ++p)
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x) {
                    const auto word = static_cast<std::uint16_t>(100 * p + 10 * y + x + 1);
                    buffer.Planes[static_cast<std::size_t>(p)][static_cast<std::size_t>(y * 5 + x + 1)] = word;
                    block[static_cast<std::size_t>(p)][static_cast<std::size_t>(y * 2 + x)] = word;
                }
        int bw = 2, bh = 2;
        TransformPlanes(block, bw, bh, t);

        TransformPasteBuffer(buffer, t);
        ASSERT_EQ(buffer.BlockWidth(), bw);
        ASSERT_EQ(buffer.BlockHeight(), bh);
        for (int p = 0; p < 2; ++p)
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x)
                    EXPECT_EQ(buffer.Planes[static_cast<std::size_t>(p)][static_cast<std::size_t>(
                                  (buffer.Y1 + y) * buffer.BufferWidth + buffer.X1 + x)],
                              block[static_cast<std::size_t>(p)][static_cast<std::size_t>(y * bw + x)]);
    }
    // The rules for the rectangle, spelled out once.
    EXPECT_EQ(TransformBlockRect({1, 0, 3, 2}, 5, 4, MapTransform::FlipHorizontal), (BlockRect{2, 0, 4, 2}));
    EXPECT_EQ(TransformBlockRect({1, 0, 3, 2}, 5, 4, MapTransform::FlipVertical), (BlockRect{1, 2, 3, 4}));
    EXPECT_EQ(TransformBlockRect({1, 0, 3, 2}, 5, 4, MapTransform::Rotate90), (BlockRect{2, 1, 4, 3}));
}

TEST(ClearMap, ChoosesTheWallValueFromTheLeftValueOrTheSecondWallOfTheTables)
{
    struct Case {
        const char* name;
        std::vector<std::vector<SymbolEntry>> planes;
        int currentPlane;
        std::uint16_t leftValue;
        std::optional<std::uint16_t> wall;
    };
    const std::vector<SymbolEntry> plane0 = {{0}, {5, "w"}, {7, "w"}, {9, "w"}, {108, "f"}};
    const Case cases[] = {
        {"left value a wall", {plane0, {{0}}}, 0, 9, 9},
        {"left value a floor", {plane0, {{0}}}, 0, 108, 7},
        {"left value a wall of another plane", {plane0, {{0}}}, 1, 9, 7},
        {"one wall in plane 0, one in plane 1", {{{0}, {5, "w"}}, {{0}, {3, "w"}}}, 0, 0, 3},
        {"the only wall", {{{0}, {108, "f"}}, {{0}, {3, "w"}}}, 0, 108, 3},
        {"no wall at all", {{{0}, {108, "f"}}, {{0}}}, 0, 108, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClearMapWallValue(TablesOf(c.planes), c.currentPlane, c.leftValue), c.wall);
    }
    EXPECT_EQ(NoWallTilesFailure().text, "Can't perform map clearing: There are no wall tiles defined!");
    EXPECT_EQ(NoWallTilesFailure().caption, "Error clearing map");
    EXPECT_EQ(NoWallTilesFailure().icon, MessageIcon::Error);
}

TEST(ClearMap, SolidFillsPlaneZeroAndRandomGivesEvenOddsWhileTheOtherPlanesEmpty)
{
    MapList map = GridMap(64, 64, {Words(4096, 3), Words(4096, 4), Words(4096, 5)});
    ClearMapSolid(map, 7);
    EXPECT_EQ(map.Planes[0], Words(4096, 7));
    EXPECT_EQ(map.Planes[1], Words(4096, 0));
    EXPECT_EQ(map.Planes[2], Words(4096, 0));

    map.Planes[2].assign(4096, 5);
    std::mt19937 random(12345);
    ClearMapRandom(map, 7, random);
    const auto walls = std::count(map.Planes[0].begin(), map.Planes[0].end(), 7);
    EXPECT_EQ(walls + std::count(map.Planes[0].begin(), map.Planes[0].end(), 0), 4096);
    EXPECT_GT(walls, 1800);
    EXPECT_LT(walls, 2300);
    EXPECT_EQ(map.Planes[2], Words(4096, 0));
}

TEST(FlipPlanes, ExchangesTwoPlanesAndRefusesAPlaneWithItself)
{
    MapList map = GridMap(2, 1, {{1, 2}, {3, 4}, {5, 6}});
    FlipPlanes(map, 0, 2);
    EXPECT_EQ(map.Planes, (PlaneSet{{5, 6}, {3, 4}, {1, 2}}));
    FlipPlanes(map, 2, 0);
    EXPECT_EQ(map.Planes, (PlaneSet{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_FALSE(CanFlipPlanes(map, 1, 1));
    EXPECT_FALSE(CanFlipPlanes(map, 0, 3));
    EXPECT_FALSE(CanFlipPlanes(map, -1, 0));
    FlipPlanes(map, 0, 3);
    EXPECT_EQ(map.Planes, (PlaneSet{{1, 2}, {3, 4}, {5, 6}}));
    // The text is the session's (SessionMapCommands) and the command line's.
    EXPECT_EQ(FlipPlaneWithItselfFailure().caption, "Error flipping planes");
    EXPECT_EQ(FlipPlaneWithItselfFailure().icon, MessageIcon::Warning);
}

TEST(ResizeMap, KeepsTheTopLeftCornerAndFillsWithZeros)
{
    MapList map = GridMap(3, 2, {{1, 2, 3, 4, 5, 6}});
    ResizeMap(map, 2, 3);
    EXPECT_EQ(map.Width, 2);
    EXPECT_EQ(map.Height, 3);
    EXPECT_EQ(map.Planes[0], (Words{1, 2, 4, 5, 0, 0}));
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {257, 5}, {5, 257}}) {
        EXPECT_FALSE(CanResizeMap(w, h));
        ResizeMap(map, w, h);
        EXPECT_EQ(map.Width, 2);
    }
}

TEST(MapSizeChecks, RefuseAnEmptyFieldAndSizesOutsideOneTo256)
{
    struct Case { std::optional<int> width, height; const char* text; const char* caption; };
    for (const Case& c : std::vector<Case>{{std::nullopt, 5, "The minimum map width is 1!", "Map width error"},
                                           {0, 5, "The minimum map width is 1!", "Map width error"},
                                           {257, 5, "The maximum map width is 256!", "Map width error"},
                                           {5, 0, "The minimum map height is 1!", "Map height error"},
                                           {5, 300, "The maximum map height is 256!", "Map height error"}}) {
        auto refused = CheckMapWidth(c.width);
        if (!refused)
            refused = CheckMapHeight(c.height);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->text, c.text);
        EXPECT_EQ(refused->caption, c.caption);
        EXPECT_EQ(refused->icon, MessageIcon::Error);
    }
    EXPECT_FALSE(CheckMapWidth(1));
    EXPECT_FALSE(CheckMapHeight(256));
}
