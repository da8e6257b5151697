#pragma once
// tesselar-cli: the command-line companion over the same core as the editor.
//
// A command is one file, src/app/cli/CliNAME.cpp (the build takes every file
// of this folder), in the shape of CliResave.cpp: a struct with a field per
// argument and a Declare that declares each of them once (Declarations.h), a
// function that runs the command on it with the statuses below, and a
// function that makes the Command through MakeCommand, listed once in
// Commands.cpp. MakeCommand declares the field `dir` as the first argument,
// DIR, and a field `loader` (LoaderOptions), when there is one, as the
// loader options. The parse refuses what does not fit the declarations with a
// message that names the option, status 2; the help, the usage line and the
// bash completion come from them too. JSON goes out as one value through
// PrintJson (JsonOutput.h). Tests go to tests/app, with a row for each option
// in the table of refusals (CliSafetyTest.cpp).

#include "app/cli/Declarations.h"
#include "core/MapHandler.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl::cli {

// Exit statuses: 0 done, 1 failed, 2 wrong use, 3 done on a set whose load
// found damage (the output holds the maps as far as they could be read).
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDamaged = 3;

// A map name (Windows-1252 bytes) as UTF-8 for a terminal: its characters as
// they are, control bytes (and the five bytes Windows-1252 leaves undefined)
// as \xNN.
std::string PrintableName(std::span<const std::uint8_t> name);
// `text` (a file name, say: UTF-8) with its control characters (C0, DEL
// and C1; line breaks too unless `lineBreaks`) and the bytes that are no
// UTF-8 as \xNN, so that what the user typed cannot drive the terminal when
// it is printed back. Everything the commands echo goes through here.
std::string PrintableText(std::string_view text, bool lineBreaks = false);
// `text` (UTF-8) followed by blanks up to `width` characters.
std::string PadRight(std::string_view text, std::size_t width);

// Settings that tell the loader how the game's maps are stored. What is not
// given comes from the game's map definition structure, when it has one, and
// otherwise from the defaults of the Wolfenstein 3-D layout.
struct LoaderOptions {
    std::optional<int> planes;
    std::optional<std::uint16_t> nearTag;
    std::optional<std::uint16_t> farTag;
    std::optional<bool> wdc;
    std::optional<bool> extendedNames;
    std::optional<std::string> mapDefs; // the MapDefs folder; default: the shipped one
};

// The MapDefs folder the options name, or the one shipped with the program.
std::filesystem::path MapDefsRootOf(const LoaderOptions& options);

// Locates the set in `dir` and takes its storage settings from the game's
// map definition structure where the options leave them open, without
// loading a map; the structure's folder, when it has one, goes to
// `structureFolder`. A failure when the set cannot be located, or when the
// header's size and the WDC setting disagree.
std::optional<Failure> DescribeGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps,
                                       std::optional<std::filesystem::path>* structureFolder = nullptr);

// Where the commands that save keep the files they replace: the user's
// backups folder, and "TSL.ini" [Backups] Keep as the editor reads it.
BackupPolicy CliBackupPolicy();

// Locates and loads the set in `dir`, with the settings of the game's map
// definition structure where the options leave them open. Damage is reported
// on `err` (and kept in maps.LoadedWithDamage); a failure is reported there
// and gives false.
bool OpenGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps, std::ostream& err);

// The end of a command that only reads the set: 0, or kExitDamaged with a
// word on `err` when its load found damage.
int ReadingStatus(const MapHandler& maps, std::ostream& err);

// The rule of every command that saves: a set whose load found damage is
// saved only with --force (`force`). True, with the reason on `err`, when
// the save is refused; commands ask before they change anything.
bool RefuseDamagedSave(const MapHandler& maps, bool force, std::ostream& err);

// Saves the set under that rule. Failures are reported on `err`; `kept`
// receives where the previous files went when not to ".BAK".
bool SaveGameSet(const MapHandler& maps, bool force, std::ostream& err, std::string& kept);

// Prints a failure as "caption: text" on one block of `err`, control
// characters but line breaks as \xNN.
void Report(const Failure& failure, std::ostream& err);

// Runs a command on its parsed arguments; the exit status.
using Runner = std::function<int(std::ostream& out, std::ostream& err)>;

struct Command {
    std::string name;
    std::string summary; // what it does, in lines of up to 86 characters
    // Declares the command's arguments into a fresh set of them and gives
    // what runs the command on them once the command line was parsed.
    std::function<Runner(Declarations&)> declare;
};

// The command `name` whose arguments are the fields of `Arguments`, run by `run`.
template <class Arguments>
Command MakeCommand(std::string name, std::string summary, int (*run)(const Arguments&, std::ostream&, std::ostream&))
{
    return {std::move(name), std::move(summary), [run](Declarations& declarations) -> Runner {
                auto arguments = std::make_shared<Arguments>();
                declarations.Dir(arguments->dir);
                arguments->Declare(declarations);
                if constexpr (requires { arguments->loader; })
                    declarations.Loader(arguments->loader);
                return [arguments, run](std::ostream& out, std::ostream& err) { return run(*arguments, out, err); };
            }};
}

// Every command of the program (Commands.cpp), in the order of the help.
std::vector<Command> Commands();

// The whole command line after the program's name; the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tsl::cli
