// The "&?" menu's items reach the manual, the map legend, the update check and the about box.

#include "UiTestUtil.h"
#include "app/ui/HelpMenu.h"
#include "app/ui/TAboutBox.h"
#include "editor/ui/window/TEditorBox.h"
#include "editor/ui/play/TMarksLegendBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

class HelpMenuTest : public ::testing::Test {
protected:
    // A main window with the menu's services; the manual is `manual`.
    void Make(const fs::path& manual, bool openSucceeds = true)
    {
        editor_ = std::make_unique<TEditorBox>(prompter_, Environment());
        menu_ = new HelpMenu(*editor_, prompter_, Environment(),
                             {manual, [this, openSucceeds](const QUrl& url) {
                                  opened_.push_back(url);
                                  return openSucceeds;
                              }});
    }
    EditorEnvironment Environment() const { return {app_.SettingsFile(), app_.MapDefs(), {}, {}}; }
    void Trigger(const char* action) { editor_->Action(action)->trigger(); }

    AppFolder app_;
    ScriptedPrompter prompter_;
    std::vector<QUrl> opened_;
    std::unique_ptr<TEditorBox> editor_;
    HelpMenu* menu_ = nullptr;
};

TEST_F(HelpMenuTest, TheMenuHoldsItsItemsWithF1ForHelpAndTheAboutBoxTellsVersionQtAndFolders)
{
    Make(app_.path() / "manual" / "index.html");
    QMenu* menu = editor_->menuBar()->findChild<QMenu*>("helpMenu");
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            captions << action->text();
    EXPECT_EQ(captions, QStringList({"&Help", "Map &Legend", "Check For &Update", "Check For Update At Startup",
                                     "&About Tesselar"}));
    EXPECT_EQ(editor_->Action("helpAction")->shortcut(), QKeySequence(Qt::Key_F1));

    const QString text = menu_->AboutBox()->Text();
    for (const QString& part : {QString("Tesselar"), QString("Version " TESSELAR_VERSION), QString(qVersion()),
                                Q(app_.SettingsFile().string()), Q(app_.MapDefs().string())})
        EXPECT_TRUE(text.contains(part)) << S(part);
    WhenModal([](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
    Trigger("aboutAction");

    // The legend: the five markers' badges and three actors' marks.
    WhenModal([](QWidget* box) {
        EXPECT_EQ(S(box->windowTitle()), "Map Legend");
        EXPECT_EQ(static_cast<TMarksLegendBox*>(box)->Rows(), 16);
        static_cast<QDialog*>(box)->reject();
    });
    Trigger("mapLegendAction");
}

TEST_F(HelpMenuTest, HelpOpensTheManualInTheBrowserOrSaysWhyItCannot)
{
    const fs::path manual = app_.path() / "manual" / "index.html";
    Make(manual);
    Trigger("helpAction"); // no manual yet
    EXPECT_TRUE(opened_.empty());
    fs::create_directories(manual.parent_path());
    WriteFile(manual, std::string("<html></html>"));
    Trigger("helpAction");
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(S(opened_[0].toLocalFile()), manual.string());

    Make(manual, false); // a browser that does not take the file
    Trigger("helpAction");
    ASSERT_EQ(prompter_.Records().size(), 2u);
    for (const PromptRecord& r : prompter_.Records()) {
        EXPECT_EQ(r.caption, "Help");
        EXPECT_EQ(r.icon, MessageIcon::Error);
    }
    const std::string noBrowser =
        "No browser could be started to show the user manual. You can open it yourself:\n\n" + manual.string();
    EXPECT_EQ(prompter_.MessageTexts(), std::vector<std::string>({"Couldn't find help file!", noBrowser}));
}

TEST_F(HelpMenuTest, TheUpdateCheckRunsOnDemandAndAtStartupWhenAsked)
{
    const std::string missing = "Important version information are missing!\n\nCheck the download URLs in your TSL.ini!";
    Make(app_.path() / "manual" / "index.html");
    menu_->StartupCheck();
    EXPECT_TRUE(prompter_.Records().empty()) << "the start-up check is off by default";
    Trigger("checkForUpdateAction");
    EXPECT_EQ(prompter_.MessageTexts(), std::vector<std::string>{missing});

    prompter_.Clear();
    Trigger("checkForUpdateAtStartupAction");
    menu_->StartupCheck();
    EXPECT_EQ(prompter_.MessageTexts(), std::vector<std::string>{missing});
}

} // namespace
