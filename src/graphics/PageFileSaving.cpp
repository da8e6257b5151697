#include "graphics/PageFileSaving.h"

#include "core/FileSystem.h"

#include <chrono>

namespace tsl {

std::optional<Failure> SavePageFile(const PageSet& set, const std::filesystem::path& path,
                                    const BackupPolicy& backups, std::string* kept, std::string* tidied)
{
    auto bytes = set.Encode();
    if (!bytes)
        return Failure{bytes.failure().text, kPageSaveCaption, MessageIcon::Error};
    const std::filesystem::path dir = path.parent_path();
    const std::string name = path.filename().string();

    // What is replaced is read before anything changes; its generation is
    // written once the new file stands, so a failed save leaves none.
    std::optional<GenerationContent> replaced;
    if (backups.Active() && std::filesystem::exists(path)) {
        replaced.emplace();
        KeepFileOf(*replaced, path); // with when it was saved
        replaced->PageFile = true;
        if (replaced->GameFiles.empty())
            replaced.reset();
    }

    const std::filesystem::path backup = ResolveNoCase(dir, name + ".BAK");
    std::vector<FileReplacement> files;
    files.push_back({path, backup, std::move(*bytes)});
    const ReplaceOutcome outcome = ReplaceFiles(std::move(files));
    if (!outcome.refusal.empty())
        return Failure{outcome.refusal, kPageSaveCaption, MessageIcon::Error};
    if (outcome.error)
        return Failure{"Couldn't write " + outcome.error->Describe() + "!\n\n" +
                           (outcome.restored ? "The previous page file was kept." : outcome.onDisk),
                       kPageSaveCaption, MessageIcon::Error};
    // Only once the new file stands: a failed save leaves the folder as it was.
    std::vector<std::string> leftovers = RemoveLeftoverTemporaries(path);
    for (std::string& other : RemoveLeftoverTemporaries(backup))
        leftovers.push_back(std::move(other));
    if (!leftovers.empty() && tidied)
        *tidied = "Removed " + JoinAnd(leftovers) + ", left in " + dir.string() + " by " +
                  (leftovers.size() == 1 ? "a save of the page file that was interrupted." :
                                           "saves of the page file that were interrupted.");
    if (replaced) {
        const KeepOutcome generation = KeepGeneration(backups, dir, *replaced, std::chrono::system_clock::now());
        if (generation.Error && kept)
            *kept = "The previous page file couldn't be kept as a backup generation: " +
                    generation.Error->Describe() + ".";
    }
    return std::nullopt;
}

std::optional<Failure> DescribeInterruptedPageSave(const std::filesystem::path& gameDir, std::string_view extension)
{
    const std::string name = "VSWAP." + std::string(extension);
    if (FindPageFile(gameDir, extension))
        return std::nullopt;
    const auto backup = FindNoCase(gameDir, name + ".BAK");
    if (!backup)
        return std::nullopt;
    return Failure{"There is no page file " + name + " in " + gameDir.string() + ", but its backup " +
                       backup->filename().string() + " is there: an earlier save was interrupted. Rename " +
                       backup->filename().string() + " to " + name + " to get the previous page file back.",
                   kGraphicsErrorCaption, MessageIcon::Warning};
}

} // namespace tsl
