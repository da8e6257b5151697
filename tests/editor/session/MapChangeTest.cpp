// No command cuts into a held gesture: every gesture held in the map view
// (a pencil stroke, a rectangle drag, a selection drag, a paste placement
// pressed) crossed with every command that changes words or maps, and with
// every change of what the gesture draws (the plane, the tool, the value
// mode, a button's value), started while the button is down. The gesture
// ends first as its release at the last tile would; the rest of the press
// reaches nothing; afterwards the changed state is true exactly when the
// words differ from the saved ones, and one undo per step on every map gives
// every plane of every map back. A command added later joins the table with
// one line.

#include "EditorTestUtil.h"
#include "RulesTestUtil.h"
#include "ScriptedPrompter.h"
#include "editor/session/MapExchangeFlow.h"
#include "generator/LevelGenerator.h"
#include "editor/keeping/Recovery.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

using A = PointerAction;
using B = PointerButton;
using Session = EditorSession;

constexpr std::uint16_t kWall = 1;   // plane 0
constexpr std::uint16_t kPuddle = 23; // plane 1
constexpr std::uint16_t kBarrel = 24;

// Every map's name, size and planes.
using SetWords = std::vector<std::tuple<std::string, int, int, PlaneSet>>;

SetWords WordsOf(const MapHandler& maps)
{
    SetWords words;
    for (const MapList& map : maps.Maps)
        words.emplace_back(MapNameText(map.Name), map.Width, map.Height, map.Planes);
    return words;
}

EditResult Press(Session& s, int x, int y, B button = B::Left)
{
    return s.Pointer({A::Press, button, x, y});
}

EditResult Move(Session& s, int x, int y, B button = B::Left)
{
    return s.Pointer({A::Move, button, x, y});
}

EditResult Release(Session& s, int x, int y, B button = B::Left)
{
    return s.Pointer({A::Release, button, x, y});
}

// A click of the right button with `tool`: a second gesture begun while
// the first is held.
EditResult Click(Session& s, std::uint16_t tool, int x, int y, int x2, int y2)
{
    EditResult result = s.SelectTool(tool);
    result.Add(Press(s, x, y, B::Right));
    result.Add(Move(s, x2, y2, B::Right));
    result.Add(Release(s, x2, y2, B::Right));
    return result;
}

struct HeldGesture {
    const char* name;
    std::function<void(Session&)> start; // pressed on map 1, not released
};

// What a command leaves behind it.
enum class After {
    Undoable, // steps on the maps' histories
    NewList,  // a new list of maps, not yet saved: no history reaches back
    Saved,    // a new list of maps, saved at once
};

struct Command {
    const char* name;
    std::function<EditResult(Session&)> run;
    After after = After::Undoable;
};

class MapChangeTest : public ::testing::Test {
protected:
    // The sample game, map 1 current, a block of its words in the paste
    // buffer and puddles in two maps; as saved.
    void Open()
    {
        game = std::make_unique<OpenedSampleGame>();
        game->project->Settings->WriteBool("SplitPlanes", "0", true); // the byte modes to change to
        session = std::make_unique<Session>(std::move(game->project));
        LayWords(session->Document(), [](MapHandler& maps) {
            for (int i : {0, 1})
                maps.Maps[static_cast<std::size_t>(i)].SetWord(1, 20, 20, kPuddle);
        });
        session->GoToLevel(1);
        session->SelectTool(kToolRectangleSelection);
        Press(*session, 30, 30);
        Release(*session, 32, 31);
        session->Copy();
        session->Cancel();
        session->SelectTool(kToolPencil);
        session->SetButtonValue(B::Left, kWall);
        session->SetButtonValue(B::Right, kWall);
    }

    std::unique_ptr<OpenedSampleGame> game;
    std::unique_ptr<Session> session;
};

} // namespace

TEST_F(MapChangeTest, EveryCommandStartedWhileAGestureIsHeldEndsItFirstAndStaysUndoable)
{
    const std::vector<HeldGesture> gestures = {
        {"pencil stroke",
         [](Session& s) {
             Press(s, 2, 2);
             Move(s, 5, 3);
         }},
        {"rectangle drag",
         [](Session& s) {
             s.SelectTool(kToolRectangle);
             Press(s, 2, 2);
             Move(s, 4, 4);
         }},
        {"selection drag",
         [](Session& s) {
             s.SelectTool(kToolRectangleSelection);
             Press(s, 1, 1);
             Move(s, 3, 2);
         }},
        {"paste placement",
         [](Session& s) {
             s.Paste();
             Move(s, 5, 5);
             Press(s, 5, 5);
         }},
    };
    TempDir files;
    const fs::path importFile = files / "import.tsl";
    {
        auto other = MemorySession(files.path(), {{{64, 64}}, 3, {}, false});
        LayWords(other->Document(), [](MapHandler& maps) { maps.Maps[0].Name = MakeNameBuffer("Imported", 16); });
        ASSERT_FALSE(WriteRecoveryFile(importFile, RecoverySnapshot(other->Maps())));
    }
    const std::vector<Command> commands = {
        {"another plane", [](Session& s) { return s.SelectPlane(2); }},
        {"another plane, drawn on",
         [](Session& s) {
             EditResult result = s.SelectPlane(1);
             result.Add(s.SetButtonValue(B::Right, kBarrel));
             result.Add(Click(s, kToolPencil, 8, 8, 9, 8));
             return result;
         }},
        {"another tool", [](Session& s) { return s.SelectTool(kToolFill); }},
        {"another value mode", [](Session& s) { return s.SetValueMode(kHighByteMode); }},
        {"another value", [](Session& s) { return s.SetButtonValue(B::Left, kBarrel); }},
        {"pencil", [](Session& s) { return Click(s, kToolPencil, 8, 8, 9, 8); }},
        {"fill", [](Session& s) { return Click(s, kToolFill, 12, 12, 12, 12); }},
        {"rectangle", [](Session& s) { return Click(s, kToolRectangle, 8, 8, 10, 9); }},
        {"cut", [](Session& s) { return s.Cut(); }},
        {"paste placement",
         [](Session& s) {
             EditResult result = s.Paste();
             result.Add(Move(s, 9, 9));
             result.Add(Press(s, 9, 9));
             result.Add(Release(s, 9, 9));
             return result;
         }},
        {"autofloor", [](Session& s) { return s.Autofloor(); }},
        {"rotate", [](Session& s) { return s.TransformCurrentMap(MapTransform::Rotate90); }},
        {"flip", [](Session& s) { return s.TransformCurrentMap(MapTransform::FlipHorizontal); }},
        {"flip planes", [](Session& s) { return s.FlipPlanes(0, 1); }},
        {"clear", [](Session& s) { return s.ClearMap(false); }},
        {"replace all",
         [](Session& s) {
             return s.RunFind({{1, std::to_string(kPuddle), std::to_string(kBarrel), ReplaceScope::AllMaps,
                                FindDirection::Forward},
                               FindAction::ReplaceAll});
         }},
        {"generate level",
         [](Session& s) {
             const auto level = GenerateLevel(ShippedRules("WL6"), {.width = 16, .height = 16, .seed = 1});
             EXPECT_TRUE(level);
             EditResult result = s.PutLevel(*level, "");
             EXPECT_EQ(s.Maps().Current().Width, 16) << "the level is in the map";
             return result;
         }},
        {"resize", [](Session& s) { return s.ApplyMapProperties({MapNameText(s.Maps().Current().Name), 40, 50}); }},
        {"previous map", [](Session& s) { return s.PreviousMap(); }},
        {"next map", [](Session& s) { return s.NextMap(); }},
        {"go to level", [](Session& s) { return s.GoToLevel(2); }},
        {"add map", [](Session& s) { return s.AddMap(); }, After::NewList},
        {"delete map", [](Session& s) { return s.DeleteMap(); }, After::NewList},
        {"import",
         [importFile](Session& s) {
             ScriptedPrompter prompter;
             prompter.File(importFile).Answer(Answer::No); // straight into the set
             return ImportIntoSession(s, prompter);
         },
         After::NewList},
        {"plane count",
         [](Session& s) {
             // As the window does it: the maps saved first, then the count.
             EditResult result = s.EndGesture();
             EXPECT_FALSE(s.Maps().Save());
             s.MarkSaved();
             result.Add(s.ChangePlaneCount(4));
             return result;
         },
         After::Saved},
    };

    for (const HeldGesture& gesture : gestures) {
        // What the gesture does alone, released at its last tile.
        Open();
        gesture.start(*session);
        session->EndGesture();
        const PlaneSet alone = session->Maps().Maps[1].Planes;
        const std::string began = MapNameText(session->Maps().Maps[1].Name);

        for (const Command& command : commands) {
            SCOPED_TRACE(std::string(gesture.name) + " cut into by " + command.name);
            Open();
            const SetWords saved = WordsOf(session->Maps());
            gesture.start(*session);
            EditResult result = command.run(*session);
            result.Add(session->TakeEndedGesture());
            // The view sends the rest of the press only when nothing ended it.
            if (!result.GestureEnded) {
                Move(*session, 6, 6);
                Release(*session, 6, 6);
            }
            EXPECT_FALSE(session->Document().GestureHeld());
            EXPECT_FALSE(session->Document().TransactionOpen());

            if (command.after != After::Undoable) {
                // The gesture's words are on its own map, wherever that went.
                for (const MapList& map : session->Maps().Maps) {
                    if (MapNameText(map.Name) == began) {
                        EXPECT_EQ(PlaneSet(map.Planes.begin(), map.Planes.begin() + 3), alone);
                    }
                }
                EXPECT_EQ(session->Changed(), command.after == After::NewList);
                continue;
            }
            EXPECT_EQ(session->Changed(), WordsOf(session->Maps()) != saved);
            for (int i = 0; i < session->Maps().NumMaps(); ++i) {
                session->GoToLevel(i);
                while (session->CanUndo())
                    session->Undo();
            }
            EXPECT_EQ(WordsOf(session->Maps()), saved);
            EXPECT_FALSE(session->Changed());
        }
    }
}

// Undo and Redo wait for the release: a held gesture's words are no step yet.
TEST_F(MapChangeTest, UndoAndRedoAreRefusedWhileAGestureIsHeld)
{
    Open();
    Press(*session, 1, 1);
    Release(*session, 1, 1);
    Press(*session, 4, 4);
    EXPECT_FALSE(session->CanUndo());
    session->Undo();
    EXPECT_EQ(session->Maps().Current().Word(0, 1, 1), kWall) << "the step before stays";
    Move(*session, 5, 4);
    Release(*session, 5, 4);
    ASSERT_TRUE(session->CanUndo());
    session->Undo();
    EXPECT_NE(session->Maps().Current().Word(0, 5, 4), kWall);
    EXPECT_EQ(session->Maps().Current().Word(0, 1, 1), kWall);
}
