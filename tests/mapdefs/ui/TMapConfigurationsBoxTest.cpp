// The "Map Configurations" dialog on an open project: what it shows, its
// checks in order, and what OK and Cancel do to the map set and the settings.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/Project.h"
#include "mapdefs/ui/TMapConfigurationsBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::string kCaption = "Error create map configurations";

// What OK may change, to compare before and after.
struct Snapshot {
    std::uint16_t rlew, nearTag, farTag;
    int compression, nameLength;
    bool extended, wdc;
    std::string settings;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

class ConfigurationsBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    std::unique_ptr<Project> project;
    TMapConfigurationsBox box{prompter};

    void SetUp() override
    {
        project = app.OpenSampleProject(prompter);
        ASSERT_NE(project, nullptr);
    }

    fs::path SettingsPath() const { return app.MapDefs() / "WL6" / "WL6.ini"; }

    Snapshot Take() const
    {
        const MapHandler& m = project->Maps;
        return Snapshot{m.RLEWTag,  m.NearTag,          m.FarTag,          m.Compression,
                        m.NameLength, m.ExtendedMapNames, m.WDCCompatibleMaps, FileText(SettingsPath())};
    }
};

TEST_F(ConfigurationsBoxTest, ShowsTheMapSetsTagsAndCompressionAndTheStructuresOptions)
{
    // The check boxes come from the structure, not from the map set.
    project->Settings->WriteBool("General", "WDCCompatibleMaps", true);
    project->Maps.RLEWTag = 0x0102;
    project->Maps.NearTag = 0x0C;
    bool sawDialog = false;
    WhenModal([&](QWidget* dialog) {
        sawDialog = true;
        EXPECT_EQ(S(dialog->windowTitle()), "Map Configurations");
        EXPECT_EQ(Text(dialog, "configRlewTag"), "0102");
        EXPECT_EQ(Text(dialog, "configNearTag"), "0C");
        EXPECT_EQ(Text(dialog, "configFarTag"), "A8");
        EXPECT_FALSE(Checked(dialog, "configRlew"));
        EXPECT_TRUE(Checked(dialog, "configCarmack"));
        EXPECT_FALSE(Checked(dialog, "configExtendedNames"));
        EXPECT_TRUE(Checked(dialog, "configWdc"));
        for (const char* text : {"Compression tags (Expert only)", "RLEW-Tag:", "NEARTAG:", "FARTAG:", "Set Defaults",
                                 "Map compression", "RLEW compression", "Carmack compression",
                                 "Misc map configurations", "Use 32 character map names", "Save maps WDC compatible",
                                 "OK", "Cancel"})
            EXPECT_TRUE(ShowsText(dialog, QString::fromUtf8(text))) << text;

        Click(dialog, "configDefaults");
        EXPECT_EQ(Text(dialog, "configRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "configNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "configFarTag"), "A8");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(*project));
    EXPECT_TRUE(sawDialog);

    // Refilled from the project each time it is shown.
    project->Maps.Compression = 0;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Text(dialog, "configRlewTag"), "0102");
        EXPECT_TRUE(Checked(dialog, "configRlew"));
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(*project));
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(ConfigurationsBoxTest, ChecksItsFieldsInOrderAndChangesNothingMeanwhile)
{
    const Snapshot before = Take();
    bool stayedOpen = true;
    WhenModal([&](QWidget* dialog) {
        auto* rlew = Find<QRadioButton>(dialog, "configRlew");
        if (rlew && rlew->group()) {
            rlew->group()->setExclusive(false);
            for (QAbstractButton* button : rlew->group()->buttons())
                button->setChecked(false);
            rlew->group()->setExclusive(true);
        }
        TypeAndLeave(Find<QLineEdit>(dialog, "configRlewTag"), "");
        TypeAndLeave(Find<QLineEdit>(dialog, "configNearTag"), "");
        TypeAndLeave(Find<QLineEdit>(dialog, "configFarTag"), "");
        Click(dialog, "configExtendedNames");
        Click(dialog, "okButton");
        stayedOpen = stayedOpen && dialog->isVisible();
        Click(dialog, "configRlew");
        Click(dialog, "okButton");
        stayedOpen = stayedOpen && dialog->isVisible();
        TypeAndLeave(Find<QLineEdit>(dialog, "configRlewTag"), "x");
        Click(dialog, "okButton");
        stayedOpen = stayedOpen && dialog->isVisible();
        TypeAndLeave(Find<QLineEdit>(dialog, "configNearTag"), "1");
        Click(dialog, "okButton");
        stayedOpen = stayedOpen && dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(*project));
    EXPECT_TRUE(stayedOpen);
    const std::vector<std::string> texts = {"No map compression has been chosen!", "The RLEW-Tag doesn't have a value!",
                                            "The NEARTAG doesn't have a value!", "The FARTAG doesn't have a value!"};
    ASSERT_EQ(prompter.Records().size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const PromptRecord& r = prompter.Records()[i];
        EXPECT_EQ(r.text, texts[i]);
        EXPECT_EQ(r.caption, kCaption);
        EXPECT_EQ(r.icon, MessageIcon::Error);
        EXPECT_EQ(r.buttons, Buttons::Ok);
    }
    EXPECT_TRUE(Take() == before);
}

TEST_F(ConfigurationsBoxTest, OkSetsTheMapSetAndWritesTheGeneralKeysAtOnce)
{
    const std::string tagsBefore = std::to_string(project->Settings->ReadInteger("General", "RLEWTag", -1));
    const int sizeBefore = static_cast<int>(project->Maps.BuildSaveImage()->data.size());
    bool closed = false;
    WhenModal([&](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "configRlewTag"), "1234");
        TypeAndLeave(Find<QLineEdit>(dialog, "configNearTag"), "g1");
        TypeAndLeave(Find<QLineEdit>(dialog, "configFarTag"), "34");
        Click(dialog, "configRlew");
        Click(dialog, "configExtendedNames");
        Click(dialog, "configWdc");
        Click(dialog, "okButton");
        closed = !dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowMapConfigurations(*project));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(prompter.Records().empty());

    const MapHandler& maps = project->Maps;
    EXPECT_EQ(maps.RLEWTag, 0x1234);
    EXPECT_EQ(maps.NearTag, 0xF1);
    EXPECT_EQ(maps.FarTag, 0x34);
    EXPECT_EQ(maps.Compression, 0);
    EXPECT_TRUE(maps.ExtendedMapNames);
    EXPECT_EQ(maps.NameLength, 32);
    EXPECT_TRUE(maps.WDCCompatibleMaps);
    EXPECT_FALSE(project->Changed);

    // On disk at once; the tags wait for the next save of the structure settings.
    const IniFile onDisk(SettingsPath());
    EXPECT_EQ(onDisk.ReadString("General", "Compression", ""), "0");
    EXPECT_EQ(onDisk.ReadString("General", "ExtendedMapNames", ""), "1");
    EXPECT_EQ(onDisk.ReadString("General", "WDCCompatibleMaps", ""), "1");
    EXPECT_EQ(onDisk.ReadString("General", "RLEWTag", ""), tagsBefore);

    // The next save writes 32-byte names: 16 more bytes per map record.
    const int sizeAfter = static_cast<int>(project->Maps.BuildSaveImage()->data.size());
    EXPECT_EQ(sizeAfter - sizeBefore, 16 * maps.NumMaps());

    // And back: unchecked gives 16-byte names again.
    WhenModal([&](QWidget* dialog) {
        EXPECT_TRUE(Checked(dialog, "configExtendedNames"));
        EXPECT_EQ(Text(dialog, "configNearTag"), "F1");
        Click(dialog, "configExtendedNames");
        Click(dialog, "configCarmack");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_TRUE(box.ShowMapConfigurations(*project));
    EXPECT_EQ(maps.NameLength, 16);
    EXPECT_FALSE(maps.ExtendedMapNames);
    EXPECT_EQ(maps.Compression, 1);
    EXPECT_EQ(IniFile(SettingsPath()).ReadString("General", "ExtendedMapNames", ""), "0");
    EXPECT_EQ(IniFile(SettingsPath()).ReadString("General", "Compression", ""), "1");
}

TEST_F(ConfigurationsBoxTest, CancelEscapeAndTheWindowsCloseButtonChangeNothing)
{
    const Snapshot before = Take();
    const std::vector<std::function<void(QWidget*)>> closers = {
        [](QWidget* dialog) { Click(dialog, "cancelButton"); },
        [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
        [](QWidget* dialog) { dialog->close(); },
    };
    for (std::size_t i = 0; i < closers.size(); ++i) {
        bool closed = false;
        WhenModal([&](QWidget* dialog) {
            TypeAndLeave(Find<QLineEdit>(dialog, "configRlewTag"), "1");
            Click(dialog, "configRlew");
            Click(dialog, "configExtendedNames");
            Click(dialog, "configWdc");
            closers[i](dialog);
            closed = !dialog->isVisible();
            Finish(dialog);
        });
        EXPECT_FALSE(box.ShowMapConfigurations(*project)) << i;
        EXPECT_TRUE(closed) << i;
        EXPECT_TRUE(Take() == before) << i;
    }
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(ConfigurationsBoxTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheMapSetKept)
{
    // A folder that is not empty in place of the settings file.
    fs::remove(SettingsPath());
    fs::create_directories(SettingsPath() / "blocked");
    const MapHandler& maps = project->Maps;
    const int nameLength = maps.NameLength;
    bool stayedOpen = false;
    WhenModal([&](QWidget* dialog) {
        Click(dialog, "configExtendedNames");
        Click(dialog, "okButton");
        stayedOpen = dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(*project));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.Records().size(), 1u);
    EXPECT_EQ(prompter.Records()[0].text, "Couldn't write the settings file " + SettingsPath().string() + "!");
    EXPECT_EQ(prompter.Records()[0].caption, kCaption);
    EXPECT_EQ(prompter.Records()[0].icon, MessageIcon::Error);
    EXPECT_EQ(maps.NameLength, nameLength);
    EXPECT_FALSE(maps.ExtendedMapNames);
}

} // namespace
