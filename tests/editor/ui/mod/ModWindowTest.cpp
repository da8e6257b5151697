// From levels to a mod, in the window: the episode board (the core's board,
// a click opening the map, an edit shown), comparing with another copy of
// the game (the message, Go To Level's marks, the tint and Next Change, the
// other side in the 3D preview, an edit taking a tile off, Stop Comparing)
// and Make Release (the question to save first, the choosers, the findings'
// question, the zip). The rules behind them are the core's tests.

#include "EditorFixture.h"

#include "TestUtil.h"
#include "engine/LevelFlow.h"
#include "mod/EpisodeBoard.h"
#include "mod/Release.h"
#include "editor/ui/mod/EpisodeBoardView.h"
#include "editor/ui/mod/ModController.h"
#include "editor/ui/mod/TEpisodeBoardBox.h"
#include "editor/ui/views/TPreview3DBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <array>

using namespace tsl;
using namespace tsl::test;

namespace {

class ModWindow : public OpenedEditor {
protected:
    QAction* Act(const char* name) { return Editor().Action(name); }
    MapPaintArea* Area() { return Editor().View()->PaintArea(); }
    const MapHandler& Maps() { return Editor().CurrentProject()->Maps(); }
    // The first tile of map `index` with nothing on plane 1.
    QPoint EmptyTile(int index)
    {
        const MapList& map = Maps().Maps[static_cast<std::size_t>(index)];
        for (int y = 1; y < map.Height; ++y)
            for (int x = 1; x < map.Width; ++x)
                if (map.Word(1, x, y) == 0 && map.Word(0, x, y) >= 108)
                    return {x, y};
        return {};
    }
};

TEST_F(ModWindow, TheBoardShowsTheCoresBoardAndOpensTheMapClicked)
{
    Act("episodeBoardAction")->trigger();
    TEpisodeBoardBox* box = Editor().Modder()->BoardBox();
    ASSERT_TRUE(box->isVisible());
    const Project& project = *Editor().CurrentProject();
    const FlowLoad flow = LoadLevelFlow(project.StructureFolder, *project.Settings);
    const std::array<int, 4> skills = {1, 2, 3, 4};
    const EpisodeBoard expected = BuildEpisodeBoard(Maps(), *project.Rules.Rules, flow.Flow.get(), skills);
    const EpisodeBoard& shown = box->View()->Board();
    ASSERT_EQ(shown.episodes.size(), expected.episodes.size());
    ASSERT_EQ(shown.episodes[0].floors.size(), 7u);
    EXPECT_EQ(shown.episodes[0].warnings, expected.episodes[0].warnings);
    std::vector<std::string> warnings;
    for (const BoardWarning& warning : expected.episodes[0].warnings)
        warnings.push_back(warning.text);
    if (warnings.empty())
        warnings.push_back("None: every floor can be finished and the flow holds.");
    EXPECT_EQ(Items(box->Warnings()), warnings);

    QTest::mouseClick(box->View(), Qt::LeftButton, {}, box->View()->CardOf(2).center());
    EXPECT_EQ(Maps().CurrentMap, 2);

    // A treasure put down shows on the board once the event loop has turned.
    const QPoint tile = EmptyTile(0);
    const int treasure = expected.episodes[0].floors[0].skills[0].treasure;
    EditWord(0, 1, tile.x(), tile.y(), 52);
    QApplication::processEvents();
    EXPECT_EQ(box->View()->Board().episodes[0].floors[0].skills[0].treasure, treasure + 1);
}

TEST_F(ModWindow, ComparingMarksTintsStepsAndShowsTheOtherSide)
{
    EXPECT_FALSE(Act("nextChangeAction")->isEnabled());
    const fs::path other = App().CopySampleGame("other");
    {
        MapHandler set = LoadSet(other);
        for (const QPoint tile : {QPoint(10, 12), QPoint(20, 5)})
            set.Maps[1].SetWord(0, tile.x(), tile.y(), static_cast<std::uint16_t>(set.Maps[1].Word(0, tile.x(), tile.y()) + 1));
        ASSERT_FALSE(set.Save());
    }
    Prompts().Directory(other);
    Act("compareWithAction")->trigger();
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_EQ(Prompts().Records()[0].text, kChooseOtherPrompt);
    ExpectMessage(1,
                  "Compared with " + other.string() +
                      ": 1 map differs (map 2); the page files are the same.\nThe tiles that differ are tinted in the "
                      "map view: Next Change (F8) and Previous Change (Shift+F8) step through them, and the 3D preview "
                      "shows the other side's level with O.",
                  kCompareCaption, MessageIcon::Information, Buttons::Ok);
    EXPECT_EQ(Editor().Modder()->ChangedMaps(), std::set<int>{1});
    EXPECT_TRUE(Act("nextChangeAction")->isEnabled() && Act("stopComparingAction")->isEnabled());

    Act("nextChangeAction")->trigger();
    EXPECT_EQ(Maps().CurrentMap, 1);
    EXPECT_EQ(Area()->ChangedTiles(), (std::vector<QPoint>{{20, 5}, {10, 12}}));
    EXPECT_EQ(Area()->ShownTile(), QPoint(20, 5));
    Act("nextChangeAction")->trigger();
    EXPECT_EQ(Area()->ShownTile(), QPoint(10, 12));
    Act("previousChangeAction")->trigger();
    EXPECT_EQ(Area()->ShownTile(), QPoint(20, 5));

    WhenModal([](QWidget* dialog) {
        const auto items = Items(Find<QComboBox>(dialog, "levelList"));
        ASSERT_EQ(items.size(), 7u);
        EXPECT_TRUE(items[1].ends_with("  (changed)")) << items[1];
        EXPECT_FALSE(items[0].ends_with("  (changed)")) << items[0];
        Finish(dialog);
    });
    Act("goToLevelAction")->trigger();

    Act("preview3DAction")->trigger();
    TPreview3DBox* preview = Editor().Preview();
    ASSERT_NE(preview, nullptr);
    auto* otherSide = preview->findChild<QAction*>("otherSideAction");
    ASSERT_TRUE(otherSide->isEnabled());
    otherSide->trigger();
    EXPECT_TRUE(preview->ShowingOtherSide());

    // Putting a tile back as the other side has it takes it off.
    EditWord(1, 0, 10, 12, static_cast<std::uint16_t>(Maps().Maps[1].Word(0, 10, 12) + 1));
    QApplication::processEvents();
    EXPECT_EQ(Area()->ChangedTiles(), (std::vector<QPoint>{{20, 5}}));

    Act("stopComparingAction")->trigger();
    EXPECT_TRUE(Area()->ChangedTiles().empty());
    EXPECT_FALSE(otherSide->isEnabled() || preview->ShowingOtherSide());
    EXPECT_FALSE(Act("nextChangeAction")->isEnabled());
}

TEST_F(ModWindow, MakeReleaseSavesFirstAndWritesTheZipOrStopsAtTheFindings)
{
    const fs::path original = App().CopySampleGame("original");
    const QPoint tile = EmptyTile(0);
    EditWord(0, 1, tile.x(), tile.y(), 52);
    Prompts().Answer(Answer::Cancel);
    Act("makeReleaseAction")->trigger();
    ExpectMessage(0, kSaveBeforeReleaseText, kReleaseCaption, MessageIcon::Question, Buttons::YesNoCancel);
    ASSERT_EQ(Prompts().Records().size(), 1u);

    const fs::path zip = App().path() / "release.zip";
    Prompts().Clear();
    Prompts().Answer(Answer::Yes).Directory(original).File(zip);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    Act("makeReleaseAction")->trigger();
    EXPECT_FALSE(Editor().Changed());
    ASSERT_TRUE(fs::exists(zip));
    ASSERT_EQ(Prompts().Records().size(), 4u);
    EXPECT_EQ(Prompts().Records()[1].text, kChooseOriginalPrompt);
    EXPECT_EQ(Prompts().Records()[2].filter, "Zip archives|*.zip");
    EXPECT_EQ(Prompts().Records()[3].text, "The release " + zip.string() +
                                                " holds GAMEMAPS.WL6 and MAPHEAD.WL6, with README.TXT and SHA256SUMS.");

    // A floor without its player start cannot be finished: No keeps the release back.
    int starts = 0;
    for (int y = 0; y < Maps().Maps[0].Height; ++y)
        for (int x = 0; x < Maps().Maps[0].Width; ++x)
            if (const std::uint16_t word = Maps().Maps[0].Word(1, x, y); word >= 19 && word <= 22) {
                EditWord(0, 1, x, y, 0);
                ++starts;
            }
    ASSERT_EQ(starts, 1);
    ASSERT_TRUE(Editor().Changed());
    const fs::path held = App().path() / "held.zip";
    Prompts().Clear();
    Prompts().Answer(Answer::Yes).Directory(original).File(held).Answer(Answer::No);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    Act("makeReleaseAction")->trigger();
    ASSERT_EQ(Prompts().Records().size(), 4u);
    const std::string name = MapNameUtf8(Maps().Maps[0].Name);
    ExpectMessage(3,
                  "The release is held back by what the check found:\n- Map 1 (" + name +
                      ") cannot be finished on skill 1, 2, 3 and 4." + kReleaseAnywayText,
                  kReleaseCaption, MessageIcon::Warning, Buttons::YesNo);
    EXPECT_FALSE(fs::exists(held));
    EXPECT_TRUE(Prompts().Finished()) << Prompts().Unfinished();
}

} // namespace
