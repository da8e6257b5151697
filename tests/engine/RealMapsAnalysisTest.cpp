// The analysis of play and the map check on id's own levels: the shareware
// Wolfenstein 3-D (Wolfenstein 3-D's rules, its page file) and the Spear of
// Destiny demo (Spear's rules), skipped when their data is not there.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "editor/play/MapInformation.h"
#include "engine/LevelAnalysis.h"
#include "graphics/PageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

using namespace tsl;
using namespace tsl::test;

namespace {

std::optional<MapHandler> RealSet(const std::string& folder)
{
    const auto sets = RealGameSets();
    const auto found = std::find_if(sets.begin(), sets.end(), [&](const fs::path& p) { return p.filename() == folder; });
    if (found == sets.end())
        return std::nullopt;
    return LoadSet(*found);
}

struct Totals {
    int map; // from 1
    std::array<int, 4> kills; // skill levels 1 to 4
    int treasure;
    int secrets;
};

void ExpectTotals(const MapHandler& set, const EngineRules& rules, const std::vector<Totals>& expected)
{
    for (const Totals& t : expected)
        for (int skill = 1; skill <= 4; ++skill) {
            SCOPED_TRACE("map " + std::to_string(t.map) + ", skill level " + std::to_string(skill));
            const LevelAnalysis analysis = AnalyseLevel(set.Maps.at(static_cast<std::size_t>(t.map - 1)), rules, skill);
            EXPECT_EQ(analysis.kills, t.kills[static_cast<std::size_t>(skill - 1)]);
            EXPECT_EQ(analysis.treasure, t.treasure);
            EXPECT_EQ(analysis.secrets, t.secrets);
        }
}

} // namespace

TEST(RealMapsAnalysis, EveryLevelCanBeFinishedOnEverySkillAndTheCheckFindsNothing)
{
    bool any = false;
    for (const auto& [folder, structure] : {std::pair{"wl1", "WL1"}, std::pair{"sdm", "SDM"}}) {
        const auto set = RealSet(folder);
        if (!set)
            continue;
        any = true;
        EngineRules rules = ShippedRules(structure);
        rules.SetMapSize(64);
        // The page file too, where the game has one: every wall of id's maps has its picture.
        std::optional<PageFile> pages;
        if (const auto path = FindPageFile(set->Path, set->Extension))
            if (auto loaded = PageFile::Load(*path))
                pages = std::move(*loaded);
        for (int m = 0; m < set->NumMaps(); ++m) {
            const MapList& map = set->Maps[static_cast<std::size_t>(m)];
            for (int skill = 1; skill <= 4; ++skill) {
                const LevelAnalysis analysis = AnalyseLevel(map, rules, skill);
                EXPECT_TRUE(analysis.Finishable()) << folder << " map " << m + 1 << " skill " << skill;
                EXPECT_FALSE(analysis.route.empty());
            }
            // No finding at all, warnings included: a check that cries wolf on
            // id's own levels teaches the modder to ignore it.
            for (const MapFinding& finding : CheckMap(map, SymbolTables(), rules, {}, {}, pages ? &*pages : nullptr))
                ADD_FAILURE() << folder << " map " << m + 1 << ": " << FindingText(finding);
        }
    }
    if (!any)
        GTEST_SKIP() << "no real game data";
}

TEST(RealMapsAnalysis, TheFirstMapsSecretElevatorLiesBehindItsPushWalls)
{
    const auto set = RealSet("wl1");
    if (!set)
        GTEST_SKIP() << "no real game data";
    const EngineRules rules = ShippedRules("WL1");
    MapList map = set->Maps.front();
    auto secretExit = [&](const MapList& level) {
        const LevelAnalysis analysis = AnalyseLevel(level, rules, 4);
        return std::any_of(analysis.exits.begin(), analysis.exits.end(),
                           [](const LevelExit& exit) { return exit.kind == ExitKind::SecretElevator; });
    };
    EXPECT_TRUE(secretExit(map));
    std::replace(map.Planes[1].begin(), map.Planes[1].end(), std::uint16_t{98}, std::uint16_t{0});
    EXPECT_FALSE(secretExit(map)) << "without pushing a wall";
}

TEST(RealMapsAnalysis, TotalsAreWhatTheEngineCounts)
{
    // Worked out by hand from the released source: ScanInfoPlane spawns the
    // plane-1 words 108..141 (guards, officers, SS, dogs) and 216..223
    // (mutants) on every skill level, 144..177 and 234..241 from level 3
    // (difficulty gd_medium) and 180..213, 252..259 on level 4 only; each
    // SpawnStand or SpawnPatrol adds one to killtotal, except a standing dog
    // (134..137, 170..173, 206..209), which SpawnStand does not place; every
    // boss adds one. SpawnStatic adds to treasuretotal for the cross (52),
    // chalice (53), chest (54), crown (55) and extra life (56); every
    // push-wall word 98 adds to secrettotal.
    //
    // Wolfenstein 3-D map 1 holds guards 108 x2, 109 x2, 110 x3, 111 x1 and
    // 114 x2, a dog 138: 11 on levels 1 and 2; from level 3 guards 145, 146
    // x2, 147 x3, 151 and dogs 176, 177: 9 more, 20; on level 4 guards 180
    // x3, 181 x4, 182 x3, 183 x4, 185 and dogs 212 x2: 17 more, 37. Treasure
    // 52 x8, 53 x7, 54 x7, 56: 23; push walls: 5. (The dead guard 124 counts
    // nothing.)
    // Map 2: guards 108 x9, 109 x3, 110 x10, 111 x4, 113, 114, 115, SS 127,
    // 128, 129, 131, 133, dogs 138 x4, 139, 141: 40; from level 3 guards 144
    // x4, 145, 146 x5, 150, SS 163 x2, 164 x2, 165, dogs 174, 176: 18 more,
    // 58; on level 4 guards 180 x6, 181 x2, 182 x5, 183 x2, 185, SS 199 x2,
    // 200 x3, 201, dogs 212 x2: 24 more, 82. Treasure 52 x12, 53 x34, 54
    // x16: 62; push walls: 4.
    // Every row, these two and the others, is what a build of the released
    // engine printed after ScanInfoPlane for each map and difficulty.
    if (const auto wl1 = RealSet("wl1"))
        ExpectTotals(*wl1, ShippedRules("WL1"),
                     {{1, {11, 11, 20, 37}, 23, 5},
                      {2, {40, 40, 58, 82}, 62, 4},
                      {3, {32, 32, 53, 73}, 66, 10},
                      {4, {22, 22, 49, 93}, 40, 7},
                      {5, {47, 47, 73, 109}, 73, 5},
                      {6, {22, 22, 43, 70}, 41, 4},
                      {7, {28, 28, 45, 68}, 18, 2},
                      {8, {21, 21, 37, 59}, 18, 13},
                      {9, {1, 1, 1, 1}, 1, 2}, // Hans Grosse alone
                      {10, {22, 22, 48, 81}, 120, 15}});
    // Spear of Destiny's demo, by the same rules (its treasure words are the
    // same). Map 1: guards 108 x2, 109, 110 x3, 111 and an SS 128: 8; from
    // level 3 guards 144 x5, 146 x3, 147 and SS 163: 10 more, 18; on level 4
    // guards 180 x6, 182 x5, 183 x4 and SS 199: 16 more, 34. Treasure 52
    // x15, 53 x24, 54 x5, 55: 45 (the ammo boxes 72 are no treasure); push
    // walls: 5. Map 2: guards 108 x8, 109 x11, 110 x8, 111 x2, 112 x2, 115,
    // SS 126: 33; from level 3 guards 144 x9, 145 x9, 146 x6, 147 x4, 150
    // x2, 151, SS 162 x2, 163, 164 x2, 165: 37 more, 70; on level 4 guards
    // 180 x4, 181 x18, 182 x5, 183 x2, 184 x2, 185 x2, 186, SS 198 x4, 200,
    // 201 x4: 43 more, 113. Treasure 52 x9, 53 x16, 54 x5, 55 x10, 56 x2:
    // 42; push walls: 4.
    if (const auto sdm = RealSet("sdm"))
        ExpectTotals(*sdm, ShippedRules("SDM"), {{1, {8, 8, 18, 34}, 45, 5}, {2, {33, 33, 70, 113}, 42, 4}});
}
