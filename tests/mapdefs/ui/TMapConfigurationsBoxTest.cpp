// The "Map Configurations" dialog: what it shows, its checks in order, and
// the choices OK hands back. Applying them is the store's (StructureStoreTest).

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "mapdefs/ui/TMapConfigurationsBox.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <functional>
#include <tuple>
#include <vector>

using namespace tsl;
using namespace tsl::test;

namespace {

class ConfigurationsBoxTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    TMapConfigurationsBox box{prompter};
    const MapConfiguration current{0x0102, 0x0C, 0xA8, 1, false, true};

    void TearDown() override { EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished(); }
};

TEST_F(ConfigurationsBoxTest, ShowsTheConfigurationWithTheCompressionTheDataFileSets)
{
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map Configurations");
        EXPECT_EQ(Text(dialog, "configRlewTag"), "0102");
        EXPECT_EQ(Text(dialog, "configNearTag"), "0C");
        EXPECT_EQ(Text(dialog, "configFarTag"), "A8");
        EXPECT_FALSE(Checked(dialog, "configRlew"));
        EXPECT_TRUE(Checked(dialog, "configCarmack"));
        EXPECT_FALSE(Find<QWidget>(dialog, "configCarmack")->isEnabled());
        EXPECT_TRUE(Find<QWidget>(dialog, "configCompressionNote")->isVisible());
        EXPECT_FALSE(Checked(dialog, "configExtendedNames"));
        EXPECT_TRUE(Checked(dialog, "configWdc"));
        // The labels inside the groups are the structure dialog's too (its test reads them).
        for (const char* text : {"Compression tags (Expert only)", "Set Defaults", "Map compression",
                                 "Misc map configurations", "Use 32 character map names", "Save maps WDC compatible",
                                 "OK", "Cancel"})
            EXPECT_TRUE(ShowsText(dialog, QString::fromUtf8(text))) << text;
        Click(dialog, "configDefaults");
        EXPECT_EQ(Text(dialog, "configRlewTag"), "ABCD");
        EXPECT_EQ(Text(dialog, "configNearTag"), "A7");
        EXPECT_EQ(Text(dialog, "configFarTag"), "A8");
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(current));

    // Refilled each time it is shown.
    MapConfiguration rlewOnly = current;
    rlewOnly.Compression = 0;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Text(dialog, "configRlewTag"), "0102");
        EXPECT_TRUE(Checked(dialog, "configRlew"));
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(rlewOnly));
}

TEST_F(ConfigurationsBoxTest, ChecksItsFieldsAndStaysOpen)
{
    // The checks and their order are the structure dialog's (TMapDefinitionStructureBoxTest):
    // here one of them, shown under this dialog's caption.
    bool stayedOpen = false;
    WhenModal([&](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "configFarTag"), "");
        Click(dialog, "okButton");
        stayedOpen = dialog->isVisible();
        Finish(dialog);
    });
    EXPECT_FALSE(box.ShowMapConfigurations(current));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.Records().size(), 1u);
    const PromptRecord& r = prompter.Records()[0];
    EXPECT_EQ(r.text, "The FARTAG doesn't have a value!");
    EXPECT_EQ(r.caption, "Error create map configurations");
    EXPECT_EQ(r.icon, MessageIcon::Error);
    EXPECT_EQ(r.buttons, Buttons::Ok);
}

TEST_F(ConfigurationsBoxTest, OkHandsBackTheChoicesWithTheCompressionAsItCame)
{
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
    const auto chosen = box.ShowMapConfigurations(current);
    EXPECT_TRUE(closed);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::tie(chosen->RLEWTag, chosen->NearTag, chosen->FarTag, chosen->Compression),
              std::make_tuple(0x1234, 0xF1, 0x34, 1));
    EXPECT_EQ(std::tie(chosen->ExtendedMapNames, chosen->WDCCompatibleMaps), std::make_tuple(true, false));
}

TEST_F(ConfigurationsBoxTest, CancelEscapeAndTheWindowsCloseButtonHandBackNothing)
{
    const std::vector<std::function<void(QWidget*)>> closers = {
        [](QWidget* dialog) { Click(dialog, "cancelButton"); },
        [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
        [](QWidget* dialog) { dialog->close(); },
    };
    for (std::size_t i = 0; i < closers.size(); ++i) {
        WhenModal([&](QWidget* dialog) {
            TypeAndLeave(Find<QLineEdit>(dialog, "configRlewTag"), "1");
            Click(dialog, "configExtendedNames");
            closers[i](dialog);
            Finish(dialog);
        });
        EXPECT_FALSE(box.ShowMapConfigurations(current)) << i;
    }
    EXPECT_TRUE(prompter.Records().empty());
}

} // namespace
