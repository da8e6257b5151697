// The dialog that asks Run Map for the game's command: it shows the examples,
// takes no blank command and hands back what was typed.

#include "UiTestUtil.h"

#include "editor/ui/TRunCommandBox.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(TRunCommandBox, TakesACommandThatIsNotBlank)
{
    TRunCommandBox box;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Run Map");
        auto* command = Find<QLineEdit>(dialog, "runCommand");
        auto* ok = Find<QPushButton>(dialog, "okButton");
        EXPECT_EQ(S(command->text()), "");
        EXPECT_FALSE(ok->isEnabled());
        TypeAndLeave(command, "  ");
        EXPECT_FALSE(ok->isEnabled());
        TypeAndLeave(command, "ecwolf --data %e --tedlevel %m");
        EXPECT_TRUE(ok->isEnabled());
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.AskCommand(), std::optional<std::string>("ecwolf --data %e --tedlevel %m"));

    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(Find<QLineEdit>(dialog, "runCommand")->text()), "wolf4sdl");
        Click(dialog, "cancelButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.AskCommand("wolf4sdl"), std::nullopt);
}
