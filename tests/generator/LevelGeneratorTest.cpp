// The level generator by the analysis of play: every level of a few hundred
// seeds and option sets can be finished on every skill level with everything
// worth having in reach; the options are kept; the same seed gives the same
// words; a candidate that breaks a guarantee (no exit, a key gone, a treasure
// out of reach) is turned down.

#include "RulesTestUtil.h"
#include "generator/LevelGenerator.h"
#include "raycast/LevelBuilder.h"
#include "raycast/Walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <set>

using namespace tsl;
using namespace tsl::test;

namespace {

struct Census {
    int starts = 0, pushWalls = 0, turningPoints = 0, patrols = 0, ambushes = 0;
    int decoratedBesideDoors = 0;
    std::set<std::uint16_t> floors; // the floor area words
    std::set<int> keys, locks;
};

Census Count(const MapList& map, const EngineRules& rules)
{
    Census c;
    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        const WordMeaning& tile = rules.Tile(map.Planes[0][at]);
        const WordMeaning& object = rules.Object(map.Planes[1][at]);
        c.starts += object.kind == WordKind::PlayerStart ? 1 : 0;
        c.pushWalls += object.kind == WordKind::PushWall ? 1 : 0;
        c.turningPoints += object.kind == WordKind::TurningPoint ? 1 : 0;
        c.patrols += object.IsActor() && object.patrol ? 1 : 0;
        c.ambushes += tile.kind == WordKind::Floor && tile.ambush ? 1 : 0;
        if (tile.kind == WordKind::Floor && !tile.ambush && !tile.secret)
            c.floors.insert(map.Planes[0][at]);
        const int x = static_cast<int>(at % map.Width), y = static_cast<int>(at / map.Width);
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (tile.decorated && nx >= 0 && ny >= 0 && nx < map.Width && ny < map.Height &&
                rules.Tile(map.Planes[0][static_cast<std::size_t>(ny * map.Width + nx)]).kind == WordKind::Door)
                ++c.decoratedBesideDoors;
        }
        if (object.kind == WordKind::Static && object.bonus == Bonus::Key)
            c.keys.insert(object.key);
        if (tile.kind == WordKind::Door && tile.lock != 0)
            c.locks.insert(tile.lock);
    }
    return c;
}

bool HasExit(const LevelAnalysis& a, ExitKind kind)
{
    return std::any_of(a.exits.begin(), a.exits.end(), [&](const LevelExit& e) { return e.kind == kind; });
}

std::uint64_t Fingerprint(const MapList& map)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const auto& plane : map.Planes)
        for (const std::uint16_t word : plane)
            hash = (hash ^ word) * 1099511628211ull;
    return hash;
}

} // namespace

TEST(LevelGenerator, EveryLevelCanBeFinishedOnEverySkillAndKeepsItsOptions)
{
    const EngineRules rules = ShippedRules("WL6");
    struct Case {
        const char* name;
        GeneratorOptions options;
        int seeds;
    };
    const Case cases[] = {
        {"the defaults", {}, 60},
        {"two locked sections and five secrets", {.enemies = EnemyAmount::Many, .keys = 2, .secrets = 5}, 60},
        {"one key, no enemies", {.enemies = EnemyAmount::None, .keys = 1, .secrets = 1}, 40},
        {"few enemies in wood, twenty rooms", {.rooms = 20, .enemies = EnemyAmount::Few, .theme = "wood"}, 30},
        {"a 32 x 32 map with a key and two secrets", {.width = 32, .height = 32, .keys = 1, .secrets = 2}, 60},
        {"as many rooms as the doors allow on a 128 x 128 map", {.width = 128, .height = 128, .rooms = 40}, 10},
    };
    for (const Case& c : cases) {
        int patrols = 0, turningPoints = 0, ambushes = 0; // over the seeds of the case
        for (std::uint32_t seed = 1; seed <= static_cast<std::uint32_t>(c.seeds); ++seed) {
            SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
            GeneratorOptions options = c.options;
            options.seed = seed;
            const auto level = GenerateLevel(rules, options);
            ASSERT_TRUE(level) << level.failure().text;
            const MapList& map = level->map;
            ASSERT_EQ(map.Width, options.width);
            ASSERT_EQ(map.Height, options.height);
            const Census census = Count(map, rules);
            patrols += census.patrols;
            turningPoints += census.turningPoints;
            ambushes += census.ambushes;
            EXPECT_EQ(census.starts, 1);
            EXPECT_EQ(census.pushWalls, options.secrets);
            EXPECT_EQ(static_cast<int>(census.keys.size()), options.keys);
            EXPECT_EQ(census.locks, census.keys);
            EXPECT_EQ(census.decoratedBesideDoors, 0);
            // Each room its own area, so that sound spreads as in a level made by hand.
            EXPECT_GE(static_cast<int>(census.floors.size()), std::min(level->rooms, 36));
            if (options.rooms > 0) {
                EXPECT_GE(level->rooms, options.rooms);
            }
            if (!options.theme.empty()) {
                EXPECT_EQ(level->theme, options.theme);
            }
            for (int skill = 1; skill <= 4; ++skill) {
                const LevelAnalysis a = AnalyseLevel(map, rules, skill);
                EXPECT_TRUE(HasExit(a, ExitKind::Elevator)) << "skill " << skill;
                EXPECT_EQ(HasExit(a, ExitKind::SecretElevator), options.secrets >= 2) << "skill " << skill;
                EXPECT_TRUE(a.unreachableTreasure.empty() && a.unreachableKeys.empty() &&
                            a.unreachableWeapons.empty() && a.unreachableEnemies.empty() &&
                            a.missingKeyDoors.empty() && a.unusableElevators.empty() && a.openEdges.empty())
                    << "skill " << skill;
                EXPECT_EQ(a.pushWallsMoved, options.secrets) << "skill " << skill;
                EXPECT_EQ(a.kills, level->skills[static_cast<std::size_t>(skill - 1)].kills);
            }
            // Skill 3 and 4 add to the enemies of 1 and 2.
            const auto& s = level->skills;
            EXPECT_EQ(s[0].kills, s[1].kills);
            EXPECT_LE(s[1].kills, s[2].kills);
            EXPECT_LE(s[2].kills, s[3].kills);
            if (options.enemies == EnemyAmount::None) {
                EXPECT_EQ(s[3].kills, 0);
            } else {
                EXPECT_GT(s[3].kills, 0);
            }
        }
        // Some enemies patrol between turning points, some wait in ambush.
        SCOPED_TRACE(c.name);
        const bool enemies = c.options.enemies != EnemyAmount::None;
        EXPECT_EQ(patrols > 0, enemies);
        EXPECT_EQ(turningPoints > 0, enemies);
        EXPECT_EQ(ambushes > 0, enemies);
    }
}

TEST(LevelGenerator, TheSameSeedGivesTheSameWordsAndOtherSeedsOtherLevels)
{
    const EngineRules rules = ShippedRules("WL6");
    const GeneratorOptions options{.keys = 1, .secrets = 2, .seed = 2026};
    const auto first = GenerateLevel(rules, options);
    const auto again = GenerateLevel(rules, options);
    ASSERT_TRUE(first && again);
    EXPECT_EQ(first->map.Planes, again->map.Planes);
    // The words of this seed, pinned: every machine and library gives them.
    EXPECT_EQ(Fingerprint(first->map), 3940562109602743650u);

    std::set<std::uint64_t> levels;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        const auto level = GenerateLevel(rules, GeneratorOptions{.seed = seed});
        ASSERT_TRUE(level);
        levels.insert(Fingerprint(level->map));
    }
    EXPECT_EQ(levels.size(), 30u);
}

TEST(LevelGenerator, ACandidateThatBreaksAGuaranteeIsTurnedDownForTheNextSeed)
{
    const EngineRules rules = ShippedRules("WL6");
    auto isWall = [&](std::uint16_t word) { return rules.Tile(word).kind == WordKind::Wall; };
    struct Case {
        const char* name;
        std::function<void(MapList&)> spoil; // a faulty generator step
    };
    const Case cases[] = {
        {"the elevator door walled up: no exit",
         [&](MapList& map) {
             for (std::uint16_t& word : map.Planes[0])
                 if (rules.Tile(word).kind == WordKind::Door && rules.Tile(word).elevator)
                     word = 1;
         }},
        {"the key taken away: its door never opens",
         [&](MapList& map) {
             for (std::uint16_t& word : map.Planes[1])
                 if (rules.Object(word).kind == WordKind::Static && rules.Object(word).bonus == Bonus::Key)
                     word = 0;
         }},
        {"a treasure in a pocket of floor inside the rock: out of reach",
         [&](MapList& map) {
             const int w = map.Width;
             for (int at = w + 1; at < static_cast<int>(map.WordCount()) - w - 1; ++at) {
                 bool rock = true;
                 for (const int near : {at - w - 1, at - w, at - w + 1, at - 1, at + 1, at + w - 1, at + w, at + w + 1})
                     rock = rock && isWall(map.Planes[0][static_cast<std::size_t>(near)]);
                 if (rock && isWall(map.Planes[0][static_cast<std::size_t>(at)])) {
                     map.Planes[0][static_cast<std::size_t>(at)] = 108; // a floor area
                     map.Planes[1][static_cast<std::size_t>(at)] = 52;  // a treasure chest
                     return;
                 }
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GeneratorChecks checks;
        checks.alter = [&](MapList& map, int attempt) {
            if (attempt == 1)
                c.spoil(map);
        };
        const GeneratorOptions options{.keys = 1, .seed = 5};
        const auto level = GenerateLevel(rules, options, {}, checks);
        ASSERT_TRUE(level);
        EXPECT_GE(level->tries, 2);
        for (int skill = 1; skill <= 4; ++skill) {
            const LevelAnalysis a = AnalyseLevel(level->map, rules, skill);
            EXPECT_TRUE(HasExit(a, ExitKind::Elevator));
            EXPECT_TRUE(a.missingKeyDoors.empty() && a.unreachableTreasure.empty());
        }

        // Spoilt every time: no level, and a message that says what to change.
        checks.alter = [&](MapList& map, int) { c.spoil(map); };
        checks.maxTries = 5;
        const auto none = GenerateLevel(rules, options, {}, checks);
        ASSERT_FALSE(none);
        EXPECT_EQ(none.failure().text, "No level passed its checks in 5 tries with these options; try fewer rooms, "
                                       "keys or secrets, or a larger map.");
    }
}

TEST(LevelGenerator, RefusesOptionsThatCannotBeMade)
{
    const EngineRules wolf = ShippedRules("WL6");
    struct Case {
        const char* name;
        const EngineRules& rules;
        GeneratorOptions options;
        const char* message;
    };
    const EngineRules spear = ShippedRules("SOD");
    const Case cases[] = {
        {"too small", wolf, {.width = 8}, "A generated map is 16 to 128 tiles wide and high."},
        {"too many rooms", wolf, {.width = 32, .height = 32, .rooms = 11}, "A map of 32 x 32 tiles holds 3 to 10 rooms."},
        {"a fourth room on the smallest map", wolf, {.width = 16, .height = 16, .rooms = 4}, "A map of 16 x 16 tiles holds 3 rooms."},
        {"more rooms than the engine has doors for", wolf, {.width = 128, .height = 128, .rooms = 41},
         "A level of this game holds 3 to 40 rooms: the engine has 64 doors, and a room takes about a door and a half."},
        {"a third key", wolf, {.keys = 3}, "This game has 2 keys for locked sections."},
        {"six secrets", wolf, {.secrets = 6}, "A level holds 0 to 5 secrets."},
        {"an unknown theme", wolf, {.theme = "marble"},
         "There is no theme \"marble\"; the themes are grey-stone, blue-stone, wood, steel, red-brick, purple-stone."},
        {"rules without wall families", spear, {},
         "The rules of play of this structure give no wall families (theme=), so no level can be generated for it."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto level = GenerateLevel(c.rules, c.options);
        ASSERT_FALSE(level);
        EXPECT_EQ(level.failure().text, c.message);
        EXPECT_EQ(level.failure().caption, "Generate Level");
    }
}

// The player of a walk by the game's rules, led along the analysis's route:
// turned towards the middle of the next tile, walked there, a closed door
// ahead used; at the end of the route the switch is used. The walk ends at
// the elevator when the level can be played as the analysis says, its two
// locked sections opened with the keys the route picks up on its way.
TEST(LevelGenerator, AWalkByTheGamesRulesAlongTheRouteReachesTheElevator)
{
    const auto rules = std::make_shared<const EngineRules>(ShippedRules("WL6"));
    WordPictures words;
    words.rules = rules;
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        const auto level = GenerateLevel(*rules, {.keys = 2, .secrets = 0, .seed = seed});
        ASSERT_TRUE(level);
        const LevelAnalysis& analysis = level->skills[3];
        ASSERT_FALSE(analysis.route.empty());
        const std::vector<MapTile>& route = analysis.route;
        Walk walk(level->map, 0, words, 4, StartCamera(level->map, *rules));
        std::size_t next = 1;
        auto heading = [&](double tx, double ty) {
            const Camera& c = walk.CurrentCamera();
            double diff = std::atan2(-(ty - c.y), tx - c.x) * 180 / std::numbers::pi - c.angle;
            diff = std::remainder(diff, 360.0);
            return diff;
        };
        for (int tic = 0; tic < 70 * 600 && next < route.size(); ++tic) {
            const Camera& c = walk.CurrentCamera();
            const double tx = route[next].x + 0.5, ty = route[next].y + 0.5;
            const double distance = std::hypot(tx - c.x, ty - c.y);
            if (distance < 0.05) {
                ++next;
                continue;
            }
            const double diff = heading(tx, ty);
            const Level& shown = walk.CurrentLevel();
            if (std::abs(diff) < 5 && shown.At(route[next].x, route[next].y).kind == CellKind::Door &&
                shown.DoorOpening(route[next].x, route[next].y) <= 0 && distance < 1.2)
                walk.Use();
            walk.Tic({.forward = std::abs(diff) < 5 ? std::min(1.0, distance / 0.08) : 0.0,
                      .turn = std::clamp(diff / 1.75, -1.0, 1.0)});
        }
        ASSERT_EQ(next, route.size()) << "stuck before " << route[next].x << "," << route[next].y;
        const LevelExit& exit = analysis.exits.front();
        for (int tic = 0; tic < 400 && std::abs(heading(exit.tile.x + 0.5, exit.tile.y + 0.5)) > 1; ++tic)
            walk.Tic({.turn = std::clamp(heading(exit.tile.x + 0.5, exit.tile.y + 0.5) / 1.75, -1.0, 1.0)});
        walk.Use();
        EXPECT_EQ(walk.End(), WalkEnd::Exit);
    }
}
