#include "graphics/DataFileSaving.h"

#include "core/FileSystem.h"

#include <chrono>

namespace tsl {

Outcome<std::vector<std::string>> SaveDataFiles(const std::vector<DataFile>& files, const BackupPolicy& backups,
                                                const std::string& caption, const std::string& kept,
                                                std::string* generation)
{
    std::vector<FileReplacement> replacements;
    std::vector<std::string> names;
    GenerationContent replaced;
    replaced.GameData = true;
    for (const DataFile& file : files) {
        if (const auto now = ReadWholeFile(file.path); now && *now == file.content)
            continue; // unchanged: neither written nor kept
        if (backups.Active() && std::filesystem::exists(file.path))
            KeepFileOf(replaced, file.path);
        names.push_back(file.path.filename().string());
        replacements.push_back({file.path, ResolveNoCase(file.path.parent_path(), names.back() + ".BAK"), file.content});
    }
    if (replacements.empty())
        return names;
    const std::filesystem::path dir = files.front().path.parent_path();
    const ReplaceOutcome outcome = ReplaceFiles(std::move(replacements));
    if (!outcome.refusal.empty())
        return Failure{outcome.refusal, caption, MessageIcon::Error};
    if (outcome.error)
        return Failure{"Couldn't write " + outcome.error->Describe() + "!\n\n" + (outcome.restored ? kept : outcome.onDisk),
                       caption, MessageIcon::Error};
    // The generation is written once the new files stand, so a failed save leaves none.
    if (!replaced.GameFiles.empty()) {
        const KeepOutcome written = KeepGeneration(backups, dir, replaced, std::chrono::system_clock::now());
        if (written.Error && generation)
            *generation = "The previous files couldn't be kept as a backup generation: " + written.Error->Describe() + ".";
    }
    return names;
}

} // namespace tsl
