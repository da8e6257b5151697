#pragma once
// The game's sounds and music (AUDIOHED and AUDIOT with the extension of its
// map files), read, changed and written back as the engine reads them
// (id_ca.cpp, id_sd.cpp):
// - AUDIOHED: a 4-byte offset into AUDIOT for every chunk and one more for
//   the end of the last; a chunk runs to the next chunk's offset;
// - AUDIOT: the chunks in order, in four runs of the header's sound names
//   and then the music: PC speaker sounds (length in bytes (4), priority (2),
//   one byte a tic of 140 Hz: the speaker's timer divisor / 60, 0 silence),
//   AdLib sounds (length, priority, the instrument's 16 bytes, the octave,
//   one byte a tic: the note's low frequency bits, 0 a rest), the digitised
//   sounds' places (empty: their samples live in the page file), and the
//   songs (their length in bytes (2), then commands of 4 bytes: an OPL
//   register, its value, and the tics of 700 Hz until the next command).
//   What a chunk holds after the engine's part (the byte that ends a sound,
//   the instrument's name, a song's name and source path, "!ID!" marks) is
//   kept as it is.
//
// Every chunk is checked when the files are read: its offset, and a sound or
// song whose length runs past its chunk. A set read and written unchanged
// gives its files byte for byte; a replaced chunk leaves the others' bytes
// as they were.

#include "core/BackupGenerations.h"
#include "core/Bytes.h"
#include "core/Failure.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class ChunkNames;

inline constexpr const char* kAudioLoadCaption = "Error loading game sounds";
inline constexpr const char* kAudioEditCaption = "Game sounds";

enum class AudioKind { PcSpeaker, AdLib, Digitised, Music, Unknown };
// "pc_speaker", "adlib", "digitised", "music", "unknown".
std::string_view AudioKindName(AudioKind kind);

struct AudioPaths {
    std::filesystem::path head;
    std::filesystem::path audio;
};
std::optional<AudioPaths> FindAudioFiles(const std::filesystem::path& gameDir, std::string_view extension);

struct AudioFiles {
    Bytes head;
    Bytes audio;
    friend bool operator==(const AudioFiles&, const AudioFiles&) = default;
};

// A PC speaker sound as the engine reads it.
struct PcSpeakerSound {
    std::uint32_t length = 0;
    std::uint16_t priority = 0;
    std::span<const std::uint8_t> data; // `length` bytes
};
inline constexpr std::size_t kPcSpeakerHeader = 6;
std::optional<PcSpeakerSound> ReadPcSpeakerSound(std::span<const std::uint8_t> chunk);

struct AdLibSound {
    std::uint32_t length = 0;
    std::uint16_t priority = 0;
    std::array<std::uint8_t, 16> instrument{}; // mChar, cChar, mScale, cScale, mAttack, cAttack, mSus, cSus, mWave, cWave, nConn, ...
    std::uint8_t block = 0;                    // the octave
    std::span<const std::uint8_t> data;        // `length` bytes
};
inline constexpr std::size_t kAdLibHeader = 23;
std::optional<AdLibSound> ReadAdLibSound(std::span<const std::uint8_t> chunk);
// What makes the engine stop rather than play an AdLib sound: an instrument
// whose two sustain bytes are both 0 ("Bad instrument"). Empty when none.
std::string AdLibFault(const AdLibSound& sound);

// A song's commands: the chunk's first word says how many bytes they take.
// An empty chunk, or one whose length is 0, holds no song.
std::optional<std::span<const std::uint8_t>> ReadMusic(std::span<const std::uint8_t> chunk);

class AudioLayout {
public:
    // The structure's layout for `count` chunks; otherwise the layout whose
    // runs of sounds the chunks fit (the digitised places empty), found
    // from `chunks`; Unknown chunks when none fits.
    static AudioLayout For(const std::vector<std::shared_ptr<const Bytes>>& chunks, const ChunkNames* names);

    AudioKind KindOf(int chunk) const;
    const std::string& NameOf(int chunk) const;
    bool Named() const { return named_; }
    int Find(std::string_view name) const;
    // The first chunk of a kind, or -1.
    int First(AudioKind kind) const;

private:
    std::vector<AudioKind> kinds_;
    std::vector<std::string> names_;
    bool named_ = false;
};

class AudioSet {
public:
    using Chunk = std::shared_ptr<const Bytes>;

    static Outcome<AudioSet> Read(AudioFiles files, const ChunkNames* names,
                                  const AudioPaths& paths = {"AUDIOHED", "AUDIOT"});
    static Outcome<AudioSet> Load(const AudioPaths& paths, const ChunkNames* names);

    int ChunkCount() const { return static_cast<int>(chunks_.size()); }
    const AudioLayout& Layout() const { return layout_; }
    AudioKind KindOf(int chunk) const { return layout_.KindOf(chunk); }
    // The chunk's bytes (empty for an empty chunk).
    std::span<const std::uint8_t> ChunkBytes(int chunk) const;
    Chunk Stored(int chunk) const;

    // Replaces a chunk by bytes in the engine's own form of its kind: a PC
    // speaker or AdLib sound as its chunk, a song as its length and
    // commands (and whatever follows them). A refusal says why.
    std::optional<Failure> Replace(int chunk, std::span<const std::uint8_t> bytes);

    AudioFiles Encode() const;
    friend bool operator==(const AudioSet& a, const AudioSet& b);

private:
    static Failure Refusal(std::string text);

    AudioLayout layout_;
    std::vector<Chunk> chunks_;
    Bytes lead_; // bytes of AUDIOT before the first chunk
    Bytes tail_; // after the end the header gives
};

// What is wrong with `bytes` as a chunk of `kind`; empty when nothing.
std::string AudioChunkFault(AudioKind kind, std::span<const std::uint8_t> bytes);

inline constexpr const char* kAudioSaveCaption = "Error saving the game's sounds";

// Writes the files of `set` whose bytes changed over those at `paths`, with
// ".BAK" files and a backup generation: the names of the files written.
Outcome<std::vector<std::string>> SaveAudioSet(const AudioSet& set, const AudioPaths& paths,
                                               const BackupPolicy& backups, std::string* generation = nullptr);

} // namespace tsl
