#pragma once
// Every picture and sound of a page file written into a folder, named so
// that they sort and say what they are: "wall-0012.png" and
// "sprite-0106.png" by chunk index, "sound-007.wav" by sound number.
//
// Sounds that are the same bytes of the file (the same chunks, the same
// length: entries of the table that repeat each other) are written once,
// under the first one's number, and the export says which numbers that
// file stands for. What is written is bounded by the file: a table whose
// sounds overlap in other ways, so that they would take more bytes written
// out than the sound chunks hold, is refused before anything is written.

#include "core/Failure.h"
#include "graphics/PageSet.h"
#include "graphics/Palette.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kPageExportCaption = "Export pictures and sounds";

// The file name of a chunk's picture, or of a sound.
std::string WallFileName(int chunk);
std::string SpriteFileName(int chunk);
std::string SoundFileName(int number);

// What an export writes: the pictures by chunk, in order, then the sounds.
struct PagesExport {
    struct Sound {
        int number = 0;
        std::vector<int> same; // the later sounds of the same bytes, which its file stands for
    };
    std::vector<int> pictures; // wall and sprite chunks
    std::vector<Sound> sounds;
    // For each sound file that stands for others: "sound-000.wav is also
    // sounds 1 to 16382 (the same bytes)."
    std::vector<std::string> Shared() const;
};

// The files an export of `pages` writes; with `chunks`, only the pictures
// of those chunks and the sounds that start in them. Empty chunks and
// sounds left out are skipped. A refusal when the sounds would take more
// bytes than the page file's sound chunks hold.
Outcome<PagesExport> PlanPagesExport(const PageSet& pages, const std::optional<std::set<int>>& chunks = std::nullopt);

// Writes what `plan` names into `folder` (made when missing), each file as
// it is made, so that one file's bytes are in memory at a time. The names
// of the files written, in order, or the first failure.
Outcome<std::vector<std::string>> WritePagesExport(const PageSet& pages, const Palette& palette, const PagesExport& plan,
                                                   const std::filesystem::path& folder);

} // namespace tsl
