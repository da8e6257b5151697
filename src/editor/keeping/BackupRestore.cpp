#include "editor/keeping/BackupRestore.h"

#include "core/FileSystem.h"
#include "graphics/PageFile.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>

namespace tsl {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlanes = "Planes";
constexpr const char* kPlaneNames = "PlaneNames";
constexpr const char* kShowPlanes = "ShowPlanes";
constexpr const char* kSplitPlanes = "SplitPlanes";

Failure RestoreFailure(std::string text)
{
    return Failure{std::move(text), kRestoreBackupCaption, MessageIcon::Error};
}

std::string Absolute(const fs::path& dir)
{
    std::error_code ec;
    return fs::absolute(dir, ec).lexically_normal().string();
}

const KeptFile* Named(const std::vector<KeptFile>& files, std::string_view name)
{
    const auto it =
        std::find_if(files.begin(), files.end(), [&](const KeptFile& f) { return EqualsNoCase(f.Name, name); });
    return it == files.end() ? nullptr : &*it;
}

std::string GenerationLabel(const BackupGeneration& generation)
{
    return generation.Id + " (" + SavedText(generation) + ")";
}

std::string MapCount(int maps)
{
    return std::to_string(maps) + (maps == 1 ? " map" : " maps");
}


// The planes from the current count up to the generation's get their
// entries back as the kept settings file had them (an added plane's defaults
// where it had none), the symbol files kept come back, and the count is set.
std::optional<Failure> GiveStructureBack(const RestoreRequest& request, const GenerationContent& content,
                                         int currentPlanes, const std::vector<const KeptFile*>& symbolFiles)
{
    IniFile& settings = *request.Settings;
    const KeptFile* keptSettings = Named(content.StructureFiles, settings.Path().filename().string());
    const IniDocument before = IniDocument::Parse(
        keptSettings ? std::string_view(reinterpret_cast<const char*>(keptSettings->Content.data()),
                                        keptSettings->Content.size())
                     : std::string_view());
    for (const KeptFile* file : symbolFiles) {
        const fs::path path = request.StructureFolder / fs::path(file->Name);
        std::optional<DiskError> error = MakeDirectories(path.parent_path());
        if (!error)
            error = ReplaceFile(path, file->Content);
        if (error)
            return RestoreFailure("Couldn't write " + error->Describe() + "!");
    }
    IniFile::Batch batch(settings);
    for (int p = currentPlanes; p < content.Planes; ++p) {
        const std::string key = std::to_string(p);
        if (before.Find(kPlanes, key)) {
            for (const char* section : {kPlanes, kPlaneNames, kShowPlanes, kSplitPlanes})
                if (auto value = before.Find(section, key))
                    settings.WriteString(section, key, *value);
            continue;
        }
        const std::string name = "plane" + std::to_string(p + 1) + ".txt";
        std::error_code ec;
        if (!fs::exists(ResolveNoCase(request.StructureFolder, name), ec) &&
            ReplaceFile(request.StructureFolder / name,
                        std::span(reinterpret_cast<const std::uint8_t*>(kDefaultSymbolRecord),
                                  std::string_view(kDefaultSymbolRecord).size())))
            return RestoreFailure("Couldn't write the symbol file " + (request.StructureFolder / name).string() + "!");
        settings.WriteString(kPlanes, key, name);
        settings.WriteString(kPlaneNames, key, "Plane " + std::to_string(p + 1) + " (Unknown)");
        settings.WriteBool(kShowPlanes, key, true);
        settings.WriteBool(kSplitPlanes, key, false);
    }
    if (content.Planes > 0)
        settings.WriteInteger(kPlanes, "NumPlanes", content.Planes);
    if (!batch.Commit())
        return RestoreFailure("Couldn't write the settings file " + settings.Path().string() + "!");
    return std::nullopt;
}

} // namespace

std::optional<Failure> RefuseRestore(const BackupGeneration& generation, const MapHandler* layout)
{
    const std::string refused = "The backup " + generation.Id + " cannot be restored: ";
    const std::string nothing = "\n\nNothing was restored.";
    if (generation.GameData) // the pictures' or sounds' files: kept whole, read when the game opens
        return generation.MissingFiles.empty()
                   ? std::nullopt
                   : std::optional<Failure>(RestoreFailure(refused + "it is incomplete, " + generation.Incomplete() + "." + nothing));
    if (generation.PageFile) {
        // A generation of the page file alone: its one file must read.
        const fs::path kept = generation.GameFiles.empty() ? fs::path() : generation.Folder / generation.GameFiles.front();
        if (const auto pages = PageFile::Load(kept); !pages)
            return RestoreFailure(refused + "its page file does not read.\n\n" + pages.failure().text + nothing);
        return std::nullopt;
    }
    if (const std::string lacks = generation.Incomplete(); !lacks.empty())
        return RestoreFailure(refused + "it is incomplete, " + lacks + ", so its maps would not load." + nothing);
    const auto located = LocateGameFiles(generation.Folder);
    if (!located)
        return RestoreFailure(refused + "its maps do not load.\n\n" + located.failure().text + nothing);
    if (!layout)
        return std::nullopt;
    MapHandler probe;
    probe.NumPlanes = generation.Planes > 0 ? generation.Planes : layout->NumPlanes;
    probe.NearTag = layout->NearTag;
    probe.FarTag = layout->FarTag;
    probe.WDCCompatibleMaps = layout->WDCCompatibleMaps;
    probe.ExtendedMapNames = layout->ExtendedMapNames;
    probe.UseGameFiles(generation.Folder, *located);
    if (const LoadReport report = probe.Load(); !report.ok())
        return RestoreFailure(refused + "its maps do not load.\n\n" + report.failure->text + nothing);
    return std::nullopt;
}

Outcome<std::vector<BackupGeneration>> GenerationsOf(const BackupPolicy& backups, const fs::path& gameDir)
{
    std::vector<BackupGeneration> generations;
    if (!backups.Root.empty())
        generations = ListGenerations(GenerationsFolder(backups, gameDir));
    if (generations.empty())
        return Failure{"There are no backups of " + Absolute(gameDir) + ".", kRestoreBackupCaption,
                       MessageIcon::Information};
    return generations;
}

Outcome<RestoreReport> RestoreBackup(const RestoreRequest& request, std::chrono::system_clock::time_point now)
{
    auto generations = GenerationsOf(request.Backups, request.GameDir);
    if (!generations)
        return generations.failure();
    const auto chosen = std::find_if(generations->begin(), generations->end(),
                                     [&](const BackupGeneration& g) { return g.Id == request.Id; });
    if (chosen == generations->end())
        return RestoreFailure("There is no backup " + request.Id + " of " + Absolute(request.GameDir) + ".");
    if (auto refusal = RefuseRestore(*chosen, request.Layout))
        return *refusal;
    auto content = ReadGeneration(*chosen);
    if (!content)
        return content.failure();

    // The current files, as a generation of their own; one that is missing
    // (an interrupted save) makes it say it is incomplete.
    GenerationContent current;
    for (const KeptFile& file : content->GameFiles)
        KeepFileOf(current, ResolveNoCase(request.GameDir, file.Name));
    const KeptFile* listing = Named(current.GameFiles, content->GameFiles.back().Name);
    current.PageFile = content->PageFile;
    current.GameData = content->GameData;
    if (!current.PageFile && !current.GameData) {
        current.Maps = request.Layout && listing ? request.Layout->ListedMapCount(listing->Content) : 0;
        current.Planes = request.Settings ? request.Settings->ReadInteger(kPlanes, "NumPlanes", 0)
                                          : request.Layout ? request.Layout->NumPlanes : 0;
    }

    std::vector<const KeptFile*> symbolFiles;
    bool structure = false;
    if (request.Settings && !content->PageFile && !content->GameData) {
        const std::string settingsName = request.Settings->Path().filename().string();
        for (const KeptFile& file : content->StructureFiles)
            if (!EqualsNoCase(file.Name, settingsName))
                symbolFiles.push_back(&file);
        structure = (content->Planes > 0 && content->Planes != current.Planes) || !symbolFiles.empty();
    }
    if (structure) {
        std::vector<fs::path> kept{request.Settings->Path()};
        for (const KeptFile* file : symbolFiles)
            kept.push_back(request.StructureFolder / fs::path(file->Name));
        for (const fs::path& path : kept)
            if (auto bytes = ReadWholeFile(path)) {
                const bool settingsFile = path == kept.front();
                current.StructureFiles.push_back(
                    {settingsFile ? path.filename().string()
                                  : path.lexically_relative(request.StructureFolder).generic_string(),
                     std::move(*bytes)});
            }
    }

    BackupPolicy keepCurrent = request.Backups;
    keepCurrent.Keep = std::max(keepCurrent.Keep, 1);
    const KeepOutcome kept = KeepGeneration(keepCurrent, request.GameDir, current, now, false);
    if (kept.Error)
        return RestoreFailure("The current files couldn't be kept as a backup: " + kept.Error->Describe() +
                              ".\n\nNothing was restored.");

    std::vector<FileReplacement> files;
    for (const KeptFile& file : content->GameFiles) {
        const fs::path target = ResolveNoCase(request.GameDir, file.Name);
        files.push_back({target, ResolveNoCase(request.GameDir, target.filename().string() + ".BAK"), file.Content});
    }
    const ReplaceOutcome replaced = ReplaceFiles(std::move(files));
    if (!replaced.ok()) {
        if (!kept.Id.empty())
            RemoveTree(GenerationsFolder(request.Backups, request.GameDir) / kept.Id); // the files are still current
        if (!replaced.refusal.empty())
            return RestoreFailure(replaced.refusal + "\n\nNothing was restored.");
        return RestoreFailure("Couldn't write " + replaced.error->Describe() + "!\n\n" +
                              (replaced.restored ? "The current map files were kept." : replaced.onDisk));
    }

    RestoreReport report;
    report.Restored = *chosen;
    report.KeptId = kept.Id;
    report.Text = "Backup " + GenerationLabel(*chosen) +
                  (chosen->PageFile   ? " of the page file " + content->GameFiles.front().Name
                   : chosen->GameData ? " of " + JoinAnd(chosen->GameFiles)
                                      : " with " + MapCount(chosen->Maps)) +
                  " was restored.";
    if (!kept.Id.empty())
        report.Text += " The files it replaced were kept as backup " + kept.Id +
                       (current.MissingFiles.empty() ? "" : ", which is incomplete") + ".";
    if (structure) {
        if (auto failure = GiveStructureBack(request, *content, current.Planes, symbolFiles))
            return Failure{report.Text + "\n\nBut the map definition structure couldn't be given its " +
                               std::to_string(content->Planes) + " planes back: " + failure->text,
                           kRestoreBackupCaption, MessageIcon::Warning};
        if (content->Planes != current.Planes)
            report.Text += " The map definition structure has " + std::to_string(content->Planes) + " planes again.";
        std::vector<std::string> names;
        for (const KeptFile* file : symbolFiles)
            names.push_back(file->Name);
        if (!names.empty())
            report.Text += std::string(" The symbol ") + (names.size() == 1 ? "file " : "files ") + JoinAnd(names) +
                           (names.size() == 1 ? " is" : " are") + " back in " + request.StructureFolder.string() + ".";
    }
    return report;
}

Question RestoreQuestion(const BackupGeneration& generation)
{
    if (generation.PageFile)
        return {"Do you wish to restore the backup of the page file (" + SavedText(generation) +
                    ")?\n\nThe current page file is kept as a backup of its own first, so that the restore can be "
                    "undone the same way. The project is then opened again.",
                kRestoreBackupCaption};
    return {"Do you wish to restore the backup with " + MapCount(generation.Maps) + " (" + SavedText(generation) +
                ")?\n\nThe current map files are kept as a backup of their own first, so that the restore can be "
                "undone the same way. The project is then opened again.",
            kRestoreBackupCaption};
}

std::string SavedText(const BackupGeneration& generation)
{
    const std::string replaced = "replaced " + LocalTimeText(generation.Time);
    return generation.Saved ? "saved " + LocalTimeText(*generation.Saved) + ", " + replaced : replaced;
}

} // namespace tsl
