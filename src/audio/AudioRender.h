#pragma once
// The game's sounds and songs made audible, as the engine plays them
// (id_sd.cpp), into signed 16-bit mono samples at kAudioRate:
// - a PC speaker sound: one byte a tic of 140 Hz; a byte b other than 0
//   sets the speaker's timer to b * 60, so the speaker sounds a square wave
//   of 1193180 / (b * 60) Hz, and 0 silences it;
// - an AdLib sound: its instrument on the OPL chip's first channel, then
//   every fifth tic of the engine's 700 Hz timer (140 Hz) a note (the byte as
//   the frequency's low bits, the octave and the key-on bit above) or a rest;
// - a song: its commands one after another, each an OPL register and its
//   value, followed by as many tics of 700 Hz as the command says.
// The OPL2 is emulated by AdPlug's emulator of the Nuked OPL3 (the same
// chip emulation the source ports play through), the card set up as the
// released engine sets it up.

#include "audio/AudioSet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tsl {

inline constexpr int kAudioRate = 44100;
inline constexpr int kSoundTicRate = 140; // PC speaker and AdLib sounds
inline constexpr int kMusicTicRate = 700; // songs
// A chunk's tics can say hours (a song's command waits up to 65535 tics):
// what is rendered stops at ten minutes.
inline constexpr int kMaxRenderSeconds = 600;
inline constexpr std::size_t kMaxRenderSamples = static_cast<std::size_t>(kMaxRenderSeconds) * kAudioRate;

std::vector<std::int16_t> RenderPcSpeaker(const PcSpeakerSound& sound);
std::vector<std::int16_t> RenderAdLib(const AdLibSound& sound);
// The song once through; its length is the tics its commands wait.
std::vector<std::int16_t> RenderMusic(std::span<const std::uint8_t> commands);
// How long a song plays: its tics / 700 seconds.
double MusicSeconds(std::span<const std::uint8_t> commands);

// A chunk of any kind rendered as its kind says (empty for an empty chunk,
// a digitised place, or a chunk that does not read).
std::vector<std::int16_t> RenderChunk(AudioKind kind, std::span<const std::uint8_t> chunk);

} // namespace tsl
