// The map definition structures shipped in data/MapDefs: they load, their
// values are unique per plane, and they draw every map of the sample game
// and of the real games beside the repository.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "editor/render/MapRenderer.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

const fs::path kShipped = SourceDir() / "data" / "MapDefs";

// A copy of the shipped folder, since loading may complete files in place.
struct ShippedCopy {
    TempDir dir;
    ShippedCopy() { fs::copy(kShipped, dir / "MapDefs", fs::copy_options::recursive); }
    fs::path root() const { return dir / "MapDefs"; }
};

SymbolTables LoadTables(const fs::path& root, const std::string& structure, int planes)
{
    IniFile settings(StructureSettingsPathByName(root, structure));
    SymbolTables tables;
    auto failure = tables.LoadMapSymbols(StructureFolderByName(root, structure), settings, planes);
    EXPECT_FALSE(failure) << structure << ": " << (failure ? failure->text : "");
    return tables;
}

// Renders every map of the set with the structure's symbols and checks that
// each shows something and that every word of its first two planes has a symbol.
void DrawEveryMap(const MapHandler& set, const fs::path& root, const std::string& structure)
{
    const SymbolTables tables = LoadTables(root, structure, set.NumPlanes);
    const auto display = ReadPlaneDisplay(IniFile(StructureSettingsPathByName(root, structure)), set.NumPlanes);
    for (const MapList& map : set.Maps) {
        Image view;
        RedrawMap(view, map, tables, display, kIntMode);
        ASSERT_EQ(view.width, map.Width * 8);
        ASSERT_EQ(view.height, map.Height * 8);
        std::set<std::uint32_t> colours(view.pixels.begin(), view.pixels.end());
        EXPECT_GT(colours.size(), 4u) << MapNameText(map.Name);
        for (int p = 0; p < 2; ++p)
            for (std::uint16_t word : map.Planes[static_cast<std::size_t>(p)])
                ASSERT_TRUE(tables.FindSymbol(p, word))
                    << structure << " " << MapNameText(map.Name) << " plane " << p << " value " << word;
    }
}

} // namespace

TEST(ShippedStructures, EveryOneLoadsWholeWithUniqueValuesAndWL6DrawsTheSampleGame)
{
    ShippedCopy copy;
    const auto names = ListStructures(copy.root());
    EXPECT_EQ(names, (std::vector<std::string>{"SD2", "SD3", "SDM", "SOD", "WL1", "WL3", "WL6"}));
    for (const std::string& name : names) {
        IniFile settings(StructureSettingsPathByName(copy.root(), name));
        const StructureSettings s = ReadStructureSettings(settings);
        EXPECT_EQ(std::tie(s.NumPlanes, s.Compression, s.RLEWTag), std::make_tuple(3, 1, 0xABCD)) << name;
        const SymbolTables tables = LoadTables(copy.root(), name, s.NumPlanes);
        ASSERT_TRUE(tables.Loaded()) << name;
        for (int p = 0; p < 3; ++p) {
            std::set<int> values;
            for (const MapSymbols& symbol : tables.PlaneSymbols(p))
                EXPECT_TRUE(values.insert(symbol.Value).second) << name << " plane " << p << " value " << symbol.Value;
            EXPECT_EQ(tables.PlaneSymbols(p).front().Value, 0) << name;
            EXPECT_NE(PlaneName(settings, p), "Unknown Plane") << name;
        }
        // Floor types are the area codes and nothing else; every built-in type is there.
        for (const MapSymbols& symbol : tables.PlaneSymbols(0)) {
            const bool area = symbol.Value >= 108 && symbol.Value <= 143;
            EXPECT_EQ(symbol.SymbolType == "f", area) << name << " " << symbol.Value;
        }
        for (const auto& builtIn : kBuiltInSymbolTypes)
            EXPECT_TRUE(std::any_of(tables.SymbolTypes().begin(), tables.SymbolTypes().end(),
                                    [&](const MapSymbolTypes& t) { return t.TypeID == builtIn.id; }))
                << name << " " << builtIn.id;
    }
    // WL6 draws every map of the sample game.
    DrawEveryMap(LoadSet(SampleGameDir()), copy.root(), "WL6");
    // Loading completed nothing: the shipped files are already whole.
    for (const std::string& name : names)
        for (const std::string& file : ListDirectory(kShipped / name))
            EXPECT_EQ(ReadFile(copy.root() / name / file), ReadFile(kShipped / name / file)) << name << "/" << file;
}

TEST(ShippedStructures, HaveASymbolForEveryWordOfTheRealGames)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    ShippedCopy copy;
    for (const fs::path& dir : sets) {
        const MapHandler set = LoadSet(dir);
        ASSERT_TRUE(StructureExists(copy.root(), set.Extension, set.HeaderExecutable)) << dir;
        DrawEveryMap(set, copy.root(), StructureName(set.Extension, set.HeaderExecutable));
    }
}
