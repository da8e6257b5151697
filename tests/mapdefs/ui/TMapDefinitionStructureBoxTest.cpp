// The "Create map definition structure" dialog, driven through its widgets:
// what it shows, the messages of its checks in order, and what OK creates.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"
#include "mapdefs/StructureStore.h"
#include "mapdefs/ui/TMapDefinitionStructureBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::string kCaption = "Error create map definition structure";

void SetPlanes(QSpinBox* spin, const QString& digits)
{
    if (!spin)
        return;
    spin->selectAll();
    QTest::keyClicks(spin, digits);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin, &leave);
}

void ChooseNoCompression(QWidget* dialog, const char* rlewName)
{
    auto* rlew = Find<QRadioButton>(dialog, rlewName);
    if (!rlew || !rlew->group())
        return;
    QButtonGroup* group = rlew->group();
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

class StructureBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    TMapDefinitionStructureBox box{prompter};

    void TearDown() override { EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished(); }

    fs::path Target() const { return app.MapDefs() / "XYZ"; }
    IniFile TargetSettings() const { return IniFile(Target() / "XYZ.ini"); }

    void ExpectMessages(const std::vector<std::string>& texts, const std::string& caption = kCaption)
    {
        ASSERT_EQ(prompter.Records().size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const PromptRecord& r = prompter.Records()[i];
            EXPECT_EQ(r.text, texts[i]);
            EXPECT_EQ(r.caption, caption);
            EXPECT_EQ(r.icon, MessageIcon::Error);
            EXPECT_EQ(r.buttons, Buttons::Ok);
        }
    }
};

TEST_F(StructureBoxTest, OpensOnTheFirstTabWithTheFirstStructureFilledIn)
{
    bool sawDialog = false;
    WhenModal([&](QWidget* dialog) {
        sawDialog = true;
        EXPECT_EQ(S(dialog->windowTitle()), "Create map definition structure");
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->count(), 2);
        EXPECT_EQ(S(tabs->tabText(0)), "From existing one");
        EXPECT_EQ(S(tabs->tabText(1)), "From scratch (Not recommended)");
        EXPECT_EQ(tabs->currentIndex(), 0);

        auto* list = Find<QComboBox>(dialog, "structureList");
        ASSERT_NE(list, nullptr);
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->itemText(i);
        EXPECT_EQ(names, (QStringList{"SD2", "SD3", "SDM", "SOD", "WL1", "WL3", "WL6"}));
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_FALSE(list->isEditable());

        EXPECT_EQ(Find<QSpinBox>(dialog, "existingPlanes")->value(), 3);
        EXPECT_FALSE(Checked(dialog, "existingRlew"));
        EXPECT_TRUE(Checked(dialog, "existingCarmack"));
        EXPECT_FALSE(Checked(dialog, "existingExtendedNames"));
        EXPECT_FALSE(Checked(dialog, "existingWdc"));
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "existingNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "existingFarTag"), "A8");
        EXPECT_EQ(Find<QLineEdit>(dialog, "existingRlewTag")->maxLength(), 4);
        EXPECT_EQ(Find<QLineEdit>(dialog, "existingNearTag")->maxLength(), 2);
        EXPECT_EQ(Find<QLineEdit>(dialog, "existingFarTag")->maxLength(), 2);

        // The scratch tab: the game's extension, shown but not editable,
        // and nothing chosen yet.
        auto* extension = Find<QLineEdit>(dialog, "scratchExtension");
        EXPECT_EQ(S(extension->text()), "XYZ");
        EXPECT_FALSE(extension->isEnabled());
        auto* planes = Find<QSpinBox>(dialog, "scratchPlanes");
        EXPECT_EQ(planes->value(), 1);
        EXPECT_EQ(planes->minimum(), 1);
        EXPECT_EQ(planes->maximum(), 32767);
        EXPECT_FALSE(Checked(dialog, "scratchRlew"));
        EXPECT_FALSE(Checked(dialog, "scratchCarmack"));
        EXPECT_FALSE(Checked(dialog, "scratchExtendedNames"));
        EXPECT_FALSE(Checked(dialog, "scratchWdc"));
        EXPECT_EQ(Text(dialog, "scratchRlewTag"), "");
        EXPECT_EQ(Text(dialog, "scratchNearTag"), "");
        EXPECT_EQ(Text(dialog, "scratchFarTag"), "");
        EXPECT_EQ(Find<QLineEdit>(dialog, "scratchRlewTag")->maxLength(), 4);

        for (const char* text :
             {"Select map definition structure:", "Number of planes (Default = 3):", "File extension:",
              "Misc options (Only change when necessary!)", "Misc map configurations",
              "Compression tags (Expert only)", "Map compression", "RLEW compression", "Carmack compression",
              "Use 32 character map names", "Save maps WDC compatible", "RLEW-Tag:", "NEARTAG:", "FARTAG:",
              "Set Defaults", "Set Defaults (from Wolf3D)", "OK", "Cancel"})
            EXPECT_TRUE(ShowsText(dialog, QString::fromUtf8(text))) << text;

        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(box.Cancelled());
    EXPECT_FALSE(fs::exists(Target()));
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(StructureBoxTest, SelectingAnotherStructureRefillsTheFirstTabAndSetDefaultsRestoresItsTags)
{
    // A floppy structure keeps its settings under the name without "_Floppy".
    fs::create_directories(app.MapDefs() / "CO7_Floppy");
    {
        IniFile co7(app.MapDefs() / "CO7_Floppy" / "CO7.ini");
        co7.WriteBool("General", "ExtendedMapNames", true);
        co7.WriteBool("General", "WDCCompatibleMaps", true);
        co7.WriteInteger("General", "Compression", 0);
        co7.WriteInteger("General", "RLEWTag", 0x1234);
        co7.WriteInteger("General", "NearTag", 0x0B);
        co7.WriteInteger("General", "FarTag", 0xC0);
        co7.WriteInteger("Planes", "NumPlanes", 2);
    }
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QComboBox>(dialog, "structureList");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(S(list->itemText(0)), "CO7_Floppy");
        EXPECT_EQ(Find<QSpinBox>(dialog, "existingPlanes")->value(), 2);
        EXPECT_TRUE(Checked(dialog, "existingRlew"));
        EXPECT_TRUE(Checked(dialog, "existingExtendedNames"));
        EXPECT_TRUE(Checked(dialog, "existingWdc"));
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "1234");
        EXPECT_EQ(Text(dialog, "existingNearTag"), "0B");
        EXPECT_EQ(Text(dialog, "existingFarTag"), "C0");

        list->setCurrentIndex(list->findText("WL6"));
        EXPECT_EQ(Find<QSpinBox>(dialog, "existingPlanes")->value(), 3);
        EXPECT_TRUE(Checked(dialog, "existingCarmack"));
        EXPECT_FALSE(Checked(dialog, "existingExtendedNames"));
        EXPECT_FALSE(Checked(dialog, "existingWdc"));
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "existingNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "existingFarTag"), "A8");

        TypeAndLeave(Find<QLineEdit>(dialog, "existingRlewTag"), "12");
        TypeAndLeave(Find<QLineEdit>(dialog, "existingNearTag"), "");
        TypeAndLeave(Find<QLineEdit>(dialog, "existingFarTag"), "9");
        Click(dialog, "existingDefaults");
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "existingNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "existingFarTag"), "A8");

        list->setCurrentIndex(0);
        TypeAndLeave(Find<QLineEdit>(dialog, "existingRlewTag"), "");
        Click(dialog, "existingDefaults");
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "1234");
        EXPECT_EQ(Text(dialog, "existingNearTag"), "0B");
        EXPECT_EQ(Text(dialog, "existingFarTag"), "C0");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));

    // Shown again, the list starts over at its first structure.
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QComboBox>(dialog, "structureList");
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->findText("WL6"));
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Find<QComboBox>(dialog, "structureList")->currentIndex(), 0);
        EXPECT_EQ(Find<QTabWidget>(dialog, "tabs")->currentIndex(), 0);
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "1234");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(StructureBoxTest, TagEditsMapWhatIsTypedOntoHexadecimalDigitsWhenLeft)
{
    WhenModal([&](QWidget* dialog) {
        const std::vector<std::pair<const char*, std::pair<QString, QString>>> cases = {
            {"existingRlewTag", {"xyz", "FFF"}}, {"existingNearTag", {"g", "F"}},
            {"existingFarTag", {"_", "A"}},      {"scratchRlewTag", {"!", "0"}},
            {"scratchNearTag", {"a7", "A7"}},    {"scratchFarTag", {"@z", "AF"}},
            {"existingRlewTag", {"12345", "1234"}}};
        for (const auto& [name, io] : cases) {
            auto* edit = Find<QLineEdit>(dialog, name);
            TypeAndLeave(edit, io.first);
            EXPECT_EQ(S(edit->text()), S(io.second)) << name << " " << S(io.first);
        }
        Finish(dialog);
    });
    box.ShowStructureDialog(app.MapDefs(), "XYZ", "");
}

TEST_F(StructureBoxTest, ChecksEachTabInOrderAndStaysOpen)
{
    // Each OK fails at the first missing choice; then it is filled in.
    for (const std::string tab : {"existing", "scratch"}) {
        bool stayedOpen = true;
        WhenModal([&](QWidget* dialog) {
            Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(tab == "existing" ? 0 : 1);
            ChooseNoCompression(dialog, (tab + "Rlew").c_str());
            for (const char* edit : {"RlewTag", "NearTag", "FarTag"})
                TypeAndLeave(Find<QLineEdit>(dialog, (tab + edit).c_str()), "");
            for (const char* fill : {"Carmack", "RlewTag", "NearTag", "FarTag"}) {
                Click(dialog, "okButton");
                stayedOpen = stayedOpen && dialog->isVisible();
                if (std::string(fill) == "Carmack")
                    Click(dialog, (tab + fill).c_str());
                else
                    TypeAndLeave(Find<QLineEdit>(dialog, (tab + fill).c_str()), "1");
            }
            Finish(dialog);
        });
        EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", "")) << tab;
        EXPECT_TRUE(stayedOpen) << tab;
        EXPECT_TRUE(box.Cancelled());
        ExpectMessages({"No map compression has been chosen!", "The RLEW-Tag doesn't have a value!",
                        "The NEARTAG doesn't have a value!", "The FARTAG doesn't have a value!"});
        EXPECT_FALSE(fs::exists(Target()));
        prompter.Clear();
    }
}

TEST_F(StructureBoxTest, OkOnTheScratchTabWithTheWolf3DDefaultsCreatesTheStructure)
{
    bool closed = false;
    WhenModal([&](QWidget* dialog) {
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        Click(dialog, "scratchDefaults");
        EXPECT_EQ(Text(dialog, "scratchRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "scratchNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "scratchFarTag"), "A8");
        SetPlanes(Find<QSpinBox>(dialog, "scratchPlanes"), "3");
        Click(dialog, "scratchCarmack");
        Click(dialog, "okButton");
        closed = !dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(box.Cancelled());
    EXPECT_TRUE(prompter.Records().empty());

    const IniFile ini = TargetSettings();
    EXPECT_EQ(ini.ReadInteger("General", "Compression", -1), 1);
    EXPECT_EQ(ini.ReadInteger("General", "RLEWTag", -1), 43981);
    EXPECT_EQ(ini.ReadInteger("General", "NearTag", -1), 167);
    EXPECT_EQ(ini.ReadInteger("General", "FarTag", -1), 168);
    EXPECT_EQ(ini.ReadInteger("General", "ExtendedMapNames", -1), 0);
    EXPECT_EQ(ini.ReadInteger("General", "WDCCompatibleMaps", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", -1), 3);
}

TEST_F(StructureBoxTest, OkOnTheScratchTabTakesTheTypedChoices)
{
    WhenModal([&](QWidget* dialog) {
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        TypeAndLeave(Find<QLineEdit>(dialog, "scratchRlewTag"), "beef");
        TypeAndLeave(Find<QLineEdit>(dialog, "scratchNearTag"), "1");
        TypeAndLeave(Find<QLineEdit>(dialog, "scratchFarTag"), "zz");
        SetPlanes(Find<QSpinBox>(dialog, "scratchPlanes"), "2");
        Click(dialog, "scratchRlew");
        Click(dialog, "scratchExtendedNames");
        Click(dialog, "scratchWdc");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowStructureDialog(app.MapDefs(), "CO7", "C7.EXE"));
    const IniFile ini(app.MapDefs() / "CO7_Floppy" / "CO7.ini");
    EXPECT_EQ(ini.ReadInteger("General", "Compression", -1), 0);
    EXPECT_EQ(ini.ReadInteger("General", "RLEWTag", -1), 0xBEEF);
    EXPECT_EQ(ini.ReadInteger("General", "NearTag", -1), 0x1);
    EXPECT_EQ(ini.ReadInteger("General", "FarTag", -1), 0xFF);
    EXPECT_EQ(ini.ReadInteger("General", "ExtendedMapNames", -1), 1);
    EXPECT_EQ(ini.ReadInteger("General", "WDCCompatibleMaps", -1), 1);
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", -1), 2);
}

TEST_F(StructureBoxTest, OkOnTheFirstTabCopiesTheSelectedStructureWithFewerPlanes)
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

    // The copy of the selected structure; how it is copied is the store's.
    const IniFile ini = TargetSettings();
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", -1), 2);
    EXPECT_EQ(ini.ReadInteger("General", "Compression", -1), 0);
    EXPECT_EQ(ini.ReadInteger("General", "RLEWTag", -1), 0x1234);
    EXPECT_EQ(ini.ReadInteger("General", "NearTag", -1), 0xA7);
    EXPECT_EQ(ini.ReadInteger("General", "WDCCompatibleMaps", -1), 1);
    EXPECT_EQ(ini.ReadString("PlaneNames", "1", ""), "Objects and Actors");
}

TEST_F(StructureBoxTest, OkOnTheFirstTabCopiesTheSelectedStructureWithMorePlanes)
{
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QComboBox>(dialog, "structureList");
        list->setCurrentIndex(list->findText("WL6"));
        SetPlanes(Find<QSpinBox>(dialog, "existingPlanes"), "5");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    const IniFile ini = TargetSettings();
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", -1), 5);
    EXPECT_EQ(ini.ReadInteger("General", "Compression", -1), 1);
    EXPECT_EQ(ini.ReadString("PlaneNames", "4", ""), "Plane 5 (Unknown)");
}

TEST_F(StructureBoxTest, WithoutStructuresOpensOnTheScratchTabWithTheExtension)
{
    for (const auto& name : ListStructures(app.MapDefs()))
        fs::remove_all(app.MapDefs() / name);
    WriteFile(app.MapDefs() / "readme.txt", std::string("not a structure"));

    WhenModal([&](QWidget* dialog) {
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_FALSE(tabs->isTabEnabled(0));
        EXPECT_EQ(Find<QComboBox>(dialog, "structureList")->count(), 0);
        EXPECT_EQ(S(Text(dialog, "scratchExtension")), "XYZ");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));

    // Once there is one again, the first tab is back.
    fs::create_directories(app.MapDefs() / "ABC");
    WhenModal([&](QWidget* dialog) {
        auto* tabs = Find<QTabWidget>(dialog, "tabs");
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_TRUE(tabs->isTabEnabled(0));
        EXPECT_EQ(Text(dialog, "existingRlewTag"), "ABCD"); // a missing file reads as defaults
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

TEST_F(StructureBoxTest, AFailedCreationIsShownAndTheDialogStaysOpen)
{
    // A file where the structure folder should go.
    WriteFile(Target(), std::string("in the way"));
    bool stayedOpen = false;
    WhenModal([&](QWidget* dialog) {
        Find<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        Click(dialog, "scratchDefaults");
        Click(dialog, "scratchRlew");
        Click(dialog, "okButton");
        stayedOpen = dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowStructureDialog(app.MapDefs(), "XYZ", ""));
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(box.Cancelled());
    ExpectMessages({"Couldn't create the folder " + Target().string() + "!"});
    EXPECT_TRUE(fs::is_regular_file(Target()));
}

} // namespace
