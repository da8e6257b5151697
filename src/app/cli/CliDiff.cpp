// tesselar-cli diff DIR OTHER: what the set in DIR changed against another
// game folder (the game a mod modifies) or one of its own backup
// generations: maps added, removed, renamed, resized or changed (tiles per
// plane), and the chunks that differ of the page file, VGAGRAPH and AUDIOT.

#include "app/cli/Cli.h"
#include "app/cli/CliGameData.h"
#include "app/cli/JsonOutput.h"
#include "graphics/PageFile.h"
#include "mod/SetDifference.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace tsl::cli {
namespace {

struct DiffArguments {
    std::string dir;
    std::string other;
    std::string generation;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.OptionalPositional("OTHER", other, "the game folder to compare with (the game the mod modifies)", "DIR");
        d.Value("--generation", "ID", "compare with backup generation ID of DIR instead, as backups lists it",
                [this](const std::string& id) {
                    generation = id;
                    return std::string();
                });
        d.Json(json, "{\"maps\": [{\"map\", \"changes\", \"planes\": [{\"plane\", \"tiles\"}]}], \"pages\",\n"
               "\"graphics\", \"audio\"}, only what differs");
    }
};

// The page file of the set in `dir`; nothing when it has none. Damage is
// reported on `err` and marks `damaged`.
std::optional<PageFile> PagesOf(const std::filesystem::path& dir, const std::string& extension, bool& damaged,
                                std::ostream& err)
{
    const auto path = FindPageFile(dir, extension);
    if (!path)
        return std::nullopt;
    auto pages = PageFile::Load(*path);
    if (!pages) {
        Report(pages.failure(), err);
        damaged = true;
        return std::nullopt;
    }
    return std::move(*pages);
}

// "3, 4, 100-102".
std::string Ranges(const std::vector<int>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        text += (i ? ", " : "") + std::to_string(numbers[i]) + (j > i ? "-" + std::to_string(numbers[j]) : "");
        i = j + 1;
    }
    return text;
}

void PrintMap(const MapDifference& d, const MapHandler& ours, const MapHandler& theirs, std::ostream& out)
{
    const MapHandler& named = d.changes.front() == MapChange::Removed ? theirs : ours;
    out << "Map " << d.map << " (" << PrintableName(named.Maps[static_cast<std::size_t>(d.map - 1)].Name) << "):";
    for (std::size_t i = 0; i < d.changes.size(); ++i) {
        out << (i ? ", " : " ") << MapChangeName(d.changes[i]);
        if (d.changes[i] != MapChange::Changed)
            continue;
        out << " (";
        for (std::size_t p = 0; p < d.planes.size(); ++p)
            out << (p ? ", " : "") << "plane " << d.planes[p].plane << ": " << d.planes[p].tiles
                << (d.planes[p].tiles == 1 ? " tile" : " tiles");
        out << ")";
    }
    out << "\n";
}

int RunDiff(const DiffArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.other.empty() == a.generation.empty()) {
        err << "Give either OTHER, a game folder, or --generation ID, one of DIR's backups.\n";
        return kExitUsage;
    }
    MapHandler ours;
    if (!OpenGameSet(a.dir, a.loader, ours, err))
        return kExitUsage;
    std::filesystem::path otherDir = a.other;
    bool withMaps = true, withPages = true, withGameData = true;
    if (!a.generation.empty()) {
        const auto generations = ListGenerations(GenerationsFolder(CliBackupPolicy(), a.dir));
        const auto found = std::find_if(generations.begin(), generations.end(),
                                        [&a](const BackupGeneration& g) { return g.Id == a.generation; });
        if (found == generations.end()) {
            err << "There is no backup generation " << PrintableText(a.generation) << " of "
                << PrintableText(a.dir) << "; tesselar-cli backups DIR lists them.\n";
            return kExitUsage;
        }
        // A generation keeps what its save replaced: the maps or the page file.
        otherDir = found->Folder;
        withMaps = !found->PageFile && !found->GameData;
        withPages = found->PageFile;
        withGameData = found->GameData;
    } else {
        std::error_code ec;
        if (!std::filesystem::is_directory(otherDir, ec)) {
            err << "The directory " << PrintableText(a.other) << " doesn't exist!\n";
            return kExitUsage;
        }
    }
    SetLoad theirs;
    if (withMaps) {
        theirs = LoadSetLike(ours, otherDir);
        if (!theirs.report.ok()) {
            Report(*theirs.report.failure, err);
            return kExitUsage;
        }
        if (auto damage = theirs.report.DamageMessage())
            Report(*damage, err);
    }
    bool damaged = ours.LoadedWithDamage || theirs.maps.LoadedWithDamage;
    SetDifference difference;
    if (withMaps)
        difference.maps = CompareMaps(ours, theirs.maps);
    if (withPages) {
        const auto ourPages = PagesOf(ours.Path, ours.Extension, damaged, err);
        const auto theirPages = PagesOf(otherDir, ours.Extension, damaged, err);
        difference.pages = ComparePages(ourPages ? &*ourPages : nullptr, theirPages ? &*theirPages : nullptr);
    }
    if (withGameData) {
        std::ostringstream quiet; // a structure without chunk names compares by number all the same
        const auto game = FindGameData(a.dir, a.loader, quiet);
        GameDataDifference data = CompareGameData(ours.Path, otherDir, ours.Extension,
                                                  game && game->names ? &*game->names : nullptr);
        for (const Failure& failure : data.damage)
            Report(failure, err);
        damaged = damaged || !data.damage.empty();
        // A generation keeps only the files its save replaced: a kind it
        // lacks is not compared.
        const bool generation = !a.generation.empty();
        if (!generation || data.theirGraphics)
            difference.graphics = std::move(data.graphics);
        if (!generation || data.theirAudio)
            difference.audio = std::move(data.audio);
    }

    if (a.json) {
        Json maps = Json::array();
        for (const MapDifference& d : difference.maps) {
            Json changes = Json::array(), planes = Json::array();
            for (const MapChange change : d.changes)
                changes.push_back(MapChangeName(change));
            for (const PlaneTiles& plane : d.planes)
                planes.push_back({{"plane", plane.plane}, {"tiles", plane.tiles}});
            maps.push_back({{"map", d.map}, {"changes", changes}, {"planes", planes}});
        }
        PrintJson({{"maps", maps}, {"pages", difference.pages}, {"graphics", difference.graphics}, {"audio", difference.audio}},
                  out);
    } else {
        for (const MapDifference& d : difference.maps)
            PrintMap(d, ours, theirs.maps, out);
        if (!difference.pages.empty())
            out << "Page chunks: " << Ranges(difference.pages) << "\n";
        if (!difference.graphics.empty())
            out << "VGAGRAPH chunks: " << Ranges(difference.graphics) << "\n";
        if (!difference.audio.empty())
            out << "AUDIOT chunks: " << Ranges(difference.audio) << "\n";
        if (difference.Empty())
            out << "Nothing differs.\n";
    }
    if (damaged) {
        err << "A set is damaged (see above): its maps were compared only as far as they are sound.\n";
        return kExitDamaged;
    }
    return difference.Empty() ? 0 : kExitFailed;
}

} // namespace

Command DiffCommand()
{
    return MakeCommand(
        "diff",
        "Compares the set in DIR with another game folder OTHER (the game a mod modifies) or\n"
        "with one of DIR's backup generations (--generation ID): the maps added, removed,\n"
        "renamed, resized or changed (the tiles that differ, per plane), and the page file's\n"
        "chunks that differ. Exit status 0 when nothing differs, 1 when something does, 2 on\n"
        "an error, 3 when a set or page file is damaged.",
        RunDiff);
}
} // namespace tsl::cli
