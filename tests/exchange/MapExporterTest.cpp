// The map exporter's lists: sorted and arrival order, the moves with the
// selection they leave, and which maps the chosen entries stand for.

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
        {"all over, first to last", {{AllRight, {}, {}, start, -1}, {AllLeft, {}, start, {}, -1}}},
        {"one by one keeps arrival order",
         {{Right, {3}, {"b", "C", "D"}, {"E"}, 2}, {Right, {0}, {"C", "D"}, {"E", "b"}, 0}}},
        {"emptied by a move", {{AllRight, {}, {}, start, -1}, {Left, {0, 1, 2, 3}, start, {}, -1}}},
    };
    for (const Case& c : cases) {
        MapExporterLists lists(SetOf({"E", "C", "b", "D"}));
        EXPECT_EQ(lists.Available(), start);
        for (const Step& s : c.steps) {
            int select = -1;
            switch (s.op) {
            case Right: select = lists.MoveToExport(s.rows); break;
            case Left: select = lists.MoveToAvailable(s.rows); break;
            case AllRight: lists.MoveAllToExport(); break;
            case AllLeft: lists.MoveAllToAvailable(); break;
            }
            EXPECT_EQ(lists.Available(), s.available) << c.name;
            EXPECT_EQ(lists.ToExport(), s.toExport) << c.name;
            if (s.op == Right || s.op == Left) {
                EXPECT_EQ(select, s.select) << c.name;
            }
            EXPECT_EQ(lists.CanMoveToExport(), !s.available.empty()) << c.name;
            EXPECT_EQ(lists.CanMoveToAvailable(), !s.toExport.empty()) << c.name;
        }
    }
}

TEST(MapExporterLists, ResolvesEntriesToTheFirstMapOfThatName)
{
    MapHandler set = SetOf({"Twin", "Other", "Twin", "A name of sixteen+"});
    set.CurrentMap = 1;
    MapExporterLists lists(set);
    EXPECT_EQ(lists.Available(), (Names{"A name of sixte", "Other", "Twin", "Twin"}));
    EXPECT_EQ(ResolveExportEntries({"Twin", "A name of sixte", "Twin"}, set), (std::vector<int>{0, 3, 0}));
    EXPECT_EQ(ResolveExportEntries({}, set), (std::vector<int>{1})); // the current map alone
}
