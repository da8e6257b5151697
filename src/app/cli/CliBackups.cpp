// tesselar-cli backups DIR and restore DIR ID: the backup generations that
// every save keeps of the files it replaces.

#include "app/cli/Cli.h"
#include "app/cli/JsonOutput.h"
#include "core/IniFile.h"
#include "editor/keeping/BackupRestore.h"
#include "mapdefs/StructureStore.h"

#include <cstdio>
#include <memory>
#include <ostream>

namespace tsl::cli {
namespace {

bool GameDirectory(const std::string& dir, std::ostream& err)
{
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec))
        return true;
    err << "The directory " << PrintableText(dir) << " doesn't exist!\n";
    return false;
}

struct BackupsArguments {
    std::string dir;
    bool json = false;

    void Declare(Declarations& d)
    {
        d.Json(json, "an array of objects with id, time (of the replacing save), maps (0 for the page file),\n"
               "page_file (true when it keeps the page file rather than map files), bytes, saved (null\n"
               "when not recorded; times in ISO 8601, UTC), complete and missing (the files of the set it lacks)");
    }
};

Json GenerationJson(const BackupGeneration& g)
{
    return {{"id", g.Id},
            {"time", IsoTime(g.Time)},
            {"maps", g.Maps},
            {"page_file", g.PageFile},
            {"bytes", g.Bytes},
            {"saved", g.Saved ? Json(IsoTime(*g.Saved)) : Json(nullptr)},
            {"complete", g.Incomplete().empty()},
            {"missing", g.MissingFiles}};
}

int RunBackups(const BackupsArguments& a, std::ostream& out, std::ostream& err)
{
    if (!GameDirectory(a.dir, err))
        return kExitFailed;
    const std::vector<BackupGeneration> generations = ListGenerations(GenerationsFolder(CliBackupPolicy(), a.dir));
    if (a.json) {
        Json list = Json::array();
        for (const BackupGeneration& g : generations)
            list.push_back(GenerationJson(g));
        PrintJson(list, out);
        return 0;
    }
    if (generations.empty()) {
        std::error_code ec;
        out << "There are no backups of " << PrintableText(std::filesystem::absolute(a.dir, ec).lexically_normal().string()) << ".\n";
        return 0;
    }
    out << "ID                   Saved (UTC)          Replaced (UTC)       Holds              Bytes\n";
    for (const BackupGeneration& g : generations) {
        char row[200];
        const std::string holds = g.PageFile ? "the page file" : std::to_string(g.Maps) + (g.Maps == 1 ? " map" : " maps");
        std::snprintf(row, sizeof row, "%-20s %-20s %-20s %-13s %12ju", g.Id.c_str(),
                      g.Saved ? IsoTime(*g.Saved).c_str() : "unknown", IsoTime(g.Time).c_str(), holds.c_str(), g.Bytes);
        const std::string lacks = g.Incomplete();
        out << row << (lacks.empty() ? "" : "  incomplete: " + lacks) << "\n";
    }
    return 0;
}

struct RestoreArguments {
    std::string dir;
    std::string id;
    LoaderOptions loader;

    void Declare(Declarations& d) { d.Positional("ID", id, "the generation to put back, as backups lists it", ""); }
};

int RunRestore(const RestoreArguments& a, std::ostream& out, std::ostream& err)
{
    if (!GameDirectory(a.dir, err))
        return kExitFailed;

    RestoreRequest request;
    request.Backups = CliBackupPolicy();
    request.GameDir = a.dir;
    request.Id = a.id;
    // The current set's layout and structure, as far as they can be told: a
    // set that does not open any more is what a restore is for.
    MapHandler layout;
    std::optional<std::filesystem::path> structureFolder;
    if (!DescribeGameSet(a.dir, a.loader, layout, &structureFolder))
        request.Layout = &layout;
    std::unique_ptr<IniFile> settings;
    if (structureFolder) {
        settings = std::make_unique<IniFile>(
            StructureSettingsPath(MapDefsRootOf(a.loader), layout.Extension, layout.HeaderExecutable));
        request.Settings = settings.get();
        request.StructureFolder = *structureFolder;
    }
    auto report = RestoreBackup(request, std::chrono::system_clock::now());
    if (!report) {
        Report(report.failure(), err);
        return kExitFailed;
    }
    out << report->Text << "\n";
    return 0;
}

} // namespace

Command BackupsCommand()
{
    return MakeCommand(
        "backups",
        "Lists the backup generations of the game in DIR, oldest first: every save keeps the\n"
        "files it replaces as one, named by its time in UTC, with the time the files were saved.",
        RunBackups);
}

Command RestoreCommand()
{
    return MakeCommand(
        "restore",
        "Puts the backup generation ID back into DIR, after keeping the current files as a\n"
        "generation of their own (and as .BAK). A generation saved before a change of\n"
        "the number of planes also gives the structure its planes and symbol files back.",
        RunRestore);
}

} // namespace tsl::cli
