#pragma once
// Starting the game from a command line the user typed: the line split into
// arguments as a shell splits it, and the program started without a shell,
// detached from the editor.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

// Why a line cannot be split: the shell would wait for more of it.
enum class CommandLineFault { None, OpenQuote, TrailingBackslash };

struct CommandWords {
    std::vector<std::string> words; // none when there is a fault
    CommandLineFault fault = CommandLineFault::None;
    bool operator==(const CommandWords&) const = default;
};

// The words of `line` as a POSIX shell splits them: blanks separate words;
// 'single quotes' keep everything up to the next one; "double quotes" keep
// blanks and take a backslash before " \ $ ` as an escape; a backslash
// outside quotes keeps the next character as it is. Nothing else of the
// shell (variables, globs, pipes) happens.
CommandWords SplitCommandLine(std::string_view line);

// The first executable file named `name` in the folders of `path` (a PATH
// value, ":" between folders, an empty folder the current one; an empty
// value the system's default folders), or nothing.
std::optional<std::string> FindOnPath(const std::string& name, std::string_view path);

// Starts `arguments` (the program first) in `directory`, without a shell and
// without waiting for it: the editor keeps no child behind. A program name
// without a slash is looked up in PATH; one with a slash is taken from
// `directory`. Nothing when it started, otherwise the system's reason.
std::optional<std::string> LaunchDetached(const std::vector<std::string>& arguments,
                                          const std::filesystem::path& directory);

} // namespace tsl
