// The open flow's questions about WDC-compatible headers and extended names,
// answered every way, through the main window.

#include "EditorFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "editor/ui/views/SidePanel.h"

using namespace tsl;
using namespace tsl::test;

namespace {

const char* const kWdcQuestion = "Couldn't read MAPHEAD file!\n\n(Maybe compiled with WDC)?";
const char* const kDeactivateQuestion =
    "Your map definition is configured for WDC compatible maps, but your maps aren't in WDC compatible "
    "format.\n\nDo you wish to deactivate the WDC compatible flag?";
const char* const kNamesQuestion = "Do you use extended map names (32 characters)?";

// The sample game saved with a WDC-compatible header of extended names (406
// bytes, with the name length).
fs::path WdcGame(const AppFolder& app)
{
    MapHandler set = LoadSet(SampleGameDir());
    set.Path = app.path() / "wdc";
    fs::create_directories(set.Path);
    set.WDCCompatibleMaps = true;
    set.ExtendedMapNames = true;
    set.NameLength = 32;
    set.Maps[0].Name = MakeNameBuffer("A gatehouse with a long name", 32);
    EXPECT_FALSE(set.Save());
    return set.Path;
}

} // namespace

TEST_F(EditorFixture, AnythingButYesToTheWdcQuestionEndsTheOpenAndYesAndYesOpensWithLongNames)
{
    const fs::path game = WdcGame(App());
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        Prompts().Clear();
        Prompts().Answer(answer);
        EXPECT_FALSE(Editor().OpenProject(true, game));
        ExpectMessage(0, kWdcQuestion, "Error loading maps", MessageIcon::Warning, Buttons::YesNoCancel);
        EXPECT_EQ(Prompts().Records().size(), 1u);
        EXPECT_EQ(Editor().CurrentProject(), nullptr);
    }

    // Yes and Yes: the plane count comes from the header.
    Prompts().Clear();
    Prompts().Answer(Answer::Yes).Answer(Answer::Yes);
    ASSERT_TRUE(Editor().OpenProject(true, game));
    ExpectMessage(1, kNamesQuestion, "Extended map names confirmation", MessageIcon::Question, Buttons::YesNo);
    const MapHandler& maps = Editor().CurrentProject()->Maps();
    EXPECT_TRUE(maps.WDCCompatibleMaps);
    EXPECT_TRUE(maps.ExtendedMapNames);
    EXPECT_EQ(maps.NumPlanes, 3);
    // The title holds all 28 characters of the name: 32-byte names were read.
    EXPECT_EQ(ShownTitle(), "Tesselar: A gatehouse with a long name");
}

TEST_F(EditorFixture, ThePlainSetOfAWdcStructureAsksToDeactivateTheFlagAndYesThenNoStoresItOff)
{
    const fs::path structure = App().MapDefs() / "WL6" / "WL6.ini";
    IniFile(structure).WriteBool("General", "WDCCompatibleMaps", true);
    Prompts().Answer(Answer::No);
    EXPECT_FALSE(Editor().OpenProject(true, SampleCopy()));
    ExpectMessage(0, kDeactivateQuestion, "Error loading maps", MessageIcon::Warning, Buttons::YesNo);

    Prompts().Answer(Answer::Yes).Answer(Answer::No);
    ASSERT_TRUE(Editor().OpenProject(true, SampleCopy()));
    ExpectMessage(2, kNamesQuestion, "Extended map names confirmation", MessageIcon::Question, Buttons::YesNo);
    const MapHandler& maps = Editor().CurrentProject()->Maps();
    EXPECT_FALSE(maps.WDCCompatibleMaps);
    EXPECT_EQ(maps.NameLength, 16);
    EXPECT_FALSE(IniFile(structure).ReadBool("General", "WDCCompatibleMaps", true));
}

TEST_F(EditorFixture, DamagedMapsAreReportedAndTheOpenGoesOn)
{
    const fs::path game = SampleCopy();
    Bytes data = ReadFile(game / "GAMEMAPS.WL6");
    const Bytes head = ReadFile(game / "MAPHEAD.WL6");
    // Plane 1 of map 2: its chunk now starts with a reference before the start.
    const std::size_t record = Get32(head, 6);
    const std::size_t chunk = Get32(data, record);
    data[chunk + 2] = 0x05;
    data[chunk + 3] = 0xA7;
    WriteFile(game / "GAMEMAPS.WL6", data);
    ASSERT_TRUE(Editor().OpenProject(true, game));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].caption, "Error loading maps");
    EXPECT_NE(Prompts().Records()[0].text.find("Map 2 \"Cell Block\": plane 1"), std::string::npos);
}

TEST_F(EditorFixture, ABadSymbolFileAbandonsTheOpen)
{
    WriteFile(App().MapDefs() / "WL6" / "plane2.txt", std::string("0,Nothing\r\n"));
    EXPECT_FALSE(Editor().OpenProject(true, SampleCopy()));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_NE(Prompts().Records()[0].text.find("plane2.txt"), std::string::npos) << Prompts().Records()[0].text;
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
}

// What each map draws is ShippedStructuresTest's; here the window follows every map.
TEST_F(EditorFixture, TheSampleAndEveryRealSetOpenWithoutQuestionsAndRenderEveryMap)
{
    std::vector<fs::path> sets = {SampleCopy()};
    for (const fs::path& real : RealGameSets()) {
        const fs::path copy = App().path() / ("real-" + real.filename().string());
        fs::create_directories(copy);
        for (const auto& entry : fs::directory_iterator(real))
            fs::copy_file(entry.path(), copy / entry.path().filename());
        sets.push_back(copy);
    }
    for (const fs::path& game : sets) {
        ASSERT_TRUE(Editor().OpenProject(true, game)) << game;
        EXPECT_TRUE(Prompts().Records().empty()) << game << ": " << Prompts().Records().front().text;
        const int count = Editor().CurrentProject()->Maps().NumMaps();
        for (int i = 0; i < count; ++i) {
            const MapList& map = Editor().CurrentProject()->Maps().Current();
            ASSERT_EQ(Editor().ViewImage().width, map.Width * 8) << game << " map " << i;
            if (i + 1 < count)
                Editor().NextMap();
        }
    }
}

TEST_F(EditorFixture, TheStructureDialogCompletedFromAnExistingStructureOpensTheGame)
{
    const fs::path game = GameWithExtension("XYZ");
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) {
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(0);
        QComboBox* list = Find<QComboBox>(dialog, "structureList");
        const int wl6 = list->findText("WL6");
        ASSERT_GE(wl6, 0);
        list->setCurrentIndex(wl6);
        emit list->activated(wl6);
        Find<QPushButton>(dialog, "okButton")->click();
    });
    ASSERT_TRUE(Editor().OpenProject(true, game));
    EXPECT_EQ(Editor().CurrentProject()->StructureFolder, App().MapDefs() / "XYZ");
    // The panel shows the copied structure: WL6's names and its many symbols.
    EXPECT_EQ(S(Editor().Panel()->PlaneSelector()->itemText(1)), "Objects and Actors");
    EXPECT_GT(Editor().Panel()->SymbolList()->count(), 50);
}

TEST_F(OpenedEditor, TheMapConfigurationsChangeTheNameLengthAtOnce)
{
    WhenModal([](QWidget* dialog) {
        Find<QCheckBox>(dialog, "configExtendedNames")->setChecked(true);
        Find<QPushButton>(dialog, "okButton")->click();
    });
    Editor().Action("mapConfigurationsAction")->trigger();
    const MapHandler& maps = Editor().CurrentProject()->Maps();
    EXPECT_EQ(maps.NameLength, 32);
    EXPECT_FALSE(Editor().Changed()) << "the configuration is not a change of the maps";

    // The next save writes 32-byte names.
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    Editor().Action("saveProjectAction")->trigger();
    EXPECT_EQ(MapNameText(LoadSet(SampleCopy(), 3, false, true).Maps[0].Name), "Gatehouse");
}

TEST_F(EditorFixture, ADirectoryGivenRelativelyIsKeptAbsoluteInTheRecentList)
{
    const fs::path game = SampleCopy();
    const fs::path relative = fs::relative(game, fs::current_path()) / "";
    ASSERT_TRUE(relative.is_relative());
    Editor().OpenDirectory(relative);
    ASSERT_NE(Editor().CurrentProject(), nullptr);
    EXPECT_EQ(Editor().Settings().RecentList[0], game.string());
}
