#pragma once
// The game's sounds and songs as files, and back.
//
// Out, for every PC speaker sound, AdLib sound and song (empty ones too):
// a WAV file of what it sounds like (16-bit mono, 44100 Hz) and the chunk
// in the form it comes back in: "pcspeaker-NNN.pcs" and "adlib-NNN.adl" the
// chunk as it is, "music-NNN.imf" the song as a length-prefixed IMF file
// (the chunk as it is: its length, its commands, and its name and source
// path after them, which IMF players skip), NNN the chunk number.
//
// In: a PC speaker or AdLib sound from its chunk form; a song from an IMF
// file of either kind. A file whose first word is the length of whole
// commands that fit it is taken as it is; one that starts with the null
// command of id's songs (four zero bytes) is header-less, and is given its
// length (a song of at most 65532 bytes, the most a length word holds in
// whole commands); a file of two zero bytes and what follows them is a
// chunk with no song, as the games leave the songs they do not use. What
// fits neither is refused with why.

#include "audio/AudioSet.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kAudioImportCaption = "Import sound";
inline constexpr const char* kAudioExportCaption = "Export sounds";

// "pcspeaker-000.pcs", "adlib-087.adl", "music-261.imf"; the WAV file's name
// is the same with ".wav". Empty for a kind without files.
std::string AudioFileName(AudioKind kind, int chunk);
std::string AudioWavName(AudioKind kind, int chunk);

// A chunk of `kind` from a file (its bytes `file`, `name` in messages).
Outcome<Bytes> AudioChunkFromFile(AudioKind kind, std::span<const std::uint8_t> file, const std::string& name);

// The WAV file of a chunk.
Bytes AudioChunkWav(AudioKind kind, std::span<const std::uint8_t> chunk);

// Writes both files of every sound and song of `set` (with `chunks`, of
// those chunks only) into `folder`, made when missing: the names written,
// in order, or the first failure.
Outcome<std::vector<std::string>> ExportAudio(const AudioSet& set, const std::filesystem::path& folder,
                                              const std::optional<std::set<int>>& chunks = std::nullopt);

} // namespace tsl
