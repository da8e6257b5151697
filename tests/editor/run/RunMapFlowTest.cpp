// "Run Map": the command from TSL.ini with its placeholders, the question
// about unsaved changes, the questions that keep a port from failing at once
// (lower-case links, no audio output), and real starts of scripts standing
// in for the game, watched until they end.

#include "editor/run/GameLauncher.h"
#include "editor/run/RunMapFlow.h"
#include "editor/run/RunChecks.h"
#include "editor/run/RunPresets.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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
        hooks.hasAudio = [this] { return audio; };
        hooks.started = [this](std::unique_ptr<GameWatch> given, const std::string& label) {
            watch = std::move(given);
            startedAs = label;
        };
    }

    // A launcher that only notes what it was asked to start.
    void FakeLaunch()
    {
        hooks.launch = [this](const LaunchRequest& request) {
            launched.push_back(request.arguments);
            environments.push_back(request.environment);
            launchFolder = request.directory;
            return Outcome<std::unique_ptr<GameWatch>>(std::unique_ptr<GameWatch>());
        };
    }

    // How the started program ended, once it did (within ten seconds).
    std::optional<GameEnd> End()
    {
        for (int i = 0; i < 1000 && watch; ++i) {
            if (auto end = watch->Poll())
                return end;
            if (watch->Done())
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    // An executable script in the temporary folder.
    std::filesystem::path Script(const std::string& name, const std::string& body)
    {
        const auto script = dir / name;
        test::WriteFile(script, "#!/bin/sh\n" + body);
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
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
    bool audio = true;
    std::vector<std::vector<std::string>> launched;
    std::vector<std::vector<std::string>> environments;
    std::filesystem::path launchFolder;
    std::unique_ptr<GameWatch> watch;
    std::string startedAs;
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

TEST(RunMapFlowTest, EnvironmentSettingsBeforeTheProgramAreTakenAsAShellTakesThem)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(SeparateEnvironment({"SDL_AUDIODRIVER=dummy", "A_1=", "wolf4sdl", "B=2"}),
              (ProgramCall{{"SDL_AUDIODRIVER=dummy", "A_1="}, {"wolf4sdl", "B=2"}}));
    EXPECT_EQ(SeparateEnvironment({"/opt/x=y/wolf", "--nowait"}), (ProgramCall{{}, {"/opt/x=y/wolf", "--nowait"}}));
    EXPECT_EQ(SeparateEnvironment({"=x", "1A=b"}), (ProgramCall{{}, Words{"=x", "1A=b"}}));
    EXPECT_EQ(SeparateEnvironment({"ONLY=settings"}), (ProgramCall{{"ONLY=settings"}, {}}));

    const struct {
        const char* program;
        KnownProgram known;
    } rows[] = {
        {"/tmp/port/wolf3d-wl1", {"Wolf4SDL", true, true}},
        {"wolf4sdl", {"Wolf4SDL", true, true}},
        {"ECWolf", {"ECWolf", true, true}},
        {"dosbox-x", {"DOSBox", false, false}},
        {"/usr/games/mygame", {"mygame", false, false}},
    };
    for (const auto& row : rows) {
        const KnownProgram known = KnowProgram(row.program);
        EXPECT_EQ(known.Label, row.known.Label) << row.program;
        EXPECT_EQ(known.LowerCase, row.known.LowerCase) << row.program;
        EXPECT_EQ(known.Sdl, row.known.Sdl) << row.program;
    }
}

TEST_F(RunMapFixture, AProgramThatEndsAtOnceIsToldWithItsStatusAndTheLastLinesItPrinted)
{
    const auto port = Script("wolf4sdl", "echo 'Wolf4SDL v1.7 (SDL2)'; echo >&2; echo 'NO WOLFENSTEIN 3-D DATA FILES to be found!' >&2\n"
                                         "exit 1\n");
    settings.WriteString("Game", "RunCommand", "'" + port.string() + "' --tedlevel %m");
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Started);
    EXPECT_EQ(startedAs, "Wolf4SDL");
    const auto end = End();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->status, 1);
    EXPECT_EQ(end->signal, 0);
    EXPECT_EQ(end->output, "Wolf4SDL v1.7 (SDL2)\n\nNO WOLFENSTEIN 3-D DATA FILES to be found!\n");
    EXPECT_EQ(GameEndText("Wolf4SDL", *end),
              "Wolf4SDL ended at once with status 1:\n\nWolf4SDL v1.7 (SDL2)\nNO WOLFENSTEIN 3-D DATA FILES to be found!");
    EXPECT_TRUE(watch->Done());
    EXPECT_EQ(watch->Poll(), std::nullopt) << "told once";
}

TEST_F(RunMapFixture, AProgramThatKeepsRunningIsNotWaitedForAndOnlyTheEndOfItsOutputIsKept)
{
    // It prints more than is kept, then runs until it is ended.
    const auto program = Script("game", "i=0; while [ $i -lt 300 ]; do echo \"line $i of what the game prints\"; "
                                     "i=$((i+1)); done\necho $$ > \"$0.pid\"\nexec sleep 30\n");
    settings.WriteString("Game", "RunCommand", "'" + program.string() + "'");
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Started);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    const auto pidFile = std::filesystem::path(program.string() + ".pid");
    for (int i = 0; i < 1000 && (!std::filesystem::exists(pidFile) || test::FileText(pidFile).empty()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(watch->Poll(), std::nullopt) << "still running";
    EXPECT_FALSE(watch->Done());
    ASSERT_EQ(::kill(std::stoi(test::FileText(pidFile)), SIGTERM), 0);
    const auto end = End();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->signal, SIGTERM);
    EXPECT_EQ(end->output.size(), kKeptOutput);
    EXPECT_TRUE(end->output.ends_with("line 299 of what the game prints\n"));
    EXPECT_EQ(LastLines(end->output, 2), (std::vector<std::string>{"line 298 of what the game prints",
                                                                   "line 299 of what the game prints"}));
}

TEST(RunMapFlowTest, TheEndIsToldWhenItCameAtOnceOrWentWrong)
{
    // Nothing said: "".
    const std::vector<std::pair<GameEnd, std::string>> rows = {
        {GameEnd{0, 0, 800, ""}, "ECWolf ended at once with status 0."},
        {GameEnd{0, 0, 60000, "bye\n"}, ""},
        {GameEnd{2, 0, 60000, "a\r\nb\tc\x01\n\n   \n"}, "ECWolf ended with status 2:\n\na\nb c?"},
        {GameEnd{0, 11, 120000, "1\n2\n3\n4\n5\n6\n7"}, "ECWolf ended by signal 11:\n\n3\n4\n5\n6\n7"},
    };
    for (const auto& [end, text] : rows)
        EXPECT_EQ(GameEndText("ECWolf", end).value_or(""), text) << end.output;
}

TEST_F(RunMapFixture, APortThatReadsLowerCaseNamesIsOfferedLinksBesideTheUpperCaseFiles)
{
    FakeLaunch();
    for (const char* name : {"MAPHEAD.WL1", "GAMEMAPS.WL1", "VSWAP.WL1", "WOLF3D.EXE"})
        test::WriteFile(game / name, name);
    test::WriteFile(game / "audiot.wl1", "sound"); // already as the port reads it
    settings.WriteString("Game", "RunCommand", "wolf4sdl --tedlevel %m");
    const std::string question =
        "Wolf4SDL opens the game's files under lower-case names (gamemaps.wl1), but this folder holds 3 of them "
        "only under upper-case names (GAMEMAPS.WL1, MAPHEAD.WL1 and VSWAP.WL1), so it would not find them.\n\nYes "
        "adds lower-case links beside them and starts the game: each link points to its file by name, so it follows "
        "every later save, and no file of the game is renamed. No starts nothing.";

    prompter.Answer(Answer::No);
    EXPECT_EQ(RunMap(maps, false, settings, prompter, hooks), RunMapResult::Cancelled);
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{question});
    EXPECT_TRUE(launched.empty());
    EXPECT_FALSE(std::filesystem::is_symlink(game / "maphead.wl1"));

    // A link that cannot be made: the ones made are taken back, nothing starts.
    SetDiskFaultHook([](DiskStep step, const std::filesystem::path& path) {
        return step == DiskStep::Link && path.filename() == "maphead.wl1" ? EACCES : 0;
    });
    ScriptedPrompter refused;
    refused.Answer(Answer::Yes);
    EXPECT_EQ(RunMap(maps, false, settings, refused, hooks), RunMapResult::Cancelled);
    SetDiskFaultHook(nullptr);
    ASSERT_EQ(refused.MessageTexts().size(), 2u);
    EXPECT_EQ(refused.MessageTexts()[1], "Couldn't add the link " + (game / "maphead.wl1").string() +
                                             " (Permission denied)!\n\nNothing was started.");
    EXPECT_FALSE(std::filesystem::is_symlink(game / "gamemaps.wl1"));
    EXPECT_TRUE(launched.empty());

    ScriptedPrompter yes;
    yes.Answer(Answer::Yes);
    EXPECT_EQ(RunMap(maps, false, settings, yes, hooks), RunMapResult::Started);
    EXPECT_EQ(yes.MessageTexts(), std::vector<std::string>{question});
    for (const char* name : {"MAPHEAD.WL1", "GAMEMAPS.WL1", "VSWAP.WL1"}) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_EQ(std::filesystem::read_symlink(game / lower), name);
        EXPECT_EQ(test::FileText(game / lower), name);
    }
    EXPECT_EQ(test::FileText(game / "WOLF3D.EXE"), "WOLF3D.EXE") << "no file renamed";
    EXPECT_FALSE(std::filesystem::exists(game / "wolf3d.exe")) << "not a file of the game's extension";
    ASSERT_EQ(launched.size(), 1u);

    // The links follow a save, which replaces the files they point to.
    test::WriteFile(game / "next", "new maps");
    std::filesystem::rename(game / "next", game / "MAPHEAD.WL1");
    EXPECT_EQ(test::FileText(game / "maphead.wl1"), "new maps");
    ScriptedPrompter again; // and are there: no question
    EXPECT_EQ(RunMap(maps, false, settings, again, hooks), RunMapResult::Started);
    EXPECT_TRUE(again.Records().empty());

    // DOSBox runs the DOS game, whose files keep their names.
    settings.WriteString("Game", "RunCommand", "dosbox -c 'mount c \"%d\"'");
    std::filesystem::remove(game / "vswap.wl1");
    EXPECT_EQ(RunMap(maps, false, settings, again, hooks), RunMapResult::Started);
    EXPECT_TRUE(again.Records().empty());
}

TEST_F(RunMapFixture, AnSdlPortWithoutAnAudioOutputIsOfferedToStartWithoutSoundAndTheCommandKeepsIt)
{
    FakeLaunch();
    audio = false;
    settings.WriteString("Game", "RunCommand", "ecwolf --data %e");
    const std::string question = "This machine has no audio output device, and ECWolf quits at once when it cannot "
                                 "open one.\n\nStart it without sound (SDL_AUDIODRIVER=dummy)? Yes keeps the choice "
                                 "in the run command.";
    const struct {
        Answer answer;
        RunMapResult result;
        std::vector<std::string> environment;
        std::string kept;
    } rows[] = {
        {Answer::Cancel, RunMapResult::Cancelled, {}, "ecwolf --data %e"},
        {Answer::No, RunMapResult::Started, {}, "ecwolf --data %e"},
        {Answer::Yes, RunMapResult::Started, {"SDL_AUDIODRIVER=dummy"}, "SDL_AUDIODRIVER=dummy ecwolf --data %e"},
    };
    for (const auto& row : rows) {
        ScriptedPrompter told;
        told.Answer(row.answer);
        environments.clear();
        EXPECT_EQ(RunMap(maps, false, settings, told, hooks), row.result);
        EXPECT_EQ(told.MessageTexts(), std::vector<std::string>{question});
        EXPECT_EQ(told.Records()[0].buttons, Buttons::YesNoCancel);
        if (row.result == RunMapResult::Started) {
            EXPECT_EQ(environments, std::vector<std::vector<std::string>>{row.environment});
        }
        EXPECT_EQ(settings.ReadString("Game", "RunCommand", ""), row.kept);
    }
    // The choice is the command's: asked no more, and it is the one recent.
    ScriptedPrompter quiet;
    EXPECT_EQ(RunMap(maps, false, settings, quiet, hooks), RunMapResult::Started);
    EXPECT_TRUE(quiet.Records().empty());
    EXPECT_EQ(environments.back(), std::vector<std::string>{"SDL_AUDIODRIVER=dummy"});
    EXPECT_EQ(RunOptions::Read(settings).RecentCommands.front(), "SDL_AUDIODRIVER=dummy ecwolf --data %e");
    // A program that is no SDL port is never asked about.
    settings.WriteString("Game", "RunCommand", "mygame");
    EXPECT_EQ(RunMap(maps, false, settings, quiet, hooks), RunMapResult::Started);
    EXPECT_TRUE(quiet.Records().empty());
}

TEST(RunMapFlowTest, AnAudioOutputIsAPlaybackDeviceOrASoundServer)
{
    test::TempDir devices, runtime;
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto pulse = keep("PULSE_SERVER"), xdg = keep("XDG_RUNTIME_DIR");
    ::unsetenv("PULSE_SERVER");
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    test::WriteFile(devices / "pcmC0D0c", ""); // a capture device
    test::WriteFile(devices / "controlC0", "");
    EXPECT_FALSE(HasAudioOutput(devices.path()));
    test::WriteFile(runtime / "pipewire-0", "");
    EXPECT_TRUE(HasAudioOutput(devices.path()));
    std::filesystem::remove(runtime / "pipewire-0");
    test::WriteFile(devices / "pcmC0D3p", "");
    EXPECT_TRUE(HasAudioOutput(devices.path()));
    std::filesystem::remove(devices / "pcmC0D3p");
    ::setenv("PULSE_SERVER", "tcp:localhost", 1);
    EXPECT_TRUE(HasAudioOutput(devices.path()));
    for (const auto& [name, value] : {std::pair{"PULSE_SERVER", pulse}, std::pair{"XDG_RUNTIME_DIR", xdg}})
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}

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
    EXPECT_EQ(startedAs, "ECWolf");
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
