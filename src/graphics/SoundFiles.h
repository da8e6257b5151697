#pragma once
// The digitised sounds as files. The game plays 8-bit unsigned mono samples
// at 7042 Hz (the rate the engine sets on the sound card): a sound is
// exported as such a WAV file, and a file in any rate, 8 or 16 bits, mono or
// stereo (and whatever else libsndfile reads) is converted to it, mixed to
// mono and resampled by libsamplerate. The file is read from memory through
// a bounded reader; a sound longer than the game can play is refused before
// its samples are read, and so is a WAV file that declares more samples than
// it holds.

#include "core/Bytes.h"
#include "core/Failure.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kSoundImportCaption = "Import sound";
inline constexpr int kSoundRate = 7042;

// The samples as a WAV file (8-bit unsigned, mono, 7042 Hz).
Bytes EncodeWav(std::span<const std::uint8_t> samples);

// Signed 16-bit mono samples at `rate` Hz as a WAV file of that kind (the
// AdLib and PC speaker sounds and the music, rendered).
Bytes EncodeWav16(std::span<const std::int16_t> samples, int rate);

// The samples of a sound file, in the game's format; `name` names it in messages.
Outcome<Bytes> DecodeSound(std::span<const std::uint8_t> file, const std::string& name);
Outcome<Bytes> LoadSound(const std::filesystem::path& path);

// The samples as a sound device takes them: signed 16-bit at `rate` Hz
// (resampled by libsamplerate), each sample repeated over `channels`.
std::vector<std::int16_t> PlaybackSamples(std::span<const std::uint8_t> samples, int rate, int channels);
// The same for signed 16-bit samples at `from` Hz.
std::vector<std::int16_t> PlaybackSamples16(std::span<const std::int16_t> samples, int from, int rate, int channels);

} // namespace tsl
