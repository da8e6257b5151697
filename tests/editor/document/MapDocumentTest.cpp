// The document of the open map set: its transactions (one step per map
// touched, refused when nested, rolled back by an abandon or an exception),
// its notices and their listeners, the linear history of each map, and the
// changed state that follows the histories from the last save. What every
// command does while a gesture is held is MapChangeTest's table.

#include "SessionFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace tsl;
using namespace tsl::test;

namespace {

using MapDocumentTest = SessionFixture;
using Kind = DocumentChange::Kind;

// What the listeners heard, as text: "W1:0:2,3-4,5" is words of map 1,
// plane 0, tiles (2,3) to (4,5); "W1:*:all" every plane of the whole map.
std::string Said(const DocumentChange& c)
{
    switch (c.What) {
    case Kind::Words: {
        std::string text = "W" + std::to_string(c.Map) + ":" + (c.Plane < 0 ? "*" : std::to_string(c.Plane)) + ":";
        if (!c.Region)
            return text + "all";
        return text + std::to_string(c.Region->Left()) + "," + std::to_string(c.Region->Top()) + "-" +
               std::to_string(c.Region->Right()) + "," + std::to_string(c.Region->Bottom());
    }
    case Kind::CurrentMap:
        return "C" + std::to_string(c.Map);
    case Kind::MapList:
        return "L";
    case Kind::Renamed:
        return "N" + std::to_string(c.Map);
    case Kind::Storage:
        return "T";
    case Kind::Rules:
        return "R";
    case Kind::Symbols:
        return "Y";
    case Kind::SavedState:
        return c.Changed ? "S+" : "S-";
    }
    return "?";
}

TEST_F(MapDocumentTest, ATransactionIsOneStepPerMapItTouchedAndItsNoticesNameWhatChanged)
{
    Open({{16, 16}, {8, 8}});
    std::vector<std::string> heard;
    DocumentToken token = Document().Listen([&](const DocumentChange& c) { heard.push_back(Said(c)); });
    const MapState before = Now();

    auto change = Document().Begin();
    change.SetWord(0, 0, 2, 3, 5);
    change.SetWord(0, 0, 4, 5, 5);
    change.Publish();
    change.Plane(1, 2).Words()[0] = 9; // the whole of map 1, plane 2
    change.Commit();
    // The saved state turns with the first words told, before the commit:
    // a stroke on the map is a change while its button is still down.
    EXPECT_EQ(heard, (std::vector<std::string>{"W0:0:2,3-4,5", "S+", "W1:2:all"}));
    EXPECT_EQ(session->History(0).Steps(), 1);
    EXPECT_EQ(session->History(1).Steps(), 1);
    ExpectUndoRedo(before);

    // Another map, another list, the saved state.
    heard.clear();
    session->NextMap();
    session->Undo();
    session->MarkSaved();
    EXPECT_EQ(heard, (std::vector<std::string>{"C1", "W1:*:all", "S-"}));

    // A rename, the storage, the rules and the symbols are notices of their
    // own, not a new list; an abandon takes back the words it told.
    heard.clear();
    session->ApplyMapProperties({"Renamed", 8, 8, false});
    Document().ChangeStorage([](MapHandler& set) { set.NameLength += 16; });
    Document().TakeRules(session->CurrentProject().Rules);
    session->ReloadSymbols();
    {
        auto abandoned = Document().Begin();
        abandoned.SetWord(1, 0, 1, 1, 7);
        abandoned.Publish();
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"N1", "S+", "T", "R", "Y", "W1:0:1,1-1,1", "W1:*:all"}));
    token.Reset();
    session->PreviousMap();
    EXPECT_EQ(heard.size(), 7u) << "a dropped token hears nothing";
}

TEST_F(MapDocumentTest, TransactionsNeverNestAndAnAbandonOrAnExceptionPutsEveryWordBack)
{
    Open({{16, 16}, {8, 8}});
    const std::vector<PlaneSet> before = {Map(0).Planes, Map(1).Planes};
    {
        auto change = Document().Begin();
        EXPECT_THROW(Document().Begin(), std::logic_error);
        change.SetWord(0, 1, 1, 1, 7);
        change.Abandon();
    }
    try {
        auto change = Document().Begin();
        change.Map(1).Planes[0].assign(64, 3);
        change.Set().CurrentMap = 1;
        throw std::runtime_error("a command failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ((std::vector<PlaneSet>{Map(0).Planes, Map(1).Planes}), before);
    EXPECT_EQ(session->Maps().CurrentMap, 0);
    EXPECT_FALSE(session->Changed());
    EXPECT_FALSE(session->CanUndo());
    EXPECT_FALSE(Document().TransactionOpen());
    Document().Begin().Commit(); // a new one opens after all
}

// A transaction that declares more planes of a map as it goes keeps the words
// of every plane it reaches before changing them: its undo step gives every
// plane back, the ones it never wrote included.
TEST_F(MapDocumentTest, ATransactionWidenedToMorePlanesUndoesToTheWordsBeforeIt)
{
    struct Widening {
        const char* what;
        std::function<void(MapDocument::Transaction&)> write;
    };
    const Widening widenings[] = {
        {"two single planes",
         [](MapDocument::Transaction& c) {
             c.SetWord(0, 0, 1, 1, 7);
             c.SetWord(0, 2, 2, 2, 8);
         }},
        {"a single plane, then all planes",
         [](MapDocument::Transaction& c) {
             c.SetWord(0, 2, 1, 1, 7);
             c.Map(0).Planes[1][5] = 9;
         }},
        {"all planes, then a single one",
         [](MapDocument::Transaction& c) {
             c.Map(0).Planes[0][3] = 6;
             c.SetWord(0, 1, 2, 2, 8);
         }},
    };
    for (const Widening& widening : widenings) {
        SCOPED_TRACE(widening.what);
        Open({{8, 8}});
        Lay([](MapList& map) {
            for (auto& plane : map.Planes)
                std::fill(plane.begin(), plane.end(), std::uint16_t{3});
        });
        const MapState before = Now();
        auto change = Document().Begin();
        widening.write(change);
        change.Commit();
        ExpectUndoRedo(before);
    }
}

TEST_F(MapDocumentTest, ListenersMayLeaveWhileANoticeIsSent)
{
    DocumentNotifier notifier;
    std::vector<int> heard;
    DocumentNotifier::Token second;
    DocumentNotifier::Token first = notifier.Listen([&](const DocumentChange&) {
        heard.push_back(1);
        second.Reset(); // the next listener hears nothing more
    });
    second = notifier.Listen([&](const DocumentChange&) { heard.push_back(2); });
    DocumentNotifier::Token third = notifier.Listen([&](const DocumentChange&) {
        heard.push_back(3);
        third.Reset(); // itself
    });
    notifier.Notify({});
    notifier.Notify({});
    EXPECT_EQ(heard, (std::vector<int>{1, 3, 1}));
    EXPECT_EQ(notifier.Listeners(), 1u);
    {
        DocumentNotifier gone;
        second = gone.Listen([](const DocumentChange&) {});
    }
    EXPECT_FALSE(second.Listening()); // and goes without harm
}

TEST_F(MapDocumentTest, UndoAndRedoFollowTheLinearHistoryOfEachMap)
{
    Open({{16, 16}, {8, 8}});
    const MapState initial = Now();
    Draw(1, 0, 0);
    const MapState first = Now();
    Draw(2, 1, 0);
    Draw(3, 2, 0);
    session->Undo();
    session->Undo();
    Draw(4, 3, 0); // drops the two undone steps
    EXPECT_FALSE(session->CanRedo());
    session->Undo();
    EXPECT_EQ(Now(), first);
    session->Undo();
    EXPECT_EQ(Now(), initial);
    EXPECT_FALSE(session->CanUndo());
    EXPECT_FALSE(Document().Step(HistoryStep::Undo));

    // The other map has a history of its own.
    Draw(1, 0, 0);
    session->NextMap();
    EXPECT_FALSE(session->CanUndo());
    Draw(2, 0, 0);
    session->Undo();
    EXPECT_EQ(W(0, 0, 0), 0);
    EXPECT_EQ(Map(0).Word(0, 0, 0), 1);
    session->PreviousMap();
    EXPECT_TRUE(session->CanUndo());
    EXPECT_FALSE(session->CanRedo());
}

TEST_F(MapDocumentTest, TheChangedStateFollowsTheHistoriesFromTheLastSave)
{
    Open({{16, 16}, {8, 8}});
    struct Step {
        const char* what;
        std::function<void()> run;
        bool changed;
    };
    const Step steps[] = {
        {"opened", [] {}, false},
        {"an edit", [&] { Draw(1, 0, 0); }, true},
        {"the edit undone", [&] { session->Undo(); }, false},
        {"and done again", [&] { session->Redo(); }, true},
        {"saved", [&] { session->MarkSaved(); }, false},
        {"undone past the save", [&] { session->Undo(); }, true},
        {"redone back to it", [&] { session->Redo(); }, false},
        {"an edit that changes no word", [&] { Draw(1, 0, 0); }, false},
        {"undone", [&] { session->Undo(); }, false},
        {"a new edit after an undo", [&] { session->Undo(); Draw(2, 1, 0); }, true},
        {"which drops the saved state", [&] { session->Undo(); }, true},
        {"saved again", [&] { session->MarkSaved(); }, false},
        {"an edit of the other map", [&] { session->NextMap(); Draw(3, 0, 0); session->PreviousMap(); }, true},
        {"undone there", [&] { session->NextMap(); session->Undo(); }, false},
        {"a rename, which no history holds", [&] { session->ApplyMapProperties({"B2", 8, 8, false}); }, true},
        {"an edit undone after it", [&] { Draw(4, 0, 0); session->Undo(); }, true},
        {"saved once more", [&] { session->MarkSaved(); }, false},
        {"an edit, then the histories rebuilt", [&] { Draw(5, 0, 0); session->RebuildHistories(); }, true},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(session->Changed(), step.changed) << step.what;
    }
}

} // namespace
