// tesselar-cli render3d: the first-person picture written as PNG, what keeps
// it from drawing, and on the real shareware game the wall that a walk from
// the player start meets first, seen in the picture's centre column.

#include "GraphicsTestUtil.h"
#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "core/FileSystem.h"
#include "graphics/PageFile.h"
#include "graphics/Palette.h"
#include "raycast/LevelBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tsl;
using namespace tsl::test;

namespace {

TEST(CliRender3D, WithoutAPageFileNamesTheFile)
{
    TempDir out;
    const std::string target = (out / "view.png").string();
    const CliResult r = RunCli({"render3d", SampleGameDir().string(), target});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("VSWAP.WL6"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(target));
}

// The palette indices of the first wall or door that a walk from (x, y) one
// tile at a time by (dx, dy) meets, as the face it meets shows it: the
// column the middle of the view falls on.
std::vector<std::uint8_t> FirstWallColumn(const MapList& map, const PageFile& pages, int x, int y, int dx, int dy)
{
    const bool acrossColumns = dx != 0; // meets east or west faces: the dark picture
    while (true) {
        x += dx;
        y += dy;
        const std::uint16_t word = map.Word(0, x, y);
        int chunk = -1;
        if (word >= 90 && word <= 101) {
            const int kinds[6] = {0, 6, 6, 6, 6, 4}; // normal, four locks, elevator
            chunk = pages.FirstSpriteChunk() - 8 + kinds[(word - 90) / 2] + (acrossColumns ? 1 : 0);
        } else if (word > 0 && word < 64) {
            chunk = 2 * (word - 1) + (acrossColumns ? 1 : 0);
        } else {
            continue;
        }
        const auto wall = pages.Wall(chunk);
        // The view's middle columns look a twentieth of a degree left of
        // straight ahead (the engine's tangents are of the middle of each
        // tenth of a degree): a hair left of the tile's middle, column 31 of
        // a wall face as seen from the left; a door's columns run the same
        // way from both sides, so from the east and the north it is 32.
        const int column = word >= 90 && (dx < 0 || dy > 0) ? 32 : 31;
        return {wall.begin() + column * 64, wall.begin() + column * 64 + 64};
    }
}

TEST(CliRender3D, TheCentreColumnShowsTheWallAheadOnTheRealGame)
{
    const auto pagePath = RealPageFileWL1();
    if (!pagePath)
        GTEST_SKIP() << "the shareware game is not there";
    const fs::path game = pagePath->parent_path();
    const MapHandler set = LoadSet(game);
    const MapList& map = set.Maps[0];
    const auto start = PlayerStart(map, test::ShippedRules("WL1"));
    ASSERT_TRUE(start);
    auto pages = PageFile::Load(*pagePath);
    ASSERT_TRUE(pages) << pages.failure().text;
    auto palette = Palette::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "palette.txt");
    ASSERT_TRUE(palette) << palette.failure().text;

    TempDir out;
    const int startX = static_cast<int>(start->x);
    const int startY = static_cast<int>(start->y);
    struct Direction {
        int angle, dx, dy;
    };
    for (const Direction d : {Direction{0, 1, 0}, Direction{90, 0, -1}, Direction{180, -1, 0}, Direction{270, 0, 1}}) {
        const fs::path target = out / ("view" + std::to_string(d.angle) + ".png");
        const CliResult r = RunCli(
            {"render3d", game.string(), target.string(), "--angle", std::to_string(d.angle), "--size", "640x1000"});
        ASSERT_EQ(r.status, 0) << r.err;
        const Image view = DecodePng(ReadFile(target));
        ASSERT_EQ(view.width, 640);
        ASSERT_EQ(view.height, 1000);

        // The wall's band in the centre column starts where the ceiling's
        // colour ends (or a row or two above, where the texture's top
        // pixels have that colour) and is centred on the picture's middle
        // row. Its upper half (objects stand on the floor and may hide the
        // lower one), sampled at 32 rows, shows the texture column's.
        const int x = view.width / 2;
        int ceilingEnd = 0;
        while (ceilingEnd < view.height / 2 && view.Pixel(x, ceilingEnd) == view.Pixel(x, 0))
            ++ceilingEnd;
        const auto column = FirstWallColumn(map, *pages, startX, startY, d.dx, d.dy);
        int same = 0;
        for (int first = std::max(ceilingEnd - 2, 0); first <= ceilingEnd; ++first) {
            const int band = view.height - 2 * first;
            ASSERT_GT(band, 64) << "angle " << d.angle;
            int matches = 0;
            for (int row = 0; row < 32; ++row) {
                const int y = first + static_cast<int>((row + 0.5) * band / 64);
                matches += view.Pixel(x, y) == (*palette)[column[static_cast<std::size_t>(row)]] ? 1 : 0;
            }
            same = std::max(same, matches);
        }
        EXPECT_GE(same, 30) << "angle " << d.angle << ": the centre column does not show the wall ahead";
    }
}

TEST(CliRender3D, DrawsOnlyTheActorsOfTheSkillLevel)
{
    const auto pagePath = RealPageFileWL1();
    if (!pagePath)
        GTEST_SKIP() << "the shareware game is not there";
    const fs::path game = pagePath->parent_path();
    // Map 1 has a guard that only the hardest level places at (34, 45), two
    // tiles north of (34, 47) in a straight corridor.
    ASSERT_EQ(LoadSet(game).Maps[0].Word(1, 34, 45), 183);
    TempDir out;
    auto view = [&](const std::vector<std::string>& skill) {
        const fs::path target = out / "view.png";
        std::vector<std::string> args{"render3d", game.string(), target.string(), "--at", "34,47", "--angle", "90"};
        args.insert(args.end(), skill.begin(), skill.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadFile(target);
    };
    const auto every = view({});
    EXPECT_EQ(view({"--skill", "4"}), every);
    EXPECT_NE(view({"--skill", "3"}), every);
}

} // namespace
