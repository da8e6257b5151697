// The raycaster on small hand-built levels: what each ray meets, and the
// pictures drawn from it.

#include "raycast/Raycaster.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// An 8 x 6 room walled all round, with a wall block at (4, 2) and a door in
// the wall at (6, 4), between (5, 4) and (7, 4).
Level Room()
{
    Level level(8, 6);
    for (int x = 0; x < 8; ++x) {
        level.SetWall(x, 0, kLight, kDark);
        level.SetWall(x, 5, kLight, kDark);
    }
    for (int y = 0; y < 6; ++y) {
        level.SetWall(0, y, kLight, kDark);
        level.SetWall(7, y, kLight, kDark);
    }
    level.SetWall(4, 2, kLight + 2, kDark + 2);
    level.SetWall(6, 3, kLight, kDark);
    level.SetDoor(6, 4, kDoorLight, kDoorDark);
    level.frameLight = kFrameLight;
    level.frameDark = kFrameDark;
    return level;
}

struct RayRow {
    std::string name;
    double x, y, dx, dy;
    double doorOpening;
    CellKind kind;
    int tileX, tileY;
    Face face;
    int column;
    int picture;
    double distance;
};

class RayTest : public ::testing::TestWithParam<RayRow> {};

TEST_P(RayTest, MeetsTheFaceAndColumn)
{
    const RayRow& row = GetParam();
    Level level = Room();
    level.SetDoorOpening(6, 4, row.doorOpening);
    const RayHit hit = CastRay(level, row.x, row.y, row.dx, row.dy);
    EXPECT_EQ(hit.kind, row.kind);
    EXPECT_EQ(hit.tileX, row.tileX);
    EXPECT_EQ(hit.tileY, row.tileY);
    EXPECT_EQ(hit.face, row.face);
    EXPECT_EQ(hit.column, row.column);
    EXPECT_EQ(hit.picture, row.picture);
    EXPECT_NEAR(hit.distance, row.distance, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Rays, RayTest,
    ::testing::Values(
        // Along the axes: east and west faces are dark, north and south light;
        // columns run left to right as the face is seen.
        RayRow{"East", 1.5, 1.25, 1, 0, 0, CellKind::Wall, 7, 1, Face::West, 16, kDark, 5.5},
        RayRow{"West", 6.5, 1.25, -1, 0, 0, CellKind::Wall, 0, 1, Face::East, 47, kDark, 5.5},
        RayRow{"North", 2.75, 4.5, 0, -1, 0, CellKind::Wall, 2, 0, Face::South, 48, kLight, 3.5},
        RayRow{"South", 2.75, 1.5, 0, 1, 0, CellKind::Wall, 2, 5, Face::North, 15, kLight, 3.5},
        RayRow{"BlockFromTheWest", 1.5, 2.5, 1, 0, 0, CellKind::Wall, 4, 2, Face::West, 32, kDark + 2, 2.5},
        // y = x - 0.25 passes below the block and meets the south wall at x = 5.25.
        RayRow{"Diagonal", 1.5, 1.25, 1, 1, 0, CellKind::Wall, 5, 5, Face::North, 47, kLight, 3.75},
        // Rising past the block's lower right corner (5, 3): a hair to its
        // right the ray goes on to the east wall; a hair to its left it meets
        // the block's south face at the face's last column.
        RayRow{"GrazesPastACorner", 1.5, 3.5, 3.501, -0.5, 0, CellKind::Wall, 7, 2, Face::West, 45, kDark,
               1.570979720079977},
        RayRow{"ClipsACorner", 1.5, 3.5, 3.499, -0.5, 0, CellKind::Wall, 4, 2, Face::South, 63, kLight + 2, 1.0},
        // The door at (6, 4) is met on its middle line, unless it is open there.
        RayRow{"ClosedDoor", 1.5, 4.75, 1, 0, 0, CellKind::Door, 6, 4, Face::West, 48, kDoorDark, 5.0},
        RayRow{"HalfOpenDoorMet", 1.5, 4.75, 1, 0, 0.5, CellKind::Door, 6, 4, Face::West, 16, kDoorDark, 5.0},
        RayRow{"HalfOpenDoorPassed", 1.5, 4.25, 1, 0, 0.5, CellKind::Wall, 7, 4, Face::West, 16, kFrameDark, 5.5},
        RayRow{"OpenDoor", 1.5, 4.75, 1, 0, 1, CellKind::Wall, 7, 4, Face::West, 48, kFrameDark, 5.5},
        // Inside the door tile, looking north: the wall beside the door shows the frame.
        RayRow{"FrameBesideTheDoor", 6.5, 4.5, 0, -1, 0, CellKind::Wall, 6, 3, Face::South, 32, kFrameLight, 0.5}),
    [](const auto& row) { return row.param.name; });

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

TEST(RaycasterTest, DrawsACorridorPixelForPixel)
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
    // Worked out by hand from the engine's projection: the eye 0x5700 behind
    // the camera, the picture plane a tile wide at 0x5700 + 0x5800.
    const std::vector<Expected> expected = {
        {0, 0, MarkOf(kLight, 32, 22)},  {0, 20, MarkOf(kLight, 32, 32)},  {0, 39, MarkOf(kLight, 32, 41)},
        {16, 0, MarkOf(kLight, 55, 11)}, {16, 20, MarkOf(kLight, 55, 32)}, {16, 39, MarkOf(kLight, 55, 52)},
        {31, 14, C},                     {31, 15, MarkOf(kDark, 12, 0)},   {31, 20, MarkOf(kDark, 12, 35)},
        {31, 24, MarkOf(kDark, 12, 63)}, {31, 25, F},                      {32, 0, C},
        {32, 15, MarkOf(kDark, 19, 0)},  {32, 24, MarkOf(kDark, 19, 63)},  {32, 39, F},
        {48, 8, C},                      {48, 9, MarkOf(kLight, 54, 1)},   {48, 20, MarkOf(kLight, 54, 33)},
        {48, 30, MarkOf(kLight, 54, 62)}, {48, 31, F},                     {63, 0, MarkOf(kLight, 51, 2)},
        {63, 39, MarkOf(kLight, 51, 61)},
    };
    for (const Expected& e : expected)
        EXPECT_EQ(picture.Pixel(e.x, e.y), e.pixel) << "at " << e.x << ", " << e.y;
}

TEST(RaycasterTest, UnknownWallsAndMissingPicturesArePlain)
{
    Level level = Room();
    level.SetWall(7, 1, kNoPicture, kNoPicture);
    PagePictures none;
    Image picture(32, 20);
    Raycaster raycaster;
    raycaster.Render(level, none, Camera{6.0, 1.5, 0}, picture);
    EXPECT_EQ(picture.Pixel(16, 10), kPlainDark);
    raycaster.Render(level, none, Camera{2.5, 3.5, 90}, picture); // a north face whose picture is missing
    EXPECT_EQ(picture.Pixel(16, 10), kPlainLight);
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
    // In front of the east wall, looking east along row 1.
    level.sprites.push_back({4.5, 1.5, kSprite, false});
    raycaster.Render(level, pictures, Camera{1.5, 1.5, 0}, picture);
    EXPECT_EQ(picture.Pixel(32, 20), 0xFFFF0000u);
    EXPECT_EQ(picture.Pixel(24, 20), 0xFF0000FFu); // the wall beside it
    EXPECT_EQ(picture.Pixel(32, 14), level.ceiling) << "its transparent rows show what is behind";

    // Behind the block at (4, 2), looking east along row 2: not drawn.
    level.sprites = {{5.5, 2.5, kSprite, false}};
    raycaster.Render(level, pictures, Camera{1.5, 2.5, 0}, picture);
    for (int x = 0; x < 64; ++x)
        EXPECT_NE(picture.Pixel(x, 20), 0xFFFF0000u) << "column " << x;
}

TEST(RaycasterTest, ProjectsSpritesByTheEngineRules)
{
    const View view = MakeView(Camera{1.5, 1.5, 0}, 64, 40);
    // Straight ahead, 3 tiles past the camera: the eye is kFocalLength behind.
    const SpriteProjection ahead = ProjectSprite(view, 4.5, 1.5, kStaticFudge);
    ASSERT_TRUE(ahead.visible);
    EXPECT_DOUBLE_EQ(ahead.depth, 3 + kFocalLength - kStaticFudge);
    EXPECT_DOUBLE_EQ(ahead.centreX, 32);
    EXPECT_DOUBLE_EQ(ahead.size, 64 * kFaceDistance / ahead.depth);
    // One tile to the right (south) moves it right by scale / depth pixels.
    const SpriteProjection right = ProjectSprite(view, 4.5, 2.5, kStaticFudge);
    EXPECT_DOUBLE_EQ(right.centreX, 32 + right.size);
    // Behind the eye, and nearer than the minimum distance: not drawn.
    EXPECT_FALSE(ProjectSprite(view, 0.5, 1.5, kStaticFudge).visible);
    EXPECT_FALSE(ProjectSprite(view, 1.5 - kFocalLength + 0.9 * kMinDistance, 1.5, 0).visible);
    EXPECT_FALSE(ProjectSprite(view, 1.5 + 0.1, 1.5, kActorFudge).visible);
}

} // namespace
} // namespace tsl
