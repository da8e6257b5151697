#pragma once
// tesselar-cli: the command-line companion over the same core as the editor.

#include "core/MapHandler.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl::cli {

// Arguments after the command name, with options taken out as they are read.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> args) : args_(std::move(args)) {}

    // Removes "--name" and reports whether it was there.
    bool Flag(const std::string& name);
    // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
    std::optional<std::string> Value(const std::string& name);
    // What is left once every option was taken: the positional arguments.
    // An argument that still starts with "--" is an unknown option.
    const std::vector<std::string>& Rest() const { return args_; }
    std::optional<std::string> UnknownOption() const;
    // Set when an option that needs a value had none.
    std::string error;

private:
    std::vector<std::string> args_;
};

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

// Reads --planes, --near, --far, --wdc, --extended-names and --mapdefs; an
// error text when a value is not valid.
std::string ReadLoaderOptions(Arguments& args, LoaderOptions& options);

// "1,3,5-9" (map numbers from 1 and ranges) into positions from 0, in the
// order given, checked against a set of `count` maps; an error text otherwise.
std::string ParseMapList(std::string_view list, int count, std::vector<int>& maps);

// The MapDefs folder the options name, or the one shipped with the program.
std::filesystem::path MapDefsRootOf(const LoaderOptions& options);

// Locates and loads the set in `dir`, with the settings of the game's map
// definition structure where the options leave them open. Damaged planes are
// reported on `err`; a failure is reported there and gives false.
bool OpenGameSet(const std::string& dir, const LoaderOptions& options, MapHandler& maps, std::ostream& err);

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

} // namespace tsl::cli

namespace tsl::cli {
// Checks that exactly `count` positional arguments are left and no unknown
// option; otherwise reports the problem on `err` and gives false.
bool ExpectPositionals(const Arguments& args, std::size_t count, const std::string& usage, std::ostream& err);
} // namespace tsl::cli
