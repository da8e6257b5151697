#pragma once
// The game's pictures, fonts and data as files, and back.
//
// Out ("NNN" the chunk number): a picture as "picture-NNN.png" and the tiles
// as "tile8-NNN.png" (64 x 72, 8 tiles across), indexed PNG in the game's
// palette; a font as "font-NNN.png" (its characters in rows of 16, for the
// eye) and "font-NNN.fnt" (the font as the engine reads it); a data chunk as
// "text-NNN.txt" when it is text (the engine's own markup kept as it is) and
// "data-NNN.bin" otherwise, its contents as they are. The picture table is
// not written: it follows the pictures.
//
// In: a picture or the tiles from PNG or BMP (indexed in the game's palette,
// or mapped to it as the page file's pictures are); a font or a data chunk
// from its file as it was written.

#include "core/Failure.h"
#include "graphics/Palette.h"
#include "graphics/PictureFile.h"
#include "vgagraph/GraphicsSet.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kGraphicsExportCaption = "Export game pictures";

// The sizes a file for a picture or the tiles may have.
PictureBounds GraphicsBounds(GraphicsKind kind);

// The file names of a chunk: the one it comes back from first, then any
// other (a font's sheet). Empty for the table and empty chunks.
std::vector<std::string> GraphicsFileNames(const GraphicsSet& set, int chunk);

// Whether a data chunk's contents are text: printable ASCII, tabs and line ends.
bool IsText(std::span<const std::uint8_t> contents);

// A picture as an indexed PNG in the palette.
Bytes GraphicsPng(const IndexedPicture& picture, const Palette& palette);
// A font's characters in rows of 16 cells, each as wide as the widest
// character and as high as the font, a pixel of a character in its own
// colour on colour 0; nothing when the contents are no font.
std::optional<IndexedPicture> FontSheet(std::span<const std::uint8_t> font);

// Replaces chunk `chunk` of `set` from the file `file`: a picture file for
// a picture or the tiles, the file as it is for a font or data. A refusal
// says why; `set` is then as it was.
std::optional<Failure> ImportGraphic(GraphicsSet& set, int chunk, std::span<const std::uint8_t> file,
                                     const std::string& name, const Palette& palette);

// Writes the files of every chunk (with `chunks`, of those only) into
// `folder`, made when missing: the names written, in order, or the first
// failure.
Outcome<std::vector<std::string>> ExportGraphics(const GraphicsSet& set, const Palette& palette,
                                                 const std::filesystem::path& folder,
                                                 const std::optional<std::set<int>>& chunks = std::nullopt);

} // namespace tsl
