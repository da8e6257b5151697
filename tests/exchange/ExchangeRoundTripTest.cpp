// Maps through every format and back, where imported maps go in the set, and
// export and import with tesselar-cli on the sample game (the real games go
// through every format in RealGamesImportTest).

#include "ExchangeTestSupport.h"
#include "exchange/ImportMaps.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace tsl;
using namespace tsl::test;

namespace {

std::vector<int> AllMaps(const MapHandler& set)
{
    std::vector<int> maps(static_cast<std::size_t>(set.NumMaps()));
    std::iota(maps.begin(), maps.end(), 0);
    return maps;
}

// What a map looks like after a trip through `format`: the 64 x 64 formats
// keep the top-left 64 x 64 cells; FloEdit and MapEdit keep planes 0 and 1
// and lose the name; ChaosEdit keeps at most three planes, or two from four.
MapList Expected(const MapList& map, ExchangeFormat format, int planes)
{
    if (format == ExchangeFormat::TSL || format == ExchangeFormat::WDC)
        return map;
    MapList out = map;
    out.Width = out.Height = 64;
    std::size_t kept = static_cast<std::size_t>(planes);
    if (format == ExchangeFormat::ChaosEdit) {
        kept = planes <= 3 ? kept : 2;
    } else {
        kept = std::min<std::size_t>(kept, 2);
        out.Name = MakeNameBuffer("New map", map.Name.size());
    }
    for (std::size_t p = 0; p < out.Planes.size(); ++p) {
        out.Planes[p].assign(64 * 64, 0);
        for (int y = 0; y < std::min<int>(64, map.Height); ++y)
            for (int x = 0; x < std::min<int>(64, map.Width); ++x)
                if (p < kept)
                    out.SetWord(p, x, y, map.Word(p, x, y));
    }
    return out;
}

void ExpectSameMap(const MapList& expected, const ExchangeMap& actual, const std::string& where)
{
    ASSERT_EQ(actual.Width, expected.Width) << where;
    ASSERT_EQ(actual.Height, expected.Height) << where;
    EXPECT_EQ(MapNameText(actual.Name), MapNameText(expected.Name)) << where;
    ASSERT_EQ(actual.Planes.size(), expected.Planes.size()) << where;
    for (std::size_t p = 0; p < expected.Planes.size(); ++p)
        ASSERT_TRUE(actual.Planes[p] == expected.Planes[p]) << where << " plane " << p;
}

void ExpectSameMap(const MapList& expected, const MapList& actual, const std::string& where)
{
    ExpectSameMap(expected, ExchangeMap{actual.Width, actual.Height, actual.Name, actual.Planes}, where);
}

ExchangeMap Named(const std::string& name, std::uint16_t word)
{
    ExchangeMap map;
    map.Width = 3;
    map.Height = 2;
    map.Name = MakeNameBuffer(name, 16);
    map.Planes.assign(2, std::vector<std::uint16_t>(6, word));
    return map;
}

std::vector<std::string> Names(const MapHandler& set)
{
    std::vector<std::string> names;
    for (const MapList& map : set.Maps)
        names.push_back(MapNameText(map.Name));
    return names;
}

} // namespace

TEST(ExchangeRoundTrip, EveryFormatGivesBackWhatItCanHold)
{
    std::mt19937 random(7);
    for (int planes : {1, 2, 3, 4, 5}) {
        for (int nameLength : {16, 32}) {
            MapHandler set = PatternSet(planes, nameLength);
            AddRandomMap(set, random, 64, 64, "Square");
            AddRandomMap(set, random, 1, 1, "Dot");
            AddRandomMap(set, random, 17, 200, "A name that is longer than sixteen");
            AddRandomMap(set, random, 256, 256, "Largest");
            AddRandomMap(set, random, 100, 30, "");
            for (ExchangeFormat format : {ExchangeFormat::TSL, ExchangeFormat::WDC, ExchangeFormat::FloEdit,
                                          ExchangeFormat::ChaosEdit, ExchangeFormat::MapEdit}) {
                const bool single = format == ExchangeFormat::ChaosEdit || format == ExchangeFormat::MapEdit;
                std::vector<std::vector<int>> lists;
                if (single)
                    lists = {{0}, {1}, {2}, {3}, {4}};
                else
                    lists = {AllMaps(set), {3, 0, 0}};
                for (const std::vector<int>& list : lists) {
                    const std::string where = ExchangeFormatName(format) + ", " + std::to_string(planes) +
                                              " planes, names " + std::to_string(nameLength);
                    const Bytes file = WrittenBytes(format, list, set);
                    const auto read = ReadExchangeFile(file, planes, nameLength);
                    ASSERT_TRUE(read) << where << ": " << read.failure().text;
                    EXPECT_EQ(read->Header.Format, format) << where;
                    ASSERT_EQ(read->Maps.size(), list.size()) << where;
                    for (std::size_t i = 0; i < list.size(); ++i) {
                        const MapList& map = set.Maps[static_cast<std::size_t>(list[i])];
                        ExpectSameMap(Expected(map, format, planes), read->Maps[i],
                                      where + ", map " + std::to_string(list[i]));
                    }
                }
            }
        }
    }
}

TEST(ExchangeImport, ImportedMapsGoWhereAddMapPutsANewMap)
{
    // The current map is the last one: the maps follow it in file order.
    MapHandler set = PatternSet(2);
    for (const char* name : {"A", "B", "C"})
        AddPatternMap(set, 4, 4, name);
    set.CurrentMap = 2;
    const std::vector<ExchangeMap> xyz = {Named("X", 7), Named("Y", 7), Named("Z", 7)};
    EXPECT_EQ(InsertExchangeMaps(set, xyz), 3);
    EXPECT_EQ(Names(set), (std::vector<std::string>{"A", "B", "C", "X", "Y", "Z"}));
    EXPECT_EQ(set.CurrentMap, 5);

    // Another map is current: each new map takes its place, so that they end
    // up in front of it in reverse file order; the last one read is current.
    set = PatternSet(2);
    for (const char* name : {"A", "B", "C"})
        AddPatternMap(set, 4, 4, name);
    set.CurrentMap = 1;
    EXPECT_EQ(InsertExchangeMaps(set, xyz), 1);
    EXPECT_EQ(Names(set), (std::vector<std::string>{"A", "Z", "Y", "X", "B", "C"}));
    EXPECT_EQ(set.CurrentMap, 1);
    ASSERT_EQ(set.Headers.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(set.Maps[i].Index, static_cast<int>(i));
        EXPECT_EQ(MapNameText(set.Headers[i].Name), Names(set)[i]);
    }

    // A new map record (made as CreateMap makes one) with the read words.
    EXPECT_EQ(set.Maps[1].Planes, std::vector<std::vector<std::uint16_t>>(2, std::vector<std::uint16_t>(6, 7)));
    EXPECT_EQ(set.Headers[1].Width, 3);
    EXPECT_EQ(set.Headers[1].Height, 2);

    // Into a set without maps: in file order.
    MapHandler empty = PatternSet(2);
    EXPECT_EQ(InsertExchangeMaps(empty, xyz), 0);
    EXPECT_EQ(Names(empty), (std::vector<std::string>{"X", "Y", "Z"}));
    EXPECT_EQ(empty.CurrentMap, 2);

    // A name that fills its whole field keeps its last byte.
    ExchangeMap full = Named("", 1);
    const std::string sixteen = "Sixteen \xE9 bytes!";
    full.Name.assign(sixteen.begin(), sixteen.end());
    InsertExchangeMaps(empty, {full});
    EXPECT_EQ(MapNameText(empty.Maps.back().Name), sixteen);
}

TEST(ExchangeCli, ExportThenImportGivesTheSampleGamesMapsBackWordForWord)
{
    TempDir dir;
    const fs::path game = dir / "game";
    fs::copy(SampleGameDir(), game);
    const MapHandler original = LoadSet(game);
    ASSERT_EQ(original.NumMaps(), 7);
    // Maps 1 to 4 and 7 are 64 x 64; map 5 is 40 x 28 and map 6 is 128 x 96.
    const std::vector<int> square{0, 1, 2, 3, 6};

    struct Case {
        std::string file;
        std::vector<std::string> options;
        std::vector<int> maps;
        ExchangeFormat format;
    };
    const Case cases[] = {
        // The formats themselves are ExchangeRoundTrip's: here the choice by
        // extension and option, the map lists, and the set after an import.
        {"all.map", {}, AllMaps(original), ExchangeFormat::WDC},
        {"some.lvl", {"--maps", "1-4,7"}, square, ExchangeFormat::FloEdit},
        {"three.tsl", {"--maps", "6,3,3"}, {5, 2, 2}, ExchangeFormat::TSL},
        {"first.flr", {}, {0}, ExchangeFormat::MapEdit},
        {"seventh.map", {"--chaosedit", "--maps=7"}, {6}, ExchangeFormat::ChaosEdit},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"export", game.string(), (dir / c.file).string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliResult exported = RunCli(args);
        ASSERT_EQ(exported.status, 0) << c.file << ": " << exported.err;
        EXPECT_NE(exported.out.find("Exported " + std::to_string(c.maps.size())), std::string::npos) << exported.out;
        EXPECT_EQ(exported.err, "") << "no note for maps the format holds whole";

        TempDir copyDir;
        const fs::path copy = copyDir / "game";
        fs::copy(SampleGameDir(), copy);
        const CliResult imported = RunCli({"import", copy.string(), (dir / c.file).string()});
        ASSERT_EQ(imported.status, 0) << c.file << ": " << imported.err;

        // The game's own maps stay in front; the imported ones follow in file order.
        const MapHandler after = LoadSet(copy);
        ASSERT_EQ(after.NumMaps(), 7 + static_cast<int>(c.maps.size())) << c.file;
        for (std::size_t i = 0; i < 7; ++i)
            ExpectSameMap(original.Maps[i], after.Maps[i], c.file + ", own map " + std::to_string(i));
        for (std::size_t i = 0; i < c.maps.size(); ++i) {
            // Only FloEdit and MapEdit lose something here: plane 2 and the name.
            const MapList expected = Expected(original.Maps[static_cast<std::size_t>(c.maps[i])], c.format, 3);
            ExpectSameMap(expected, after.Maps[7 + i], c.file + ", imported map " + std::to_string(i));
        }
    }
}

TEST(ExchangeCli, ImportAtAMapAndTheCommandsMessages)
{
    TempDir dir;
    const fs::path game = dir / "game";
    fs::copy(SampleGameDir(), game);
    const MapHandler original = LoadSet(game);

    ASSERT_EQ(RunCli({"export", game.string(), (dir / "two.tsl").string(), "--maps", "1,2"}).status, 0);
    CliResult result = RunCli({"import", game.string(), (dir / "two.tsl").string(), "--at", "3"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Imported 2 maps from the TSL map file " + (dir / "two.tsl").string() +
                              " as maps 3 to 4; the set now has 9 maps. Maps saved!\n");
    const MapHandler after = LoadSet(game);
    EXPECT_EQ(Names(after), (std::vector<std::string>{"Gatehouse", "Cell Block", "Cell Block", "Gatehouse",
                                                      "Officers Wing", "Red Halls", "Bunker", "Catacombs",
                                                      "Boss Keep"}));
    ExpectSameMap(original.Maps[1], after.Maps[2], "imported map 2");
    ExpectSameMap(original.Maps[0], after.Maps[3], "imported map 1");

    // Export: an unknown extension writes nothing; the map list is checked.
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } failures[] = {
        {{"export", game.string(), (dir / "x.TSL").string()}, 1, "Error exporting map: Unknown map file format!\n"},
        {{"export", game.string(), (dir / "x.tsl").string(), "--maps", "2,10"}, 2,
         "There is no map 10: the set has 9 maps.\n"},
        {{"import", game.string(), (dir / "two.tsl").string(), "--at", "10"}, 2,
         "--at needs the number of a map of the set, from 1 to 9.\n"},
    };
    const auto before = Snapshot(dir.path());
    for (const auto& f : failures) {
        result = RunCli(f.args);
        EXPECT_EQ(result.status, f.status) << f.args[2];
        EXPECT_EQ(result.err, f.err) << f.args[2];
    }
    EXPECT_EQ(Snapshot(dir.path()), before);

    // Maps that the 64 x 64 formats cannot hold whole are pointed out.
    result = RunCli({"export", game.string(), (dir / "odd.lvl").string(), "--maps", "7-8"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "Note: map 7 is 40 x 28; the FloEdit level file holds it as 64 x 64 (cut, or filled "
                          "with 0).\nNote: map 8 is 128 x 96; the FloEdit level file holds it as 64 x 64 (cut, or "
                          "filled with 0).\n");

    // A set without maps: --at has none to name, and one map is "1 map".
    const std::string one = (dir / "one.tsl").string();
    ASSERT_EQ(RunCli({"export", game.string(), one, "--maps", "1"}).status, 0);
    MapHandler none = LoadSet(game);
    none.Maps.clear();
    none.Headers.clear();
    ASSERT_FALSE(none.Save());
    result = RunCli({"import", game.string(), one, "--at", "1"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "--at needs the number of a map of the set, but the set has no maps.\n");
    result = RunCli({"import", game.string(), one});
    EXPECT_EQ(result.out, "Imported 1 map from the TSL map file " + one +
                              " as map 1; the set now has 1 map. Maps saved!\n") << result.err;
}
