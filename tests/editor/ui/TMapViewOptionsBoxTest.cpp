// The "Map View Options" dialog: one check per symbol type and per plane,
// each taking effect at once, and the types written back once it closed.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/Project.h"
#include "editor/ui/TMapViewOptionsBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QListWidget>
#include <QTest>

using namespace tsl;
using namespace tsl::test;

namespace {

QListWidget* List(QWidget* dialog, const char* name)
{
    auto* list = dialog->findChild<QListWidget*>(QString::fromLatin1(name));
    EXPECT_NE(list, nullptr) << "no list " << name;
    return list;
}

std::vector<std::string> Texts(QListWidget* list)
{
    std::vector<std::string> texts;
    for (int i = 0; list && i < list->count(); ++i)
        texts.push_back(S(list->item(i)->text()));
    return texts;
}

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

void ClickOk(QWidget* dialog)
{
    for (auto* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == "OK")
            QTest::mouseClick(button, Qt::LeftButton);
    if (dialog->isVisible())
        static_cast<QDialog*>(dialog)->reject();
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
    bool sawDialog = false;
    WhenModal([&](QWidget* dialog) {
        sawDialog = true;
        EXPECT_EQ(S(dialog->windowTitle()), "Map View Options");
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()); // fixed size
        QStringList groups;
        for (auto* group : dialog->findChildren<QGroupBox*>())
            groups << group->title();
        EXPECT_TRUE(groups.contains("Draw map objects"));
        EXPECT_TRUE(groups.contains("Draw map planes"));

        QListWidget* types = List(dialog, "typeList");
        std::vector<std::string> expectedTypes;
        std::vector<bool> expectedChecks;
        for (const MapSymbolTypes& type : project->Symbols.SymbolTypes()) {
            expectedTypes.push_back("Show " + type.TypeName);
            expectedChecks.push_back(type.Shown == 1);
        }
        ASSERT_GE(expectedTypes.size(), 20u);
        EXPECT_EQ(Texts(types), expectedTypes);
        EXPECT_EQ(Texts(types)[0], "Show Wall");
        EXPECT_EQ(Checks(types), expectedChecks);
        EXPECT_FALSE(Checks(types)[1]);

        QListWidget* planes = List(dialog, "planeList");
        EXPECT_EQ(Texts(planes),
                  (std::vector<std::string>{"Show Walls and Floors", "Show Objects and Actors", "Show Unknown Plane"}));
        EXPECT_EQ(Checks(planes), (std::vector<bool>{true, false, true}));
        ClickOk(dialog);
    });
    box.ShowMapViewOptions(*project);
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(prompter.Records().empty());
}

TEST_F(ViewOptionsBoxTest, EachCheckTakesEffectAtOnceAndTheTypesAreWrittenAfterClosing)
{
    const std::string typesBefore = FileText(TypesFile());
    ASSERT_NE(typesBefore.find("w,Wall,1\r\n"), std::string::npos);
    WhenModal([&](QWidget* dialog) {
        QListWidget* types = List(dialog, "typeList");
        QListWidget* planes = List(dialog, "planeList");

        Toggle(types, 0);
        EXPECT_EQ(project->Symbols.SymbolTypes()[0].Shown, 0);
        EXPECT_FALSE(project->Symbols.TypeShown("w"));
        EXPECT_EQ(FileText(TypesFile()), typesBefore); // not before the dialog closes

        Toggle(planes, 1);
        EXPECT_FALSE(IniFile(SettingsPath()).ReadBool("ShowPlanes", "1", true));
        EXPECT_EQ(IniFile(SettingsPath()).ReadString("ShowPlanes", "1", ""), "0");
        EXPECT_FALSE(project->Display()[1].Show);

        Toggle(planes, 1);
        EXPECT_EQ(IniFile(SettingsPath()).ReadString("ShowPlanes", "1", ""), "1");
        Toggle(planes, 2);
        EXPECT_EQ(IniFile(SettingsPath()).ReadString("ShowPlanes", "2", ""), "0");

        Toggle(types, 3);
        Toggle(types, 3);
        EXPECT_EQ(project->Symbols.SymbolTypes()[3].Shown, 1);
        ClickOk(dialog);
    });
    box.ShowMapViewOptions(*project);
    EXPECT_TRUE(prompter.Records().empty());

    const std::string typesAfter = FileText(TypesFile());
    EXPECT_EQ(typesAfter.rfind("w,Wall,0\r\nf,Floor,1\r\n", 0), 0u);
    EXPECT_NE(typesAfter.find("k,Key,1\r\n"), std::string::npos);

    // Shown again, both lists are refilled from what holds now.
    project->Symbols.SymbolTypes()[0].Shown = 1;
    project->Settings->WriteBool("ShowPlanes", "0", false);
    WhenModal([&](QWidget* dialog) {
        QListWidget* types = List(dialog, "typeList");
        EXPECT_EQ(types->count(), static_cast<int>(project->Symbols.SymbolTypes().size()));
        EXPECT_TRUE(Checks(types)[0]);
        EXPECT_EQ(Checks(List(dialog, "planeList")), (std::vector<bool>{false, true, false}));
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
        Toggle(List(dialog, "typeList"), 0);
        ClickOk(dialog);
    });
    box.ShowMapViewOptions(*project);
    ASSERT_EQ(prompter.Records().size(), 1u);
    EXPECT_EQ(prompter.Records()[0].text, "Couldn't write \"" + TypesFile().string() + "\"!");
    EXPECT_EQ(prompter.Records()[0].caption, "Error saving map symbols");
    EXPECT_EQ(prompter.Records()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompter.Records()[0].buttons, Buttons::Ok);
    EXPECT_EQ(project->Symbols.SymbolTypes()[0].Shown, 0);
}

} // namespace
