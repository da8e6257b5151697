// The dialogs of the whole-map commands: "Flip Planes", "Find & Replace",
// the plane manager and the map information, and the names of "Map
// Properties", driven through their widgets.
// They only collect choices (or write the plane settings at once); the
// rules behind them are pinned by the core tests.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/operations/PlaneManager.h"
#include "editor/ui/dialogs/TFindReplaceBox.h"
#include "editor/ui/dialogs/TFlipPlanesBox.h"
#include "editor/ui/dialogs/TMapPropertiesBox.h"
#include "editor/ui/play/TMapInformationBox.h"
#include "editor/ui/dialogs/TPlaneBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::vector<std::string> kPlanes = {"Walls", "Objects", "Extra"};

// A name of Windows-1252 bytes that fills a 16-byte field, and how it shows.
const std::string kFullName = "\xC9t\xE9 \x80\x81\x8D\x8F\x90\x9D\xFF: 16 b";
const QString kShownName = QString::fromUtf8("\u00C9t\u00E9 \u20AC\u0081\u008D\u008F\u0090\u009D\u00FF: 16 b");
const char* const kRefusal = "Names are stored as Windows-1252 text, which has no such character.";

void ExpectRecord(const ScriptedPrompter& prompter, const std::string& text, const std::string& caption,
                  MessageIcon icon)
{
    ASSERT_FALSE(prompter.Records().empty());
    const PromptRecord& record = prompter.Records().back();
    EXPECT_EQ(record.text, text);
    EXPECT_EQ(record.caption, caption);
    EXPECT_EQ(record.icon, icon);
}

} // namespace

TEST(FlipPlanesBox, RefusesAPlaneWithItselfAndHandsBackTwoPlanes)
{
    ScriptedPrompter prompter;
    TFlipPlanesBox box(prompter);
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Flip Planes");
        EXPECT_TRUE(ShowsText(dialog, "Flip"));
        EXPECT_TRUE(ShowsText(dialog, "with"));
        auto* first = Find<QComboBox>(dialog, "firstPlane");
        auto* second = Find<QComboBox>(dialog, "secondPlane");
        EXPECT_EQ(Items(first), kPlanes);
        EXPECT_EQ(second->currentIndex(), 1);
        second->setCurrentIndex(0);
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        ExpectRecord(prompter, "You can't flip a plane with itself!", "Error flipping planes", MessageIcon::Warning);
        second->setCurrentIndex(2);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.ChoosePlanes(kPlanes), std::make_optional(std::make_pair(0, 2)));

    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Find<QComboBox>(dialog, "secondPlane")->currentIndex(), 0); // one plane only
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.ChoosePlanes({"Walls"}), std::nullopt);
}

TEST(FindReplaceBox, ValidatesKeepsItsFieldsAndHandsBackTheAction)
{
    ScriptedPrompter prompter;
    TFindReplaceBox box(prompter);
    const FindFields empty;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Find & Replace");
        for (const char* text : {"Which plane:", "Find what:", "Replace with:", "Replace Scope", "Direction",
                                 "Current map", "All maps", "Forward", "Backward", "Find Next", "Find All",
                                 "Replace", "Replace All", "Cancel"})
            EXPECT_TRUE(ShowsText(dialog, text)) << text;
        EXPECT_EQ(Items(Find<QComboBox>(dialog, "planeList")), kPlanes);
        EXPECT_TRUE(Checked(dialog, "currentMapButton"));
        EXPECT_TRUE(Checked(dialog, "forwardButton"));

        Click(dialog, "findNextButton");
        ExpectRecord(prompter, "You need to enter a search value!", "Information", MessageIcon::Information);
        TypeAndLeave(Find<QLineEdit>(dialog, "findEdit"), "Wall");
        Click(dialog, "replaceButton");
        ExpectRecord(prompter, "You need to enter a replacement value!", "Information", MessageIcon::Information);
        EXPECT_TRUE(dialog->isVisible());
        TypeAndLeave(Find<QLineEdit>(dialog, "replaceEdit"), "Floor");
        Find<QComboBox>(dialog, "planeList")->setCurrentIndex(1);
        Click(dialog, "allMapsButton");
        Click(dialog, "backwardButton");
        Click(dialog, "replaceAllButton");
        Finish(dialog);
    });
    const FindRequest request = box.ShowFindReplace(empty, kPlanes);
    EXPECT_EQ(request.Action, FindAction::ReplaceAll);
    EXPECT_EQ(request.Fields.Plane, 1);
    EXPECT_EQ(request.Fields.FindWhat, "Wall");
    EXPECT_EQ(request.Fields.ReplaceWith, "Floor");
    EXPECT_EQ(request.Fields.Scope, ReplaceScope::AllMaps);
    EXPECT_EQ(request.Fields.Direction, FindDirection::Backward);

    // The next opening shows the texts again, plane 0, and Escape cancels.
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(Text(dialog, "findEdit")), "Wall");
        EXPECT_EQ(Find<QComboBox>(dialog, "planeList")->currentIndex(), 0);
        EXPECT_TRUE(Checked(dialog, "backwardButton"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        Finish(dialog);
    });
    EXPECT_EQ(box.ShowFindReplace(request.Fields, kPlanes).Action, FindAction::None);

    // Closed by the window's button with "Find what:" filled: cancelled too,
    // with the fields kept (what the session does with it: SessionMapCommands).
    WhenModal([&](QWidget* dialog) {
        dialog->close();
        Finish(dialog);
    });
    const FindRequest closed = box.ShowFindReplace(request.Fields, kPlanes);
    EXPECT_EQ(closed.Action, FindAction::None);
    EXPECT_EQ(closed.Fields.FindWhat, "Wall");
}

TEST(PlaneBox, WritesNamesAndFlagsAtOnceAndChangesTheCountAfterTheQuestion)
{
    TempDir dir;
    IniFile settings(dir / "WL6.ini");
    for (int p = 0; p < 3; ++p)
        settings.WriteString("PlaneNames", std::to_string(p), kPlanes[static_cast<std::size_t>(p)]);
    ScriptedPrompter prompter;
    TPlaneBox box(prompter);
    std::vector<int> changes;
    int namesChanged = 0;
    TPlaneBox::Actions actions;
    actions.changePlaneCount = [&](int count) {
        changes.push_back(count);
        return count;
    };
    actions.planeNamesChanged = [&]() { ++namesChanged; };

    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Plane Manager");
        for (const char* text : {"Select plane", "Which plane do you wish to edit?", "Add / delete plane",
                                 "By increasing or decreasing the value in the field you add or delete planes.",
                                 "Change number of planes", "Edit plane", "OK"})
            EXPECT_TRUE(ShowsText(dialog, text)) << text;
        auto* planes = Find<QComboBox>(dialog, "planeList");
        EXPECT_EQ(Items(planes), kPlanes);
        EXPECT_EQ(S(Text(dialog, "planeNameEdit")), "Walls");
        EXPECT_EQ(S(Text(dialog, "planeCountField")), "3");

        planes->setCurrentIndex(1);
        auto* flags = Find<QListWidget>(dialog, "planePropertiesList");
        flags->item(1)->setCheckState(Qt::Checked); // both flags are written (PlaneManagerTest)
        EXPECT_EQ(settings.ReadString("SplitPlanes", "1", ""), "1");
        TypeAndLeave(Find<QLineEdit>(dialog, "planeNameEdit"), "Things");
        EXPECT_EQ(settings.ReadString("PlaneNames", "1", ""), "Things");
        EXPECT_EQ(S(planes->itemText(1)), "Things");
        EXPECT_EQ(planes->currentIndex(), 1);
        EXPECT_EQ(namesChanged, 1);

        auto* count = Find<QLineEdit>(dialog, "planeCountField");
        TypeAndLeave(count, "40000");
        Click(dialog, "changePlaneCountButton");
        ExpectRecord(prompter, "The number of planes must be between 1 and 32767!", "Plane Manager",
                     MessageIcon::Error);
        TypeAndLeave(count, "3");
        prompter.Clear();
        Click(dialog, "changePlaneCountButton"); // unchanged: nothing asked
        EXPECT_TRUE(prompter.Records().empty());
        Click(dialog, "planeCountUp");
        prompter.Answer(Answer::No);
        Click(dialog, "changePlaneCountButton");
        ExpectRecord(prompter, kAutosaveQuestion, "Save maps", MessageIcon::Question);
        TypeAndLeave(count, "5"); // typed, not set with the arrows
        prompter.Answer(Answer::Yes);
        Click(dialog, "changePlaneCountButton");
        EXPECT_EQ(Find<QComboBox>(dialog, "planeList")->count(), 5);
        Click(dialog, "changePlaneCountButton"); // the set has 5 planes now
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowPlaneManager(settings, 3, actions);
    EXPECT_EQ(changes, (std::vector<int>{5}));
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}

TEST(PlaneBox, ShowsNamesAsWindows1252AndRefusesWhatItCannotHold)
{
    TempDir dir;
    IniFile settings(dir / "WL6.ini");
    settings.WriteString("PlaneNames", "0", kFullName);
    ScriptedPrompter prompter;
    TPlaneBox box(prompter);
    WhenModal([&](QWidget* dialog) {
        auto* name = Find<QLineEdit>(dialog, "planeNameEdit");
        EXPECT_EQ(name->text(), kShownName);
        EXPECT_EQ(Find<QComboBox>(dialog, "planeList")->itemText(0), kShownName);
        // Each change is written at once; the arrow is refused as it is typed.
        TypeAndLeave(name, QString::fromUtf8("Caf\u00E9\u2192"));
        ExpectRecord(prompter, "A plane name can't contain \"\u2192\"!\n\n" + std::string(kRefusal), "Plane Manager",
                     MessageIcon::Error);
        EXPECT_EQ(name->text(), QString::fromUtf8("Caf\u00E9"));
        EXPECT_EQ(settings.ReadString("PlaneNames", "0", ""), "Caf\xE9");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowPlaneManager(settings, 1, {});
}

TEST(MapPropertiesBox, ShowsTheNameAsWindows1252AndHandsBackItsBytes)
{
    ScriptedPrompter prompter;
    TMapPropertiesBox box(prompter);
    MapList map;
    map.Width = map.Height = 64;
    map.Name.assign(kFullName.begin(), kFullName.end());
    const struct {
        QString typed; // nothing: the name is left as shown
        std::string name;
    } rows[] = {
        {QString(), kFullName}, // the 16th byte too: the session keeps a name confirmed as it stood
        {QString::fromUtf8("Caf\u00E9 \u20AC"), "Caf\xE9 \x80"},
        {QString(20, QChar(0xE9)), std::string(15, '\xE9')}, // cut by the field, at a character
    };
    for (const auto& row : rows) {
        WhenModal([&](QWidget* dialog) {
            auto* name = Find<QLineEdit>(dialog, "mapNameEdit");
            EXPECT_EQ(name->text(), kShownName.left(15));
            if (!row.typed.isNull())
                TypeAndLeave(name, row.typed);
            Click(dialog, "okButton");
            Finish(dialog);
        });
        const auto choice = box.ShowMapProperties(map, 15);
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->Name, row.name);
    }

    WhenModal([&](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "mapNameEdit"), QString::fromUtf8("A \u2192 B"));
        Click(dialog, "okButton");
        EXPECT_TRUE(dialog->isVisible());
        ExpectRecord(prompter, "A map name can't contain \"\u2192\"!\n\n" + std::string(kRefusal), "Map name error",
                     MessageIcon::Error);
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapProperties(map, 15));
}

TEST(MapInformationBox, ShowsTheTenCountersAndTheFindings)
{
    TMapInformationBox box;
    MapStatistics stats{.StaticObjects = 12, .TileObjects = 3, .Doors = 4, .Secrets = 1, .Guards1 = 5,
                        .Guards3 = 6, .Guards4 = 7, .Bosses = 1, .OtherActors = 2};
    const MapFinding finding{FindingKind::PlayerStarts, 0, 1, std::nullopt, std::nullopt, std::nullopt};
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map Information");
        const std::pair<const char*, const char*> rows[] = {
            {"staticObjects", "12"}, {"tileObjects", "3"}, {"doors", "4"},        {"secrets", "1"},
            {"guardsLevel1", "5"},   {"guardsLevel3", "6"}, {"guardsLevel4", "7"}, {"bosses", "1"},
            {"otherActors", "2"},    {"totalActors", "21"}};
        for (auto [name, value] : rows) {
            EXPECT_EQ(S(Text(dialog, name)), value) << name;
            EXPECT_TRUE(Find<QLineEdit>(dialog, name)->isReadOnly());
        }
        for (const char* label : {"Static Objects:", "Tile Objects:", "Doors:", "Secrets:", "Level 1 Guards:",
                                  "Level 3 Guards:", "Level 4 Guards:", "Bosses", "Other Actors:", "Total Actors:"})
            EXPECT_TRUE(ShowsText(dialog, label)) << label;
        auto* findings = Find<QListWidget>(dialog, "findingList");
        ASSERT_EQ(findings->count(), 1);
        EXPECT_EQ(S(findings->item(0)->text()), "No player start; the engine needs exactly one.");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowMapInformation(stats, {finding});
}
