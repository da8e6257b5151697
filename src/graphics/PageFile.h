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
// end, a wall that is short, a sprite whose columns, column offsets or posts
// point outside its chunk or its 64 x 64 square: the file is refused with a
// message that names it and the chunk. What is accepted is decoded at once,
// so that nothing reads outside the file afterwards.

#include "core/Bytes.h"
#include "core/Failure.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

inline constexpr const char* kGraphicsErrorCaption = "Error loading game graphics";
inline constexpr int kPictureSide = 64;                          // walls and sprites are 64 x 64
inline constexpr int kPicturePixels = kPictureSide * kPictureSide; // 4096 palette indices

// One run of opaque pixels in a sprite column: rows [top, bottom).
struct SpriteSpan {
    std::uint8_t column = 0;
    std::uint8_t top = 0;
    std::uint8_t bottom = 0;
    friend bool operator==(const SpriteSpan&, const SpriteSpan&) = default;
};

// A sprite decoded from its chunk. The chunk starts with the first and last
// column (u16 each) and one u16 offset per column to the column's post list;
// a post is three u16 values (end row x 2, pixel offset, start row x 2) and
// the list ends with a 0. The pixel of row r of a post is the chunk's byte at
// (pixel offset + r) mod 65536, as the engine's 16-bit offsets wrap.
struct Sprite {
    int firstColumn = 0; // leftmost column with posts (the chunk's first column)
    int lastColumn = -1; // rightmost
    // Column by column like a wall: pixel (c, r) is at c * 64 + r. Palette
    // indices where opaque, 0 elsewhere.
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kPicturePixels, 0);
    // 1 where a post covers the pixel, 0 where the sprite is transparent.
    std::vector<std::uint8_t> opaque = std::vector<std::uint8_t>(kPicturePixels, 0);
    // The posts in file order (column by column): what a column renderer walks.
    std::vector<SpriteSpan> spans;

    bool Opaque(int column, int row) const { return opaque[static_cast<std::size_t>(column * kPictureSide + row)] != 0; }
    std::uint8_t Pixel(int column, int row) const { return pixels[static_cast<std::size_t>(column * kPictureSide + row)]; }
};

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
    // its chunk is empty or the number is outside the sprites.
    const Sprite* SpriteAt(int sprite) const;

private:
    PageFile() = default;
    std::optional<Failure> Check();
    std::optional<Failure> DecodeSprite(int chunk, Sprite& sprite) const;
    Failure Damaged(const std::string& what) const;
    Failure ChunkDamaged(int chunk, const std::string& what) const;

    Bytes data_;
    std::string fileName_;
    int firstSprite_ = 0;
    int firstSound_ = 0;
    std::vector<std::uint32_t> offsets_;
    std::vector<std::uint16_t> lengths_;
    std::vector<Sprite> sprites_;        // by sprite number
    std::vector<std::uint8_t> hasSprite_; // by sprite number
};

// The page file of a game: "VSWAP." and the extension of its map files,
// found in `gameDir` without regard to letter case; nothing when absent.
std::optional<std::filesystem::path> FindPageFile(const std::filesystem::path& gameDir, std::string_view extension);

} // namespace tsl
