// tesselar-cli backups DIR and restore DIR ID: the backup generations that
// every save keeps of the files it replaces.

#include "app/cli/Cli.h"
#include "core/IniFile.h"
#include "editor/BackupRestore.h"
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
    err << "The directory " << dir << " doesn't exist!\n";
    return false;
}

int RunBackups(Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::string usage = "backups DIR [--json]";
    const bool json = args.Flag("--json");
    if (!ExpectPositionals(args, 1, usage, err))
        return kExitUsage;
    const std::string& dir = args.Rest()[0];
    if (!GameDirectory(dir, err))
        return kExitFailed;
    const BackupPolicy backups = CliBackupPolicy();
    const std::vector<BackupGeneration> generations = ListGenerations(GenerationsFolder(backups, dir));
    if (json) {
        out << "[";
        const char* separator = "\n";
        for (const BackupGeneration& g : generations) {
            std::string missing;
            for (const std::string& name : g.MissingFiles)
                missing += (missing.empty() ? "\"" : ", \"") + name + "\"";
            out << separator << "  {\"id\": \"" << g.Id << "\", \"time\": \"" << IsoTime(g.Time)
                << "\", \"maps\": " << g.Maps << ", \"bytes\": " << g.Bytes
                << ", \"saved\": " << (g.Saved ? "\"" + IsoTime(*g.Saved) + "\"" : "null")
                << ", \"complete\": " << (g.Incomplete().empty() ? "true" : "false") << ", \"missing\": [" << missing
                << "]}";
            separator = ",\n";
        }
        out << (generations.empty() ? "]\n" : "\n]\n");
        return 0;
    }
    if (generations.empty()) {
        std::error_code ec;
        out << "There are no backups of " << std::filesystem::absolute(dir, ec).lexically_normal().string() << ".\n";
        return 0;
    }
    out << "ID                   Saved (UTC)          Replaced (UTC)        Maps        Bytes\n";
    for (const BackupGeneration& g : generations) {
        char row[160];
        std::snprintf(row, sizeof row, "%-20s %-20s %-20s %5d %12ju", g.Id.c_str(),
                      g.Saved ? IsoTime(*g.Saved).c_str() : "unknown", IsoTime(g.Time).c_str(), g.Maps, g.Bytes);
        const std::string lacks = g.Incomplete();
        out << row << (lacks.empty() ? "" : "  incomplete: " + lacks) << "\n";
    }
    return 0;
}

int RunRestore(Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::string usage = "restore DIR ID [loader options]";
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    if (!ExpectPositionals(args, 2, usage, err))
        return kExitUsage;
    const std::string& dir = args.Rest()[0];
    if (!GameDirectory(dir, err))
        return kExitFailed;

    RestoreRequest request;
    request.Backups = CliBackupPolicy();
    request.GameDir = dir;
    request.Id = args.Rest()[1];
    // The current set's layout and structure, as far as they can be told: a
    // set that does not open any more is what a restore is for.
    MapHandler layout;
    std::optional<std::filesystem::path> structureFolder;
    if (!DescribeGameSet(dir, options, layout, &structureFolder))
        request.Layout = &layout;
    std::unique_ptr<IniFile> settings;
    if (structureFolder) {
        settings = std::make_unique<IniFile>(
            StructureSettingsPath(MapDefsRootOf(options), layout.Extension, layout.HeaderExecutable));
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

const Registrar kBackups({"backups", "backups DIR [--json]",
                          "Lists the backup generations of the game in DIR, oldest first: every save keeps the\n"
                          "      files it replaces as one, named by its time in UTC, with the time the files were\n"
                          "      saved. --json prints an array of objects with id, time (of the replacing save),\n"
                          "      maps, bytes, saved (null when not recorded; times in ISO 8601, UTC), complete\n"
                          "      and missing (the files of the set it lacks).",
                          RunBackups});

const Registrar kRestore({"restore", "restore DIR ID [loader options]",
                          "Puts the backup generation ID back into DIR, after keeping the current files as a\n"
                          "      generation of their own (and as .BAK). A generation saved before a change of\n"
                          "      the number of planes also gives the structure its planes and symbol files back.",
                          RunRestore});

} // namespace
} // namespace tsl::cli
