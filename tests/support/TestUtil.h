#pragma once
// Shared helpers for the tests: scratch directories, files, map sets built in
// memory, the real game data when it is present, and running tesselar-cli.

#include "core/Bytes.h"
#include "core/Image.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"

#include <cerrno>
#include <functional>
#include <memory>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Every test process (and every program it starts) has user folders of its
// own: XDG_DATA_HOME, XDG_STATE_HOME and XDG_CONFIG_HOME point into a scratch
// folder, so backups, recovery files and settings never reach the real ones;
// and TZ is UTC, so that local times read the same everywhere.

namespace tsl::test {

namespace fs = std::filesystem;

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

Bytes ReadFile(const fs::path& path);
// Every regular file under `dir` (not hidden temporary files) by its path
// relative to `dir`: to show that what must not touch a file did not.
std::map<std::string, Bytes> Snapshot(const fs::path& dir);
std::string FileText(const fs::path& path);
void WriteFile(const fs::path& path, const Bytes& data);
void WriteFile(const fs::path& path, const std::string& text);

// Little-endian byte builders for hand-made streams.
void Put16(Bytes& out, std::uint16_t v);
void Put32(Bytes& out, std::uint32_t v);
void PutText(Bytes& out, const std::string& text);
std::uint16_t Get16(const Bytes& data, std::size_t at);
std::uint32_t Get32(const Bytes& data, std::size_t at);

// A map set in memory with the given storage settings and no maps.
MapHandler EmptySet(const fs::path& dir, DataFileVersion version = DataFileVersion::GameMaps, int planes = 3,
                    const std::string& extension = "WL6");
// Appends a map of zero words and its header to the set; returns the map.
MapList& AddBlankMap(MapHandler& set, int width, int height, const std::string& name);
// Appends a map of random words (drawn from `alphabet` values so that the
// codecs find runs and matches, and from the words the codecs escape) to the set.
void AddRandomMap(MapHandler& set, std::mt19937& random, int width, int height, const std::string& name,
                  int alphabet = 12);

// A stand-in for a Corridor 7 executable: some code, the 0xABCD marker at
// offset 300, room for 100 offsets, and more code after the table.
Bytes FakeExecutable();
// Writes FakeExecutable() as `name` into the set's folder and keeps the set's
// map header in it.
void UseFakeExecutable(MapHandler& set, const std::string& name);

// Fails the current test with the first difference when the maps differ.
void ExpectSameMaps(const MapHandler& expected, const MapHandler& actual);

// Copies the files of the game in `from` into `to`, each writable by its owner.
void CopyGame(const fs::path& from, const fs::path& to);

// Opens the set in `dir` the way tesselar-cli does: locate, settings, load.
MapHandler LoadSet(const fs::path& dir, int planes = 3, bool wdc = false, bool extendedNames = false);

// Makes disk steps fail through the file-system seam while it lives.
// Steps are counted from 1; directory listings are not counted.
class DiskFaults {
public:
    // Step `at` fails with `error`; with `lasting`, every later step too.
    explicit DiskFaults(int at, bool lasting = false, int error = EIO);
    // Any other behaviour: the hook gets the step's number.
    explicit DiskFaults(std::function<int(int number, DiskStep step, const fs::path& path)> hook);
    ~DiskFaults();
    DiskFaults(const DiskFaults&) = delete;
    DiskFaults& operator=(const DiskFaults&) = delete;
    int Steps() const { return *steps_; }

private:
    std::shared_ptr<int> steps_ = std::make_shared<int>(0);
};

// Every directory of ../shared/games next to the repository (or of
// TESSELAR_GAMES_DIR) that holds a map set.
std::vector<fs::path> RealGameSets();
// The one of them that holds the shareware game with its pictures and
// sounds (VGAGRAPH.WL1, AUDIOT.WL1); nothing when none does.
std::optional<fs::path> SharewareDir();

// Runs tesselar-cli with `args` (shell-quoted here); returns the exit status
// and fills the captured output.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};
CliResult RunCli(const std::vector<std::string>& args);
// The same for any program: `command` is the program and its arguments.
CliResult RunProgram(const std::vector<std::string>& command);

// Pictures read back from their files, every pixel opaque: a 24-bit
// bottom-up bitmap (its header fields checked on the way), and a PNG through
// libpng (an empty picture when libpng cannot read it).
Image DecodeBmp(const Bytes& bmp);
Image DecodePng(const Bytes& png);

// The repository's folders.
fs::path SourceDir();
fs::path SampleGameDir();

} // namespace tsl::test
