// The map exporter's lists: sorted and arrival order, the moves with the
// selection they leave, and the maps the chosen entries stand for.

#include "TestUtil.h"
#include "exchange/MapExporter.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using Names = std::vector<std::string>;

MapHandler SetOf(const Names& names, int nameLength = 16)
{
    MapHandler set;
    set.NumPlanes = 1;
    set.NameLength = nameLength;
    for (const std::string& name : names)
        set.AddMap(set.CreateMap(2, 2, name));
    return set;
}

Names TextsOf(const std::vector<ExporterEntry>& entries)
{
    Names texts;
    for (const ExporterEntry& entry : entries)
        texts.push_back(entry.Text);
    return texts;
}

} // namespace

TEST(MapExporterLists, MovesEntriesAndSelectsAsTheDialogDoes)
{
    enum Op { Right, Left, AllRight, AllLeft };
    struct Step {
        Op op;
        std::vector<int> rows;
        Names available, toExport;
        int select;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Names start = {"b", "C", "D", "E"};
    const std::vector<Case> cases = {
        {"C, D and E together arrive reversed", {{Right, {1, 2, 3}, {"b"}, {"E", "D", "C"}, 0}}},
        {"back they sort into place",
         {{Right, {1, 2, 3}, {"b"}, {"E", "D", "C"}, 0}, {Left, {0, 2}, {"b", "C", "E"}, {"D"}, 0}}},
        {"the entry at the first selected place", {{Right, {1}, {"b", "D", "E"}, {"C"}, 1}}},
        {"the last when that place is past the end", {{Right, {3}, {"b", "C", "D"}, {"E"}, 2}}},
        {"the first when nothing was selected", {{Right, {}, start, {}, 0}}},
        {"all over in the set's order, back sorted",
         {{AllRight, {}, {}, {"E", "C", "b", "D"}, -1}, {AllLeft, {}, start, {}, -1}}},
        {"one by one keeps arrival order",
         {{Right, {3}, {"b", "C", "D"}, {"E"}, 2}, {Right, {0}, {"C", "D"}, {"E", "b"}, 0}}},
        {"emptied by a move", {{AllRight, {}, {}, {"E", "C", "b", "D"}, -1}, {Left, {0, 1, 2, 3}, start, {}, -1}}},
    };
    for (const Case& c : cases) {
        MapExporterLists lists(SetOf({"E", "C", "b", "D"}));
        EXPECT_EQ(TextsOf(lists.Available()), start);
        for (const Step& s : c.steps) {
            int select = -1;
            switch (s.op) {
            case Right: select = lists.MoveToExport(s.rows); break;
            case Left: select = lists.MoveToAvailable(s.rows); break;
            case AllRight: lists.MoveAllToExport(); break;
            case AllLeft: lists.MoveAllToAvailable(); break;
            }
            EXPECT_EQ(TextsOf(lists.Available()), s.available) << c.name;
            EXPECT_EQ(TextsOf(lists.ToExport()), s.toExport) << c.name;
            if (s.op == Right || s.op == Left) {
                EXPECT_EQ(select, s.select) << c.name;
            }
            EXPECT_EQ(lists.CanMoveToExport(), !s.available.empty()) << c.name;
            EXPECT_EQ(lists.CanMoveToAvailable(), !s.toExport.empty()) << c.name;
        }
    }
}

TEST(MapExporterLists, EachEntryExportsTheMapItWasMadeFrom)
{
    // Two maps of one name ("New map" is common) are two entries.
    MapHandler set = SetOf({"Twin", "Other", "Twin", "A name of sixteen+"});
    set.CurrentMap = 1;
    MapExporterLists lists(set);
    EXPECT_EQ(lists.Available(), (std::vector<ExporterEntry>{{3, "A name of sixte"}, {1, "Other"}, {0, "Twin"},
                                                             {2, "Twin"}}));
    lists.MoveToExport({3}); // the second "Twin"
    lists.MoveToExport({0});
    EXPECT_EQ(MapsToExport(lists.ChosenMaps(), set), (std::vector<int>{2, 3}));
    lists.MoveAllToAvailable();
    lists.MoveAllToExport(); // each map once, in the set's order
    EXPECT_EQ(MapsToExport(lists.ChosenMaps(), set), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(MapsToExport({}, set), (std::vector<int>{1})); // the current map alone
}
