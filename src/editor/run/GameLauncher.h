#pragma once
// Starting the game from a command line the user typed: the line split into
// arguments as a shell splits it, and the program started without a shell,
// detached from the editor but watched. A small watcher process reads what
// the program prints, keeps the last of it and, once the program ended,
// tells the editor through a pipe with its status. The editor only looks at
// the pipe when it has something: it never waits for a program that keeps
// running, and keeps no child behind (the watcher belongs to the system).

#include "core/Failure.h"

#include <cstddef>
#include <filesystem>
#include <memory>
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

// A command's words taken apart as a shell takes them: the NAME=value words
// before the program's name set its environment; the program and its
// arguments follow.
struct ProgramCall {
    std::vector<std::string> environment; // "NAME=value"
    std::vector<std::string> arguments;   // the program first
    bool operator==(const ProgramCall&) const = default;
};
ProgramCall SeparateEnvironment(std::vector<std::string> words);
// Whether `word` sets a variable: NAME=value, NAME a letter or "_" and then
// letters, digits and "_".
bool IsEnvironmentSetting(std::string_view word);

// The first executable file named `name` in the folders of `path` (a PATH
// value, ":" between folders, an empty folder the current one; an empty
// value the system's default folders), or nothing.
std::optional<std::string> FindOnPath(const std::string& name, std::string_view path);

// The most of a program's output the watcher keeps: its end.
inline constexpr std::size_t kKeptOutput = 4096;

// How a started program ended.
struct GameEnd {
    int status = 0;       // its exit status; 0 when a signal ended it
    int signal = 0;       // the signal that ended it; 0 when it exited
    int milliseconds = 0; // from its start to its end
    std::string output;   // the last it printed, standard output and error together
    bool operator==(const GameEnd&) const = default;
};

// A started program as the editor follows it: the reading end of the
// watcher's pipe, which says nothing until the program ended.
class GameWatch {
public:
    // Takes over `descriptor`, set not to block.
    explicit GameWatch(int descriptor);
    ~GameWatch();
    GameWatch(const GameWatch&) = delete;
    GameWatch& operator=(const GameWatch&) = delete;

    // The pipe, for an event loop to wait on; -1 once done.
    int Descriptor() const { return fd_; }
    // What came so far, without waiting: the end once the program ended;
    // nothing while it runs. Once the end was given, or the watcher went
    // without telling (it was killed), Done() is true.
    std::optional<GameEnd> Poll();
    bool Done() const { return fd_ < 0; }

private:
    int fd_ = -1;
    std::string received_;
};

struct LaunchRequest {
    std::vector<std::string> arguments;   // the program first
    std::vector<std::string> environment; // NAME=value settings over the editor's own
    std::filesystem::path directory;      // where it runs
};

// Starts the program of `request` in its directory, without a shell (a name
// without a slash is looked up in PATH; one with a slash is taken from the
// directory), standard output and error going to its watcher. The watch,
// or a failure whose text is the system's reason it did not start.
Outcome<std::unique_ptr<GameWatch>> LaunchWatched(const LaunchRequest& request);

} // namespace tsl
