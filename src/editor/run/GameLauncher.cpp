#include "editor/run/GameLauncher.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsl {

CommandWords SplitCommandLine(std::string_view line)
{
    const auto fault = [](CommandLineFault why) { return CommandWords{{}, why}; };
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (++i == line.size())
                return fault(CommandLineFault::TrailingBackslash);
            if (line[i] != '\n') // a backslash before a line break joins the lines
                word += line[i];
        } else if (c == '\'') {
            const auto end = line.find('\'', i + 1);
            if (end == std::string_view::npos)
                return fault(CommandLineFault::OpenQuote);
            word += line.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    return fault(CommandLineFault::OpenQuote);
                if (line[i] == '"')
                    break;
                if (line[i] == '\\' && i + 1 < line.size() &&
                    std::string_view("\"\\$`\n").find(line[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (line[i] == '\n')
                        continue;
                }
                word += line[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return {std::move(words)};
}

namespace {

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

// The file the system would run for `name`: as given when it holds a slash,
// otherwise the first executable file of that name in PATH.
std::optional<std::string> FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    return FindOnPath(name, path ? path : "");
}

// Tells the waiting parent why the program did not start, and ends.
[[noreturn]] void Fail(int pipe, int error)
{
    [[maybe_unused]] const auto written = ::write(pipe, &error, sizeof error);
    ::_exit(127);
}

} // namespace

std::optional<std::string> FindOnPath(const std::string& name, std::string_view path)
{
    const std::string_view dirs = path.empty() ? "/usr/local/bin:/usr/bin:/bin" : path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const auto end = std::min(dirs.find(':', start), dirs.size());
        const std::string dir(dirs.substr(start, end - start));
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> LaunchDetached(const std::vector<std::string>& arguments,
                                          const std::filesystem::path& directory)
{
    if (arguments.empty() || arguments[0].empty())
        return Reason(ENOENT);
    const auto program = FindProgram(arguments[0]);
    if (!program)
        return Reason(ENOENT);
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a copy of a threaded process may run.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string dir = directory.string();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return Reason(errno);
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return Reason(error);
    }
    if (child == 0) {
        // The middle process: it starts the game's process and ends at once,
        // so that the game belongs to the system rather than to the editor.
        ::close(report[0]);
        ::setsid();
        const pid_t game = ::fork();
        if (game < 0)
            Fail(report[1], errno);
        if (game > 0)
            ::_exit(0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (::chdir(dir.c_str()) != 0)
            Fail(report[1], errno);
        ::execv(program->c_str(), argv.data());
        Fail(report[1], errno);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when the program started.
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return Reason(error);
    return std::nullopt;
}

} // namespace tsl
