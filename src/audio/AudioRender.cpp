#include "audio/AudioRender.h"

#include <adplug/nemuopl.h>

#include <algorithm>
#include <array>
#include <memory>

namespace tsl {

namespace {

constexpr int kSamplesPerMusicTic = kAudioRate / kMusicTicRate; // 63
constexpr int kSamplesPerSoundTic = kAudioRate / kSoundTicRate; // 315
constexpr int kTicsPerSoundTic = kMusicTicRate / kSoundTicRate; // 5
constexpr int kPcTimerHz = 1193180;
constexpr std::int16_t kSquareAmplitude = 0x2000;

// The OPL2 as the engine leaves it before it plays: waveform selection on,
// the rhythm section off.
class Opl {
public:
    Opl() : chip_(std::make_unique<CNemuopl>(kAudioRate))
    {
        chip_->init();
        chip_->write(0x01, 0x20);
        chip_->write(0xBD, 0x00);
    }
    void Write(int reg, int value) { chip_->write(reg, value); }
    // `count` samples of the left channel (the emulator gives both).
    void Generate(int count, std::vector<std::int16_t>& out)
    {
        stereo_.resize(static_cast<std::size_t>(count) * 2);
        chip_->update(stereo_.data(), count);
        for (int i = 0; i < count; ++i)
            out.push_back(stereo_[static_cast<std::size_t>(i) * 2]);
    }

private:
    std::unique_ptr<CNemuopl> chip_;
    std::vector<short> stereo_;
};

} // namespace

std::vector<std::int16_t> RenderPcSpeaker(const PcSpeakerSound& sound)
{
    std::vector<std::int16_t> out;
    out.reserve(sound.data.size() * kSamplesPerSoundTic);
    long phase = 0;
    int frequency = 0;
    int last = -1;
    for (const std::uint8_t value : sound.data) {
        if (out.size() >= kMaxRenderSamples)
            break;
        if (value != last) {
            const int previous = frequency;
            frequency = value ? kPcTimerHz / (value * 60) : 0;
            // The phase follows a change of pitch, so the wave has no jump.
            if (frequency && previous)
                phase = phase * previous / frequency;
            last = value;
        }
        for (int i = 0; i < kSamplesPerSoundTic; ++i) {
            if (!frequency) {
                out.push_back(0);
                continue;
            }
            const long half = phase * frequency * 2 / kAudioRate;
            out.push_back(half % 2 == 0 ? kSquareAmplitude : static_cast<std::int16_t>(-kSquareAmplitude));
            ++phase;
        }
    }
    return out;
}

std::vector<std::int16_t> RenderAdLib(const AdLibSound& sound)
{
    std::vector<std::int16_t> out;
    out.reserve(sound.data.size() * kSamplesPerSoundTic);
    Opl opl;
    // The instrument on channel 0: modulator cell 0, carrier cell 3.
    const auto& in = sound.instrument;
    const std::array<std::pair<int, int>, 11> setup = {{{0x20, in[0]}, {0x40, in[2]}, {0x60, in[4]}, {0x80, in[6]},
                                                        {0xE0, in[8]}, {0x23, in[1]}, {0x43, in[3]}, {0x63, in[5]},
                                                        {0x83, in[7]}, {0xE3, in[9]}, {0xC0, 0}}};
    for (const auto& [reg, value] : setup)
        opl.Write(reg, value);
    const int block = ((sound.block & 7) << 2) | 0x20;
    // The engine counts five tics of its 700 Hz timer between two notes.
    int countdown = kTicsPerSoundTic;
    std::size_t next = 0;
    bool playing = !sound.data.empty();
    while (playing && out.size() < kMaxRenderSamples) {
        if (--countdown == 0) {
            countdown = kTicsPerSoundTic;
            const std::uint8_t note = sound.data[next++];
            if (note) {
                opl.Write(0xA0, note);
                opl.Write(0xB0, block);
            } else {
                opl.Write(0xB0, 0);
            }
            if (next == sound.data.size()) {
                opl.Write(0xB0, 0);
                playing = false;
            }
        }
        opl.Generate(kSamplesPerMusicTic, out);
    }
    // The note's release, as far as it sounds within a tic of 140 Hz.
    opl.Generate(kSamplesPerSoundTic, out);
    return out;
}

double MusicSeconds(std::span<const std::uint8_t> commands)
{
    std::uint64_t tics = 0;
    for (std::size_t at = 0; at + 4 <= commands.size(); at += 4)
        tics += GetU16(commands.data() + at + 2);
    return static_cast<double>(tics) / kMusicTicRate;
}

std::vector<std::int16_t> RenderMusic(std::span<const std::uint8_t> commands)
{
    std::vector<std::int16_t> out;
    out.reserve(std::min(static_cast<std::size_t>(MusicSeconds(commands) * kAudioRate) + kSamplesPerMusicTic,
                         kMaxRenderSamples));
    Opl opl;
    for (std::size_t at = 0; at + 4 <= commands.size() && out.size() < kMaxRenderSamples; at += 4) {
        opl.Write(commands[at], commands[at + 1]);
        const std::size_t wait = GetU16(commands.data() + at + 2) * static_cast<std::size_t>(kSamplesPerMusicTic);
        if (wait > 0)
            opl.Generate(static_cast<int>(std::min(wait, kMaxRenderSamples - out.size())), out);
    }
    return out;
}

std::vector<std::int16_t> RenderChunk(AudioKind kind, std::span<const std::uint8_t> chunk)
{
    switch (kind) {
    case AudioKind::PcSpeaker:
        if (const auto sound = ReadPcSpeakerSound(chunk))
            return RenderPcSpeaker(*sound);
        break;
    case AudioKind::AdLib:
        if (const auto sound = ReadAdLibSound(chunk); sound && AdLibFault(*sound).empty())
            return RenderAdLib(*sound);
        break;
    case AudioKind::Music:
        if (const auto commands = ReadMusic(chunk))
            return RenderMusic(*commands);
        break;
    case AudioKind::Digitised:
    case AudioKind::Unknown:
        break;
    }
    return {};
}

} // namespace tsl
