// The command line through CLI11: each command a subcommand with what its
// file declares; the help, the refusals and the bash completion's table of
// commands written from those declarations.

#include "app/cli/Cli.h"
#include "core/UserFolders.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <utility>
#include <ostream>

namespace tsl::cli {
namespace {

// The declared options (or positional arguments) of a command in their
// order, not the hidden ones nor CLI11's --help.
std::vector<const CLI::Option*> Declared(const CLI::App& command, bool positional)
{
    std::vector<const CLI::Option*> options;
    for (const CLI::Option* option : command.get_options())
        if (option != command.get_help_ptr() && !option->get_group().empty() && option->get_positional() == positional)
            options.push_back(option);
    return options;
}

// The same of the positional arguments, to give them what follows "--".
std::vector<CLI::Option*> Positionals(CLI::App& command)
{
    return command.get_options([](const CLI::Option* option) { return option->get_positional(); });
}

std::string Name(const CLI::Option* option)
{
    return option->get_positional() ? option->get_name() : "--" + option->get_lnames().front();
}

// "--zoom Z", "--graphics", "DIR".
std::string Label(const CLI::Option* option)
{
    const bool value = option->get_expected_max() > 0 && !option->get_positional();
    return Name(option) + (value ? " " + option->get_type_name() : "");
}

// "edit DIR [--maps LIST] ... OPERATION... [loader options]"; two options
// that exclude each other as one choice: "(--chunk N | --sound K)".
std::string Usage(const CLI::App& command)
{
    std::string usage = command.get_name(), loader;
    for (const CLI::Option* positional : Declared(command, true))
        usage += positional->get_required() ? " " + Label(positional) : " [" + Label(positional) + "]";
    const auto options = Declared(command, false);
    const auto at = [&options](const CLI::Option* option) { return std::find(options.begin(), options.end(), option); };
    for (const CLI::Option* option : options) {
        if (option->get_group() == Declarations::kLoader) {
            loader = " [loader options]";
        } else if (!option->get_excludes().empty()) { // shown where the first of the two is declared
            const CLI::Option* other = *option->get_excludes().begin();
            if (at(option) < at(other))
                usage += " (" + Label(option) + " | " + Label(other) + ")";
        } else if (option->get_required()) {
            usage += " " + Label(option);
        } else if (option->get_group() != Declarations::kOperations) {
            usage += " [" + Label(option) + "]";
        } else if (!usage.ends_with(" OPERATION...")) {
            usage += " OPERATION...";
        }
    }
    return usage + loader;
}

// Each line of `text` from column `indent`, the first after "  label" (or
// below it when the label reaches the column).
void Listed(std::ostream& out, const std::string& label, const std::string& text, std::size_t indent = 24)
{
    CLI::detail::format_help(out, label, text, indent);
}

void PrintCommandHelp(const CLI::App& command, std::ostream& out)
{
    out << "Usage: tesselar-cli " << Usage(command) << "\n\n" << command.get_description() << "\n\nArguments:\n";
    for (const CLI::Option* positional : Declared(command, true))
        Listed(out, Label(positional), positional->get_description());
    std::string group;
    for (const CLI::Option* option : Declared(command, false)) {
        if (option->get_group() != group)
            out << "\n" << (group = option->get_group()) << ":\n";
        Listed(out, Label(option), option->get_description());
    }
}

void PrintProgramHelp(const CLI::App& app, std::ostream& out)
{
    out << "Usage: tesselar-cli COMMAND [ARGUMENTS]\n\n" << app.get_description() << "\n\nCommands:\n";
    for (const CLI::App* command : app.get_subcommands({})) {
        out << "  " << Usage(*command) << "\n";
        Listed(out, "", command->get_description(), 6);
    }
    out << "\nLoader options (how the game's maps are stored; what is not given comes from\n"
           "the game's map definition structure in MapDefs, else from the defaults):\n";
    CLI::App loader; // as every command that loads a set declares them
    LoaderOptions options;
    Declarations(loader).Loader(options);
    for (const CLI::Option* option : Declared(loader, false))
        Listed(out, Label(option), option->get_description());
    out << "\nCommands that save refuse a set whose load found damage unless --force is given;\n"
           "commands that only read it end with exit status 3 then. Every save also keeps the\n"
           "files it replaces as a backup generation in\n"
        << DefaultBackupsRoot().string() << "\n(the newest " << kDefaultBackupKeep
        << ", or as many as TSL.ini [Backups] Keep says); see backups and restore.\n\n";
    Listed(out, "--help", "this text");
    Listed(out, "--version", "the program's version");
    out << "\ntesselar-cli COMMAND --help shows what a command takes.\n";
}

// What the completion offers for a value or a positional argument: DIR
// (folders), FILE (files), the words of a choice, or nothing.
std::string Offered(const CLI::Option* option)
{
    std::string type = option->get_type_name();
    std::replace(type.begin(), type.end(), '|', ' ');
    return type == "DIR" || type == "FILE" || type.find(' ') != std::string::npos ? type : "";
}

// The part of the bash completion (data/completion/tesselar-cli.bash) that
// the declarations say.
void PrintCompletionTable(const CLI::App& app, std::ostream& out)
{
    const auto commands = app.get_subcommands({});
    out << "\n_tesselar_cli_commands='" << CLI::detail::join(commands, [](auto* c) { return c->get_name(); }, " ")
        << "'\n\n# Sets options, values (the options that take one), positionals and offer (for a value\n"
           "# of option $2) for command $1.\n_tesselar_cli_command()\n{\n    case $1 in\n";
    for (const CLI::App* command : commands) {
        std::vector<std::string> options, values;
        std::string offers;
        for (const CLI::Option* option : Declared(*command, false)) {
            options.push_back(Name(option));
            if (option->get_expected_max() > 0)
                values.push_back(options.back());
            if (!Offered(option).empty())
                offers += "        " + options.back() + ") offer='" + Offered(option) + "' ;;\n";
        }
        const auto offered = [](const CLI::Option* positional) { return "'" + Offered(positional) + "'"; };
        out << "    " << command->get_name() << ")\n        options='" << CLI::detail::join(options, " ")
            << "'\n        values='" << CLI::detail::join(values, " ") << "'\n        positionals=("
            << CLI::detail::join(Declared(*command, true), offered, " ") << ")\n        case $2 in\n"
            << offers << "        esac\n        ;;\n";
    }
    out << "    *) return 1 ;;\n    esac\n}\n";
}

// The command whose name is at most two letters away from `word` (typed,
// left out, replaced or two swapped), the nearest first; none when none is.
std::string Nearest(const CLI::App& app, const std::string& word)
{
    std::string nearest;
    std::size_t best = 3;
    for (const CLI::App* command : app.get_subcommands({})) {
        const std::string& name = command->get_name();
        // Optimal string alignment distance, one row at a time.
        std::vector<std::size_t> before2(name.size() + 1), before(name.size() + 1), row(name.size() + 1);
        for (std::size_t j = 0; j <= name.size(); ++j)
            before[j] = j;
        for (std::size_t i = 1; i <= word.size(); ++i) {
            row[0] = i;
            for (std::size_t j = 1; j <= name.size(); ++j) {
                row[j] = std::min({before[j] + 1, row[j - 1] + 1, before[j - 1] + (word[i - 1] != name[j - 1])});
                if (i > 1 && j > 1 && word[i - 1] == name[j - 2] && word[i - 2] == name[j - 1])
                    row[j] = std::min(row[j], before2[j - 2] + 1);
            }
            before2 = std::exchange(before, row);
        }
        if (before[name.size()] < best)
            best = before[name.size()], nearest = name;
    }
    return nearest;
}

// Our declarations refuse with their whole message (as ValidationError);
// what CLI11 finds itself is told here in the same words.
std::string Refusal(const CLI::App& app, const CLI::ParseError& error)
{
    if (dynamic_cast<const CLI::ValidationError*>(&error))
        return error.what() + std::string("\n");
    const auto parsed = app.get_subcommands();
    if (parsed.empty() || !app.remaining().empty()) {
        const std::string word = PrintableText(app.remaining().empty() ? "" : app.remaining().front());
        if (word.starts_with("-"))
            return "Unknown option " + word + ". See tesselar-cli --help.\n";
        const std::string near = Nearest(app, word);
        return "Unknown command \"" + word + "\"." + (near.empty() ? "" : " Did you mean \"" + near + "\"?") +
               " See tesselar-cli --help.\n";
    }
    const CLI::App& command = *parsed.front();
    for (const CLI::Option* option : command.get_options())
        for (const CLI::Option* other : option->get_excludes())
            if (option->count() > 0 && other->count() > 0)
                return "The options " + Name(option) + " and " + Name(other) + " contradict each other.\n";
    // An unknown option, else an argument missing, else one too many.
    std::string wrong;
    for (const std::string& word : command.remaining())
        if (wrong.empty() && word.size() > 1 && word.starts_with("-"))
            wrong = "Unknown option " + PrintableText(word) + ".\n";
    for (const CLI::Option* positional : Declared(command, true))
        if (wrong.empty() && positional->count() == 0 && positional->get_required())
            wrong = "The argument " + positional->get_name() + " is missing.\n";
    for (const CLI::Option* option : Declared(command, false))
        if (wrong.empty() && option->count() == 0 && option->get_required())
            wrong = "The option " + Label(option) + " is missing.\n";
    if (wrong.empty() && !command.remaining().empty())
        wrong = "The argument \"" + PrintableText(command.remaining().front()) + "\" is one too many.\n";
    return wrong + "Usage: tesselar-cli " + Usage(command) + "\n";
}

// The words of a command line split at the first "--": the options and
// arguments before it, and the words after it, every one an argument
// (an operand) even when it starts with "-". The command's name is the
// first of those when no word before the mark names one.
struct SplitWords {
    std::vector<std::string> options;
    std::vector<std::string> operands;
};

SplitWords SplitAtTheMark(const std::vector<std::string>& args)
{
    const auto mark = std::find(args.begin(), args.end(), "--");
    SplitWords split{{args.begin(), mark}, {mark == args.end() ? mark : mark + 1, args.end()}};
    const bool named = std::any_of(split.options.begin(), split.options.end(),
                                   [](const std::string& word) { return !word.starts_with("-"); });
    if (!named && !split.operands.empty()) {
        split.options.push_back(split.operands.front());
        split.operands.erase(split.operands.begin());
    }
    if (!split.options.empty() && split.options.front() == "help")
        split.options.front() = "--help";
    return split;
}

// The command the words name, or the program itself.
CLI::App& NamedCommand(CLI::App& app, const std::vector<std::string>& words)
{
    const auto name = std::find_if(words.begin(), words.end(), [](const std::string& w) { return !w.starts_with("-"); });
    for (CLI::App* command : app.get_subcommands({}))
        if (name != words.end() && command->get_name() == *name)
            return *command;
    return app;
}

// CLI11 takes "--name=" as "--name" and then the next word as its value:
// an empty value is refused here, as every declaration refuses it.
std::string EmptyValue(CLI::App& app, const std::vector<std::string>& words)
{
    const CLI::App& command = NamedCommand(app, words);
    for (const std::string& word : words) {
        if (!word.starts_with("--") || word.find('=') != word.size() - 1)
            continue;
        const std::string name = word.substr(0, word.size() - 1);
        const CLI::Option* option = command.get_option_no_throw(name);
        if (option && !option->get_positional())
            return (option->get_expected_max() == 0 ? Declarations::TakesNoValue(name) : Declarations::NeedsValue(name)) +
                   "\n";
    }
    return {};
}

// Gives the operands to the command's arguments that the words before the
// mark left open, in their order; the refusal when one is left over or an
// argument is still missing.
std::string TakeOperands(CLI::App& command, const std::vector<std::string>& operands)
{
    auto operand = operands.begin();
    std::string wrong;
    for (CLI::Option* positional : Positionals(command)) {
        if (positional->count() == 0 && operand != operands.end()) {
            positional->add_result(*operand++);
            positional->run_callback();
        }
        if (positional->count() == 0 && positional->get_required() && wrong.empty())
            wrong = "The argument " + positional->get_name() + " is missing.\n";
    }
    if (operand != operands.end())
        wrong = "The argument \"" + PrintableText(*operand) + "\" is one too many.\n";
    return wrong.empty() ? wrong : wrong + "Usage: tesselar-cli " + Usage(command) + "\n";
}

} // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CLI::App app("The command-line companion of Tesselar, the map editor for Wolfenstein 3-D\n"
                 "engine games. DIR is a game's data directory (MAPHEAD and GAMEMAPS or MAPTEMP),\n"
                 "LIST map numbers from 1 and ranges, such as 1,3,5-9.",
                 "tesselar-cli");
    app.set_help_flag("--help,-h");
    app.require_subcommand(0, 1); // a word after the command is its argument, never a second command
    bool version = false, completion = false;
    Declarations program(app);
    program.Flag("--version", version, "the program's version");
    program.Group(""); // the build writes the bash completion with it
    program.Flag("--completion-table", completion, "");

    std::vector<std::pair<CLI::App*, Runner>> runners;
    for (const Command& command : Commands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        Declarations declarations(*sub);
        runners.emplace_back(sub, command.declare(declarations));
    }

    const SplitWords split = SplitAtTheMark(args);
    if (std::string refusal = EmptyValue(app, split.options); !refusal.empty()) {
        err << refusal;
        return kExitUsage;
    }
    // The arguments after the mark are given once the options are parsed:
    // until then no argument is required, and afterwards those that were
    // are again (for the usage line and the refusals).
    std::vector<CLI::Option*> required;
    if (!split.operands.empty())
        for (CLI::App* command : app.get_subcommands({}))
            for (CLI::Option* positional : Positionals(*command))
                if (positional->get_required()) {
                    required.push_back(positional);
                    positional->required(false);
                }
    const auto requireAgain = [&required] {
        for (CLI::Option* positional : std::exchange(required, {}))
            positional->required();
    };
    try {
        try {
            app.parse(std::vector<std::string>(split.options.rbegin(), split.options.rend())); // CLI11 takes them last first
        } catch (const CLI::ParseError&) {
            requireAgain();
            throw;
        }
        requireAgain();
        const auto parsed = app.get_subcommands();
        if (std::string refusal = parsed.empty() ? "" : TakeOperands(*parsed.front(), split.operands); !refusal.empty()) {
            err << refusal;
            return kExitUsage;
        }
    } catch (const CLI::CallForHelp&) {
        if (app.get_subcommands().empty())
            PrintProgramHelp(app, out);
        else
            PrintCommandHelp(*app.get_subcommands().front(), out);
        return 0;
    } catch (const CLI::ParseError& error) {
        err << Refusal(app, error);
        return kExitUsage;
    }
    if (version || completion) {
        if (version)
            out << "tesselar-cli " << TESSELAR_VERSION << "\n";
        else
            PrintCompletionTable(app, out);
        return 0;
    }
    for (const auto& [sub, run] : runners)
        if (sub->parsed())
            return run(out, err);
    PrintProgramHelp(app, err);
    return kExitUsage;
}

} // namespace tsl::cli
