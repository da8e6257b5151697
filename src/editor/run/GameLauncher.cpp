#include "editor/run/GameLauncher.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

bool IsEnvironmentSetting(std::string_view word)
{
    const std::size_t equals = word.find('=');
    if (equals == 0 || equals == std::string_view::npos)
        return false;
    const auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    if (!letter(word[0]))
        return false;
    return std::all_of(word.begin() + 1, word.begin() + static_cast<std::ptrdiff_t>(equals), [&](char c) {
        return letter(c) || std::isdigit(static_cast<unsigned char>(c));
    });
}

ProgramCall SeparateEnvironment(std::vector<std::string> words)
{
    ProgramCall call;
    for (std::string& word : words)
        (call.arguments.empty() && IsEnvironmentSetting(word) ? call.environment : call.arguments)
            .push_back(std::move(word));
    return call;
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

// What the watcher writes when the program ended, before its output.
struct Report {
    std::int32_t status;
    std::int32_t signal;
    std::int32_t milliseconds;
    std::int32_t length; // of the output that follows
};

// Everything below runs in the copies a fork makes of the editor, where only
// calls that are safe in a copy of a threaded process may be made: no
// allocation, no locks, system calls on descriptors and fixed buffers.

// Tells the waiting editor why the program did not start, and ends.
[[noreturn]] void Fail(int pipe, int error)
{
    [[maybe_unused]] const auto written = ::write(pipe, &error, sizeof error);
    ::_exit(127);
}

void WriteAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return; // the editor has gone: nobody to tell
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
}

std::int64_t NowMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SetSignal(int number, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(number, &action, nullptr);
}

// The end of the output kept, oldest byte first.
class OutputTail {
public:
    void Add(const char* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            ring_[(start_ + length_) % ring_.size()] = bytes[i];
            if (length_ < ring_.size())
                ++length_;
            else
                start_ = (start_ + 1) % ring_.size();
        }
    }
    std::size_t CopyTo(char* out) const
    {
        for (std::size_t i = 0; i < length_; ++i)
            out[i] = ring_[(start_ + i) % ring_.size()];
        return length_;
    }

private:
    std::array<char, kKeptOutput> ring_{};
    std::size_t start_ = 0;
    std::size_t length_ = 0;
};

// The program itself: its output into the watcher's pipe, its signals as a
// fresh program's, then the program.
[[noreturn]] void RunProgram(const char* program, char* const* argv, char* const* envp, const char* dir, int output,
                             int execReport)
{
    ::dup2(output, STDOUT_FILENO);
    ::dup2(output, STDERR_FILENO);
    ::close(output);
    SetSignal(SIGPIPE, SIG_DFL); // the watcher ignores it; an ignored signal stays ignored across exec
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (::chdir(dir) != 0)
        Fail(execReport, errno);
    ::execve(program, argv, envp);
    Fail(execReport, errno);
}

// The watcher: starts the program, reads what it prints until it ended and
// reports its end to the editor.
[[noreturn]] void Watch(const char* program, char* const* argv, char* const* envp, const char* dir, int execReport,
                        int report)
{
    SetSignal(SIGPIPE, SIG_IGN); // a report to an editor that has gone fails quietly
    SetSignal(SIGCHLD, SIG_DFL);
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        Fail(execReport, errno);
    const std::int64_t started = NowMilliseconds();
    const pid_t game = ::fork();
    if (game < 0)
        Fail(execReport, errno);
    if (game == 0) {
        ::close(output[0]);
        ::close(report);
        RunProgram(program, argv, envp, dir, output[1], execReport);
    }
    ::close(output[1]);
    ::close(execReport);

    OutputTail tail;
    char buffer[1024];
    int status = 0;
    bool ended = false;
    for (;;) {
        if (!ended) {
            const pid_t done = ::waitpid(game, &status, WNOHANG);
            ended = done == game || (done < 0 && errno == ECHILD);
        }
        // Once the program ended, only what is there still is read: a child
        // it left behind may hold the pipe open for ever.
        pollfd wait{output[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, ended ? 0 : 200);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (ready == 0 && ended))
            break;
        if (ready == 0)
            continue;
        const ssize_t got = ::read(output[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // the output closed: the program is ending
        tail.Add(buffer, static_cast<std::size_t>(got));
    }
    while (!ended) {
        const pid_t done = ::waitpid(game, &status, 0);
        ended = done == game || (done < 0 && errno != EINTR);
    }
    static char out[sizeof(Report) + kKeptOutput];
    Report end{};
    end.status = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    end.milliseconds = static_cast<std::int32_t>(std::min<std::int64_t>(NowMilliseconds() - started, INT32_MAX));
    end.length = static_cast<std::int32_t>(tail.CopyTo(out + sizeof end));
    std::memcpy(out, &end, sizeof end);
    WriteAll(report, out, sizeof end + static_cast<std::size_t>(end.length));
    ::_exit(0);
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

GameWatch::GameWatch(int descriptor) : fd_(descriptor)
{
    if (fd_ >= 0)
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

GameWatch::~GameWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<GameEnd> GameWatch::Poll()
{
    if (fd_ < 0)
        return std::nullopt;
    char buffer[1024];
    bool closed = false;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
            if (received_.size() > sizeof(Report) + kKeptOutput)
                closed = true; // more than a watcher writes: not a report
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        closed = closed || got == 0 || errno != EAGAIN;
        break;
    }
    Report report{};
    const bool whole = received_.size() >= sizeof report &&
                       (std::memcpy(&report, received_.data(), sizeof report), report.length >= 0) &&
                       received_.size() == sizeof report + static_cast<std::size_t>(report.length);
    if (!whole && !closed)
        return std::nullopt;
    ::close(fd_);
    fd_ = -1;
    if (!whole)
        return std::nullopt;
    return GameEnd{report.status, report.signal, report.milliseconds, received_.substr(sizeof report)};
}

Outcome<std::unique_ptr<GameWatch>> LaunchWatched(const LaunchRequest& request)
{
    const auto failure = [](int error) { return Failure{Reason(error), {}, MessageIcon::Warning}; };
    const std::vector<std::string>& arguments = request.arguments;
    if (arguments.empty() || arguments[0].empty())
        return failure(ENOENT);
    const auto program = FindProgram(arguments[0]);
    if (!program)
        return failure(ENOENT);
    // Everything the copies need is made before the fork.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> settings;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view kept(*entry);
        const std::string_view name = kept.substr(0, kept.find('='));
        const bool replaced = std::any_of(request.environment.begin(), request.environment.end(),
                                          [&](const std::string& s) { return s.starts_with(std::string(name) + "="); });
        if (!replaced)
            settings.emplace_back(kept);
    }
    settings.insert(settings.end(), request.environment.begin(), request.environment.end());
    std::vector<char*> envp;
    for (const std::string& setting : settings)
        envp.push_back(const_cast<char*>(setting.c_str()));
    envp.push_back(nullptr);
    const std::string dir = request.directory.string();

    int execReport[2], report[2];
    if (::pipe2(execReport, O_CLOEXEC) != 0)
        return failure(errno);
    if (::pipe2(report, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(execReport[0]);
        ::close(execReport[1]);
        return failure(error);
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        for (const int fd : {execReport[0], execReport[1], report[0], report[1]})
            ::close(fd);
        return failure(error);
    }
    if (middle == 0) {
        // The middle process starts the watcher and ends at once, so that
        // the watcher belongs to the system rather than to the editor.
        ::close(execReport[0]);
        ::close(report[0]);
        ::setsid();
        const pid_t watcher = ::fork();
        if (watcher < 0)
            Fail(execReport[1], errno);
        if (watcher == 0)
            Watch(program->c_str(), argv.data(), envp.data(), dir.c_str(), execReport[1], report[1]);
        ::_exit(0);
    }
    ::close(execReport[1]);
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when the program started.
    int error = 0;
    ssize_t got;
    while ((got = ::read(execReport[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(execReport[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        ::close(report[0]);
        return failure(error);
    }
    return std::make_unique<GameWatch>(report[0]);
}

} // namespace tsl
