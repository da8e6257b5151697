// The dialog that asks Run Map for the game's command: it shows the examples,
// takes no blank command and hands back what was typed or chosen from the
// presets and the recent commands, with the skill level and debug switch.

#include "UiTestUtil.h"

#include "editor/ui/run/TRunCommandBox.h"

#include <QCheckBox>
#include <QComboBox>
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

TEST(TRunCommandBox, AChosenPresetOrRecentCommandFillsTheFieldWithTheSkillAndDebugSwitch)
{
    TRunCommandBox box;
    const std::vector<RunPreset> presets = {
        {"Wolf4SDL", "wolf3d --tedlevel %m --nowait --%k %[--goobers]", "/fake/bin/wolf3d"},
        {"ECWolf", "ecwolf --data %e --tedlevel MAP%N --skill %s --nowait", ""},
        {"Custom command", "", "", true},
    };
    RunOptions options;
    options.Skill = 3;
    options.RecentCommands = {"dosbox -c exit", "wolf4sdl --tedlevel %m"};
    WhenModal([&](QWidget* dialog) {
        auto* choices = Find<QComboBox>(dialog, "runPresets");
        EXPECT_EQ(Items(choices), (std::vector<std::string>{"Choose one...", "Wolf4SDL (/fake/bin/wolf3d)",
                                                            "ECWolf (not found in the PATH)", "Custom command"}));
        EXPECT_EQ(Find<QComboBox>(dialog, "runSkill")->currentIndex(), 2);
        EXPECT_FALSE(Checked(dialog, "runDebug"));
        auto* recent = Find<QComboBox>(dialog, "recentCommands");
        recent->setCurrentIndex(2);
        emit recent->activated(2);
        EXPECT_EQ(S(Text(dialog, "runCommand")), "wolf4sdl --tedlevel %m");
        choices->setCurrentIndex(1);
        emit choices->activated(1);
        EXPECT_EQ(S(Text(dialog, "runCommand")), "wolf3d --tedlevel %m --nowait --%k %[--goobers]");
        Find<QComboBox>(dialog, "runSkill")->setCurrentIndex(0);
        Find<QCheckBox>(dialog, "runDebug")->setChecked(true);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    EXPECT_EQ(box.AskCommand("", presets, options), "wolf3d --tedlevel %m --nowait --%k %[--goobers]");
    EXPECT_EQ(box.Options().Skill, 1);
    EXPECT_TRUE(box.Options().Debug);
    EXPECT_EQ(box.Options().RecentCommands, options.RecentCommands);
}
