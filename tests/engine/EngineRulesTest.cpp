// The rules of play as data: the rules file, the shipped rules of the two
// games, and a structure without rules taking those of a shipped one.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "engine/LevelFlow.h"
#include "engine/StructureRules.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(EngineRules, RefusesARuleThatDoesNotRead)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"0,1,wal", "Line 1 of \"t\": the kind \"wal\" is none of nothing, wall, door, floor, start, static, actor, "
                    "boss, corpse, pushwall, turn, victory."},
        {"# note\r\n0,9-5,wall", "Line 2 of \"t\": the words are a number from 0 to 65535 or a range first-last."},
        {"0,5,wall,block", "Line 1 of \"t\": a wall takes no attribute \"block\"."},
        {"1,5,nothing,kill", "Line 1 of \"t\": the kind nothing takes no attribute \"kill\"."},
        {"0,90,door,lock=5", "Line 1 of \"t\": the key is a number from 1 to 4."},
        {"1,43,static,bonus=key", "Line 1 of \"t\": a key bonus names its key: key=N."},
        {"1,49,static,bonus=ammo,give=100", "Line 1 of \"t\": the rounds given are a number from 1 to 99."},
        {"1,19-22,start,facing=n e", "Line 1 of \"t\": give one facing for every word, or one for all."},
        {"0,5,wall\n0,1-9,wall", "Line 2 of \"t\": plane 0 word 5 has a rule already, on line 1."},
        {"0,1,wall,theme=", "Line 1 of \"t\": the theme names the wall's family: theme=NAME."},
        {"1,47,static,value=-1", "Line 1 of \"t\": the value is a number from 0 to 65535."},
        {"1,108,actor,enemy=boss", "Line 1 of \"t\": the enemy \"boss\" is none of guard, officer, ss, dog, mutant."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto rules = EngineRules::Parse(c.text, "t");
        ASSERT_FALSE(rules);
        EXPECT_EQ(rules.failure().text, c.message);
        EXPECT_EQ(rules.failure().caption, kRulesErrorCaption);
    }
}

TEST(EngineRules, TheShippedRulesFollowEachGamesEngine)
{
    const EngineRules wolf = ShippedRules("WL6");
    const EngineRules spear = ShippedRules("SOD");
    const EngineRules shareware = ShippedRules("WL1");
    using enum WordKind;
    struct Case {
        const char* name;
        const EngineRules& rules;
        int plane;
        std::uint16_t word;
        WordMeaning expected;
    };
    const Case cases[] = {
        {"the elevator switch", wolf, 0, 21, {.kind = Wall, .elevatorSwitch = true}},
        {"a gold-key door in a vertical wall line", wolf, 0, 92, {.kind = Door, .lock = 1, .vertical = true}},
        {"a horizontal elevator door", spear, 0, 101, {.kind = Door, .elevator = true}},
        {"a wall word without a texture is solid", wolf, 0, 80, {.kind = Wall}},
        {"the ambush floor", wolf, 0, 106, {.kind = Floor, .ambush = true}},
        {"the secret elevator's floor", spear, 0, 107, {.kind = Floor, .secret = true}},
        {"the player start facing west", wolf, 1, 22, {.kind = PlayerStart, .facing = Facing::West}},
        {"the extra life counts as treasure and brings 25 rounds", wolf, 1, 56,
         {.kind = Static, .bonus = Bonus::Treasure, .give = 25}},
        {"a clip brings 8 rounds", wolf, 1, 49, {.kind = Static, .bonus = Bonus::Ammo, .give = 8, .value = 8}},
        {"the guards' half clip 4", wolf, 1, 71, {.kind = Static, .bonus = Bonus::Ammo, .give = 4, .value = 4}},
        {"Spear of Destiny's ammunition box 25", spear, 1, 72, {.kind = Static, .bonus = Bonus::Ammo, .give = 25, .value = 25}},
        {"the silver key", spear, 1, 44, {.kind = Static, .bonus = Bonus::Key, .key = 2}},
        {"Wolfenstein 3-D's kitchen stuff is walked through", wolf, 1, 38, {.kind = Static}},
        {"Spear of Destiny's gore there blocks", spear, 1, 38, {.kind = Static, .blocks = true}},
        {"the Spear", spear, 1, 74, {.kind = Static, .bonus = Bonus::Spear}},
        {"past Wolfenstein 3-D's statics", wolf, 1, 74, {}},
        {"the victory tile", wolf, 1, 99, {.kind = Victory}},
        {"Spear of Destiny's victory tile ends nothing", spear, 1, 99, {}},
        {"a standing dog is never placed and spoils the actor before it", wolf, 1, 134, {.spoils = true}},
        {"nor in Spear of Destiny", spear, 1, 171, {.spoils = true}},
        {"an officer patrolling south from level 4", wolf, 1, 195,
         {.kind = Actor, .facing = Facing::South, .skill = 4, .patrol = true, .kill = true, .enemy = Enemy::Officer}},
        {"the shareware draws no officer", shareware, 1, 195,
         {.kind = Actor, .facing = Facing::South, .skill = 4, .patrol = true, .kill = true}},
        {"a decorated wall of the grey stone family", wolf, 0, 3, {.kind = Wall, .theme = 1, .decorated = true}},
        {"Spear of Destiny's walls make no family", spear, 0, 1, {.kind = Wall}},
        {"first aid gives 25 health", wolf, 1, 48, {.kind = Static, .bonus = Bonus::Health, .value = 25}},
        {"the ceiling light", wolf, 1, 37, {.kind = Static, .light = true}},
        {"a potted plant decorates a room", wolf, 1, 34, {.kind = Static, .blocks = true, .decor = true}},
        {"Hans Grosse drops the gold key", wolf, 1, 214, {.kind = Boss, .key = 1, .ambush = true, .kill = true}},
        {"Otto Giftmacher's death ends the level", wolf, 1, 215,
         {.kind = Boss, .ambush = true, .kill = true, .endsLevel = true}},
        {"the Death Knight drops the gold key", spear, 1, 161, {.kind = Boss, .key = 1, .ambush = true, .kill = true}},
        {"the dead guard stops push walls", spear, 1, 124, {.kind = Corpse, .blocks = true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.rules.Meaning(c.plane, c.word), c.expected);
    }
    // A word no rule lists is one the engine places nothing for; one listed as nothing it reads otherwise.
    EXPECT_TRUE(spear.Listed(1, 99) && wolf.Listed(1, 134) && wolf.Listed(0, 1));
    EXPECT_FALSE(wolf.Listed(1, 106) || spear.Listed(1, 224) || wolf.Listed(1, 0) || wolf.Listed(7, 1));
    EXPECT_TRUE(wolf.KeyExists(1) && wolf.KeyExists(2) && spear.KeyExists(2));
    EXPECT_EQ(wolf.Themes(),
              (std::vector<std::string>{"grey-stone", "blue-stone", "wood", "steel", "red-brick", "purple-stone"}));
    EXPECT_FALSE(wolf.KeyExists(3) || spear.KeyExists(4));
}

TEST(EngineRules, StandingActorsOnTheAmbushFloorAndEveryBossAreDeaf)
{
    const EngineRules wolf = ShippedRules("WL6");
    const WordMeaning& ambush = wolf.Tile(106);
    const WordMeaning& floor = wolf.Tile(108);
    EXPECT_TRUE(IsAmbush(wolf.Object(108), ambush));   // a standing guard
    EXPECT_FALSE(IsAmbush(wolf.Object(108), floor));
    EXPECT_FALSE(IsAmbush(wolf.Object(112), ambush));  // a patrol: SpawnPatrol looks at no floor
    EXPECT_TRUE(IsAmbush(wolf.Object(214), floor));    // Hans Grosse
    EXPECT_FALSE(IsAmbush(wolf.Object(124), ambush));  // the dead guard is no actor
}

TEST(StructureRules, AStructureWithoutRulesGetsNoAnalysisUntilItTakesAShippedOnesRules)
{
    TempDir dir;
    const fs::path root = dir / "MapDefs";
    fs::copy(SourceDir() / "data" / "MapDefs", root, fs::copy_options::recursive);
    const std::vector<std::string> shipped = {"SD2", "SD3", "SDM", "SOD", "WL1", "WL3", "WL6"};
    EXPECT_EQ(StructuresWithRules(root), shipped);

    const StructureSettings chosen{.Compression = 1, .RLEWTag = 0xABCD, .NearTag = 0xA7, .FarTag = 0xA8};
    ASSERT_FALSE(CreateFromScratch(root, "CO7", "", chosen, 3));
    ASSERT_FALSE(CreateFromExisting(root, "WL6", "MOD", "", chosen, 3));
    EXPECT_EQ(StructuresWithRules(root).size(), shipped.size() + 1); // the copy carries them

    const fs::path folder = StructureFolder(root, "CO7", "");
    IniFile settings(StructureSettingsPath(root, "CO7", ""));
    SymbolTables symbols;
    ASSERT_FALSE(symbols.LoadMapSymbols(folder, settings, 3));
    const RulesLoad without = LoadEngineRules(folder, settings, symbols);
    EXPECT_EQ(without.Status, RulesStatus::NotConfigured);
    ASSERT_TRUE(without.Rules);
    EXPECT_FALSE(without.Rules->FromEngine());
    EXPECT_EQ(NoRulesQuestion("CO7"),
              "The map definition structure \"CO7\" has no rules of play, so Tesselar cannot tell whether its "
              "levels can be finished.\nTake the rules of a shipped structure (Wolfenstein 3-D or Spear of Destiny)?");
    EXPECT_EQ(NoRulesNote("CO7"), "No analysis: the map definition structure \"CO7\" has no rules of play.");

    const auto refused = TakeRules(root, "CO7", folder, settings);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, "The map definition structure \"CO7\" has no rules of play to take.");

    ASSERT_FALSE(TakeRules(root, "SOD", folder, settings));
    EXPECT_EQ(RulesTakenText("CO7", "SOD"), "The map definition structure \"CO7\" now plays by the rules of \"SOD\".");
    const RulesLoad taken = LoadEngineRules(folder, IniFile(settings.Path()), symbols);
    EXPECT_EQ(taken.Status, RulesStatus::Loaded);
    EXPECT_TRUE(taken.Rules->FromEngine());
    EXPECT_EQ(taken.Rules->MapSize(), 64);
    EXPECT_EQ(taken.Rules->Object(74).bonus, Bonus::Spear);
    // The level flow comes with the rules.
    const FlowLoad flow = LoadLevelFlow(folder, IniFile(settings.Path()));
    ASSERT_EQ(flow.Status, FlowStatus::Loaded) << flow.Problem.text;
    EXPECT_EQ(flow.Flow->Destination(4, ExitKind::SecretElevator), 19);
}
