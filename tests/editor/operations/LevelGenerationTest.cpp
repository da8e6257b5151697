// Generated levels by the map check, in a project of the shipped WL6
// structure: no finding on a few hundred seeds, warnings included; a map of
// a size the engine does not play only says so; the level goes into the map
// as one step that Undo takes back.

#include "EditorTestUtil.h"
#include "editor/operations/LevelGeneration.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

LevelGenerationInput InputOf(const Project& project)
{
    LevelGenerationInput input;
    input.rules = project.Rules.Rules.get();
    input.symbols = &project.Symbols;
    input.limits = ReadMapLimits(*project.Settings);
    input.planes = project.Maps().NumPlanes;
    return input;
}

std::vector<MapFinding> Findings(const Project& project, const MapList& map)
{
    return CheckMap(map, project.Symbols, *project.Rules.Rules, ReadMapLimits(*project.Settings),
                    std::vector<bool>(3, true));
}

} // namespace

TEST(LevelGeneration, NoGeneratedLevelHasAFindingOfTheMapCheck)
{
    const OpenedSampleGame sample;
    const LevelGenerationInput input = InputOf(*sample.project);
    for (std::uint32_t seed = 1; seed <= 240; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        GeneratorOptions options;
        options.seed = seed;
        options.keys = static_cast<int>(seed % 3);
        options.secrets = static_cast<int>(seed % 6);
        options.enemies = static_cast<EnemyAmount>(seed % 4);
        const auto level = GenerateMapLevel(input, options);
        ASSERT_TRUE(level) << level.failure().text;
        EXPECT_EQ(Findings(*sample.project, level->map), std::vector<MapFinding>{});
    }
}

TEST(LevelGeneration, AMapOfAnotherSizeOnlyHearsThatTheEnginePlays64By64)
{
    const OpenedSampleGame sample;
    const auto level = GenerateMapLevel(InputOf(*sample.project), GeneratorOptions{.width = 32, .height = 32, .seed = 3});
    ASSERT_TRUE(level) << level.failure().text;
    const std::vector<MapFinding> findings = Findings(*sample.project, level->map);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].Kind, FindingKind::MapSize);
}

TEST(LevelGeneration, TheLevelReplacesTheMapAsOneStepAndKeepsItsNameUnlessOneIsTyped)
{
    TempDir dir;
    MemoryProjectOptions two;
    two.sizes = {{16, 16}, {16, 16}};
    auto session = MemorySession(dir.path(), two);
    const MapList before = session->Maps().Current();
    GeneratedLevel level;
    level.map.Width = 20;
    level.map.Height = 18;
    level.map.Planes.assign(3, std::vector<std::uint16_t>(20 * 18, 7));
    session->PutLevel(level, "");
    EXPECT_EQ(session->Maps().Current().Width, 20);
    EXPECT_EQ(session->Maps().Current().Planes, level.map.Planes);
    EXPECT_EQ(MapNameText(session->Maps().Current().Name), "A");
    ASSERT_TRUE(session->Document().Step(HistoryStep::Undo));
    EXPECT_EQ(session->Maps().Current().Width, before.Width);
    EXPECT_EQ(session->Maps().Current().Planes, before.Planes);
    // A typed name is the map's from then on: no history holds a name.
    session->PutLevel(level, "Generated");
    EXPECT_EQ(MapNameText(session->Maps().Current().Name), "Generated");
    ASSERT_TRUE(session->Document().Step(HistoryStep::Undo));
    EXPECT_EQ(session->Maps().Current().Planes, before.Planes);
}
