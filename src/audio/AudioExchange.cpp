#include "audio/AudioExchange.h"

#include "audio/AudioRender.h"
#include "core/FileSystem.h"
#include "graphics/SoundFiles.h"

#include <cstdio>

namespace tsl {

namespace {

constexpr std::size_t kMaxSongBytes = 65532; // whole commands in a 16-bit length

Failure Refusal(const std::string& name, const std::string& what)
{
    return {"\"" + name + "\" " + what, kAudioImportCaption, MessageIcon::Warning};
}

std::string Numbered(const char* prefix, int chunk, const char* extension)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s-%03d.%s", prefix, chunk, extension);
    return name;
}

Outcome<Bytes> SongFromImf(std::span<const std::uint8_t> file, const std::string& name)
{
    if (file.empty())
        return Bytes{};
    if (file.size() < 2)
        return Refusal(name, "holds one byte: an IMF file is a song's length and commands of 4 bytes, or commands alone.");
    const std::size_t length = GetU16(file.data());
    const bool leadsWithNull = file.size() >= 4 && length == 0 && GetU16(file.data() + 2) == 0;
    if (!leadsWithNull && length % 4 == 0 && length <= file.size() - 2)
        return Bytes(file.begin(), file.end()); // length-prefixed, its tag data kept
    if (leadsWithNull || file.size() % 4 == 0) {
        if (file.size() % 4 != 0)
            return Refusal(name, "is an IMF file without a length of " + std::to_string(file.size()) +
                                     " bytes: its commands are 4 bytes each, so it is cut short or something else.");
        if (file.size() > kMaxSongBytes)
            return Refusal(name, "is a song of " + std::to_string(file.size()) + " bytes of commands; the game's "
                                 "songs say their length in 16 bits, so they hold at most " +
                                     std::to_string(kMaxSongBytes) + ".");
        Bytes chunk(2);
        PutU16(chunk.data(), static_cast<std::uint16_t>(file.size()));
        chunk.insert(chunk.end(), file.begin(), file.end());
        return chunk;
    }
    return Refusal(name, "is no IMF file: its first word says a song of " + std::to_string(length) +
                             " bytes, which " +
                             (length % 4 != 0 ? "are not whole commands of 4" : "run past its " +
                                                                                    std::to_string(file.size() - 2)) +
                             ", and without a length its " + std::to_string(file.size()) +
                             " bytes are not whole commands either.");
}

} // namespace

std::string AudioFileName(AudioKind kind, int chunk)
{
    switch (kind) {
    case AudioKind::PcSpeaker:
        return Numbered("pcspeaker", chunk, "pcs");
    case AudioKind::AdLib:
        return Numbered("adlib", chunk, "adl");
    case AudioKind::Music:
        return Numbered("music", chunk, "imf");
    case AudioKind::Digitised:
    case AudioKind::Unknown:
        break;
    }
    return {};
}

std::string AudioWavName(AudioKind kind, int chunk)
{
    std::string name = AudioFileName(kind, chunk);
    if (!name.empty())
        name.replace(name.size() - 3, 3, "wav");
    return name;
}

Outcome<Bytes> AudioChunkFromFile(AudioKind kind, std::span<const std::uint8_t> file, const std::string& name)
{
    if (kind == AudioKind::Music)
        return SongFromImf(file, name);
    if (kind != AudioKind::PcSpeaker && kind != AudioKind::AdLib)
        return Refusal(name, "cannot go there: only PC speaker sounds, AdLib sounds and songs are replaced.");
    if (const std::string fault = AudioChunkFault(kind, file); !fault.empty())
        return Refusal(name, fault + (kind == AudioKind::AdLib ? "; an AdLib sound comes back in the form Tesselar "
                                                                 "exports it (adlib-NNN.adl)."
                                                               : "; a PC speaker sound comes back in the form "
                                                                 "Tesselar exports it (pcspeaker-NNN.pcs)."));
    return Bytes(file.begin(), file.end());
}

Bytes AudioChunkWav(AudioKind kind, std::span<const std::uint8_t> chunk)
{
    std::vector<std::int16_t> samples = RenderChunk(kind, chunk);
    return EncodeWav16(samples, kAudioRate);
}

Outcome<std::vector<std::string>> ExportAudio(const AudioSet& set, const std::filesystem::path& folder,
                                              const std::optional<std::set<int>>& chunks)
{
    const auto failed = [](const DiskError& error) {
        return Failure{"Couldn't write " + error.Describe() + "!", kAudioExportCaption, MessageIcon::Error};
    };
    if (auto error = MakeDirectories(folder))
        return failed(*error);
    std::vector<std::string> written;
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        const AudioKind kind = set.KindOf(chunk);
        const std::string name = AudioFileName(kind, chunk);
        if (name.empty() || (chunks && !chunks->contains(chunk)))
            continue;
        // A chunk at a time: a song's WAV file takes some megabytes.
        const auto bytes = set.ChunkBytes(chunk);
        const std::vector<FileWrite> files = {{folder / name, Bytes(bytes.begin(), bytes.end())},
                                              {folder / AudioWavName(kind, chunk), AudioChunkWav(kind, bytes)}};
        if (auto error = WriteFiles(files))
            return failed(*error);
        for (const FileWrite& file : files)
            written.push_back(file.target.filename().string());
    }
    return written;
}

} // namespace tsl
