// The "Map View Options" dialog: one check per symbol type and per plane,
// each taking effect at once, and the types written back once it closed.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/document/Project.h"
#include "editor/ui/dialogs/TMapViewOptionsBox.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

std::vector<bool> Checks(QListWidget* list)
{
    std::vector<bool> checks;
    for (int i = 0; list && i < list->count(); ++i)
        checks.push_back(list->item(i)->checkState() == Qt::Checked);
    return checks;
}

// Toggles a row's check box.
void Toggle(QListWidget* list, int row)
{
    if (!list || row >= list->count())
        return;
    QListWidgetItem* item = list->item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

class ViewOptionsBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    std::unique_ptr<Project> project;
    TMapViewOptionsBox box{prompter};

    void SetUp() override
    {
        project = app.OpenSampleProject(prompter);
        ASSERT_NE(project, nullptr);
    }
    void TearDown() override { EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished(); }

    fs::path TypesFile() const { return app.MapDefs() / "WL6" / "mapsymboltypes.txt"; }
    fs::path SettingsPath() const { return app.MapDefs() / "WL6" / "WL6.ini"; }
};

TEST_F(ViewOptionsBoxTest, ListsEveryTypeAndPlaneWithItsCheck)
{
    project->Symbols.SymbolTypes()[1].Shown = 0; // Floor
    project->Settings->WriteBool("ShowPlanes", "1", false);
    project->Settings->DeleteKey("PlaneNames", "2");
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map View Options");
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()); // fixed size
        EXPECT_TRUE(ShowsText(dialog, "Draw map objects"));
        EXPECT_TRUE(ShowsText(dialog, "Draw map planes"));

        QListWidget* types = Find<QListWidget>(dialog, "typeList");
        std::vector<std::string> expectedTypes;
        std::vector<bool> expectedChecks;
        for (const MapSymbolTypes& type : project->Symbols.SymbolTypes()) {
            expectedTypes.push_back("Show " + type.TypeName);
            expectedChecks.push_back(type.Shown == 1);
        }
        ASSERT_GE(expectedTypes.size(), 20u);
        EXPECT_EQ(Items(types), expectedTypes);
        EXPECT_EQ(Checks(types), expectedChecks);

        QListWidget* planes = Find<QListWidget>(dialog, "planeList");
        EXPECT_EQ(Items(planes),
                  (std::vector<std::string>{"Show Walls and Floors", "Show Objects and Actors", "Show Unknown Plane"}));
        EXPECT_EQ(Checks(planes), (std::vector<bool>{true, false, true}));
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowMapViewOptions(*project);
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(ViewOptionsBoxTest, EachCheckTakesEffectAtOnceAndTheTypesAreWrittenAfterClosing)
{
    const std::string typesBefore = FileText(TypesFile());
    ASSERT_NE(typesBefore.find("w,Wall,1\r\n"), std::string::npos);
    WhenModal([&](QWidget* dialog) {
        QListWidget* types = Find<QListWidget>(dialog, "typeList");
        QListWidget* planes = Find<QListWidget>(dialog, "planeList");

        Toggle(types, 0);
        EXPECT_FALSE(project->Symbols.TypeShown("w"));
        EXPECT_EQ(FileText(TypesFile()), typesBefore); // not before the dialog closes

        Toggle(planes, 1);
        EXPECT_EQ(IniFile(SettingsPath()).ReadString("ShowPlanes", "1", ""), "0");
        EXPECT_FALSE(project->Display()[1].Show);

        Toggle(planes, 1);
        EXPECT_EQ(IniFile(SettingsPath()).ReadString("ShowPlanes", "1", ""), "1");

        Toggle(types, 3);
        Toggle(types, 3);
        EXPECT_EQ(project->Symbols.SymbolTypes()[3].Shown, 1);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowMapViewOptions(*project);
    EXPECT_TRUE(prompter.Records().empty());

    EXPECT_EQ(FileText(TypesFile()).rfind("w,Wall,0\r\nf,Floor,1\r\n", 0), 0u);

    // Shown again, both lists are refilled from what holds now.
    project->Symbols.SymbolTypes()[0].Shown = 1;
    project->Settings->WriteBool("ShowPlanes", "0", false);
    WhenModal([&](QWidget* dialog) {
        QListWidget* types = Find<QListWidget>(dialog, "typeList");
        EXPECT_EQ(types->count(), static_cast<int>(project->Symbols.SymbolTypes().size()));
        EXPECT_TRUE(Checks(types)[0]);
        EXPECT_EQ(Checks(Find<QListWidget>(dialog, "planeList")), (std::vector<bool>{false, true, true}));
        dialog->close(); // closing the window is as good as OK
    });
    box.ShowMapViewOptions(*project);
    EXPECT_EQ(FileText(TypesFile()).rfind("w,Wall,1\r\n", 0), 0u);
}

TEST_F(ViewOptionsBoxTest, ATypesFileThatCannotBeWrittenIsReported)
{
    fs::remove(TypesFile());
    fs::create_directories(TypesFile() / "blocked");
    WhenModal([&](QWidget* dialog) {
        Toggle(Find<QListWidget>(dialog, "typeList"), 0);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    box.ShowMapViewOptions(*project);
    // The failure's text and caption are SymbolFilesTest's; it reaches the prompter.
    ASSERT_EQ(prompter.Records().size(), 1u);
    EXPECT_EQ(prompter.Records()[0].caption, "Error saving map symbols");
    EXPECT_EQ(prompter.Records()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(project->Symbols.SymbolTypes()[0].Shown, 0);
}

} // namespace
