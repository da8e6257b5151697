// Facing objects: the groups of the structure settings, and how their words
// turn when a map, or a block being pasted, is turned or mirrored.

#include "EditorTestUtil.h"
#include "core/TextFile.h"
#include "editor/operations/MapOperations.h"
#include "symbols/SymbolFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace tsl;
using namespace tsl::test;

namespace {

using Words = std::vector<std::uint16_t>;
constexpr auto kAllTransforms = {MapTransform::Rotate90, MapTransform::Rotate180, MapTransform::Rotate270,
                                 MapTransform::FlipHorizontal, MapTransform::FlipVertical};

// Where each direction points after a transform, with north at the top of
// the map: targets of e, ne, n, nw, w, sw, s, se in that order.
std::vector<std::string> Turned(MapTransform transform)
{
    switch (transform) {
    case MapTransform::Rotate90: return {"s", "se", "e", "ne", "n", "nw", "w", "sw"};
    case MapTransform::Rotate180: return {"w", "sw", "s", "se", "e", "ne", "n", "nw"};
    case MapTransform::Rotate270: return {"n", "nw", "w", "sw", "s", "se", "e", "ne"};
    case MapTransform::FlipHorizontal: return {"w", "nw", "n", "ne", "e", "se", "s", "sw"};
    case MapTransform::FlipVertical: return {"e", "se", "s", "sw", "w", "nw", "n", "ne"};
    }
    return {};
}

FacingGroups ShippedGroups(const std::string& structure)
{
    return ReadFacingGroups(IniFile(SourceDir() / "data" / "MapDefs" / structure / (structure + ".ini")));
}

std::optional<FacingGroup> Group(int plane, std::map<int, std::uint16_t> words)
{
    FacingGroup group{plane, {}};
    for (auto [direction, word] : words)
        group.Words[static_cast<std::size_t>(direction)] = word;
    return group;
}

// Three columns, two rows. Plane 0 holds walls and two doors: 90 in a
// vertical wall line, 93 in a horizontal one. Plane 1 holds a player start
// facing north (19) at the top left, a guard facing east (108) at the top
// right, a turning point north-east (91) below it and a barrel (58), which
// faces nowhere.
MapList FacingMap()
{
    return GridMap(3, 2, {{1, 90, 3, 4, 5, 93}, {19, 0, 108, 0, 58, 91}});
}

} // namespace

TEST(FacingGroups, EntriesReadAsWrittenAndOthersArePassedOver)
{
    const std::pair<const char*, std::optional<FacingGroup>> cases[] = {
        {"1,19,n e s w", Group(1, {{2, 19}, {0, 20}, {6, 21}, {4, 22}})},
        {" 0 , 300 310 ,  w e ", Group(0, {{4, 300}, {0, 310}})},
        {"2,65534,e n", Group(2, {{0, 65534}, {2, 65535}})},
        {"1,65535,e n", std::nullopt},  // the second word would be past 65535
        {"1,19,n n", std::nullopt},     // a direction twice
        {"1,19 20,n e s", std::nullopt}, // lists that do not match
        {"x,19,up", std::nullopt},
    };
    for (const auto& [text, group] : cases)
        EXPECT_EQ(ParseFacingGroup(text), group) << text;

    TempDir dir;
    IniFile settings(dir / "MOD.ini");
    EXPECT_TRUE(ReadFacingGroups(settings).empty());
    settings.WriteString("Facing", "Tank", "1,300 310,e w");
    settings.WriteString("Facing", "Broken", "1,19");
    settings.WriteString("Facing", "Start", "1,19,n e s w");
    EXPECT_EQ(ReadFacingGroups(settings), (FacingGroups{*Group(1, {{0, 300}, {4, 310}}), *cases[0].second}));
}

// Every word of every shipped group, through every transform, becomes the
// word of the same object (its symbol's name but for the direction) facing
// the turned direction, as the symbol files give each word's direction.
TEST(FacingObjects, EveryShippedGroupTurnsWithTheMap)
{
    const std::map<std::string, std::string> directionWords = {
        {"e", "East"}, {"ne", "Northeast"}, {"n", "North"}, {"nw", "Northwest"},
        {"w", "West"}, {"sw", "Southwest"}, {"s", "South"}, {"se", "Southeast"}};
    const std::vector<std::string> codes = {"e", "ne", "n", "nw", "w", "sw", "s", "se"};
    for (const std::string structure : {"WL6", "SOD"}) {
        SCOPED_TRACE(structure);
        const FacingGroups groups = ShippedGroups(structure);
        ASSERT_EQ(groups.size(), 32u + 6u); // and six kinds of door, turned in the next test
        // Plane 1's facing words: the object (the name without its direction) and the direction.
        std::map<std::uint16_t, std::pair<std::string, std::string>> facing;
        const auto symbols = ReadTextFile(SourceDir() / "data" / "MapDefs" / structure / "plane2.txt");
        for (const std::string& line : SplitLines(*symbols)) {
            const auto fields = SplitFields(line);
            if (fields[4] == "0")
                continue;
            std::string object = fields[1];
            object.replace(object.find(directionWords.at(fields[4])), directionWords.at(fields[4]).size(), "");
            facing[static_cast<std::uint16_t>(std::stoi(fields[0]))] = {object, fields[4]};
        }
        ASSERT_EQ(facing.size(), 4u + 8u + 30u * 4u);
        for (MapTransform t : kAllTransforms) {
            SCOPED_TRACE(static_cast<int>(t));
            for (const auto& [word, what] : facing) {
                PlaneSet planes = {{}, {word}};
                TurnFacingObjects(planes, groups, t);
                const auto& turned = facing.at(planes[1][0]);
                EXPECT_EQ(turned.first, what.first) << word;
                const auto d = std::find(codes.begin(), codes.end(), what.second) - codes.begin();
                EXPECT_EQ(turned.second, Turned(t)[static_cast<std::size_t>(d)]) << word;
            }
        }
    }
}

TEST(FacingObjects, TurnWhereTheirTilesGoAndComeBackAfterFourQuarterTurns)
{
    const FacingGroups groups = ShippedGroups("WL6");
    MapList map = FacingMap();
    TransformMap(map, MapTransform::Rotate90, groups);
    // North at the top of the map: the start now faces east, the guard south,
    // the turning point south-east; the doors stand in the other wall lines.
    EXPECT_EQ(map.Planes[0], (Words{4, 1, 5, 91, 92, 3}));
    EXPECT_EQ(map.Planes[1], (Words{0, 20, 58, 0, 97, 111}));
    for (int i = 0; i < 3; ++i)
        TransformMap(map, MapTransform::Rotate90, groups);
    EXPECT_EQ(map.Planes, FacingMap().Planes);

    // A structure without groups, or the words kept: only the tiles move.
    for (const auto& [facing, turn] : {std::pair{FacingGroups{}, true}, std::pair{groups, false}}) {
        MapList kept = FacingMap();
        TransformMap(kept, MapTransform::FlipHorizontal, facing, turn);
        EXPECT_EQ(kept.Planes[1], (Words{108, 0, 19, 91, 58, 0}));
    }

    // A block being pasted turns its objects as a map does.
    CP_Manager buffer;
    buffer.Reset(2, 3, 2);
    buffer.Planes = FacingMap().Planes;
    buffer.X2 = 3, buffer.Y2 = 2;
    TransformPasteBuffer(buffer, MapTransform::FlipVertical, groups);
    EXPECT_EQ(buffer.Planes[0], (Words{4, 5, 93, 1, 90, 3}));
    EXPECT_EQ(buffer.Planes[1], (Words{0, 58, 97, 21, 0, 108}));
}
