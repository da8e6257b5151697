// Every actor from every side, on the shareware game's own pictures: a
// guard, an SS, a dog and an officer (whose pictures the shareware leaves
// out, so its eight sides are filled in here) stand in a room, and the
// player looks at each from the eight sides. What is drawn is the frame the
// engine draws from that side (CalcRotate in WL_DRAW.C: seen from straight
// ahead the front, sprite + 0, and one more for each eighth of a turn
// anticlockwise round the actor), decoded here from the page file itself.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "graphics/PageSet.h"
#include "raycast/GamePictures.h"
#include "raycast/Raycaster.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr int kRoom = 9;
constexpr int kOfficerFront = 238; // SPR_OFC_S_1
constexpr int kGuardFront = 50;    // SPR_GRD_S_1

// A 9 x 9 room of word 1 walls with floor 108, and `word` in the middle.
MapList RoomWith(std::uint16_t word)
{
    MapList map;
    map.Width = map.Height = kRoom;
    map.Planes.assign(2, std::vector<std::uint16_t>(map.WordCount()));
    for (int y = 0; y < kRoom; ++y)
        for (int x = 0; x < kRoom; ++x) {
            const bool edge = x == 0 || y == 0 || x == kRoom - 1 || y == kRoom - 1;
            map.SetWord(0, x, y, edge ? 1 : 108);
        }
    map.SetWord(1, kRoom / 2, kRoom / 2, word);
    return map;
}

// The shareware page file with the officer's eight standing sides filled:
// side r shows the guard's side 7 - r, so that every side differs from the
// next.
Outcome<PageFile> WithOfficer(const PageFile& shareware)
{
    PageSet pages = PageSet::From(shareware);
    const int first = pages.FirstSpriteChunk();
    for (int side = 0; side < kRotations; ++side)
        if (auto refused = pages.Replace(first + kOfficerFront + side, *pages.ChunkAt(first + kGuardFront + 7 - side)))
            return *refused;
    auto bytes = pages.Encode();
    if (!bytes)
        return bytes.failure();
    return PageFile::Parse(std::move(*bytes), "VSWAP.WL1");
}

// The sprite of `chunk` in the palette's colours, decoded here.
std::vector<std::uint32_t> Decoded(const PageFile& pages, const Palette& palette, int chunk)
{
    const Sprite* sprite = pages.SpriteAt(chunk - pages.FirstSpriteChunk());
    std::vector<std::uint32_t> pixels(kPagePixels, kTransparentPixel);
    for (std::size_t i = 0; sprite && i < kPagePixels; ++i)
        if (sprite->opaque[i])
            pixels[i] = palette[sprite->pixels[i]];
    return pixels;
}

} // namespace

TEST(ActorSides, EveryActorIsDrawnFromEachOfItsEightSidesAsTheEngineDrawsIt)
{
    const auto path = RealPageFileWL1();
    if (!path)
        GTEST_SKIP() << "no VSWAP.WL1";
    const fs::path structure = SourceDir() / "data" / "MapDefs" / "WL1";
    auto shareware = PageFile::Load(*path);
    auto palette = Palette::Load(structure / "palette.txt");
    auto table = PictureTable::Load(structure / "pictures.txt");
    ASSERT_TRUE(shareware && palette && table);
    auto pages = WithOfficer(*shareware);
    ASSERT_TRUE(pages) << pages.failure().text;
    const GamePictures pictures = BuildGamePictures(*pages, *palette, *table, GraphicsSettings{});

    const struct {
        const char* what;
        std::uint16_t word;
        int front;  // the sprite seen from straight ahead
        int facing; // degrees, east 0, anticlockwise
    } actors[] = {
        {"a guard facing north", 109, kGuardFront, 90},
        {"an officer facing east", 116, kOfficerFront, 0},
        {"an SS facing west", 128, 138, 180},   // SPR_SS_S_1
        {"a patrolling dog facing south", 141, 99, 270}, // SPR_DOG_W1_1, its first step
    };
    Raycaster raycaster;
    Image drawn(320, 200), expected(320, 200), empty(320, 200);
    for (const auto& actor : actors) {
        const Level level = BuildLevel(RoomWith(actor.word), 0, pictures.words);
        ASSERT_EQ(level.sprites.size(), 1u) << actor.what;
        Level still = level; // the same actor, one picture from every side
        still.sprites[0].facing = kNoRotation;
        Level bare = level;
        bare.sprites.clear();
        for (int side = 0; side < kRotations; ++side) {
            SCOPED_TRACE(std::string(actor.what) + ", seen from side " + std::to_string(side));
            const double seenFrom = actor.facing + 45.0 * side; // where the player stands, round the actor
            const double radians = seenFrom * 3.14159265358979 / 180;
            const Camera camera{4.5 + 2 * std::cos(radians), 4.5 - 2 * std::sin(radians), seenFrom + 180};
            const int chunk = pages->FirstSpriteChunk() + actor.front + side;
            PagePictures engine = pictures.pages; // the engine's frame, as decoded here
            engine.Set(chunk, Decoded(*pages, *palette, chunk));
            still.sprites[0].picture = chunk;

            raycaster.Render(level, pictures.pages, camera, drawn);
            raycaster.Render(still, engine, camera, expected);
            raycaster.Render(bare, pictures.pages, camera, empty);
            EXPECT_NE(expected.pixels, empty.pixels) << "the frame shows something";
            EXPECT_EQ(drawn.pixels, expected.pixels);
        }
    }
}
