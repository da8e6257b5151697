#include "editor/run/RunMapFlow.h"

#include "core/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace tsl {

namespace {

// The game folder, absolute and without a separator at its end.
std::filesystem::path GameFolder(const MapHandler& maps)
{
    std::filesystem::path folder = std::filesystem::absolute(maps.Path).lexically_normal();
    if (folder.filename().empty() && folder.has_relative_path())
        folder = folder.parent_path();
    return folder;
}

// The skill levels as the engines' own options name them, easiest first.
constexpr const char* kSkillWords[] = {"baby", "easy", "normal", "hard"};

std::string FillPlaceholders(const std::string& word, const MapHandler& maps, const RunOptions& options)
{
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        const int skill = std::clamp(options.Skill, 1, 4);
        switch (word[i + 1]) {
        case 'N': {
            const std::string number = std::to_string(maps.CurrentMap + 1);
            out += (number.size() < 2 ? "0" : "") + number;
            break;
        }
        case 's':
            out += std::to_string(skill);
            break;
        case 'k':
            out += kSkillWords[skill - 1];
            break;
        case '[': {
            const auto end = word.find(']', i + 2);
            if (end == std::string::npos) { // no switch: kept as it stands
                out += word[i];
                continue;
            }
            if (options.Debug)
                out += word.substr(i + 2, end - i - 2);
            i = end;
            continue;
        }
        case 'd':
            out += GameFolder(maps).string();
            break;
        case 'm':
            out += std::to_string(maps.CurrentMap);
            break;
        case 'n':
            out += std::to_string(maps.CurrentMap + 1);
            break;
        case 'e':
            out += maps.Extension;
            break;
        case '%':
            out += '%';
            break;
        default: // not a placeholder: kept as it stands
            out += word[i];
            continue;
        }
        ++i;
    }
    return out;
}

// What is wrong with a run command that gives no program to start.
const char* CommandFaultText(CommandLineFault fault)
{
    switch (fault) {
    case CommandLineFault::OpenQuote:
        return "has a quote that is not closed";
    case CommandLineFault::TrailingBackslash:
        return "ends in a backslash, which escapes nothing (write \\\\ for a backslash of its own)";
    case CommandLineFault::None:
        break;
    }
    return "names no program to start";
}

} // namespace

CommandWords RunCommandArguments(const std::string& command, const MapHandler& maps, const RunOptions& options)
{
    CommandWords split = SplitCommandLine(command);
    std::vector<std::string> words;
    for (const std::string& word : split.words) {
        std::string filled = FillPlaceholders(word, maps, options);
        // A word of placeholders that stand for nothing (the debug switch
        // off) is no argument at all; a written '' stays one.
        if (!filled.empty() || word.empty())
            words.push_back(std::move(filled));
    }
    split.words = std::move(words);
    return split;
}

namespace {

// The lower-case links a port needs, asked for and made: false when the
// user said no or a link could not be made (and was told).
bool OfferLowerCaseLinks(const KnownProgram& program, const std::filesystem::path& folder,
                         std::string_view extension, Prompter& prompter)
{
    const std::vector<std::string> names = NamesWithoutLowerCase(folder, extension);
    if (names.empty())
        return true;
    std::string lower = names.front();
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::string text =
        program.Label + " opens the game's files under lower-case names (" + lower + "), but this folder holds " +
        (names.size() == 1 ? "one" : std::to_string(names.size())) + " of them only under upper-case names (" +
        JoinAnd(names) + "), so it would not find them.\n\nYes adds lower-case links beside them and starts the "
        "game: each link points to its file by name, so it follows every later save, and no file of the game is "
        "renamed. No starts nothing.";
    if (prompter.Message(text, kRunMapCaption, MessageIcon::Question, Buttons::YesNo) != Answer::Yes)
        return false;
    if (auto error = AddLowerCaseLinks(folder, names)) {
        prompter.Message("Couldn't add the link " + error->Describe() + "!\n\nNothing was started.", kRunMapCaption,
                         MessageIcon::Warning, Buttons::Ok);
        return false;
    }
    return true;
}

} // namespace

RunMapResult RunMap(const MapHandler& maps, bool changed, IniFile& appSettings, Prompter& prompter,
                    const RunMapHooks& hooks)
{
    std::string command = appSettings.ReadString(kGameSection, kRunCommandKey, "");
    if (command.find_first_not_of(" \t") == std::string::npos) {
        const auto asked = hooks.askCommand ? hooks.askCommand() : std::nullopt;
        if (!asked || asked->find_first_not_of(" \t") == std::string::npos)
            return RunMapResult::Cancelled;
        command = *asked;
        appSettings.WriteString(kGameSection, kRunCommandKey, command);
    }
    RunOptions options = RunOptions::Read(appSettings);
    const CommandWords split = RunCommandArguments(command, maps, options);
    ProgramCall call = SeparateEnvironment(split.words);
    if (call.arguments.empty()) {
        prompter.Message("The run command in " + appSettings.Path().filename().string() + " " +
                             CommandFaultText(split.fault) + ":\n\n" + command,
                         kRunMapCaption, MessageIcon::Error, Buttons::Ok);
        return RunMapResult::Failed;
    }

    if (changed) {
        switch (prompter.Message(kRunMapSaveQuestion, kRunMapCaption, MessageIcon::Question, Buttons::YesNoCancel)) {
        case Answer::Yes:
            if (!hooks.save || !hooks.save())
                return RunMapResult::Cancelled;
            break;
        case Answer::No:
            break;
        default:
            return RunMapResult::Cancelled;
        }
    }

    const KnownProgram program = KnowProgram(call.arguments.front());
    const std::filesystem::path folder = GameFolder(maps);
    if (program.LowerCase && !OfferLowerCaseLinks(program, folder, maps.Extension, prompter))
        return RunMapResult::Cancelled;
    const bool audio = hooks.hasAudio ? hooks.hasAudio() : HasAudioOutput();
    if (program.Sdl && !audio && !ChoosesAudioDriver(call.environment)) {
        const std::string text = "This machine has no audio output device, and " + program.Label +
                                 " quits at once when it cannot open one.\n\nStart it without sound (" +
                                 kSilentAudio + ")? Yes keeps the choice in the run command.";
        switch (prompter.Message(text, kRunMapCaption, MessageIcon::Question, Buttons::YesNoCancel)) {
        case Answer::Yes:
            call.environment.emplace_back(kSilentAudio);
            command = std::string(kSilentAudio) + " " + command;
            appSettings.WriteString(kGameSection, kRunCommandKey, command);
            break;
        case Answer::No:
            break;
        default:
            return RunMapResult::Cancelled;
        }
    }

    const auto launch = hooks.launch ? hooks.launch : LaunchWatched;
    auto launched = launch({call.arguments, call.environment, folder});
    if (!launched) {
        prompter.Message("Couldn't start the game \"" + call.arguments.front() + "\":\n\n" + launched.failure().text,
                         kRunMapCaption, MessageIcon::Warning, Buttons::Ok);
        return RunMapResult::Failed;
    }
    options.AddRecentCommand(command);
    options.Write(appSettings);
    if (hooks.started)
        hooks.started(std::move(*launched), program.Label);
    return RunMapResult::Started;
}

std::vector<std::string> LastLines(std::string_view output, int count)
{
    constexpr std::size_t kLongestLine = 300;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = std::min(output.find('\n', start), output.size());
        std::string line(output.substr(start, end - start));
        start = end + 1;
        for (char& c : line)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = c == '\t' || c == '\r' ? ' ' : '?';
        line.erase(line.find_last_not_of(' ') + 1);
        if (line.size() > kLongestLine)
            line = line.substr(0, kLongestLine) + "...";
        if (!line.empty())
            lines.push_back(std::move(line));
    }
    if (lines.size() > static_cast<std::size_t>(count))
        lines.erase(lines.begin(), lines.end() - count);
    return lines;
}

std::optional<std::string> GameEndText(const std::string& label, const GameEnd& end)
{
    const bool quick = end.milliseconds < kQuickEndMilliseconds;
    if (!quick && end.status == 0 && end.signal == 0)
        return std::nullopt;
    std::string text = label + " ended " + (quick ? "at once " : "") +
                       (end.signal != 0 ? "by signal " + std::to_string(end.signal)
                                        : "with status " + std::to_string(end.status));
    const std::vector<std::string> lines = LastLines(end.output, kEndLines);
    if (lines.empty())
        return text + ".";
    if (lines.size() == 1)
        return text + ": " + lines.front();
    text += ":\n";
    for (const std::string& line : lines)
        text += "\n" + line;
    return text;
}

} // namespace tsl
