// The "Create map definition structure" dialog, driven through its widgets:
// what it shows, the messages of its checks in order, and what OK hands to
// the store. What the store writes, key by key, is StructureStoreTest's.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"
#include "mapdefs/StructureStore.h"
#include "mapdefs/ui/TMapDefinitionStructureBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

// Types the plane count as the user would; OK takes it without leaving the box.
void SetPlanes(QSpinBox* spin, const QString& digits)
{
    if (!spin)
        return;
    spin->selectAll();
    QTest::keyClicks(spin, digits);
}

// The three tag edits of a tab ("existing" or "scratch").
void ExpectTags(QWidget* dialog, const std::string& tab, const char* rlew, const char* nearText,
                const char* farText)
{
    EXPECT_EQ(Text(dialog, (tab + "RlewTag").c_str()), rlew) << tab;
    EXPECT_EQ(Text(dialog, (tab + "NearTag").c_str()), nearText) << tab;
    EXPECT_EQ(Text(dialog, (tab + "FarTag").c_str()), farText) << tab;
}

// What OK handed to the store, as the settings file it created holds it.
auto Handed(const IniFile& settings)
{
    const StructureSettings s = ReadStructureSettings(settings);
    return std::make_tuple(s.Compression, s.RLEWTag, s.NearTag, s.FarTag, s.ExtendedMapNames,
                           s.WDCCompatibleMaps, s.NumPlanes);
}

class StructureBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    TMapDefinitionStructureBox box{prompter};

    void TearDown() override { EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished(); }

    fs::path Target() const { return app.MapDefs() / "XYZ"; }
    IniFile TargetSettings() const { return IniFile(Target() / "XYZ.ini"); }
};

TEST_F(StructureBoxTest, OpensOnTheFirstTabWithTheStructuresListedAndTagEditsTakingHexDigits)
{
    // How the first structure fills the tab is shown by the test below.
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Create map definition structure");
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(S(tabs->tabText(0)), "From existing one");
        EXPECT_EQ(S(tabs->tabText(1)), "From scratch (Not recommended)");
        EXPECT_EQ(tabs->currentIndex(), 0);

        // The structures, the first one selected: the test below lists them.
        auto* list = Find<QComboBox>(dialog, "structureList");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_FALSE(list->isEditable());

        // The scratch tab: the game's extension, shown but not editable,
        // and nothing chosen yet.
        auto* extension = Find<QLineEdit>(dialog, "scratchExtension");
        EXPECT_EQ(S(extension->text()), "XYZ");
        EXPECT_FALSE(extension->isEnabled());
        auto* planes = Find<QSpinBox>(dialog, "scratchPlanes");
        EXPECT_EQ(planes->value(), 1);
        EXPECT_EQ(planes->minimum(), 1);
        EXPECT_EQ(planes->maximum(), 32767);
        for (const char* choice : {"scratchRlew", "scratchCarmack", "scratchExtendedNames", "scratchWdc"})
            EXPECT_FALSE(Checked(dialog, choice)) << choice;
        ExpectTags(dialog, "scratch", "", "", "");

        for (const char* text :
             {"Select map definition structure:", "Number of planes (Default = 3):", "File extension:",
              "Misc options (Only change when necessary!)", "Misc map configurations",
              "Compression tags (Expert only)", "Map compression", "RLEW compression", "Carmack compression",
              "Use 32 character map names", "Save maps WDC compatible", "RLEW-Tag:", "NEARTAG:", "FARTAG:",
              "Set Defaults", "Set Defaults (from Wolf3D)", "OK", "Cancel"})
            EXPECT_TRUE(ShowsText(dialog, QString::fromUtf8(text))) << text;

        // Each tag edit maps what is typed onto hexadecimal digits when left (the
        // rule is HexEditText's, StructureStoreTest), and past its length takes
        // no more: four digits for the RLEW-Tag, two for the others.
        const std::vector<std::pair<const char*, std::pair<QString, QString>>> cases = {
            {"existingRlewTag", {"xyz12", "FFF1"}}, {"existingNearTag", {"g12", "F1"}},
            {"existingFarTag", {"_12", "A1"}},      {"scratchRlewTag", {"!2345", "0234"}},
            {"scratchNearTag", {"a7b", "A7"}},      {"scratchFarTag", {"@z1", "AF"}}};
        for (const auto& [name, io] : cases) {
            auto* edit = Find<QLineEdit>(dialog, name);
            TypeAndLeave(edit, io.first);
            EXPECT_EQ(S(edit->text()), S(io.second)) << name << " " << S(io.first);
        }
        Finish(dialog);
    });
    box.ShowStructureDialog(app.MapDefs(), "XYZ", "");
}

TEST_F(StructureBoxTest, SelectingAnotherStructureRefillsTheFirstTabAndSetDefaultsRestoresItsTags)
{
    // A floppy structure keeps its settings under the name without "_Floppy".
    fs::create_directories(app.MapDefs() / "CO7_Floppy");
    WriteFile(app.MapDefs() / "CO7_Floppy" / "CO7.ini",
              "[General]\r\nExtendedMapNames=1\r\nWDCCompatibleMaps=1\r\nCompression=0\r\nRLEWTag=4660\r\n"
              "NearTag=11\r\nFarTag=192\r\n[Planes]\r\nNumPlanes=2\r\n");
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QComboBox>(dialog, "structureList");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(S(list->itemText(0)), "CO7_Floppy");
        EXPECT_EQ(Find<QSpinBox>(dialog, "existingPlanes")->value(), 2);
        EXPECT_TRUE(Checked(dialog, "existingRlew"));
        EXPECT_TRUE(Checked(dialog, "existingExtendedNames"));
        EXPECT_TRUE(Checked(dialog, "existingWdc"));
        ExpectTags(dialog, "existing", "1234", "0B", "C0");

        list->setCurrentIndex(list->findText("WL6"));
        EXPECT_EQ(Find<QSpinBox>(dialog, "existingPlanes")->value(), 3);
        EXPECT_TRUE(Checked(dialog, "existingCarmack"));
        EXPECT_FALSE(Checked(dialog, "existingExtendedNames"));
        EXPECT_FALSE(Checked(dialog, "existingWdc"));
        ExpectTags(dialog, "existing", "ABCD", "A7", "A8");

        TypeAndLeave(Find<QLineEdit>(dialog, "existingRlewTag"), "12");
        TypeAndLeave(Find<QLineEdit>(dialog, "existingNearTag"), "");
        TypeAndLeave(Find<QLineEdit>(dialog, "existingFarTag"), "9");
        Click(dialog, "existingDefaults");
        ExpectTags(dialog, "existing", "ABCD", "A7", "A8");

        list->setCurrentIndex(0);
        TypeAndLeave(Find<QLineEdit>(dialog, "existingRlewTag"), "");
        Click(dialog, "existingDefaults");
        ExpectTags(dialog, "existing", "1234", "0B", "C0");
        list->setCurrentIndex(list->findText("WL6"));
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));

    // Shown again, the list starts over at its first structure, on the first tab.
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Find<QComboBox>(dialog, "structureList")->currentIndex(), 0);
        EXPECT_EQ(Find<QTabWidget>(dialog, "tabs")->currentIndex(), 0);
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "1234");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(StructureBoxTest, ChecksEachTabInOrderShowsTheStoresFailureAndStaysOpen)
{
    // Each OK fails at the first missing choice, which is then filled in; the
    // last one fails in the store, as a file stands where the structure folder should go.
    // The first structure offered chooses no compression.
    fs::create_directories(app.MapDefs() / "AAA");
    WriteFile(app.MapDefs() / "AAA" / "AAA.ini", "[General]\r\nCompression=-1\r\n");
    WriteFile(Target(), std::string("in the way"));
    for (const std::string tab : {"existing", "scratch"}) {
        bool stayedOpen = true;
        WhenModal([&](QWidget* dialog) {
            Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(tab == "existing" ? 0 : 1);
            for (const char* edit : {"RlewTag", "NearTag", "FarTag"})
                TypeAndLeave(Find<QLineEdit>(dialog, (tab + edit).c_str()), "");
            for (const std::string fill : {"Carmack", "RlewTag", "NearTag", "FarTag", "nothing"}) {
                Click(dialog, "okButton");
                stayedOpen = stayedOpen && dialog->isVisible();
                if (fill == "Carmack")
                    Click(dialog, (tab + fill).c_str());
                else if (fill != "nothing")
                    TypeAndLeave(Find<QLineEdit>(dialog, (tab + fill).c_str()), "1");
            }
            Finish(dialog);
        });
        EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", "")) << tab;
        EXPECT_TRUE(stayedOpen) << tab;
        EXPECT_TRUE(box.Cancelled());
        const std::string folder = Target().string();
        const std::string failure =
            tab == "existing" ? "Couldn't copy the map definition structure \"AAA\" to " + folder + "!"
                              : "Couldn't create the folder " + folder + "!";
        EXPECT_EQ(prompter.MessageTexts(), (std::vector<std::string>{
                      "No map compression has been chosen!", "The RLEW-Tag doesn't have a value!",
                      "The NEARTAG doesn't have a value!", "The FARTAG doesn't have a value!", failure}));
        for (const PromptRecord& r : prompter.Records()) {
            EXPECT_EQ(r.caption, "Error create map definition structure");
            EXPECT_EQ(r.icon, MessageIcon::Error);
            EXPECT_EQ(r.buttons, Buttons::Ok);
        }
        EXPECT_TRUE(fs::is_regular_file(Target())) << tab;
        prompter.Clear();
    }
}

TEST_F(StructureBoxTest, OkOnTheScratchTabHandsTheChoicesToTheStoreAndCloses)
{
    bool closed = false;
    WhenModal([&](QWidget* dialog) {
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        Click(dialog, "scratchDefaults");
        ExpectTags(dialog, "scratch", "ABCD", "A7", "A8");
        TypeAndLeave(Find<QLineEdit>(dialog, "scratchNearTag"), "1");
        TypeAndLeave(Find<QLineEdit>(dialog, "scratchFarTag"), "zz");
        SetPlanes(Find<QSpinBox>(dialog, "scratchPlanes"), "2");
        Click(dialog, "scratchCarmack");
        Click(dialog, "scratchExtendedNames");
        Click(dialog, "okButton");
        closed = !dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowStructureDialog(app.MapDefs(), "CO7", "C7.EXE"));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(prompter.Records().empty());
    // Compression, the three tags, the two options and the planes.
    EXPECT_EQ(Handed(IniFile(app.MapDefs() / "CO7_Floppy" / "CO7.ini")),
              std::make_tuple(1, 0xABCD, 0x01, 0xFF, true, false, 2));
}

TEST_F(StructureBoxTest, OkOnTheFirstTabHandsTheSelectedStructureToTheStore)
{
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QComboBox>(dialog, "structureList");
        list->setCurrentIndex(list->findText("WL6"));
        SetPlanes(Find<QSpinBox>(dialog, "existingPlanes"), "2");
        Click(dialog, "existingRlew");
        TypeAndLeave(Find<QLineEdit>(dialog, "existingRlewTag"), "1234");
        Click(dialog, "existingWdc");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_FALSE(box.Cancelled());
    EXPECT_TRUE(prompter.Records().empty());

    // A copy of WL6 (its plane names), with what was chosen; how it is copied is the store's.
    EXPECT_EQ(Handed(TargetSettings()), std::make_tuple(0, 0x1234, 0xA7, 0xA8, false, true, 2));
    EXPECT_EQ(TargetSettings().ReadString("PlaneNames", "1", ""), "Objects and Actors");
}

TEST_F(StructureBoxTest, WithoutStructuresOpensOnTheScratchTabWithTheExtension)
{
    for (const auto& name : ListStructures(app.MapDefs()))
        fs::remove_all(app.MapDefs() / name);

    WhenModal([&](QWidget* dialog) {
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_FALSE(tabs->isTabEnabled(0));
        EXPECT_EQ(Find<QComboBox>(dialog, "structureList")->count(), 0);
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));

    // Once there is one again, the first tab is back.
    fs::create_directories(app.MapDefs() / "ABC");
    WhenModal([&](QWidget* dialog) {
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_TRUE(tabs->isTabEnabled(0));
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
}

TEST_F(StructureBoxTest, CancelEscapeAndTheWindowsCloseButtonLeaveTheCancelledFlagSet)
{
    const std::vector<std::function<void(QWidget*)>> closers = {
        [](QWidget* dialog) { Click(dialog, "cancelButton"); },
        [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
        [](QWidget* dialog) { dialog->close(); },
    };
    for (std::size_t i = 0; i < closers.size(); ++i) {
        bool closed = false;
        WhenModal([&](QWidget* dialog) {
            // Everything filled in, then not confirmed.
            Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
            Click(dialog, "scratchDefaults");
            Click(dialog, "scratchCarmack");
            closers[i](dialog);
            closed = !dialog->isVisible();
            Finish(dialog);
        });
        EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", "")) << i;
        EXPECT_TRUE(closed) << i;
        EXPECT_TRUE(box.Cancelled()) << i;
        EXPECT_FALSE(fs::exists(Target())) << i;
    }
    EXPECT_TRUE(prompter.Records().empty());
}

} // namespace
