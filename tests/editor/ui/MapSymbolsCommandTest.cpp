// "Map &Symbols" in the main window: enabled with a project, and after "OK"
// the window's tables and symbol list come from the files just written.

#include "EditorFixture.h"
#include "editor/ui/SidePanel.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>

using namespace tsl;
using namespace tsl::test;

namespace {
class MapSymbolsCommandTest : public EditorFixture {};
} // namespace

TEST_F(MapSymbolsCommandTest, OkRebuildsTheWindowsSymbolsFromTheFiles)
{
    QAction* action = Editor().Action("mapSymbolsAction");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+E"));
    EXPECT_FALSE(action->isEnabled());
    OpenSample();
    EXPECT_TRUE(action->isEnabled());

    Editor().SetChanged(true);
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) {
        Find<QListWidget>(dialog, "symbolList")->setCurrentRow(1);
        TypeAndLeave(Find<QLineEdit>(dialog, "symbolNameEdit"), "Granite");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    action->trigger();
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].caption, "Map symbols saving note");
    EXPECT_EQ(Editor().CurrentProject()->Symbols.PlaneSymbols(0)[1].SymbolName, "Granite");
    EXPECT_EQ(S(Editor().Panel()->SymbolList()->item(1)->text()), "1 - Granite");
    EXPECT_TRUE(Editor().Changed()); // the maps were not saved
}
