#pragma once
// Where the page browser plays a sound: the system's default
// audio output through Qt Multimedia, or, in the tests, an output of their
// own (one that says there is no device). A machine without an audio device
// gets a message instead of silence.

#include "core/Failure.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace tsl {

inline constexpr const char* kPlaySoundCaption = "Play sound";
inline constexpr const char* kNoAudioDeviceText =
    "There is no audio output device on this computer, so the sound cannot be played.";

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts playing the game's samples (8-bit unsigned, 7042 Hz), ending a
    // sound still playing; why it cannot, when it cannot.
    virtual std::optional<Failure> Play(std::span<const std::uint8_t> samples) = 0;
    // The same for signed 16-bit mono samples at `rate` Hz (the AdLib and
    // PC speaker sounds and the music, rendered).
    virtual std::optional<Failure> PlayRendered(std::span<const std::int16_t> samples, int rate) = 0;
    virtual void Stop() = 0;
};

// The system's default audio output, looked for at each Play.
std::unique_ptr<SoundOutput> MakeSystemSoundOutput();

} // namespace tsl
