#pragma once
// The game's pictures, fonts and data (VGAHEAD, VGADICT and VGAGRAPH with
// the extension of its map files) as something to read, change and write
// back, laid out as the engine reads them (id_ca.cpp):
// - VGAHEAD: a 3-byte offset into VGAGRAPH for every chunk and one more for
//   the end of the last; 0xFFFFFF marks an empty chunk, which the engine
//   skips (its bytes run to the next chunk that is there);
// - VGADICT: the Huffman dictionary (Huffman.h);
// - VGAGRAPH: the chunks in order, each the length it expands to (4 bytes)
//   and its Huffman bits; the 8 x 8 tiles are one chunk whose length the
//   engine knows (64 bytes a tile, 72 tiles), so it carries none. Some of
//   id's chunks carry bytes after their bits ("!ID!" at the end of a group
//   of chunks): a chunk keeps them when its contents are replaced.
//
// A chunk's contents by its kind (GraphicsLayout.h): chunk 0 the picture
// table (width and height of every picture, 16 bits each); fonts (a height,
// 256 offsets and 256 widths, then each character's rows); pictures in four
// planes (pixel x of a row in plane x % 4, so the width is a multiple of 4);
// the tiles, 8 x 8 pictures in the same planes; and data the engine reads
// as it is (texts, demos, text screens).
//
// Reading checks every chunk: its offset, its length against its bits (each
// expanded byte takes at least a bit, so what a chunk expands to is bounded
// by its size), its bits against its length, a picture against the table,
// a font's characters against its length. A set read and written unchanged
// gives its files byte for byte; a changed chunk leaves every other chunk's
// bytes as they were.

#include "core/BackupGenerations.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "vgagraph/GraphicsLayout.h"
#include "vgagraph/Huffman.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class ChunkNames;

inline constexpr const char* kGraphicsLoadCaption = "Error loading game pictures";
inline constexpr const char* kGraphicsEditCaption = "Game pictures";
inline constexpr std::uint32_t kEmptyGraphicsChunk = 0xFFFFFF;
inline constexpr int kScreenWidth = 320;  // what the engine's screens hold
inline constexpr int kScreenHeight = 200;

// Whether the engine draws the picture of that name as a whole screen
// (CA_CacheScreen: the title, the credits, Spear of Destiny's end screens),
// expanding it into 320 x 200 pixels whatever the table says: such a
// picture keeps that size.
bool DrawnAsScreen(std::string_view name);

// The three files, found in a game folder without regard to letter case.
struct GraphicsPaths {
    std::filesystem::path head;
    std::filesystem::path dictionary;
    std::filesystem::path graph;
};
std::optional<GraphicsPaths> FindGraphicsFiles(const std::filesystem::path& gameDir, std::string_view extension);

struct GraphicsFiles {
    Bytes head;
    Bytes dictionary;
    Bytes graph;
    friend bool operator==(const GraphicsFiles&, const GraphicsFiles&) = default;
};

// A picture as palette indices, row by row.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    Bytes indices;
    friend bool operator==(const IndexedPicture&, const IndexedPicture&) = default;
};

class GraphicsSet {
public:
    using Chunk = std::shared_ptr<const Bytes>;

    // Reads and checks the three files; `names` (the structure's chunk
    // names, or null) gives the chunks their kinds and names. `paths` name
    // the files in messages.
    static Outcome<GraphicsSet> Read(GraphicsFiles files, const ChunkNames* names,
                                     const GraphicsPaths& paths = {"VGAHEAD", "VGADICT", "VGAGRAPH"});
    static Outcome<GraphicsSet> Load(const GraphicsPaths& paths, const ChunkNames* names);

    int ChunkCount() const { return static_cast<int>(chunks_.size()); }
    const GraphicsLayout& Layout() const { return layout_; }
    GraphicsKind KindOf(int chunk) const { return layout_.KindOf(chunk); }
    bool IsEmpty(int chunk) const;
    // The chunk's bytes in VGAGRAPH; null for an empty one.
    Chunk Stored(int chunk) const;
    // What the chunk expands to (for the tiles, the tiles its bits hold);
    // empty for an empty chunk.
    Bytes Expanded(int chunk) const;

    // The size the picture table gives picture chunk `chunk`.
    std::optional<IndexedPicture> PictureSize(int chunk) const;
    // A picture or the tiles (8 wide, 72 tiles: 64 x 72 pixels, tiles the
    // chunk lacks in colour 0) as indices; nothing for another chunk.
    std::optional<IndexedPicture> Picture(int chunk) const;

    // Replaces a picture (any width that is a multiple of 4 and at most the
    // screen's, any height up to the screen's, the screens' pictures 320 x
    // 200; the table follows a new size) or the tiles (64 x 72). A refusal says why. Contents equal to
    // what the chunk holds change nothing, so its bytes stay.
    std::optional<Failure> ReplacePicture(int chunk, const IndexedPicture& picture);
    // Replaces a data or font chunk's contents as they are.
    std::optional<Failure> ReplaceData(int chunk, std::span<const std::uint8_t> contents);

    // The three files.
    GraphicsFiles Encode() const;

    friend bool operator==(const GraphicsSet& a, const GraphicsSet& b);

private:
    struct Parsed {
        std::size_t lengthBytes = 0; // 4, or 0 for the tiles
        std::size_t expandedLength = 0;
        std::span<const std::uint8_t> bits;
    };
    Parsed ParseChunk(int chunk) const;
    // The chunk's stored bytes for `contents`, its trailer kept.
    Chunk EncodeChunk(int chunk, std::span<const std::uint8_t> contents) const;
    std::optional<Failure> Check(const std::string& fileName) const;
    Bytes Contents(int chunk) const; // Expanded, the tiles made whole
    static Failure Refusal(std::string text);

    HuffmanDictionary dictionary_;
    GraphicsLayout layout_;
    std::vector<Chunk> chunks_;
    Bytes lead_; // bytes of VGAGRAPH before the first chunk
    Bytes tail_; // bytes after the end the header gives
};

inline constexpr const char* kGraphicsSaveCaption = "Error saving the game's pictures";

// Writes the files of `set` whose bytes changed over those at `paths`, with
// ".BAK" files and a backup generation (graphics/DataFileSaving.h): the names of
// the files written.
Outcome<std::vector<std::string>> SaveGraphicsSet(const GraphicsSet& set, const GraphicsPaths& paths,
                                                  const BackupPolicy& backups, std::string* generation = nullptr);

} // namespace tsl
