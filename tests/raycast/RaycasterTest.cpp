// The raycaster on small hand-built levels: what each ray meets, and the
// pictures drawn from it.

#include "raycast/Raycaster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tsl {
namespace {

constexpr int kLight = 10;
constexpr int kDark = 11;
constexpr int kDoorLight = 20;
constexpr int kDoorDark = 21;
constexpr int kFrameLight = 22;
constexpr int kFrameDark = 23;
constexpr int kSprite = 30;

// A width x height level walled all round.
Level WalledRoom(int width, int height)
{
    Level level(width, height);
    for (int x = 0; x < width; ++x) {
        level.SetWall(x, 0, kLight, kDark);
        level.SetWall(x, height - 1, kLight, kDark);
    }
    for (int y = 0; y < height; ++y) {
        level.SetWall(0, y, kLight, kDark);
        level.SetWall(width - 1, y, kLight, kDark);
    }
    return level;
}

// An 8 x 6 room walled all round, with a wall block at (4, 2) and a door in
// the wall at (6, 4), between (5, 4) and (7, 4).
Level Room()
{
    Level level = WalledRoom(8, 6);
    level.SetWall(4, 2, kLight + 2, kDark + 2);
    level.SetWall(6, 3, kLight, kDark);
    level.SetDoor(6, 4, kDoorLight, kDoorDark);
    level.frameLight = kFrameLight;
    level.frameDark = kFrameDark;
    return level;
}

struct RayRow {
    std::string name;
    double x, y; // the eye, in tiles
    int angle;   // fine
    double doorOpening;
    CellKind kind;
    int tileX, tileY;
    Face face;
    int column;
    int picture;
    double hitX, hitY; // where the ray meets the face, in tiles
};

// Casts the row's ray in `level` and checks what it meets.
void ExpectRay(const Level& level, const RayRow& row)
{
    ViewPoint view;
    view.x = ToFixed(row.x);
    view.y = ToFixed(row.y);
    const RayHit hit = CastRay(level, view, row.angle);
    EXPECT_EQ(hit.kind, row.kind);
    EXPECT_EQ(hit.tileX, row.tileX);
    EXPECT_EQ(hit.tileY, row.tileY);
    EXPECT_EQ(hit.face, row.face);
    EXPECT_EQ(hit.column, row.column);
    EXPECT_EQ(hit.picture, row.picture);
    // The fixed-point walk adds truncated tangents: it lands within a few
    // units (of 65536 a tile) of the exact point.
    EXPECT_NEAR(hit.x, row.hitX * kTileUnits, 8);
    EXPECT_NEAR(hit.y, row.hitY * kTileUnits, 8);
}

class RayTest : public ::testing::TestWithParam<RayRow> {};

TEST_P(RayTest, MeetsTheFaceAndColumn)
{
    const RayRow& row = GetParam();
    Level level = Room();
    level.SetDoorOpening(6, 4, row.doorOpening);
    ExpectRay(level, row);
}

// Each ray leaves at its fine angle and a half (the engine's tangents are
// of the middle of each tenth of a degree): along an axis it leans
// 0.05 degrees counterclockwise, which moves it a column on some faces.
INSTANTIATE_TEST_SUITE_P(
    Rays, RayTest,
    ::testing::Values(
        // East and west faces are dark, north and south light; columns run
        // left to right as the face is seen. East at 0.05 degrees: y = 1.25 -
        // 5.5 tan(0.05) = 1.2452, column 15 (16 straight east).
        RayRow{"East", 1.5, 1.25, 0, 0, CellKind::Wall, 7, 1, Face::West, 15, kDark, 7, 1.24520},
        RayRow{"West", 6.5, 1.25, 1800, 0, CellKind::Wall, 0, 1, Face::East, 47, kDark, 1, 1.25480},
        RayRow{"North", 2.75, 4.5, 900, 0, CellKind::Wall, 2, 0, Face::South, 47, kLight, 2.74695, 1},
        RayRow{"South", 2.75, 1.5, 2700, 0, CellKind::Wall, 2, 5, Face::North, 15, kLight, 2.75305, 5},
        RayRow{"BlockFromTheWest", 1.5, 2.5, 0, 0, CellKind::Wall, 4, 2, Face::West, 31, kDark + 2, 4, 2.49782},
        // South-east at 314.95 degrees passes below the block and meets the
        // south wall at x = 5.2566.
        RayRow{"Diagonal", 1.5, 1.25, 3150, 0, CellKind::Wall, 5, 5, Face::North, 47, kLight, 5.25660, 5},
        // The door at (6, 4) is met on its middle line, unless it is open there.
        RayRow{"ClosedDoor", 1.5, 4.75, 0, 0, CellKind::Door, 6, 4, Face::West, 47, kDoorDark, 6.5, 4.74564},
        RayRow{"HalfOpenDoorMet", 1.5, 4.75, 0, 0.5, CellKind::Door, 6, 4, Face::West, 15, kDoorDark, 6.5,
               4.74564},
        RayRow{"HalfOpenDoorPassed", 1.5, 4.25, 0, 0.5, CellKind::Wall, 7, 4, Face::West, 15, kFrameDark, 7,
               4.24520},
        RayRow{"OpenDoor", 1.5, 4.75, 0, 1, CellKind::Wall, 7, 4, Face::West, 47, kFrameDark, 7, 4.74520},
        // Inside the door tile, looking north: the wall beside the door shows the frame.
        RayRow{"FrameBesideTheDoor", 6.5, 4.5, 900, 0, CellKind::Wall, 6, 3, Face::South, 31, kFrameLight,
               6.49956, 4}),
    [](const auto& row) { return row.param.name; });

TEST(RaycasterTest, APushWallIsMetWhereItHasSlid)
{
    // A 8 x 5 room; the wall of tile (3, 2) pushed east, a quarter of a tile
    // along: its block spans x = 3.25 to 4.25, and both its tiles are empty.
    Level level = WalledRoom(8, 5);
    level.pushWall = PushWall{3, 2, 1, 0, 0.25, kLight + 2, kDark + 2};
    const RayRow rows[] = {
        // Its west face at 3.25; the picture moves with the block.
        {"FromTheWest", 1.5, 2.25, 0, 0, CellKind::Wall, 3, 2, Face::West, 15, kDark + 2, 3.25, 2.24847},
        {"FromTheEast", 6.5, 2.25, 1800, 0, CellKind::Wall, 3, 2, Face::East, 47, kDark + 2, 4.25, 2.25196},
        // Its north face, from x = 3.25: 0.5006 of a tile in, seen mirrored.
        {"FromTheNorth", 3.75, 1.25, 2700, 0, CellKind::Wall, 3, 2, Face::North, 31, kLight + 2, 3.75065, 2},
        {"PastItsOldPlace", 3.1, 1.25, 2700, 0, CellKind::Wall, 3, 4, Face::North, 57, kLight, 3.10240, 4},
        // Standing in the tile it leaves, the face is ahead before any line.
        {"FromItsOldPlace", 3.1, 2.5, 0, 0, CellKind::Wall, 3, 2, Face::West, 31, kDark + 2, 3.25, 2.49987},
    };
    for (const RayRow& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectRay(level, row);
    }
    EXPECT_TRUE(level.Solid(4, 2)) << "both its tiles stop a walker";
}

TEST(RaycasterTest, ARayOutOfAnOpenMapMeetsNothingAndMarksItsWay)
{
    Level level(5, 3); // no walls
    ViewPoint view;
    view.x = ToFixed(0.5);
    view.y = ToFixed(1.5);
    std::vector<std::uint32_t> visited(15, 0);
    EXPECT_EQ(CastRay(level, view, 0, visited.data(), 7).kind, CellKind::Empty);
    EXPECT_EQ(visited, (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 7, 7, 7, 7, 0, 0, 0, 0, 0}))
        << "the tiles passed on row 1, not the eye's own";
}

std::uint32_t MarkOf(int page, int column, int row)
{
    return 0xFF000000u | static_cast<std::uint32_t>(page) << 16 | static_cast<std::uint32_t>(column) << 8 |
           static_cast<std::uint32_t>(row);
}

// A picture whose pixels say where they come from: page, column and row.
std::vector<std::uint32_t> Marked(int page)
{
    std::vector<std::uint32_t> pixels(kPagePixels);
    for (int column = 0; column < kPageSide; ++column)
        for (int row = 0; row < kPageSide; ++row)
            pixels[static_cast<std::size_t>(column * kPageSide + row)] = MarkOf(page, column, row);
    return pixels;
}

TEST(RaycasterTest, DrawsPostsPixelForPixel)
{
    // One tile wide, from x = 1 to 5, closed at x = 6; looking east from (1.5, 1.25).
    Level level(7, 3);
    for (int x = 0; x < 7; ++x) {
        level.SetWall(x, 0, kLight, kDark);
        level.SetWall(x, 2, kLight, kDark);
    }
    level.SetWall(0, 1, kLight, kDark);
    level.SetWall(6, 1, kLight, kDark);
    level.ceiling = 0xFF0000AAu;
    level.floor = 0xFF00AA00u;
    PagePictures pictures;
    pictures.Set(kLight, Marked(kLight));
    pictures.Set(kDark, Marked(kDark));
    Image picture(64, 40);
    Raycaster raycaster;
    raycaster.Render(level, pictures, Camera{1.5, 1.25, 0}, picture);

    const std::uint32_t C = level.ceiling;
    const std::uint32_t F = level.floor;
    struct Expected {
        int x, y;
        std::uint32_t pixel;
    };
    // Worked out from the engine's rules for a 64-pixel view (heightNumerator
    // 43 * 1024): the eye 0x5700 behind the camera. Columns 31 and 32 look
    // straight ahead at the end wall, 317184 units deep: height 44032 / 1239
    // = 35, 4 pixels either side of row 20; pixel k from a post's bottom
    // shows texel 63 - 32 k / 4. Column 0 looks 35.35 degrees left, onto the
    // north wall 0.3528 tiles ahead at x = 1.513: height 44032 / 90 = 489,
    // 61 pixels either side, clipped, the bottom row 39 the post's 41st.
    const std::vector<Expected> expected = {
        {31, 15, C}, {31, 16, MarkOf(kDark, 15, 7)}, {31, 23, MarkOf(kDark, 15, 63)}, {31, 24, F},
        {32, 16, MarkOf(kDark, 15, 7)}, {32, 22, MarkOf(kDark, 15, 55)}, {32, 39, F},
        {0, 0, MarkOf(kLight, 32, 63 - 32 * 80 / 61)}, {0, 39, MarkOf(kLight, 32, 63 - 32 * 41 / 61)},
    };
    for (const Expected& e : expected)
        EXPECT_EQ(picture.Pixel(e.x, e.y), e.pixel) << "at " << e.x << ", " << e.y;
    EXPECT_EQ(raycaster.ColumnHeights()[31], 35);
    EXPECT_EQ(raycaster.ColumnHeights()[0], 489);
}

TEST(RaycasterTest, ColumnsTakeTheHeightBeforeThemWithinRunsOfFour)
{
    // A long wall seen at a slant, near enough that several columns show
    // each picture column: the engine works a height out only at the start
    // of a run of four columns or when the picture column changes.
    Level level(40, 5);
    for (int x = 0; x < 40; ++x) {
        level.SetWall(x, 0, kLight, kDark);
        level.SetWall(x, 4, kLight, kDark);
    }
    PagePictures pictures;
    pictures.Set(kLight, Marked(kLight));
    Image picture(608, 304);
    Raycaster raycaster;
    raycaster.Render(level, pictures, Camera{2.5, 2.5, 60}, picture);
    const std::vector<int>& heights = raycaster.ColumnHeights();
    auto textureColumn = [&](int x) { return static_cast<int>(picture.Pixel(x, 152) >> 8 & 0xFF); };
    int restarts = 0;
    for (int x = 1; x < 608; ++x) {
        if (textureColumn(x) != textureColumn(x - 1))
            continue;
        if (x % 4 != 0)
            EXPECT_EQ(heights[x], heights[x - 1]) << "column " << x;
        else if (heights[x] != heights[x - 1])
            ++restarts;
    }
    EXPECT_GT(restarts, 10);
}

TEST(RaycasterTest, UnknownWallsArePlainAndMissingPicturesMarked)
{
    Level level = Room();
    level.SetWall(7, 1, kNoPicture, kNoPicture);
    PagePictures none;
    Image picture(32, 20);
    Raycaster raycaster;
    raycaster.Render(level, none, Camera{6.0, 1.5, 0}, picture);
    EXPECT_EQ(picture.Pixel(16, 10), kPlainDark);
    raycaster.Render(level, none, Camera{2.5, 3.5, 90}, picture); // a north face whose picture is missing
    std::set<std::uint32_t> colours;
    for (int y = 0; y < 20; ++y)
        colours.insert(picture.Pixel(16, y));
    EXPECT_TRUE(colours.count(kMissingPicture) && colours.count(kMissingPictureDark)) << "the check of a gap";
}

TEST(RaycasterTest, SpritesHideBehindWallsAndStandBeforeThem)
{
    // The room with a sprite all in red but a transparent strip along its top, the walls blue.
    Level level = Room();
    PagePictures pictures;
    std::vector<std::uint32_t> red(kPagePixels, 0xFFFF0000u);
    for (std::size_t row = 0; row < 8; ++row)
        for (std::size_t column = 0; column < kPageSide; ++column)
            red[column * kPageSide + row] = kTransparentPixel;
    pictures.Set(kSprite, red);
    pictures.Set(kLight, std::vector<std::uint32_t>(kPagePixels, 0xFF0000FFu));
    pictures.Set(kDark, std::vector<std::uint32_t>(kPagePixels, 0xFF0000FFu));
    Raycaster raycaster;
    Image picture{64, 40};
    // In front of the east wall, looking east along row 1: 3 tiles and the
    // eye's 0x5700 ahead, less 0x2000, height 44032 / 823 = 53, so 6 pixels
    // either side of column 31 and row 20, a texel every 12 / 64 of a pixel.
    level.sprites.push_back({4.5, 1.5, kSprite, false});
    raycaster.Render(level, pictures, Camera{1.5, 1.5, 0}, picture);
    EXPECT_EQ(picture.Pixel(25, 20), 0xFFFF0000u);
    EXPECT_EQ(picture.Pixel(36, 20), 0xFFFF0000u);
    EXPECT_EQ(picture.Pixel(24, 20), 0xFF0000FFu) << "the wall beside it";
    EXPECT_EQ(picture.Pixel(37, 20), 0xFF0000FFu);
    EXPECT_EQ(picture.Pixel(31, 14), level.ceiling) << "its transparent rows 0 to 5 show what is behind";
    EXPECT_EQ(picture.Pixel(31, 15), 0xFFFF0000u) << "row 10 of 64 covers 14 + 120 / 64 to 14 + 132 / 64";

    // Behind the block at (4, 2), looking east along row 2: not drawn.
    level.sprites = {{5.5, 2.5, kSprite, false}};
    raycaster.Render(level, pictures, Camera{1.5, 2.5, 0}, picture);
    for (int x = 0; x < 64; ++x)
        EXPECT_NE(picture.Pixel(x, 20), 0xFFFF0000u) << "column " << x;
}

TEST(RaycasterTest, SpritesAreDrawnFarToNear)
{
    Level level = Room();
    PagePictures pictures;
    pictures.Set(kSprite, std::vector<std::uint32_t>(kPagePixels, 0xFFFF0000u));
    pictures.Set(kSprite + 1, std::vector<std::uint32_t>(kPagePixels, 0xFF00FF00u));
    Raycaster raycaster;
    Image picture{64, 40};
    // Listed near first: the far one must not cover it.
    level.sprites = {{3.5, 1.5, kSprite, false}, {5.5, 1.5, kSprite + 1, false}};
    raycaster.Render(level, pictures, Camera{1.5, 1.5, 0}, picture);
    EXPECT_EQ(picture.Pixel(31, 20), 0xFFFF0000u);
}

} // namespace
} // namespace tsl
