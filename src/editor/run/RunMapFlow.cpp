#include "editor/run/RunMapFlow.h"

#include <algorithm>

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
    if (split.words.empty()) {
        prompter.Message("The run command in " + appSettings.Path().filename().string() + " " +
                             CommandFaultText(split.fault) + ":\n\n" + command,
                         kRunMapCaption, MessageIcon::Error, Buttons::Ok);
        return RunMapResult::Failed;
    }
    const std::vector<std::string>& arguments = split.words;

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

    const auto launch = hooks.launch ? hooks.launch : LaunchDetached;
    if (auto reason = launch(arguments, GameFolder(maps))) {
        prompter.Message("Couldn't start the game \"" + arguments.front() + "\":\n\n" + *reason, kRunMapCaption,
                         MessageIcon::Warning, Buttons::Ok);
        return RunMapResult::Failed;
    }
    options.AddRecentCommand(command);
    options.Write(appSettings);
    return RunMapResult::Started;
}

} // namespace tsl
