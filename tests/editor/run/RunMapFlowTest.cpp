// "Run Map": the command from TSL.ini with its placeholders, the question
// about unsaved changes, and a real start of a script standing in for the
// game, which writes down its folder and arguments.

#include "editor/run/GameLauncher.h"
#include "editor/run/RunMapFlow.h"
#include "editor/run/RunPresets.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace tsl {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::ElementsAre;

struct SplitRow {
    std::string line;
    CommandWords split;
};

TEST(RunMapFlowTest, SplitsACommandAsAShellDoes)
{
    using Words = std::vector<std::string>;
    const std::vector<SplitRow> rows = {
        {"ecwolf  --data %e\t--tedlevel %m", {Words{"ecwolf", "--data", "%e", "--tedlevel", "%m"}}},
        {R"("/opt/my games/wolf" 'it''s' a\ b)", {Words{"/opt/my games/wolf", "its", "a b"}}},
        {R"("say \"hi\" \x" '\n')", {Words{R"(say "hi" \x)", R"(\n)"}}},
        {R"(a "" b)", {Words{"a", "", "b"}}},
        {"", {Words{}}},
        {R"("open)", {{}, CommandLineFault::OpenQuote}},
        {"it's", {{}, CommandLineFault::OpenQuote}},
        {R"("trailing\)", {{}, CommandLineFault::OpenQuote}},
        {R"(trailing\)", {{}, CommandLineFault::TrailingBackslash}},
    };
    for (const SplitRow& row : rows)
        EXPECT_EQ(SplitCommandLine(row.line), row.split) << row.line;
}

class RunMapFixture : public ::testing::Test {
protected:
    RunMapFixture() : settings(dir / "TSL.ini")
    {
        std::filesystem::create_directory(game);
        maps.Path = game;
        maps.Extension = "WL1";
        maps.CurrentMap = 2;
        hooks.save = [this] {
            ++saves;
            return saveWorks;
        };
        hooks.askCommand = [this] { return asked; };
    }

    // A launcher that only notes what it was asked to start.
    void FakeLaunch()
    {
        hooks.launch = [this](const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
            launched.push_back(arguments);
            launchFolder = folder;
            return std::optional<std::string>();
        };
    }

    // A script in the temporary folder that stands in for the game.
    std::filesystem::path WriteGameScript()
    {
        const auto script = dir / "game.sh";
        test::WriteFile(script, std::string("#!/bin/sh\n"
                                            "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$0.tmp\"\n"
                                            "mv \"$0.tmp\" \"$0.args\"\n"));
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
    }

    // The lines the script wrote, once it has run.
    static std::vector<std::string> ScriptOutput(const std::filesystem::path& script)
    {
        const auto output = std::filesystem::path(script.string() + ".args");
        for (int i = 0; i < 1000 && !std::filesystem::exists(output); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<std::string> lines;
        std::istringstream text(test::FileText(output));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    TempDir dir;
    std::filesystem::path game = dir / "my game";
    IniFile settings;
    MapHandler maps;
    ScriptedPrompter prompter;
    RunMapHooks hooks;
    int saves = 0;
    bool saveWorks = true;
    std::optional<std::string> asked;
    std::vector<std::vector<std::string>> launched;
    std::filesystem::path launchFolder;
};

TEST_F(RunMapFixture, StartsTheGameWithThePlaceholdersFilledIn)
{
    const auto script = WriteGameScript();
    settings.WriteString("Game", "RunCommand",
                         "'" + script.string() + "' --data %e --tedlevel %m \"%d\" 'two  words' a\\ b --n=%n 100%% %x");
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Started);
    EXPECT_TRUE(prompter.Records().empty());
    const std::string folder = std::filesystem::canonical(game).string();
    EXPECT_THAT(ScriptOutput(script), ElementsAre(folder, "--data", "WL1", "--tedlevel", "2", folder, "two  words",
                                                  "a b", "--n=3", "100%", "%x"));
}

TEST_F(RunMapFixture, AProgramThatCannotStartOrACommandThatCannotBeSplitIsToldAndNothingStarts)
{
    const struct {
        const char* command;
        bool changed; // a command that cannot be split is refused before the save question
        std::string text;
        MessageIcon icon;
    } rows[] = {
        {"tesselar-no-such-game --tedlevel %m", false,
         "Couldn't start the game \"tesselar-no-such-game\":\n\nNo such file or directory", MessageIcon::Warning},
        {"wolf4sdl \"--tedlevel %m", true,
         "The run command in TSL.ini has a quote that is not closed:\n\nwolf4sdl \"--tedlevel %m", MessageIcon::Error},
        {"wolf4sdl --tedlevel %m\\", true,
         "The run command in TSL.ini ends in a backslash, which escapes nothing (write \\\\ for a backslash of its "
         "own):\n\nwolf4sdl --tedlevel %m\\",
         MessageIcon::Error},
    };
    for (const auto& row : rows) {
        ScriptedPrompter told;
        settings.WriteString("Game", "RunCommand", row.command);
        EXPECT_EQ(RunMap(maps, row.changed, settings, told, hooks), RunMapResult::Failed);
        ASSERT_EQ(told.Records().size(), 1u);
        EXPECT_EQ(told.Records()[0].text, row.text);
        EXPECT_EQ(told.Records()[0].caption, "Run Map");
        EXPECT_EQ(told.Records()[0].icon, row.icon);
    }
}

struct SaveRow {
    std::string name;
    Answer answer;
    bool saveWorks;
    int saves;
    bool runs;
};

class RunMapSaveTest : public RunMapFixture, public ::testing::WithParamInterface<SaveRow> {};

TEST_P(RunMapSaveTest, AsksAboutUnsavedChangesFirst)
{
    const SaveRow& row = GetParam();
    FakeLaunch();
    saveWorks = row.saveWorks;
    settings.WriteString("Game", "RunCommand", "wolf4sdl --tedlevel %m");
    prompter.Answer(row.answer);
    const RunMapResult result = RunMap(maps, true, settings, prompter, hooks);
    ASSERT_EQ(prompter.Records().size(), 1u);
    EXPECT_EQ(prompter.Records()[0].text, "The maps have unsaved changes. Save them before running the game?");
    EXPECT_EQ(prompter.Records()[0].caption, "Run Map");
    EXPECT_EQ(prompter.Records()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(saves, row.saves);
    EXPECT_EQ(result, row.runs ? RunMapResult::Started : RunMapResult::Cancelled);
    EXPECT_EQ(launched.size(), row.runs ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, RunMapSaveTest,
                         ::testing::Values(SaveRow{"YesSavesThenRuns", Answer::Yes, true, 1, true},
                                           SaveRow{"AFailedSaveDoesNotRun", Answer::Yes, false, 1, false},
                                           SaveRow{"NoRunsTheFilesAsSaved", Answer::No, true, 0, true},
                                           SaveRow{"CancelDoesNothing", Answer::Cancel, true, 0, false}),
                         [](const auto& row) { return row.param.name; });

TEST_F(RunMapFixture, AsksForTheCommandWhenNoneIsSetAndKeepsIt)
{
    FakeLaunch();
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Cancelled);
    EXPECT_FALSE(settings.HasKey("Game", "RunCommand"));

    asked = "ecwolf --data %e --tedlevel %m";
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Started);
    EXPECT_EQ(IniFile(dir / "TSL.ini").ReadString("Game", "RunCommand", ""), "ecwolf --data %e --tedlevel %m");
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_THAT(launched[0], ElementsAre("ecwolf", "--data", "WL1", "--tedlevel", "2"));
    EXPECT_EQ(launchFolder, std::filesystem::absolute(game));
}

TEST_F(RunMapFixture, ThePresetsFindTheirProgramsInThePath)
{
    // A PATH of one folder with a Wolf4SDL built as its Makefile names it,
    // DOSBox, and an "ecwolf" that cannot be run.
    const auto bin = dir / "bin";
    std::filesystem::create_directory(bin);
    for (const char* name : {"wolf3d", "dosbox", "ecwolf"})
        test::WriteFile(bin / name, "#!/bin/sh\n");
    std::filesystem::permissions(bin / "wolf3d", std::filesystem::perms::owner_all);
    std::filesystem::permissions(bin / "dosbox", std::filesystem::perms::owner_all);
    test::WriteFile(game / "WOLF3D.EXE", "MZ");
    test::WriteFile(game / "maphead.wl1", "");

    const auto presets = RunPresets(game, "WL1", bin.string());
    ASSERT_EQ(presets.size(), 4u);
    EXPECT_EQ(presets[0].Name, "Wolf4SDL");
    EXPECT_EQ(presets[0].Command, "wolf3d --tedlevel %m --nowait --%k %[--goobers]");
    EXPECT_EQ(presets[0].Program, (bin / "wolf3d").string());
    EXPECT_EQ(presets[1].Name, "ECWolf");
    EXPECT_EQ(presets[1].Command, "ecwolf --data %e --tedlevel MAP%N --skill %s --nowait");
    EXPECT_EQ(presets[1].Program, "") << "not executable";
    EXPECT_EQ(presets[2].Name, "DOSBox: WOLF3D.EXE");
    EXPECT_EQ(presets[2].Command,
              "dosbox -c 'mount c \"%d\"' -c c: -c 'WOLF3D.EXE -tedlevel %m -nowait -%k %[-goobers]' -c exit");
    EXPECT_EQ(presets[2].Program, (bin / "dosbox").string());
    EXPECT_TRUE(presets[3].Custom);

    const auto spear = RunPresets(dir / "nowhere", "sod", (dir / "empty").string());
    ASSERT_EQ(spear.size(), 3u) << "no executable: no DOSBox";
    EXPECT_EQ(spear[0].Command, "wolf4sdl --tedlevel %m --nowait --%k %[--debugmode]");
}

TEST_F(RunMapFixture, ThePresetsFillInTheMapTheSkillLevelAndTheDebugSwitch)
{
    test::WriteFile(game / "WOLF3D.EXE", "MZ");
    const auto presets = RunPresets(game, "WL1", (dir / "empty").string());
    const std::string folder = std::filesystem::absolute(game).lexically_normal().string();
    using Words = std::vector<std::string>;
    struct Row {
        std::size_t preset;
        int skill;
        bool debug;
        int map;
        Words words;
    };
    const Row rows[] = {
        {0, 4, true, 2, {"wolf4sdl", "--tedlevel", "2", "--nowait", "--hard", "--goobers"}},
        {0, 1, false, 2, {"wolf4sdl", "--tedlevel", "2", "--nowait", "--baby"}},
        {1, 3, true, 2, {"ecwolf", "--data", "WL1", "--tedlevel", "MAP03", "--skill", "3", "--nowait"}},
        {1, 2, false, 9, {"ecwolf", "--data", "WL1", "--tedlevel", "MAP10", "--skill", "2", "--nowait"}},
        {2, 3, false, 2,
         {"dosbox", "-c", "mount c \"" + folder + "\"", "-c", "c:", "-c", "WOLF3D.EXE -tedlevel 2 -nowait -normal ",
          "-c", "exit"}},
        {2, 2, true, 0,
         {"dosbox", "-c", "mount c \"" + folder + "\"", "-c", "c:", "-c", "WOLF3D.EXE -tedlevel 0 -nowait -easy -goobers",
          "-c", "exit"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(presets[row.preset].Name + " " + std::to_string(row.skill));
        maps.CurrentMap = row.map;
        RunOptions options;
        options.Skill = row.skill;
        options.Debug = row.debug;
        EXPECT_EQ(RunCommandArguments(presets[row.preset].Command, maps, options).words, row.words);
    }
    EXPECT_EQ(RunCommandArguments("run '' %[x] %[open", maps).words, (Words{"run", "", "%[open"}))
        << "a written '' stays, a switch that is off goes, an open bracket is kept";
}

TEST_F(RunMapFixture, ACommandThatStartedIsOfferedAgainTheLastTenKept)
{
    FakeLaunch();
    RunOptions options;
    options.Skill = 2;
    options.Debug = true;
    for (int i = 0; i < 11; ++i)
        options.AddRecentCommand("game " + std::to_string(i));
    options.AddRecentCommand("game 5");
    options.AddRecentCommand("  ");
    EXPECT_EQ(options.RecentCommands.size(), 10u);
    EXPECT_EQ(options.RecentCommands.front(), "game 5");
    EXPECT_EQ(options.RecentCommands.back(), "game 1");
    ASSERT_TRUE(options.Write(settings));

    settings.WriteString("Game", "RunCommand", "wolf4sdl --tedlevel %m --%k %[--goobers]");
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Started);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_THAT(launched[0], ElementsAre("wolf4sdl", "--tedlevel", "2", "--easy", "--goobers"));
    const RunOptions read = RunOptions::Read(IniFile(dir / "TSL.ini"));
    EXPECT_EQ(read.Skill, 2);
    EXPECT_TRUE(read.Debug);
    ASSERT_EQ(read.RecentCommands.size(), 10u);
    EXPECT_EQ(read.RecentCommands[0], "wolf4sdl --tedlevel %m --%k %[--goobers]");
    EXPECT_EQ(read.RecentCommands[1], "game 5");
}

} // namespace
} // namespace tsl
