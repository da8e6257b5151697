#pragma once
// The game's page file (VSWAP.<ext>): the walls, sprites and digitised
// sounds the engine pages in while it plays. Its header holds the chunk
// count, the first sprite chunk and the first sound chunk (u16 each), then a
// u32 offset for every chunk and after those a u16 length for every chunk.
// Chunks below the first sprite chunk are walls: 64 x 64 palette indices,
// column by column. Sprite chunks are column lists of posts (see Sprite).
// Demo and shareware files leave chunks empty (offset or length 0): such a
// chunk has no picture.
//
// The whole file is checked when it is read: a chunk that reaches past the
// end or into another one, a wall that is short, a sprite whose columns,
// column offsets or posts point outside its chunk or its 64 x 64 square: the
// file is refused with a message that names it and the chunk. Chunks that
// A sound table that is damaged is refused too: an entry longer than its
// chunks hold (the engine would play what lies past them); a sound whose
// chunks are all empty (left out of a demo) is not damage, nor an entry at
// or past the table, where the engine ends the list. Chunks that
// are the very same bytes of the file (the same offset and length) are
// allowed and share one decoded picture; chunks that overlap otherwise are
// refused, so that what is decoded never outgrows what the file holds.
// Sprites are decoded when first asked for and kept, so a file costs memory
// for the pictures that are shown, not for every chunk it lists.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "graphics/Sprite.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr const char* kGraphicsErrorCaption = "Error loading game graphics";

// The last wall chunks, just before the first sprite, are the door pictures
// and their frames, where the engine takes them: the walls proper end there.
inline constexpr int kDoorChunks = 8;
// The first door chunk of a page file whose sprites start at `firstSprite`
// (a file with fewer walls has no door pictures: its walls end there).
inline int FirstDoorChunk(int firstSprite)
{
    return firstSprite >= kDoorChunks ? firstSprite - kDoorChunks : firstSprite;
}
// The engine draws wall word w of plane 0 from chunk 2w - 2, its light side,
// and 2w - 1, its dark side: the light side of a wall, and the wall (its
// word) whose side a chunk is.
inline int ChunkOfWall(int wall)
{
    return 2 * (wall - 1);
}
inline int WallOfChunk(int chunk)
{
    return chunk / 2 + 1;
}

class PageFile {
public:
    // Reads and checks `path`; a failure names the file (and the chunk).
    static Outcome<PageFile> Load(const std::filesystem::path& path);
    // The same over bytes already in memory; `fileName` names them in messages.
    static Outcome<PageFile> Parse(Bytes data, std::string fileName);

    const std::string& FileName() const { return fileName_; }
    int ChunkCount() const { return static_cast<int>(offsets_.size()); }
    int FirstSpriteChunk() const { return firstSprite_; }
    int FirstSoundChunk() const { return firstSound_; }
    int SpriteCount() const { return firstSound_ - firstSprite_; }

    // True for a chunk that lies in the file (offset and length not 0).
    bool HasChunk(int chunk) const;
    // The chunk's bytes; empty for an empty chunk or one that does not exist.
    std::span<const std::uint8_t> ChunkBytes(int chunk) const;

    // Wall chunk `chunk` (below the first sprite chunk): 4096 palette
    // indices, column by column, so texture column c is the 64 bytes from
    // c * 64. Empty when the chunk is empty or not a wall.
    std::span<const std::uint8_t> Wall(int chunk) const;
    // Sprite number `sprite` (chunk FirstSpriteChunk() + sprite); nullptr when
    // its chunk is empty or the number is outside the sprites. The sprite
    // lives as long as the page file (or a copy of it).
    const Sprite* SpriteAt(int sprite) const;

    // The first chunk of the same kind (wall, sprite or sound) that is the
    // same bytes of the file as `chunk` (itself when no earlier one is):
    // pictures are decoded once per such chunk.
    int FirstAlike(int chunk) const;
    // The bytes the decoded sprites hold now.
    std::size_t DecodedBytes() const;

private:
    struct SpriteCache;
    PageFile() = default;
    std::optional<Failure> Check();
    std::optional<Failure> CheckOverlaps();
    std::optional<Failure> CheckSoundTable() const;
    Failure Damaged(const std::string& what) const;
    Failure ChunkDamaged(int chunk, const std::string& what) const;

    Bytes data_;
    std::string fileName_;
    int firstSprite_ = 0;
    int firstSound_ = 0;
    std::vector<std::uint32_t> offsets_;
    std::vector<std::uint16_t> lengths_;
    std::vector<int> alike_; // FirstAlike by chunk
    std::shared_ptr<SpriteCache> sprites_;
};

// One entry of the sound table, as the engine reads it.
struct DigitisedSound {
    int number = 0;
    int firstChunk = 0;       // in the whole file
    int chunkCount = 0;       // the chunks up to the next sound's (or the table)
    std::size_t length = 0;   // in bytes, as the table says (more than 65535 only for files that hold more)
    std::size_t present = 0;  // of those, the bytes the chunks hold (0: a sound left out of a demo)
    friend bool operator==(const DigitisedSound&, const DigitisedSound&) = default;
};

// The sounds that the sound table `table` (chunk `tableChunk`, the last)
// lists, as the engine reads them: each entry the first chunk of a sound
// (counted from `firstSound`) and its length (u16), the sound's chunks
// running to the next entry's first or to the table. The list ends before
// the first entry that starts at or past the table, as the engine's does.
// `chunkSize(c)` is the bytes chunk c holds.
std::vector<DigitisedSound> ReadSoundTable(std::span<const std::uint8_t> table, int firstSound, int tableChunk,
                                           const std::function<std::size_t(int)>& chunkSize);

// The page file of a game: "VSWAP." and the extension of its map files,
// found in `gameDir` without regard to letter case; nothing when absent.
std::optional<std::filesystem::path> FindPageFile(const std::filesystem::path& gameDir, std::string_view extension);

} // namespace tsl
