#pragma once
// The page file as something to edit: its chunks in order, the first sprite
// and first sound chunk, and the digitised-sound table, written back as the
// engine reads it. A read and unchanged set encodes to the bytes of id's own
// files:
// - the header (chunk count, first sprite chunk, first sound chunk as u16,
//   a u32 offset for every chunk, then a u16 length for every chunk), padded
//   with zeros to 4096 bytes (a longer header to the next 512-byte boundary);
// - every chunk at the next 512-byte boundary, zeros between, the file
//   padded to a boundary after the last; an empty chunk has offset and
//   length 0 and takes no room;
// - the last chunk is the sound table: for each digitised sound its first
//   chunk (counted from the first sound chunk) and its length in bytes (u16).
//   A sound fills whole chunks of 4096 bytes and ends in a shorter one.
// Chunks that were the same bytes of the file stay one chunk written once.
//
// The walls' last eight chunks are the doors and their frames (the engine
// finds them just before the first sprite), so a wall added goes before
// them; a sprite added goes after the last sprite.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "graphics/PageFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kPageEditCaption = "Game pictures and sounds";
inline constexpr std::size_t kPageBytes = 4096;       // what the DOS engine loads a chunk into
inline constexpr std::size_t kSoundChunkBytes = kPageBytes; // what a sound fills in each of its chunks but the last
inline constexpr std::size_t kMaxSoundBytes = 65535;  // what the table's length can say
inline constexpr int kMaxChunks = 65535;
inline constexpr int kMaxSounds = 0xFFFF / 4; // entries of 4 bytes in a chunk of at most 65535

enum class ChunkKind { Wall, Sprite, Sound, SoundTable, Empty };
const char* ChunkKindName(ChunkKind kind); // "wall", "sprite", "sound", "sound_table", "empty"

class PageSet {
public:
    using Chunk = std::shared_ptr<const Bytes>;

    PageSet() = default;
    static PageSet From(const PageFile& file);

    int ChunkCount() const { return static_cast<int>(chunks_.size()); }
    int FirstSpriteChunk() const { return firstSprite_; }
    int FirstSoundChunk() const { return firstSound_; }
    ChunkKind KindOf(int chunk) const;
    // The chunk's bytes; null for an empty chunk or one outside the set.
    Chunk ChunkAt(int chunk) const;
    // The chunk that holds the sound table, or -1 when the set has none.
    int SoundTableChunk() const;

    // Replaces a wall (4096 bytes) or a sprite chunk (one that decodes and
    // fits a page of the game: the DOS engine loads every chunk into one of
    // 4096 bytes); nothing moves. A refusal says why.
    std::optional<Failure> Replace(int chunk, Bytes bytes);
    // A new wall before the doors, both its sides (light and dark, the
    // same picture until one is replaced), or a new sprite after the last
    // one: its (first) chunk index, or a refusal. The chunks after it move
    // up by two for a wall, by one for a sprite.
    Outcome<int> AddWall(Bytes bytes);
    // A new wall in the middle: its sides take chunks `before` and
    // `before` + 1 (`before` the light side of a wall, or the first door
    // chunk), and every later wall moves up one place.
    Outcome<int> AddWall(Bytes bytes, int before);
    Outcome<int> AddSprite(Bytes bytes);
    // Removes a wall, both its sides, or a sprite chunk; the chunks after it
    // move down. The door pictures are refused: the engine needs them.
    std::optional<Failure> Remove(int chunk);
    // The first of the door pictures, the last wall chunks.
    int FirstDoorChunk() const;

    std::vector<DigitisedSound> Sounds() const;
    // The samples of a sound (8-bit unsigned, 7042 Hz): what its chunks
    // hold of its length.
    Bytes SoundSamples(int number) const;
    Bytes SoundSamples(const DigitisedSound& sound) const; // one of Sounds()
    // New samples for a sound: its chunks are replaced by as many as they
    // fill, the later sounds' chunks move and the table follows. Refused,
    // with nothing changed, while two sounds of the table share chunks
    // (every other sound keeps its samples, or nothing changes); so are
    // AddSound and RemoveSound.
    std::optional<Failure> ReplaceSound(int number, std::span<const std::uint8_t> samples);
    // A new sound after the last one (its chunks just before the table): its
    // number, or a refusal.
    Outcome<int> AddSound(std::span<const std::uint8_t> samples);
    // Removes a sound with its chunks; the later sounds' numbers and chunks
    // move down.
    std::optional<Failure> RemoveSound(int number);

    // The whole file, or a refusal when it would not fit the format.
    Outcome<Bytes> Encode() const;

    // The same chunks (by content), sprite and sound numbers.
    friend bool operator==(const PageSet& a, const PageSet& b);

private:
    struct TableEntry {
        std::uint16_t start = 0; // counted from the first sound chunk
        std::uint16_t length = 0;
    };
    std::vector<TableEntry> Table() const;
    void SetTable(const std::vector<TableEntry>& table);
    std::optional<Failure> CheckSamples(std::span<const std::uint8_t> samples, int freed) const;
    void Splice(std::vector<TableEntry>& table, std::size_t except, int first, int count,
                std::span<const std::uint8_t> samples);
    std::optional<Failure> CheckRoom(int added) const;
    // The sounds as they stand, or why none may change: the table lists
    // more than the game reads, or two sounds share chunks.
    Outcome<std::vector<DigitisedSound>> SoundsToChange() const;
    // Sound `number` as it stands, or why it may not change.
    Outcome<DigitisedSound> SoundToChange(int number) const;
    // Takes `count` chunks out from `chunk` (walls or sprites).
    void Erase(int chunk, int count);
    static Failure Refusal(std::string text);

    std::vector<Chunk> chunks_;
    int firstSprite_ = 0;
    int firstSound_ = 0;
};

} // namespace tsl
