// Digitised sounds as WAV files: out in the game's format, in from other
// rates, depths and channel counts, and files that lie about their length
// refused.

#include "TestUtil.h"
#include "graphics/SoundFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tsl;
using namespace tsl::test;

namespace {

// A PCM WAV file written field by field; `sample` gives each channel's value
// of each frame in -1 .. 1.
Bytes Wav(int rate, int bits, int channels, int frames, const std::function<double(int frame, int channel)>& sample)
{
    const int bytesPerSample = bits / 8;
    const auto dataSize = static_cast<std::uint32_t>(frames * channels * bytesPerSample);
    Bytes wav;
    PutText(wav, "RIFF");
    Put32(wav, 36 + dataSize);
    PutText(wav, "WAVEfmt ");
    Put32(wav, 16);
    Put16(wav, 1);
    Put16(wav, static_cast<std::uint16_t>(channels));
    Put32(wav, static_cast<std::uint32_t>(rate));
    Put32(wav, static_cast<std::uint32_t>(rate * channels * bytesPerSample));
    Put16(wav, static_cast<std::uint16_t>(channels * bytesPerSample));
    Put16(wav, static_cast<std::uint16_t>(bits));
    PutText(wav, "data");
    Put32(wav, dataSize);
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            const double v = sample(f, c);
            if (bits == 8)
                wav.push_back(static_cast<std::uint8_t>(std::lround(v * 127) + 128));
            else
                Put16(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
        }
    return wav;
}

std::string Refusal(const Bytes& file)
{
    auto sound = DecodeSound(file, "in.wav");
    return sound ? "accepted" : sound.failure().text;
}

} // namespace

TEST(SoundFiles, A22050HzStereoSoundBecomesTheGamesFormat)
{
    // Two seconds: the left channel at half, the right silent, so mono is a quarter.
    const Bytes wav = Wav(22050, 16, 2, 44100, [](int, int channel) { return channel == 0 ? 0.5 : 0.0; });
    auto samples = DecodeSound(wav, "in.wav");
    ASSERT_TRUE(samples) << samples.failure().text;
    EXPECT_EQ(samples->size(), 2u * 7042u);
    for (std::size_t i = 100; i < samples->size() - 100; i += 97)
        EXPECT_NEAR((*samples)[i], 160, 1) << i;

    // A tone keeps its pitch: 440 Hz crosses the middle 880 times a second.
    const Bytes tone = Wav(44100, 16, 1, 44100, [](int f, int) { return 0.8 * std::sin(2 * M_PI * 440 * f / 44100.0); });
    auto resampled = DecodeSound(tone, "tone.wav");
    ASSERT_TRUE(resampled);
    EXPECT_EQ(resampled->size(), 7042u);
    int crossings = 0;
    for (std::size_t i = 1; i < resampled->size(); ++i)
        crossings += ((*resampled)[i - 1] < 128) != ((*resampled)[i] < 128);
    EXPECT_NEAR(crossings, 880, 4);
}

TEST(SoundFiles, ExportedSoundsComeBackSampleForSample)
{
    Bytes samples;
    for (int i = 0; i < 5000; ++i)
        samples.push_back(static_cast<std::uint8_t>((i * 37) % 256));
    const Bytes wav = EncodeWav(samples);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(Get32(wav, 24), 7042u) << "the rate";
    EXPECT_EQ(Get16(wav, 22), 1u) << "mono";
    EXPECT_EQ(Get16(wav, 34), 8u) << "8 bits";
    auto back = DecodeSound(wav, "out.wav");
    ASSERT_TRUE(back) << back.failure().text;
    EXPECT_EQ(*back, samples);
}

TEST(SoundFiles, FilesThatLieOrRunTooLongAreRefused)
{
    const std::string name = "The sound \"in.wav\" ";
    Bytes huge = Wav(7042, 8, 1, 100, [](int, int) { return 0.0; });
    PutU32(huge.data() + 40, 0x7FFFFFF0u); // about 2 GB of samples declared
    const struct {
        const char* what;
        Bytes file;
        std::string message;
    } cases[] = {
        {"2 GB declared", huge, name + "is damaged: it declares 2147483632 bytes of samples, more than the 100 it holds."},
        {"one sample too long", Wav(7042, 8, 1, 65536, [](int, int) { return 0.0; }),
         name + "is 9.31 seconds long, 65536 samples at the game's 7042 Hz; the game plays at most 65535 samples "
                "(9.31 seconds)."},
        {"not a sound", Bytes{'n', 'o', 'i', 's', 'e', 0, 1, 2, 3, 4, 5, 6}, name + "cannot be read: Format not recognised."},
        {"nothing", Bytes{}, name + "is empty."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.file), c.message) << c.what;
}

TEST(SoundFiles, PlaybackSamplesAreSigned16BitAtTheDevicesRateOnEveryChannel)
{
    // One second of a square wave between 64 and 192.
    Bytes samples(kSoundRate);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i / 100) % 2 ? 192 : 64;
    const std::vector<std::int16_t> same = PlaybackSamples(samples, kSoundRate, 1);
    ASSERT_EQ(same.size(), samples.size());
    EXPECT_EQ(same[0], -16384);
    EXPECT_EQ(same[100], 16384);
    const std::vector<std::int16_t> stereo = PlaybackSamples(samples, 48000, 2);
    EXPECT_NEAR(static_cast<double>(stereo.size()), 2 * 48000.0, 2 * 48.0);
    for (std::size_t i = 0; i + 1 < stereo.size(); i += 2)
        ASSERT_EQ(stereo[i], stereo[i + 1]) << i;
    EXPECT_NEAR(stereo[2 * 340], -16384, 1500) << "the middle of the first low half";
    EXPECT_TRUE(PlaybackSamples({}, 48000, 2).empty());
}
