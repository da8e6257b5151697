#include "editor/RunMapFlow.h"

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

std::string FillPlaceholders(const std::string& word, const MapHandler& maps)
{
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        switch (word[i + 1]) {
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

CommandWords RunCommandArguments(const std::string& command, const MapHandler& maps)
{
    CommandWords split = SplitCommandLine(command);
    for (std::string& word : split.words)
        word = FillPlaceholders(word, maps);
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
    const CommandWords split = RunCommandArguments(command, maps);
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
    return RunMapResult::Started;
}

} // namespace tsl
