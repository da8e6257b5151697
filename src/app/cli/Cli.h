#pragma once
// tesselar-cli: the command-line companion over the same core as the editor.

#include "core/MapHandler.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
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

// Arguments after the command name, with options taken out as they are read.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> args) : args_(std::move(args)) {}

    // Removes "--name" and reports whether it was there.
    bool Flag(const std::string& name);
    // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE. What
    // follows "--name" is no VALUE when it starts with "--".
    std::optional<std::string> Value(const std::string& name);
    // What is left once every option was taken: the positional arguments.
    // An argument that still starts with "--" is an unknown option.
    const std::vector<std::string>& Rest() const { return args_; }
    std::optional<std::string> UnknownOption() const;
    // Set when an option that needs a value had none, or was given twice.
    std::string error;

private:
    void NoteTwice(const std::string& name);
    std::vector<std::string> args_;
};

// The one parser of numbers on the command line: the whole text in `base`
// (hexadecimal may start with 0x), from `min` to `max`.
std::optional<long> ParseNumber(std::string_view text, int base, long min, long max);
// "1,3,5-9" into map positions from 0, in the order given, for a set of
// `count` maps; an error text otherwise.
std::string ParseMapList(std::string_view list, int count, std::vector<int>& maps);

// Text (UTF-8) made safe for a terminal: control characters become \xNN,
// except line breaks when `keepLines`.
std::string EscapeControls(std::string_view text, bool keepLines = false);
// A map name (Windows-1252 bytes) as UTF-8 for a terminal: its characters as
// they are, control bytes (and the five bytes Windows-1252 leaves undefined)
// as \xNN.
std::string PrintableName(std::span<const std::uint8_t> name);
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

// Reads --planes, --near, --far, --[no-]wdc, --[no-]extended-names and
// --mapdefs; an error text when a value is not valid.
std::string ReadLoaderOptions(Arguments& args, LoaderOptions& options);

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

// Prints a failure as "caption: text" on one block of `err`.
void Report(const Failure& failure, std::ostream& err);

struct Command {
    std::string name;
    std::string usage;   // one line: "info DIR [loader options]"
    std::string summary; // what it does
    std::function<int(Arguments&, std::ostream& out, std::ostream& err)> run;
};

// Commands register themselves from their own files.
std::vector<Command>& Commands();
struct Registrar {
    explicit Registrar(Command command) { Commands().push_back(std::move(command)); }
};

// Checks that exactly `count` positional arguments are left and no unknown
// option; otherwise reports the problem on `err` and gives false.
bool ExpectPositionals(const Arguments& args, std::size_t count, const std::string& usage, std::ostream& err);

// The whole command line after the program's name; the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tsl::cli
