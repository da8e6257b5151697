// The palette groups every plane's symbols by what the rules of play say
// they are, and by their symbol type where the rules say nothing.

#include "RulesTestUtil.h"
#include "TestUtil.h"
#include "editor/tools/SymbolPalette.h"
#include "symbols/SymbolTables.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// The group that holds symbol `value` of `plane`, or "".
std::string GroupOf(const std::vector<PaletteGroup>& palette, const SymbolTables& tables, int plane, int value)
{
    for (const PaletteGroup& group : palette)
        for (const PaletteEntry& entry : group.entries)
            if (entry.plane == plane && tables.PlaneSymbols(plane)[static_cast<std::size_t>(entry.index)].Value == value)
                return group.name;
    return "";
}

} // namespace

TEST(SymbolPalette, GroupsTheShippedWolfensteinSymbolsByTheRulesOfPlay)
{
    const fs::path folder = SourceDir() / "data" / "MapDefs" / "WL1";
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(folder, IniFile(folder / "WL1.ini"), 3, false));
    const std::vector<PaletteGroup> palette = MakePalette(tables, ShippedRules("WL1"));
    struct Case {
        int plane;
        int value;
        const char* group;
    };
    const Case cases[] = {
        {0, 1, "Walls"},
        {0, 21, "Walls"}, // the elevator switch
        {0, 92, "Doors"},
        {0, 108, "Floors"},
        {0, 106, "Markers"}, // the ambush floor
        {0, 107, "Markers"}, // the secret-elevator floor
        {1, 19, "Players"},
        {1, 108, "Standing enemies, all skills"},
        {1, 148, "Patrolling enemies, skill 3 to 4"},
        {1, 184, "Patrolling enemies, skill 4"},
        {1, 134, "Standing enemies, all skills"}, // not in the rules: its type "sg1"
        {1, 214, "Bosses"},
        {1, 52, "Treasure"},
        {1, 43, "Keys"},
        {1, 47, "Weapons, health and ammunition"},
        {1, 24, "Decorations"},
        {1, 124, "Decorations"}, // a dead guard
        {1, 98, "Markers"},
        {1, 92, "Markers"},
        {1, 0, "Other"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GroupOf(palette, tables, c.plane, c.value), c.group) << c.plane << ", " << c.value;

    std::size_t entries = 0;
    for (const PaletteGroup& group : palette)
        entries += group.entries.size();
    EXPECT_EQ(entries, tables.PlaneSymbols(0).size() + tables.PlaneSymbols(1).size() + tables.PlaneSymbols(2).size())
        << "every symbol once";
    EXPECT_EQ(palette.front().name, "Walls");
    EXPECT_EQ(palette.back().name, "Other");
}
