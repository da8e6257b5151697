#include "EngineSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tsl::test {

EnginePort FindEnginePort()
{
    const fs::path dir = TESSELAR_ENGINE_DIR;
    EnginePort port;
    std::error_code ec;
    if (fs::exists(dir / "unavailable.txt", ec)) {
        port.unavailable = FileText(dir / "unavailable.txt");
        return port;
    }
    if (!fs::exists(dir / "wolf3d-wl1", ec)) {
        port.unavailable = "the source port was not built into " + dir.string() + " (the EnginePort.Build test does it)";
        return port;
    }
    port.binary = dir / "wolf3d-wl1";
    return port;
}

fs::path PortsDir()
{
    const fs::path dir = SourceDir().parent_path() / "shared" / "ports";
    std::error_code ec;
    return fs::exists(dir / "play-level.sh", ec) ? dir : fs::path();
}

fs::path SharewareSet()
{
    const fs::path dir = SourceDir().parent_path() / "shared" / "games" / "wl1";
    std::error_code ec;
    return fs::exists(dir / "VSWAP.WL1", ec) ? dir : fs::path();
}

std::string ShellQuote(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

CommandResult RunCommand(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, read);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

std::vector<std::string> LevelsThatStopped(const fs::path& binary, const fs::path& game,
                                           const std::vector<int>& levels, int seconds)
{
    const std::string script = ShellQuote((PortsDir() / "play-level.sh").string());
    std::vector<std::future<CommandResult>> plays;
    for (int level : levels)
        plays.push_back(std::async(std::launch::async, [=] {
            return RunCommand("bash " + script + " " + ShellQuote(binary.string()) + " " +
                              ShellQuote(game.string()) + " " + std::to_string(level) + " " +
                              std::to_string(seconds));
        }));
    std::vector<std::string> stopped;
    for (auto& play : plays) {
        const CommandResult result = play.get();
        if (result.status != 0)
            stopped.push_back(result.output);
    }
    return stopped;
}

Background::Background(const std::vector<std::string>& argv, const fs::path& workDir,
                       const std::vector<std::string>& environment)
{
    std::vector<std::string> env = environment;
    pid_ = fork();
    if (pid_ != 0)
        return;
    // The child: a process group of its own, so that whatever it starts ends with it.
    setpgid(0, 0);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0)
        _exit(127);
    for (std::string& variable : env)
        putenv(variable.data());
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

Background::~Background()
{
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGTERM);
    kill(pid_, SIGTERM);
    for (int wait = 0; wait < 40; ++wait) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool Background::Running()
{
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

VirtualScreen::VirtualScreen(int width, int height)
{
    // The server writes the display it chose to the pipe, once it listens.
    int fds[2];
    if (pipe(fds) != 0)
        return;
    server_ = std::make_unique<Background>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                                     "-screen", "0",
                                                                     std::to_string(width) + "x" +
                                                                         std::to_string(height) + "x24",
                                                                     "-nolisten", "tcp"});
    close(fds[1]);
    std::string number;
    pollfd wanted{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&wanted, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (!number.empty())
        display_ = ":" + number;
}

Image VirtualScreen::Capture() const
{
    if (display_.empty())
        return {};
    TempDir dir;
    const fs::path file = dir / "screen.png";
    const CommandResult result =
        RunCommand("import -display " + display_ + " -window root " + ShellQuote("png:" + file.string()));
    if (result.status != 0)
        return {};
    return DecodePng(ReadFile(file));
}

bool OnPath(const std::string& program)
{
    return RunCommand("command -v " + ShellQuote(program) + " >/dev/null").status == 0;
}

} // namespace tsl::test
