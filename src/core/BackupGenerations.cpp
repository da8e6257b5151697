#include "core/BackupGenerations.h"

#include "core/IniFile.h"
#include "core/UserFolders.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace tsl {

namespace fs = std::filesystem;
using std::chrono::sys_seconds;

namespace {

constexpr const char* kManifestName = "generation.ini";
constexpr const char* kStructureFolderName = "MapDefs";
constexpr const char* kGenerationSection = "Generation";
constexpr const char* kGameFilesSection = "GameFiles";
constexpr const char* kStructureFilesSection = "StructureFiles";
constexpr const char* kMissingFilesSection = "MissingFiles";
constexpr std::size_t kTimeIdLength = 16; // "20250314T101502Z"

// A name that stays inside the generation: relative, and no part of it empty,
// "." or ".."; a game file is one plain name.
bool SafeName(std::string_view name, bool allowFolders)
{
    if (name.empty() || name.front() == '/')
        return false;
    std::size_t from = 0;
    while (true) {
        const std::size_t slash = name.find('/', from);
        const std::string_view part = name.substr(from, slash == std::string_view::npos ? name.npos : slash - from);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (slash == std::string_view::npos)
            return true;
        if (!allowFolders)
            return false;
        from = slash + 1;
    }
}

fs::path GameFilePath(const fs::path& folder, const std::string& name)
{
    return folder / name;
}

fs::path StructureFilePath(const fs::path& folder, const std::string& name)
{
    return folder / kStructureFolderName / fs::path(name);
}

std::vector<std::string> NumberedList(const IniDocument& doc, std::string_view section)
{
    std::vector<std::string> names;
    for (int i = 1;; ++i) {
        auto name = doc.Find(section, std::to_string(i));
        if (!name)
            return names;
        names.push_back(*name);
    }
}

int NumberOf(const IniDocument& doc, std::string_view key)
{
    const std::string text = doc.Find(kGenerationSection, key).value_or("0");
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<BackupGeneration> ReadListing(const fs::path& folder, const std::string& id)
{
    auto time = ParseTimeId(id);
    std::error_code ec;
    if (!time || fs::is_symlink(folder, ec) || !fs::is_directory(folder, ec))
        return std::nullopt;
    const auto manifest = ReadWholeFile(folder / kManifestName);
    if (!manifest)
        return std::nullopt;
    const IniDocument doc = IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(manifest->data()),
                                                                manifest->size()));
    BackupGeneration generation;
    generation.Id = id;
    generation.Time = *time;
    generation.Folder = folder;
    generation.Maps = NumberOf(doc, "Maps");
    generation.Planes = NumberOf(doc, "Planes");
    generation.Saved = ParseTimeId(doc.Find(kGenerationSection, "Saved").value_or(""));
    generation.PageFile = NumberOf(doc, "PageFile") == 1;
    generation.GameData = NumberOf(doc, "GameData") == 1;
    generation.GameFiles = NumberedList(doc, kGameFilesSection);
    generation.StructureFiles = NumberedList(doc, kStructureFilesSection);
    generation.MissingFiles = NumberedList(doc, kMissingFilesSection);
    if (generation.GameFiles.empty())
        return std::nullopt;
    auto add = [&](const std::string& name, const fs::path& path) {
        const std::uintmax_t size = fs::file_size(path, ec);
        generation.Bytes += ec ? 0 : size;
        if (ec)
            generation.MissingFiles.push_back(name);
    };
    for (const std::string& name : generation.GameFiles)
        add(name, GameFilePath(folder, name));
    for (const std::string& name : generation.StructureFiles)
        add(name, StructureFilePath(folder, name));
    return generation;
}

std::string ManifestText(const fs::path& gameDir, const GenerationContent& content)
{
    IniDocument doc;
    std::error_code ec;
    doc.Set(kGenerationSection, "Directory", fs::absolute(gameDir, ec).string());
    doc.Set(kGenerationSection, "Maps", std::to_string(content.Maps));
    doc.Set(kGenerationSection, "Planes", std::to_string(content.Planes));
    if (content.Saved)
        doc.Set(kGenerationSection, "Saved", TimeId(*content.Saved));
    if (content.PageFile)
        doc.Set(kGenerationSection, "PageFile", "1");
    if (content.GameData)
        doc.Set(kGenerationSection, "GameData", "1");
    for (std::size_t i = 0; i < content.GameFiles.size(); ++i)
        doc.Set(kGameFilesSection, std::to_string(i + 1), content.GameFiles[i].Name);
    for (std::size_t i = 0; i < content.StructureFiles.size(); ++i)
        doc.Set(kStructureFilesSection, std::to_string(i + 1), content.StructureFiles[i].Name);
    for (std::size_t i = 0; i < content.MissingFiles.size(); ++i)
        doc.Set(kMissingFilesSection, std::to_string(i + 1), content.MissingFiles[i]);
    return doc.Text();
}

// The id for a generation made at `base`: the time alone, or, when that
// second has one already, a number after it that sorts after every other.
std::string FreshId(const fs::path& folder, const std::string& base)
{
    int highest = -1;
    for (const std::string& entry : ListDirectory(folder)) {
        if (entry == base) {
            highest = std::max(highest, 0);
        } else if (entry.size() > base.size() + 1 && entry.compare(0, base.size(), base) == 0 &&
                   entry[base.size()] == '-') {
            int number = 0;
            const char* first = entry.data() + base.size() + 1;
            const char* last = entry.data() + entry.size();
            if (auto [end, error] = std::from_chars(first, last, number); error == std::errc() && end == last)
                highest = std::max(highest, number);
        }
    }
    if (highest < 0)
        return base;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%02d", highest + 1);
    return base + suffix;
}

// Hidden folders of keeps that were stopped half-way (the program was
// killed); an hour's grace for one that another copy is writing right now.
void RemoveLeftovers(const fs::path& folder)
{
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& entry : ListDirectory(folder)) {
        std::error_code ec;
        const fs::path path = folder / entry;
        if (IsTemporaryName(entry) && fs::is_directory(path, ec) && !fs::is_symlink(path, ec) &&
            fs::last_write_time(path, ec) < old && !ec)
            RemoveTree(path);
    }
}

std::optional<DiskError> WriteInto(const fs::path& path, const Bytes& content)
{
    if (auto error = MakeDirectories(path.parent_path()))
        return error;
    return ReplaceFile(path, content);
}

std::optional<DiskError> FillGeneration(const fs::path& dir, const fs::path& gameDir, const GenerationContent& content)
{
    if (auto error = MakeDirectories(dir))
        return error;
    for (const KeptFile& file : content.GameFiles) {
        if (!SafeName(file.Name, false))
            return DiskError{dir / file.Name, std::make_error_code(std::errc::invalid_argument)};
        if (auto error = WriteInto(GameFilePath(dir, file.Name), file.Content))
            return error;
    }
    for (const KeptFile& file : content.StructureFiles) {
        if (!SafeName(file.Name, true))
            return DiskError{dir / file.Name, std::make_error_code(std::errc::invalid_argument)};
        if (auto error = WriteInto(StructureFilePath(dir, file.Name), file.Content))
            return error;
    }
    // The listing last: a folder without it is no generation.
    const std::string manifest = ManifestText(gameDir, content);
    return ReplaceFile(dir / kManifestName,
                       std::span(reinterpret_cast<const std::uint8_t*>(manifest.data()), manifest.size()));
}

} // namespace

std::string BackupGeneration::Incomplete() const
{
    if (!MissingFiles.empty())
        return JoinAnd(MissingFiles) + (MissingFiles.size() == 1 ? " is missing" : " are missing");
    // Kept before missing files were recorded: a set without its map header.
    // A generation of the page file or other game data holds no maps.
    if (Maps == 0 && !PageFile && !GameData)
        return "no map is listed";
    return {};
}

void KeepFileOf(GenerationContent& content, const fs::path& path)
{
    std::string name = path.filename().string();
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        content.MissingFiles.push_back(std::move(name));
        return;
    }
    std::error_code ec;
    const auto written = fs::last_write_time(path, ec);
    if (!ec) {
        const auto time = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::to_sys(written));
        content.Saved = std::max(content.Saved.value_or(time), time);
    }
    content.GameFiles.push_back({std::move(name), std::move(*bytes)});
}

fs::path GenerationsFolder(const BackupPolicy& policy, const fs::path& gameDir)
{
    return policy.Root / GameFolderKey(gameDir);
}

std::vector<BackupGeneration> ListGenerations(const fs::path& folder)
{
    std::vector<BackupGeneration> generations;
    for (const std::string& entry : ListDirectory(folder))
        if (!IsTemporaryName(entry))
            if (auto generation = ReadListing(folder / entry, entry))
                generations.push_back(std::move(*generation));
    // Ids sort as their times do, and a second one of a second after the first.
    std::sort(generations.begin(), generations.end(),
              [](const BackupGeneration& a, const BackupGeneration& b) { return a.Id < b.Id; });
    return generations;
}

KeepOutcome KeepGeneration(const BackupPolicy& policy, const fs::path& gameDir, const GenerationContent& content,
                           std::chrono::system_clock::time_point now, bool rotate)
{
    if (!policy.Active() || content.GameFiles.empty())
        return {};
    const fs::path folder = GenerationsFolder(policy, gameDir);
    if (auto error = MakeDirectories(folder))
        return {{}, error};
    RemoveLeftovers(folder);

    KeepOutcome outcome;
    const std::string base = TimeId(std::chrono::floor<std::chrono::seconds>(now));
    // Another copy of the program may take the same id meanwhile: then the next one.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::string id = FreshId(folder, base);
        const fs::path target = folder / id;
        const fs::path hidden = TemporaryNameBeside(target);
        outcome.Error = FillGeneration(hidden, gameDir, content);
        if (!outcome.Error)
            outcome.Error = RenameEntry(hidden, target);
        if (!outcome.Error) {
            outcome.Id = id;
            break;
        }
        RemoveTree(hidden);
        if (outcome.Error->code != std::errc::file_exists)
            return outcome;
    }
    if (outcome.Error)
        return outcome;

    if (rotate) {
        std::vector<BackupGeneration> generations = ListGenerations(folder);
        const auto keep = static_cast<std::size_t>(policy.Keep);
        for (std::size_t i = 0; i + keep < generations.size(); ++i)
            RemoveTree(generations[i].Folder); // a failure only leaves one more
    }
    return outcome;
}

Outcome<GenerationContent> ReadGeneration(const BackupGeneration& generation)
{
    GenerationContent content;
    content.Maps = generation.Maps;
    content.Planes = generation.Planes;
    content.PageFile = generation.PageFile;
    content.GameData = generation.GameData;
    auto read = [&](const std::string& name, const fs::path& path, std::vector<KeptFile>& into) -> bool {
        auto bytes = SafeName(name, &into == &content.StructureFiles) ? ReadWholeFile(path) : std::nullopt;
        if (bytes)
            into.push_back({name, std::move(*bytes)});
        return bytes.has_value();
    };
    for (const std::string& name : generation.GameFiles)
        if (!read(name, GameFilePath(generation.Folder, name), content.GameFiles))
            return Failure{"The backup " + generation.Id + " is incomplete: " + name + " is missing in " +
                               generation.Folder.string() + ".",
                           kRestoreBackupCaption, MessageIcon::Error};
    for (const std::string& name : generation.StructureFiles)
        if (!read(name, StructureFilePath(generation.Folder, name), content.StructureFiles))
            return Failure{"The backup " + generation.Id + " is incomplete: " + name + " is missing in " +
                               (generation.Folder / kStructureFolderName).string() + ".",
                           kRestoreBackupCaption, MessageIcon::Error};
    return content;
}

std::string TimeId(sys_seconds time)
{
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02d%02d%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::optional<sys_seconds> ParseTimeId(std::string_view id)
{
    if (id.size() < kTimeIdLength || id[8] != 'T' || id[15] != 'Z')
        return std::nullopt;
    if (id.size() > kTimeIdLength) {
        const std::string_view number = id.substr(kTimeIdLength + 1);
        if (id[kTimeIdLength] != '-' || number.size() < 2 ||
            !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
    }
    auto field = [&](std::size_t at, std::size_t length, int& value) {
        const char* first = id.data() + at;
        const auto [end, error] = std::from_chars(first, first + length, value);
        return error == std::errc() && end == first + length && *first != '-' && *first != '+';
    };
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!field(0, 4, y) || !field(4, 2, mo) || !field(6, 2, d) || !field(9, 2, h) || !field(11, 2, mi) ||
        !field(13, 2, s) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(static_cast<unsigned>(mo)),
                                           std::chrono::day(static_cast<unsigned>(d))};
    if (!date.ok())
        return std::nullopt;
    return sys_seconds(std::chrono::sys_days(date)) + std::chrono::hours(h) + std::chrono::minutes(mi) +
           std::chrono::seconds(s);
}

std::string IsoTime(sys_seconds time)
{
    const std::string id = TimeId(time);
    return id.substr(0, 4) + "-" + id.substr(4, 2) + "-" + id.substr(6, 2) + "T" + id.substr(9, 2) + ":" +
           id.substr(11, 2) + ":" + id.substr(13, 2) + "Z";
}

std::string LocalTimeText(sys_seconds time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (!::localtime_r(&seconds, &local))
        return IsoTime(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace tsl
