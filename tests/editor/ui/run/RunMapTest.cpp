// The main window's wiring of Run Map: F9 runs the command from TSL.ini after
// the save question, asks for lower-case links where a port needs them, and
// tells the end of a program that stopped at once. The flow itself is pinned
// by RunMapFlowTest.

#include "EditorFixture.h"

#include "editor/ui/run/RunController.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>

using namespace tsl;
using namespace tsl::test;

namespace {

class RunMapWiring : public OpenedEditor {
protected:
    void SetUp() override
    {
        OpenedEditor::SetUp();
        Editor().Runner()->SetAudioCheck([] { return true; });
    }
    // A key of the main window, which takes its shortcuts only while active.
    void Key(Qt::Key key)
    {
        Editor().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Editor(); }));
        QTest::keyClick(&Editor(), key);
    }
    // A launcher that only notes what it was asked to start.
    void FakeLaunch()
    {
        Editor().Runner()->SetLauncher([this](const LaunchRequest& request) {
            started.push_back(request.arguments);
            folder = request.directory;
            return Outcome<std::unique_ptr<GameWatch>>(std::unique_ptr<GameWatch>());
        });
    }
    // A folder for the PATH with an executable script `name` of `body`.
    fs::path Program(const std::string& name, const std::string& body)
    {
        WriteFile(bin.path() / name, "#!/bin/sh\n" + body);
        fs::permissions(bin.path() / name, fs::perms::owner_all);
        return bin.path() / name;
    }

    TempDir bin;
    std::vector<std::vector<std::string>> started;
    fs::path folder;
};

// The PATH of a test, put back after it.
class PathOf {
public:
    explicit PathOf(const fs::path& dir)
    {
        const char* old = std::getenv("PATH");
        kept_ = old ? old : "";
        ::setenv("PATH", dir.c_str(), 1);
    }
    ~PathOf() { ::setenv("PATH", kept_.c_str(), 1); }

private:
    std::string kept_;
};

} // namespace

TEST_F(RunMapWiring, F9AsksForTheCommandOnceSavesWhenToldAndStartsTheGame)
{
    FakeLaunch();
    // No command yet: the dialog asks for it and TSL.ini keeps it.
    WhenModal([](QWidget* dialog) {
        TypeAndLeave(Find<QLineEdit>(dialog, "runCommand"), "wolf --data %e --tedlevel %m");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Key(Qt::Key_F9);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"wolf", "--data", "WL6", "--tedlevel", "0"}));
    EXPECT_EQ(folder, fs::absolute(SampleCopy()).lexically_normal());
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadString("Game", "RunCommand", ""), "wolf --data %e --tedlevel %m");
    EXPECT_EQ(Editor().StatusText().toStdString(), "wolf started.");

    // Unsaved changes: Yes saves them first, and the game starts once they
    // are saved, without waiting for the progress box to be closed.
    Editor().NextMap();
    EditWord(1, 0, 1, 1, 2);
    Prompts().Answer(Answer::Yes);
    Key(Qt::Key_F9);
    ExpectMessage(0, "The maps have unsaved changes. Save them before running the game?", "Run Map",
                  MessageIcon::Question, Buttons::YesNoCancel);
    EXPECT_FALSE(Editor().Changed());
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[1].back(), "1");

    // "Run Map Command..." shows the stored command for a change.
    WhenModal([](QWidget* dialog) {
        auto* command = Find<QLineEdit>(dialog, "runCommand");
        EXPECT_EQ(S(command->text()), "wolf --data %e --tedlevel %m");
        TypeAndLeave(command, "wolf4sdl --tedlevel %n");
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Editor().Action("runMapCommandAction")->trigger();
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadString("Game", "RunCommand", ""), "wolf4sdl --tedlevel %n");
}

TEST_F(RunMapWiring, APortOnThePathThatReadsLowerCaseNamesGetsItsLinksFirst)
{
    // A source port of the name Wolf4SDL's Makefile gives it, and the
    // sample game's files under upper-case names only.
    Program("wolf3d", "");
    const PathOf path(bin.path());
    FakeLaunch();
    WhenModal([](QWidget* dialog) {
        auto* presets = Find<QComboBox>(dialog, "runPresets");
        presets->setCurrentIndex(1);
        emit presets->activated(1);
        Find<QComboBox>(dialog, "runSkill")->setCurrentIndex(1);
        Click(dialog, "okButton");
        Finish(dialog);
    });
    Prompts().Answer(Answer::Yes);
    Key(Qt::Key_F9);
    ExpectMessage(0,
                  "Wolf4SDL opens the game's files under lower-case names (gamemaps.wl6), but this folder holds 2 of "
                  "them only under upper-case names (GAMEMAPS.WL6 and MAPHEAD.WL6), so it would not find them.\n\n"
                  "Yes adds lower-case links beside them and starts the game: each link points to its file by name, so "
                  "it follows every later save, and no file of the game is renamed. No starts nothing.",
                  "Run Map", MessageIcon::Question, Buttons::YesNo);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"wolf3d", "--tedlevel", "0", "--nowait", "--easy"}));
    EXPECT_EQ(fs::read_symlink(SampleCopy() / "maphead.wl6"), "MAPHEAD.WL6");
    EXPECT_EQ(fs::read_symlink(SampleCopy() / "gamemaps.wl6"), "GAMEMAPS.WL6");
    const IniFile settings(App().SettingsFile());
    EXPECT_EQ(settings.ReadString("Game", "RunCommand", ""), "wolf3d --tedlevel %m --nowait --%k %[--goobers]");
    EXPECT_EQ(settings.ReadInteger("Game", "Skill", 0), 2);

    Key(Qt::Key_F9); // the links are there: nothing more to ask
    EXPECT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(RunMapWiring, AProgramThatEndsAtOnceIsToldWithItsStatusAndWhatItPrinted)
{
    const fs::path port = Program("wolf4sdl", "echo 'Wolf4SDL v1.7'\n"
                                              "echo 'NO WOLFENSTEIN 3-D DATA FILES to be found!' >&2\n"
                                              "exit 1\n");
    WriteFile(SampleCopy() / "maphead.wl6", ""); // as a port wants them: no question
    WriteFile(SampleCopy() / "gamemaps.wl6", "");
    Close();
    IniFile(App().SettingsFile()).WriteString("Game", "RunCommand", "'" + port.string() + "' --tedlevel %m");
    Recreate();
    OpenSample();
    Editor().Runner()->SetAudioCheck([] { return true; });
    Key(Qt::Key_F9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Editor().Runner()->Watching(); }, 10000));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    ExpectMessage(0, "Wolf4SDL ended at once with status 1:\n\nWolf4SDL v1.7\nNO WOLFENSTEIN 3-D DATA FILES to be found!",
                  "Run Map", MessageIcon::Warning, Buttons::Ok);
    EXPECT_EQ(Editor().StatusText().toStdString(), "Wolf4SDL ended at once with status 1");
}
