#include "editor/operations/PlaneManager.h"

#include "core/FileSystem.h"
#include "core/TableText.h"
#include "core/TextFile.h"
#include "core/Windows1252.h"

#include <map>

namespace tsl {

namespace {

// The files of a structure folder as they were, so that a change of the
// plane count that cannot be completed leaves the structure untouched.
class FolderSnapshot {
public:
    explicit FolderSnapshot(const fs::path& folder) : folder_(folder)
    {
        for (const fs::path& file : Files())
            if (auto text = ReadTextFile(file))
                files_.emplace(file, std::move(*text));
    }

    void Restore() const
    {
        for (const fs::path& file : Files()) {
            if (!files_.contains(file)) {
                std::error_code ec;
                fs::remove(file, ec);
            }
        }
        for (const auto& [file, text] : files_)
            if (ReadTextFile(file) != text)
                ReplaceTextFile(file, text);
    }

private:
    std::vector<fs::path> Files() const
    {
        std::vector<fs::path> files;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (it->is_regular_file(ec))
                files.push_back(it->path());
        return files;
    }

    fs::path folder_;
    std::map<fs::path, std::string> files_;
};

Failure PlaneCountFailure(std::string text)
{
    return {std::move(text), kPlaneManagerCaption, MessageIcon::Error};
}

// An empty set with the storage settings of `maps`, for reading the files again.
MapHandler EmptyCopy(const MapHandler& maps)
{
    MapHandler copy = maps;
    copy.Clear();
    return copy;
}

} // namespace

Outcome<int> ParsePlaneCount(std::string_view text)
{
    const auto count = WholeNumber(text, 1, kMaxPlaneCount);
    if (!count)
        return PlaneCountFailure("The number of planes must be between 1 and 32767!");
    return *count;
}

std::vector<std::string> PlaneNames(const IniFile& settings, int numPlanes)
{
    std::vector<std::string> names;
    for (int p = 0; p < numPlanes; ++p)
        names.push_back(Windows1252ToUtf8(PlaneName(settings, p)));
    return names;
}

void WritePlaneName(IniFile& settings, int plane, std::string_view name)
{
    settings.WriteString("PlaneNames", std::to_string(plane), name);
}

void WritePlaneFlags(IniFile& settings, int plane, bool show, bool split)
{
    IniFile::Batch batch(settings);
    settings.WriteBool("ShowPlanes", std::to_string(plane), show);
    settings.WriteBool("SplitPlanes", std::to_string(plane), split);
}

Question PlaneReductionQuestion(const Project& project, int count)
{
    const int old = project.Maps().NumPlanes;
    std::vector<std::string> planes, files;
    for (int p = count; p < old; ++p)
        planes.push_back("plane " + std::to_string(p + 1) + " \"" + project.PlaneName(p) + "\"");
    for (const fs::path& path : RemovedPlaneFiles(*project.Settings, project.StructureFolder, count, old))
        files.push_back(path.filename().string());
    const bool one = planes.size() == 1;
    std::string text = "Reducing the number of planes from " + std::to_string(old) + " to " + std::to_string(count) +
                       " deletes " + JoinAnd(planes) + " with all " + (one ? "its" : "their") + " words in every map";
    if (!files.empty())
        text += std::string(", and ") + (one ? "its symbol file " : "their symbol files ") + JoinAnd(files);
    text += ".\n\n";
    if (project.Maps().Backups.Active())
        text += std::string("The previous map files") + (files.empty() ? " are" : " and these symbol files are") +
                " kept with the backup of this save, from which the change can be undone.";
    else
        text += "Backup generations are switched off: only the .BAK files will hold the previous maps.";
    text += std::string("\n\nDo you wish to delete ") + (one ? "this plane?" : "these planes?");
    return {text, kPlaneManagerCaption};
}

namespace {

// What the backup generation of the save keeps besides the map files: the
// settings file as it is now and the symbol files the change deletes.
MapHandler::PlaneChange StructureBeforeChange(const Project& project, int count)
{
    MapHandler::PlaneChange change;
    change.Planes = project.Maps().NumPlanes;
    std::vector<fs::path> files{project.Settings->Path()};
    for (const fs::path& path :
         RemovedPlaneFiles(*project.Settings, project.StructureFolder, count, project.Maps().NumPlanes))
        files.push_back(path);
    for (const fs::path& path : files) {
        std::string name = path.lexically_relative(project.StructureFolder).generic_string();
        if (name.empty() || name.starts_with(".."))
            name = path.filename().string();
        if (auto bytes = ReadWholeFile(path))
            change.StructureFiles.push_back({name, std::move(*bytes)});
    }
    return change;
}

} // namespace

Outcome<MapHandler> ChangePlaneCount(Project& project, int count, const SaveMaps& save)
{
    const MapHandler& maps = project.Maps();
    const int old = maps.NumPlanes;
    if (count == old)
        return maps;
    if (count < 1 || count > kMaxPlaneCount)
        return PlaneCountFailure("The number of planes must be between 1 and 32767!");

    // The set is read again from the game's files first: the maps hold `old`
    // planes there. A set that cannot be read whole is not saved over them.
    MapHandler changed = EmptyCopy(maps);
    changed.FilePlanes = old;
    changed.NumPlanes = count;
    changed.CurrentMap = 0;
    const LoadReport report = changed.Load();
    if (!report.ok())
        return *report.failure;
    if (auto damage = report.DamageMessage()) {
        damage->text += "\n\nThe number of planes was not changed.";
        return *damage;
    }
    changed.FilePlanes = 0;
    if (changed.Backups.Active())
        changed.PlaneChangeSave = StructureBeforeChange(project, count);

    const FolderSnapshot before(project.StructureFolder);
    IniFile& settings = *project.Settings;
    std::optional<Failure> failure;
    {
        IniFile::Batch batch(settings);
        settings.WriteInteger("Planes", "NumPlanes", count);
        if (count > old)
            failure = AddPlaneEntries(settings, project.StructureFolder, old, count);
        else
            RemovePlaneEntries(settings, project.StructureFolder, count, old);
        if (!batch.Commit() && !failure)
            failure = PlaneCountFailure("Couldn't write the settings file " + settings.Path().string() + "!");
    }
    SymbolTables symbols;
    if (!failure && settings.ReadInteger("Planes", "NumPlanes", 0) != count)
        failure = PlaneCountFailure("Couldn't write the settings file " + settings.Path().string() + "!");
    if (!failure)
        failure = symbols.LoadMapSymbols(project.StructureFolder, settings, count);
    if (!failure)
        failure = save ? save(changed) : changed.Save();
    if (failure) {
        before.Restore();
        return *failure;
    }

    changed.PlaneChangeSave.reset();
    project.Symbols = std::move(symbols);
    return changed;
}

} // namespace tsl
