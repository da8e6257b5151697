// The analysis of play in the window: "Level Statistics" and its counts that
// show tiles, the skill chooser that the view and the 3D preview follow, the
// reachable area that follows an edit sealing the exit, and a structure
// without rules of play offered those of a shipped one.

#include "EditorFixture.h"

#include "core/IniFile.h"
#include "editor/render/MapRenderer.h"
#include "editor/play/PlayOverlay.h"
#include "editor/ui/play/AnalysisController.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/TPreview3DBox.h"
#include "engine/StructureRules.h"
#include "raycast/LevelBuilder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

// The sample's first map ("Gatehouse"): its elevator switch, the tile it is
// used from, and the door of the room they are in.
const QPoint kSwitch(63, 59);
const QPoint kStand(62, 59);
const QPoint kDoor(60, 56);
constexpr std::uint16_t kWall = 1;

class Analysis : public OpenedEditor {
protected:
    MapPaintArea* Area() { return Editor().View()->PaintArea(); }
    const MapList& Map() { return Editor().CurrentProject()->Maps().Current(); }
    const EngineRules& Rules() { return *Editor().CurrentProject()->Rules.Rules; }
};

} // namespace

TEST_F(Analysis, StatisticsShowEverySkillSideBySideAndACountShowsItsTiles)
{
    const std::vector<LevelAnalysis> levels = AnalyseEverySkill(Map(), Rules());
    WhenModal([&](QWidget* dialog) {
        auto* table = Find<QTableWidget>(dialog, "statisticsTable");
        ASSERT_EQ(table->columnCount(), 4);
        for (int skill = 0; skill < 4; ++skill) {
            const LevelAnalysis& level = levels[static_cast<std::size_t>(skill)];
            EXPECT_EQ(table->item(0, skill)->text(), QString::number(level.kills)) << "kills";
            EXPECT_EQ(table->item(1, skill)->text(), QString::number(level.treasure)) << "treasure";
            EXPECT_EQ(table->item(2, skill)->text(), QString::number(level.secrets)) << "secrets";
            EXPECT_EQ(table->item(3, skill)->text(), QString::number(level.exits.size())) << "exits";
            EXPECT_EQ(table->item(7, skill)->text(), QString::number(level.unreachableEnemies.size()));
        }
        EXPECT_EQ(S(table->verticalHeaderItem(3)->text()), "Exits reached");
        // A click on the exits of skill level 4.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(3, 3)).center());
        Finish(dialog);
    });
    Editor().Action("levelStatisticsAction")->trigger();
    EXPECT_EQ(Area()->ShownTiles(), std::vector<QPoint>{kSwitch});
    // Once the words change, the tiles may hold something else: the marks go.
    Editor().Action("flipHorizontalAction")->trigger();
    EXPECT_TRUE(Area()->ShownTiles().empty());
}

TEST_F(Analysis, TheSkillChooserKeepsItsChoiceInTheModelAndTheViewAndPreviewFollowIt)
{
    Editor().NextMap(); // "Cell Block": guards of skill levels 3 and 4 as well
    Editor().Action("preview3DAction")->trigger();
    TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);

    auto* chooser = Editor().findChild<QComboBox*>("skillChooser");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(Items(chooser), (std::vector<std::string>{"All", "1", "2", "3", "4"}));
    chooser->setCurrentIndex(1);
    emit chooser->activated(1);
    EXPECT_EQ(Editor().Views().Skill(), 1);
    const Project& project = *Editor().CurrentProject();
    Image expected;
    RedrawMap(expected, Map(), project.Symbols, project.Display(), kIntMode, {&Rules(), 1});
    EXPECT_EQ(Editor().ViewImage(), expected) << "the symbols of skill level 1";
    Image every;
    RedrawMap(every, Map(), project.Symbols, project.Display(), kIntMode);
    EXPECT_NE(every, expected);
    EXPECT_EQ(preview->Skill(), 1);

    // The model decides, the chooser only shows it: a command sets it back.
    Editor().Analyser()->SetSkill(kAllSkills);
    EXPECT_EQ(chooser->currentIndex(), 0);
    EXPECT_EQ(preview->Skill(), kAllSkills);
    EXPECT_EQ(Editor().ViewImage(), every);

    // Picked in the preview's own menu, the level is the window's too.
    preview->ContextMenu()->findChild<QAction*>("skill3Action")->trigger();
    EXPECT_EQ(chooser->currentIndex(), 3);
    EXPECT_EQ(Editor().Views().Skill(), 3);
}

TEST_F(Analysis, TheReachableAreaFollowsAnEditThatSealsTheExitAndIsRemembered)
{
    QAction* shown = Editor().Action("showReachableAreaAction");
    shown->trigger();
    EXPECT_TRUE(shown->isChecked());
    QApplication::processEvents();
    const PlayPicture before = Area()->CurrentPlayPicture();
    ASSERT_FALSE(before.route.empty());
    EXPECT_EQ(before.route.back(), kStand);
    EXPECT_EQ(qAlpha(before.tint.pixel(kStand)), 0) << "reached: not tinted";

    // The edit is analysed once, in the next turn of the event loop.
    EditWord(Editor().Session()->Maps().CurrentMap, 0, kDoor.x(), kDoor.y(), kWall);
    EXPECT_EQ(Area()->CurrentPlayPicture(), before);
    QApplication::processEvents();
    const PlayPicture after = Area()->CurrentPlayPicture();
    EXPECT_TRUE(after.route.empty()) << "no exit: no walk";
    EXPECT_GT(qAlpha(after.tint.pixel(kStand)), 0) << "sealed off: tinted";
    EXPECT_EQ(S(Editor().StatusText()), "The level can no longer be finished: No exit can be reached from the player "
                                        "start on skill levels 1, 2, 3 and 4.")
        << "said once, for the edit that did it";
    Find<QLabel>(&Editor(), "statusText")->setText("Ready");
    Editor().NextMap();
    Editor().PreviousMap();
    QApplication::processEvents();
    EXPECT_EQ(S(Editor().StatusText()), "Ready") << "another map shown is no edit";

    // Taken back: the walk is there again.
    Editor().RefreshCommands();
    Editor().Action("undoAction")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Area()->CurrentPlayPicture().route, before.route);
    EXPECT_EQ(S(Editor().StatusText()), "The level can be finished again.");

    Recreate();
    EXPECT_TRUE(Editor().Action("showReachableAreaAction")->isChecked()) << "remembered in TSL.ini";
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadInteger("View", "ReachableArea", 0), 1);
}

TEST_F(Analysis, PatrolRoutesAreDrawnAsTheEngineWalksThem)
{
    Editor().Action("showPatrolRoutesAction")->trigger();
    QApplication::processEvents();
    const PlayPicture& picture = Area()->CurrentPlayPicture();
    const std::vector<PatrolRoute> routes = TracePatrols(Map(), Rules());
    ASSERT_FALSE(routes.empty());
    ASSERT_EQ(picture.patrols.size(), routes.size());
    EXPECT_EQ(picture.patrols[0].tiles.front(), QPoint(routes[0].actor.x, routes[0].actor.y));
    EXPECT_TRUE(picture.tint.isNull()) << "the reachable area is not shown";
    Editor().Action("showPatrolRoutesAction")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Area()->CurrentPlayPicture(), PlayPicture{});
}

TEST_F(EditorFixture, AStructureWithoutRulesOfPlayIsOfferedThoseOfAShippedOne)
{
    IniFile settings(App().MapDefs() / "WL6" / "WL6.ini");
    ASSERT_TRUE(settings.WriteString("Engine", "Rules", ""));
    OpenSample();
    const std::string question = "The map definition structure \"WL6\" has no rules of play, so Tesselar cannot tell "
                                 "whether its levels can be finished.\nTake the rules of a shipped structure "
                                 "(Wolfenstein 3-D or Spear of Destiny)?";
    QAction* shown = Editor().Action("showReachableAreaAction");
    Prompts().Answer(Answer::No);
    shown->trigger();
    ExpectMessage(0, question, "Rules of play", MessageIcon::Question, Buttons::YesNo);
    EXPECT_FALSE(shown->isChecked());
    EXPECT_EQ(S(Editor().StatusText()), "No analysis: the map definition structure \"WL6\" has no rules of play.");

    Prompts().Clear();
    Prompts().Answer(Answer::Yes).Answer(Answer::Yes);
    shown->trigger();
    ExpectMessage(0, question, "Rules of play", MessageIcon::Question, Buttons::YesNo);
    ExpectMessage(1, "Whose rules of play?\nYes: Wolfenstein 3-D (\"WL1\").\nNo: Spear of Destiny (\"SOD\").",
                  "Rules of play", MessageIcon::Question, Buttons::YesNoCancel);
    ExpectMessage(2, "The map definition structure \"WL6\" now plays by the rules of \"WL1\".", "Rules of play",
                  MessageIcon::Information, Buttons::Ok);
    EXPECT_TRUE(shown->isChecked());
    EXPECT_EQ(S(Editor().StatusText()), "The map definition structure \"WL6\" now plays by the rules of \"WL1\".")
        << "no longer \"No analysis\"";
    EXPECT_EQ(Editor().CurrentProject()->Rules.Status, RulesStatus::Loaded);
    EXPECT_EQ(ReadEngineSettings(IniFile(App().MapDefs() / "WL6" / "WL6.ini")).Rules, "engine.txt");
    QApplication::processEvents();
    EXPECT_FALSE(Editor().View()->PaintArea()->CurrentPlayPicture().route.empty());
}

TEST_F(EditorFixture, AStructureWithoutRulesOpenedWithTheReachableAreaRememberedSaysSo)
{
    ASSERT_TRUE(IniFile(App().MapDefs() / "WL6" / "WL6.ini").WriteString("Engine", "Rules", ""));
    ASSERT_TRUE(IniFile(App().SettingsFile()).WriteInteger("View", "ReachableArea", 1));
    Recreate();
    Editor().OpenDirectory(SampleCopy());
    ASSERT_NE(Editor().CurrentProject(), nullptr);
    EXPECT_TRUE(Prompts().Records().empty()) << "nothing asked before the user asks for the analysis";
    EXPECT_EQ(S(Editor().StatusText()), "No analysis: the map definition structure \"WL6\" has no rules of play.");
}
