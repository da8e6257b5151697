#include "graphics/SoundFiles.h"

#include "core/FileSystem.h"
#include "graphics/PageSet.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace tsl {

namespace {

constexpr std::size_t kReadBlock = 4096; // frames read at a time
constexpr int kMaxChannels = 8;
constexpr int kMaxRate = 384000;

// A file in memory for libsndfile's virtual I/O: reads never leave the
// bytes given; writes grow a buffer of their own.
struct MemoryFile {
    std::span<const std::uint8_t> input;
    Bytes output;
    sf_count_t position = 0;

    sf_count_t Size() const { return static_cast<sf_count_t>(input.empty() ? output.size() : input.size()); }
    const std::uint8_t* Data() const { return input.empty() ? output.data() : input.data(); }
};

MemoryFile& Of(void* user)
{
    return *static_cast<MemoryFile*>(user);
}

sf_count_t FileLength(void* user)
{
    return Of(user).Size();
}

sf_count_t Seek(sf_count_t offset, int whence, void* user)
{
    MemoryFile& file = Of(user);
    const sf_count_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? file.Size() : 0;
    const sf_count_t target = base + offset;
    if (target < 0)
        return -1;
    file.position = target;
    return target;
}

sf_count_t Read(void* ptr, sf_count_t count, void* user)
{
    MemoryFile& file = Of(user);
    if (count <= 0 || file.position >= file.Size())
        return 0;
    const sf_count_t n = std::min(count, file.Size() - file.position);
    std::memcpy(ptr, file.Data() + file.position, static_cast<std::size_t>(n));
    file.position += n;
    return n;
}

sf_count_t Write(const void* ptr, sf_count_t count, void* user)
{
    MemoryFile& file = Of(user);
    if (!file.input.empty() || count <= 0)
        return 0;
    const auto end = static_cast<std::size_t>(file.position + count);
    if (end > file.output.size())
        file.output.resize(end);
    std::memcpy(file.output.data() + file.position, ptr, static_cast<std::size_t>(count));
    file.position += count;
    return count;
}

sf_count_t Tell(void* user)
{
    return Of(user).position;
}

SF_VIRTUAL_IO MemoryIo()
{
    return {FileLength, Seek, Read, Write, Tell};
}

struct CloseSndFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFile = std::unique_ptr<SNDFILE, CloseSndFile>;

Failure SoundFailure(const std::string& name, const std::string& what)
{
    return {"The sound \"" + name + "\" " + what, kSoundImportCaption, MessageIcon::Warning};
}

// A library's message, ending in one full stop.
std::string Sentence(const char* text)
{
    std::string sentence = text ? text : "unknown error";
    while (!sentence.empty() && (sentence.back() == '.' || sentence.back() == '\n'))
        sentence.pop_back();
    return sentence + ".";
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds); // enough to tell 65535 samples at 7042 Hz from 65600
    return text;
}

// A RIFF WAVE file's data chunk must fit the file: libsndfile would quietly
// take what there is.
std::optional<std::string> CheckDeclaredData(std::span<const std::uint8_t> file)
{
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::uint64_t size = GetU32(file.data() + at + 4);
        const std::size_t left = file.size() - at - 8;
        if (std::memcmp(file.data() + at, "data", 4) == 0) {
            if (size > left)
                return "is damaged: it declares " + std::to_string(size) + " bytes of samples, more than the " +
                       std::to_string(left) + " it holds.";
            return std::nullopt;
        }
        if (size > left)
            return std::nullopt; // libsndfile says what is wrong with the rest
        at += 8 + static_cast<std::size_t>(size) + (size & 1);
    }
    return std::nullopt;
}

// One channel resampled by `ratio` with libsamplerate's `converter` into
// `out`: its error, or 0.
int Resample(const std::vector<float>& in, double ratio, int converter, std::vector<float>& out)
{
    out.resize(static_cast<std::size_t>(std::ceil(static_cast<double>(in.size()) * ratio)) + 64);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    const int error = src_simple(&data, converter, 1);
    out.resize(error ? 0 : static_cast<std::size_t>(data.output_frames_gen));
    return error;
}

std::uint8_t ToUnsigned8(float sample)
{
    const long value = std::lround(sample * 128.0f) + 128;
    return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

} // namespace

Bytes EncodeWav(std::span<const std::uint8_t> samples)
{
    MemoryFile memory;
    SF_VIRTUAL_IO io = MemoryIo();
    SF_INFO info{};
    info.samplerate = kSoundRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    {
        SndFile file(sf_open_virtual(&io, SFM_WRITE, &info, &memory));
        if (!file)
            return {};
        // Unsigned 8-bit in, unsigned 8-bit out: through shorts, whose high
        // byte libsndfile keeps, so every sample is written as it is.
        std::vector<short> shorts(samples.size());
        for (std::size_t i = 0; i < samples.size(); ++i)
            shorts[i] = static_cast<short>((samples[i] - 128) * 256);
        sf_write_short(file.get(), shorts.data(), static_cast<sf_count_t>(shorts.size()));
    }
    return std::move(memory.output);
}

Bytes EncodeWav16(std::span<const std::int16_t> samples, int rate)
{
    MemoryFile memory;
    SF_VIRTUAL_IO io = MemoryIo();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    {
        SndFile file(sf_open_virtual(&io, SFM_WRITE, &info, &memory));
        if (!file)
            return {};
        sf_write_short(file.get(), samples.data(), static_cast<sf_count_t>(samples.size()));
    }
    return std::move(memory.output);
}

Outcome<Bytes> DecodeSound(std::span<const std::uint8_t> bytes, const std::string& name)
{
    if (bytes.empty())
        return SoundFailure(name, "is empty.");
    if (auto fault = CheckDeclaredData(bytes))
        return SoundFailure(name, *fault);
    MemoryFile memory{bytes, {}, 0};
    SF_VIRTUAL_IO io = MemoryIo();
    SF_INFO info{};
    SndFile file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file)
        return SoundFailure(name, "cannot be read: " + Sentence(sf_strerror(nullptr)));
    if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < 1 || info.samplerate > kMaxRate)
        return SoundFailure(name, "has " + std::to_string(info.channels) + " channels at " +
                                      std::to_string(info.samplerate) + " Hz, which this program does not read.");
    const double ratio = static_cast<double>(kSoundRate) / info.samplerate;
    const double expected = std::round(static_cast<double>(info.frames) * ratio);
    if (expected > static_cast<double>(kMaxSoundBytes))
        return SoundFailure(name, "is " + Seconds(static_cast<double>(info.frames) / info.samplerate) +
                                      " seconds long, " + std::to_string(static_cast<long long>(expected)) +
                                      " samples at the game's " + std::to_string(kSoundRate) +
                                      " Hz; the game plays at most " +
                                      std::to_string(kMaxSoundBytes) + " samples (" +
                                      Seconds(static_cast<double>(kMaxSoundBytes) / kSoundRate) + " seconds).");
    if (info.frames <= 0)
        return SoundFailure(name, "holds no samples.");

    // Mixed to mono block by block: what is held is one channel of at most
    // the longest sound the game plays.
    const auto frames = static_cast<std::size_t>(info.frames);
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> mono;
    mono.reserve(frames);
    std::vector<float> block(kReadBlock * channels);
    while (mono.size() < frames) {
        const sf_count_t read = sf_readf_float(file.get(), block.data(), static_cast<sf_count_t>(kReadBlock));
        if (read <= 0)
            break;
        for (sf_count_t f = 0; f < read; ++f) {
            float sum = 0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += block[static_cast<std::size_t>(f) * channels + c];
            mono.push_back(sum / static_cast<float>(channels));
        }
    }
    if (mono.size() < frames)
        return SoundFailure(name, "is damaged: it declares " + std::to_string(frames) + " samples but holds " +
                                      std::to_string(mono.size()) + ".");
    mono.resize(frames);

    std::vector<float> resampled;
    if (info.samplerate == kSoundRate) {
        resampled = std::move(mono);
    } else {
        const auto wanted = static_cast<std::size_t>(expected);
        if (const int error = Resample(mono, ratio, SRC_SINC_MEDIUM_QUALITY, resampled))
            return SoundFailure(name, "cannot be resampled: " + Sentence(src_strerror(error)));
        resampled.resize(wanted, resampled.empty() ? 0.0f : resampled.back());
    }
    if (resampled.empty())
        return SoundFailure(name, "is too short to hold one sample at 7042 Hz.");
    Bytes samples(resampled.size());
    std::transform(resampled.begin(), resampled.end(), samples.begin(), ToUnsigned8);
    return samples;
}

Outcome<Bytes> LoadSound(const std::filesystem::path& path)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return SoundFailure(path.string(), "cannot be read.");
    return DecodeSound(*bytes, path.string());
}

namespace {

std::vector<std::int16_t> Frames(std::vector<float> in, int from, int rate, int channels)
{
    std::vector<float> out;
    if (rate == from) {
        out = std::move(in);
    } else {
        if (Resample(in, static_cast<double>(rate) / from, SRC_SINC_FASTEST, out) != 0)
            return {};
    }
    std::vector<std::int16_t> frames;
    frames.reserve(out.size() * static_cast<std::size_t>(channels));
    for (const float sample : out) {
        const auto value = static_cast<std::int16_t>(std::clamp(std::lround(sample * 32767.0f), -32768L, 32767L));
        frames.insert(frames.end(), static_cast<std::size_t>(channels), value);
    }
    return frames;
}

} // namespace

std::vector<std::int16_t> PlaybackSamples(std::span<const std::uint8_t> samples, int rate, int channels)
{
    if (samples.empty() || rate < 1 || rate > kMaxRate || channels < 1 || channels > kMaxChannels)
        return {};
    std::vector<float> in(samples.size());
    std::transform(samples.begin(), samples.end(), in.begin(),
                   [](std::uint8_t sample) { return (static_cast<float>(sample) - 128.0f) / 128.0f; });
    return Frames(std::move(in), kSoundRate, rate, channels);
}

std::vector<std::int16_t> PlaybackSamples16(std::span<const std::int16_t> samples, int from, int rate, int channels)
{
    if (samples.empty() || from < 1 || from > kMaxRate || rate < 1 || rate > kMaxRate || channels < 1 ||
        channels > kMaxChannels)
        return {};
    std::vector<float> in(samples.size());
    std::transform(samples.begin(), samples.end(), in.begin(),
                   [](std::int16_t sample) { return static_cast<float>(sample) / 32768.0f; });
    return Frames(std::move(in), from, rate, channels);
}

} // namespace tsl
