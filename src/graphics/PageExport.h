#pragma once
// Every picture and sound of a page file written into a folder, named so
// that they sort and say what they are: "wall-0012.png" and
// "sprite-0106.png" by chunk index, "sound-007.wav" by sound number.

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

// Writes the walls, sprites and sounds of `pages` into `folder` (made when
// missing); with `chunks`, only the pictures of those chunks and the sounds
// that start in them. Empty chunks and sounds left out are skipped. The
// names of the files written, in order, or the first failure.
Outcome<std::vector<std::string>> ExportPages(const PageSet& pages, const Palette& palette,
                                              const std::filesystem::path& folder,
                                              const std::optional<std::set<int>>& chunks = std::nullopt);

} // namespace tsl
