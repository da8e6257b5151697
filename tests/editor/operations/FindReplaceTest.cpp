// Find and replace on the words: symbol lookup, scan order, the step
// through the matches, replacement plans and the messages.

#include "EditorTestUtil.h"
#include "editor/operations/FindReplace.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

using Words = std::vector<std::uint16_t>;

SymbolTables Tables()
{
    return TablesOf({{{0, "ot", "Nothing"}, {5, "w", "Stone"}, {7, "w", "7"}, {9, "d", "Door"}},
                     {{0, "ot", "Nothing"}, {5, "so", "Lamp"}}});
}

// 3 x 2 with the value 5 at (1, 0) and (2, 1).
MapList TwoMatches()
{
    return GridMap(3, 2, {{0, 5, 0, 0, 0, 5}, {5, 5, 5, 5, 5, 5}});
}

FindReplaceState StateFor(const std::string& findWhat, const std::string& replaceWith = "",
                          ReplaceScope scope = ReplaceScope::CurrentMap)
{
    FindReplaceState state;
    state.Fields = {0, findWhat, replaceWith, scope, FindDirection::Forward};
    return state;
}

} // namespace

TEST(FindReplace, LooksSymbolsUpByExactNameOrDecimalValue)
{
    const SymbolTables tables = Tables();
    struct Case {
        int plane;
        const char* text;
        std::optional<std::uint16_t> value;
    };
    const Case cases[] = {
        {0, "Stone", 5}, {0, "stone", std::nullopt}, {0, "5", 5},  {0, "9", 9},
        {0, "7", 7},     // the name "7" and the value 7 are the same symbol
        {0, "6", std::nullopt},                                     // a number no symbol has
        {0, "70000", std::nullopt},                                 // above any map word
        {1, "Lamp", 5},  {1, "Door", std::nullopt}, {2, "0", std::nullopt}, {-1, "0", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LookupSymbol(tables, c.plane, c.text), c.value) << c.plane << " " << c.text;
    EXPECT_EQ(LookupSymbol(SymbolTables(), 0, "0"), std::nullopt); // no planes at all
    std::vector<SymbolEntry> longTable; // searched to its end
    for (int v = 0; v < 300; ++v)
        longTable.push_back({v, "ot", "S" + std::to_string(v)});
    EXPECT_EQ(LookupSymbol(TablesOf({longTable}), 0, "S299"), 299);
}

TEST(FindReplace, FindNextStepsThroughTheMatchesInTheDirectionsOrderAndWraps)
{
    const SymbolTables tables = Tables();
    const MapList map = TwoMatches();
    FindReplaceState state = StateFor("Stone");
    std::vector<FoundMapCorr> shown;
    for (int i = 0; i < 3; ++i) {
        state.Search(FindAction::FindNext, map, tables);
        ASSERT_EQ(state.Marked().size(), 1u);
        shown.push_back(state.Marked()[0]);
    }
    EXPECT_EQ(shown, (std::vector<FoundMapCorr>{{1, 0, 0}, {2, 1, 0}, {1, 0, 0}}));

    // Backward starts at the match nearest the bottom-right corner, and a
    // change of direction starts again at the first.
    state.SetDirection(FindDirection::Backward);
    state.Search(FindAction::FindNext, map, tables);
    EXPECT_EQ(state.Marked(), (std::vector<FoundMapCorr>{{2, 1, 0}}));
    EXPECT_FALSE(state.DirectionChanged);

    state.Search(FindAction::FindAll, map, tables);
    EXPECT_EQ(state.FindIndex, -1);
    EXPECT_EQ(state.Marked(), (std::vector<FoundMapCorr>{{2, 1, 0}, {1, 0, 0}}));

    // F3 goes on from there; without matches it does nothing.
    state.SetDirection(FindDirection::Forward);
    EXPECT_TRUE(state.FindAgain(map, tables));
    EXPECT_EQ(state.Marked(), (std::vector<FoundMapCorr>{{1, 0, 0}}));
    state.Discard();
    EXPECT_FALSE(state.FindAgain(map, tables));
    EXPECT_EQ(state.LastAction, FindAction::None);
}

TEST(FindReplace, ASearchThatFindsNothingSaysSoUnlessCancelledOrReplacing)
{
    const SymbolTables tables = Tables();
    struct Case {
        const char* findWhat;
        MapList map;
        bool message;
    };
    MapList noPlanes = GridMap(3, 2, {});
    MapList shortPlane = GridMap(3, 2, {{0, 5, 0, 0, 0, 5}});
    shortPlane.Planes[0].resize(2);
    const Case cases[] = {
        {"Stone", TwoMatches(), false},
        {"Door", TwoMatches(), true},
        {"6", TwoMatches(), true},
        {"Stone", noPlanes, true},
        {"Stone", shortPlane, true}, // never read past its end
    };
    for (const Case& c : cases) {
        FindReplaceState state = StateFor(c.findWhat);
        state.Search(FindAction::FindAll, c.map, tables);
        EXPECT_EQ(state.NotFoundMessage().has_value(), c.message) << c.findWhat;
    }
    FindReplaceState state = StateFor("Door");
    state.Search(FindAction::FindNext, TwoMatches(), tables);
    const auto message = state.NotFoundMessage();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "The searched value couldn't be found!");
    EXPECT_EQ(message->caption, "Information");
    EXPECT_EQ(message->icon, MessageIcon::Information);
    state.Cancel();
    EXPECT_FALSE(state.NotFoundMessage());
}

TEST(FindReplace, ReplaceTakesOneWordPerMapReplaceAllEveryWordAndAnUnknownReplacementNone)
{
    const SymbolTables tables = Tables();
    MapHandler maps;
    for (int i = 0; i < 3; ++i)
        maps.AddMap(TwoMatches());
    maps.CurrentMap = 1;
    struct Case {
        FindAction action;
        ReplaceScope scope;
        FindDirection direction;
        int count;
        std::vector<int> changedMaps;
        Words map1Plane0;
        const char* replaceWith = "Door";
    };
    const Case cases[] = {
        {FindAction::Replace, ReplaceScope::AllMaps, FindDirection::Forward, 3, {0, 1, 2}, {0, 9, 0, 0, 0, 5}},
        {FindAction::ReplaceAll, ReplaceScope::AllMaps, FindDirection::Forward, 6, {0, 1, 2}, {0, 9, 0, 0, 0, 9}},
        {FindAction::Replace, ReplaceScope::CurrentMap, FindDirection::Backward, 1, {1}, {0, 5, 0, 0, 0, 9}},
        {FindAction::ReplaceAll, ReplaceScope::CurrentMap, FindDirection::Forward, 2, {1}, {0, 9, 0, 0, 0, 9}},
        // A replacement naming no symbol replaces nothing.
        {FindAction::ReplaceAll, ReplaceScope::AllMaps, FindDirection::Forward, 0, {}, {}, "Nonsense"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replaceWith + std::string(" ") + std::to_string(c.count));
        FindReplaceState state = StateFor("5", c.replaceWith, c.scope);
        state.Fields.Direction = c.direction;
        const auto changes = state.PlanReplace(c.action, maps, tables);
        ASSERT_TRUE(changes);
        EXPECT_EQ(state.ReplacementCount, c.count);
        EXPECT_EQ(state.ReplacedMessage().text, std::to_string(c.count) + " occurrences were replaced");
        std::vector<int> changed;
        for (const PlaneReplacement& change : *changes) {
            changed.push_back(change.MapIndex);
            if (change.MapIndex == 1) {
                EXPECT_EQ(change.Words, c.map1Plane0);
            }
        }
        EXPECT_EQ(changed, c.changedMaps);
        EXPECT_TRUE(state.Matches.empty());
        EXPECT_FALSE(state.NotFoundMessage());
    }
    EXPECT_EQ(maps.Maps[1].Planes[0], TwoMatches().Planes[0]); // the plan changes no map
    // An unknown search value plans nothing at all.
    EXPECT_FALSE(StateFor("Nonsense", "Door").PlanReplace(FindAction::Replace, maps, tables));
}

TEST(FindReplace, ValidationKeepsTheDialogOpenWithItsMessages)
{
    EXPECT_EQ(StateFor("").Validate(FindAction::FindNext)->text, "You need to enter a search value!");
    EXPECT_EQ(StateFor("5").Validate(FindAction::Replace)->text, "You need to enter a replacement value!");
    EXPECT_EQ(StateFor("5").Validate(FindAction::ReplaceAll)->caption, "Information");
    EXPECT_FALSE(StateFor("5").Validate(FindAction::FindAll));
    EXPECT_FALSE(StateFor("5", "9").Validate(FindAction::ReplaceAll));
}

TEST(FindReplace, ReplaceInPlaneRefusesAPlaneOfTheWrongSize)
{
    Words words = {5, 5, 5};
    EXPECT_EQ(ReplaceInPlane(words, 2, 2, 5, 9, FindDirection::Forward, true), 0);
    EXPECT_EQ(words, (Words{5, 5, 5}));
}
