#include "mod/Release.h"

#include "audio/AudioSet.h"
#include "core/FileSystem.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"
#include "engine/LevelFlow.h"
#include "graphics/PageFile.h"
#include "mod/EpisodeBoard.h"
#include "mod/SetDifference.h"
#include "mod/Sha256.h"
#include "mod/ZipArchive.h"
#include "vgagraph/GraphicsSet.h"

#include <algorithm>
#include <chrono>

namespace tsl {

namespace {

constexpr int kSkills = 4;

Failure Refusal(std::string text)
{
    return {std::move(text), kReleaseCaption, MessageIcon::Warning};
}

std::string Extension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// The files of the game in the mod's folder: those with the set's extension,
// and the executable that holds the map table when it does.
bool IsGameFile(const std::string& name, const MapHandler& layout)
{
    return (!layout.Extension.empty() && EqualsNoCase(Extension(name), layout.Extension)) ||
           (layout.HeaderInExecutable && EqualsNoCase(name, layout.HeaderExecutable));
}

std::int64_t ModificationTime(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec)
        return 0;
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(time).time_since_epoch())
        .count();
}

// The game files of the mod that differ from the original's.
Outcome<std::vector<ReleaseFile>> ChangedFiles(const ReleaseRequest& request)
{
    std::error_code ec;
    const std::vector<std::string> names = ListDirectory(request.modDir, ec);
    if (ec)
        return Refusal("The folder " + request.modDir.string() + " cannot be read (" + ec.message() + ").");
    std::vector<ReleaseFile> files;
    for (const std::string& name : names) {
        const std::filesystem::path path = request.modDir / name;
        if (IsTemporaryName(name) || !IsGameFile(name, *request.layout) || !std::filesystem::is_regular_file(path, ec))
            continue;
        auto content = ReadWholeFile(path);
        if (!content)
            return Refusal("The file " + path.string() + " cannot be read.");
        const auto original = FindNoCase(request.originalDir, name);
        const auto originalContent = original ? ReadWholeFile(*original) : std::nullopt;
        if (original && !originalContent)
            return Refusal("The file " + original->string() + " cannot be read.");
        if (originalContent && *originalContent == *content)
            continue;
        ReleaseFile file{name, std::move(*content), "", ModificationTime(path), !original};
        file.sha256 = Sha256Hex(file.content);
        files.push_back(std::move(file));
    }
    return files;
}

std::string Counted(int count, const std::string& one, const std::string& more)
{
    return std::to_string(count) + " " + (count == 1 ? one : more);
}

class Planner {
public:
    Planner(const ReleaseRequest& request, ReleasePlan& plan) : request_(request), plan_(plan) {}

    void CheckMaps();
    void CheckPageFile();
    void WriteTexts();

private:
    void Level(const MapList& map, int number);

    const ReleaseRequest& request_;
    ReleasePlan& plan_;
    std::string levels_; // the text's part on the levels
};

void Planner::CheckMaps()
{
    SetLoad mod = LoadSetLike(*request_.layout, request_.modDir);
    if (!mod.report.ok()) {
        plan_.findings.push_back("The mod's maps do not load: " + mod.report.failure->text);
        return;
    }
    if (auto damage = mod.report.DamageMessage())
        plan_.findings.push_back("The mod's maps load with damage: " + damage->text);
    if (!request_.rules)
        plan_.findings.push_back("The levels cannot be analysed: the map definition structure has no rules of play.");
    // A level is the mod's when it differs from the original's; when the
    // original's maps do not load, every level is.
    const SetLoad original = LoadSetLike(*request_.layout, request_.originalDir);
    if (!original.report.ok()) {
        for (int index = 0; index < mod.maps.NumMaps(); ++index)
            Level(mod.maps.Maps[static_cast<std::size_t>(index)], index + 1);
        return;
    }
    for (const MapDifference& difference : CompareMaps(mod.maps, original.maps))
        if (difference.changes.front() != MapChange::Removed)
            Level(mod.maps.Maps[static_cast<std::size_t>(difference.map - 1)], difference.map);
}

void Planner::Level(const MapList& map, int number)
{
    const std::string label = "Map " + std::to_string(number) + " (" + MapNameUtf8(map.Name) + ")";
    const auto par = request_.flow ? request_.flow->Floor(number) : nullptr;
    levels_ += "Map " + std::to_string(number) + ": " + MapNameUtf8(map.Name) +
               (par && par->par ? " (par " + MinutesText(*par->par) + ")" : "") + "\n";
    if (!request_.rules)
        return;
    std::vector<int> stuck;
    for (int skill = 1; skill <= kSkills; ++skill) {
        const LevelAnalysis level = AnalyseLevel(map, *request_.rules, skill);
        levels_ += "  Skill " + std::to_string(skill) + ": " + Counted(level.kills, "kill", "kills") + ", " +
                   std::to_string(level.treasure) + " treasure, " + Counted(level.secrets, "secret", "secrets") + "\n";
        if (!level.Finishable())
            stuck.push_back(skill);
    }
    if (stuck.empty())
        return;
    std::string skills;
    for (std::size_t i = 0; i < stuck.size(); ++i)
        skills += (i == 0 ? "" : i + 1 == stuck.size() ? " and " : ", ") + std::to_string(stuck[i]);
    plan_.findings.push_back(label + " cannot be finished on skill " + skills + ".");
}

void Planner::CheckPageFile()
{
    const std::string& extension = request_.layout->Extension;
    const auto changed = [this, &extension](std::initializer_list<const char*> names) {
        return std::any_of(plan_.files.begin(), plan_.files.end(), [&](const ReleaseFile& file) {
            return std::any_of(names.begin(), names.end(),
                               [&](const char* name) { return EqualsNoCase(file.name, name + ("." + extension)); });
        });
    };
    for (const ReleaseFile& file : plan_.files) {
        if (!EqualsNoCase(file.name, "VSWAP." + extension))
            continue;
        auto pages = PageFile::Parse(file.content, file.name);
        if (!pages)
            plan_.findings.push_back(file.name + " does not load: " + pages.failure().text);
    }
    // The game's other pictures and sounds are read as a set of files.
    if (changed({"VGAHEAD", "VGADICT", "VGAGRAPH"})) {
        const auto paths = FindGraphicsFiles(request_.modDir, extension);
        auto graphics = paths ? GraphicsSet::Load(*paths, nullptr) : Outcome<GraphicsSet>(Failure{"a file is missing.", "", MessageIcon::Warning});
        if (!graphics)
            plan_.findings.push_back("VGAHEAD, VGADICT and VGAGRAPH do not load: " + graphics.failure().text);
    }
    if (changed({"AUDIOHED", "AUDIOT"})) {
        const auto paths = FindAudioFiles(request_.modDir, extension);
        auto audio = paths ? AudioSet::Load(*paths, nullptr) : Outcome<AudioSet>(Failure{"a file is missing.", "", MessageIcon::Warning});
        if (!audio)
            plan_.findings.push_back("AUDIOHED and AUDIOT do not load: " + audio.failure().text);
    }
}

void Planner::WriteTexts()
{
    const MapHandler& layout = *request_.layout;
    std::string text = plan_.name + "\n" + std::string(std::max<std::size_t>(plan_.name.size(), 1), '=') + "\n\n";
    text += "A mod of the game in " + request_.originalDir.filename().string() + ", made with Tesselar.\n\n";
    if (!levels_.empty())
        text += "Levels\n------\n" + levels_ + "\n";
    text += "Files\n-----\n";
    for (const ReleaseFile& file : plan_.files) {
        text += file.name + " (" + (file.added ? "new" : "replaces the game's") + ", " +
                std::to_string(file.content.size()) + " bytes)\n  SHA-256 " + file.sha256 + "\n";
        plan_.sums += file.sha256 + "  " + file.name + "\n";
    }
    const std::string header = layout.HeaderInExecutable ? layout.HeaderExecutable : "MAPHEAD." + layout.Extension;
    // Lines short enough for any text viewer of the game's players.
    text += "\nInstalling\n----------\nCopy the files above into the game's folder\n(the folder that holds " + header +
            "), replacing the files of the same\nname. Keep a copy of the game's own files to play it as it was.\n\n" +
            std::string(kReleaseSums) + " lists the SHA-256 of every file;\nsha256sum -c " + kReleaseSums +
            " checks them.\n";
    // The text's lines end in CR LF, as the game's own texts do.
    for (const char c : text) {
        if (c == '\n')
            plan_.text += '\r';
        plan_.text += c;
    }
}

} // namespace

Outcome<ReleasePlan> PlanRelease(const ReleaseRequest& request)
{
    std::error_code ec;
    for (const auto& dir : {request.modDir, request.originalDir})
        if (!std::filesystem::is_directory(dir, ec))
            return Refusal("The directory " + dir.string() + " doesn't exist!");
    if (std::filesystem::equivalent(request.modDir, request.originalDir, ec))
        return Refusal("The mod's folder and the original game's are the same folder.");
    auto files = ChangedFiles(request);
    if (!files)
        return files.failure();
    if (files->empty())
        return Refusal("Nothing to release: the game files of " + request.modDir.string() + " are those of " +
                       request.originalDir.string() + ".");
    ReleasePlan plan;
    plan.name = request.name;
    plan.files = std::move(*files);
    Planner planner(request, plan);
    planner.CheckMaps();
    planner.CheckPageFile();
    planner.WriteTexts();
    return plan;
}

std::optional<Failure> WriteRelease(const ReleasePlan& plan, const std::filesystem::path& zip)
{
    std::vector<ZipEntry> entries;
    std::int64_t newest = 0;
    std::size_t total = 0;
    for (const ReleaseFile& file : plan.files) {
        entries.push_back({file.name, file.content, file.time});
        newest = std::max(newest, file.time);
    }
    entries.push_back({kReleaseText, Bytes(plan.text.begin(), plan.text.end()), newest});
    entries.push_back({kReleaseSums, Bytes(plan.sums.begin(), plan.sums.end()), newest});
    for (const ZipEntry& entry : entries)
        total += entry.content.size();
    auto bytes = WriteZip(entries);
    if (!bytes)
        return bytes.failure();
    // The archive as a player's unzip will see it: every file back, whole.
    auto back = ReadZip(*bytes, total);
    if (!back || *back != entries)
        return Failure{"The zip archive read back does not hold the files put into it" +
                           (back ? std::string(".") : ": " + back.failure().text),
                       kReleaseCaption, MessageIcon::Error};
    AtomicFile file(zip);
    if (auto error = file.Open())
        return Failure{"Couldn't write " + error->Describe() + "!", kReleaseCaption, MessageIcon::Error};
    file.Write(*bytes);
    if (auto error = file.Commit())
        return Failure{"Couldn't write " + error->Describe() + "!", kReleaseCaption, MessageIcon::Error};
    return std::nullopt;
}

std::string FindingsText(const ReleasePlan& plan)
{
    std::string text = "The release is held back by what the check found:";
    for (const std::string& finding : plan.findings)
        text += "\n- " + finding;
    return text;
}

std::string ReleaseDoneText(const ReleasePlan& plan, const std::filesystem::path& zip)
{
    std::string names;
    for (std::size_t i = 0; i < plan.files.size(); ++i)
        names += (i == 0 ? "" : i + 1 == plan.files.size() ? " and " : ", ") + plan.files[i].name;
    return "The release " + zip.string() + " holds " + names + ", with " + kReleaseText + " and " + kReleaseSums + ".";
}

} // namespace tsl
