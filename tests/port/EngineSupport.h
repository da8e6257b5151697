#pragma once
// The source port the engine tests play with (../shared/ports beside the
// source tree, built once per build folder by the EnginePort fixture), and
// what they do with it: play levels of a game folder, and show one level
// under a virtual X server to capture the engine's frame.

#include "TestUtil.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tsl::test {

// The port's binary; when there is none, why not, to skip with.
struct EnginePort {
    fs::path binary;
    std::string unavailable;
};
EnginePort FindEnginePort();

// ../shared/ports and ../shared/games/wl1 beside the source tree; empty
// when absent.
fs::path PortsDir();
fs::path SharewareSet();

// The output of a shell command and its exit status.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& command);
std::string ShellQuote(const std::string& text);

// Plays each level (from 0) of the game in `game` for `seconds` with the
// port's play script, all at once (an engine idles between its tics): the
// levels whose engine stopped, each with what it said.
std::vector<std::string> LevelsThatStopped(const fs::path& binary, const fs::path& game,
                                           const std::vector<int>& levels, int seconds = 4);

// A program started in the background, ended (and waited for) when the
// object goes.
class Background {
public:
    // `environment` adds "NAME=value" entries; the program's output is dropped.
    Background(const std::vector<std::string>& argv, const fs::path& workDir = {},
               const std::vector<std::string>& environment = {});
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    bool Running();

private:
    pid_t pid_ = -1;
};

// A virtual X server on a display of its own choosing, of width x height
// pixels in 24-bit colour; Display() is empty when it did not start.
class VirtualScreen {
public:
    VirtualScreen(int width, int height);
    const std::string& Display() const { return display_; }
    // The whole screen, read through ImageMagick's import; empty on failure.
    Image Capture() const;

private:
    std::string display_;
    std::unique_ptr<Background> server_;
};

// Whether `program` is found on PATH.
bool OnPath(const std::string& program);

} // namespace tsl::test
