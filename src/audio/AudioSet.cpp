#include "audio/AudioSet.h"

#include "core/FileSystem.h"
#include "graphics/DataFileSaving.h"
#include "mapdefs/ChunkNames.h"

#include <algorithm>
#include <utility>

namespace tsl {

namespace {

constexpr std::array<std::pair<AudioKind, std::string_view>, 5> kKinds = {{
    {AudioKind::PcSpeaker, "pc_speaker"},
    {AudioKind::AdLib, "adlib"},
    {AudioKind::Digitised, "digitised"},
    {AudioKind::Music, "music"},
    {AudioKind::Unknown, "unknown"},
}};

const std::string kNoName;
const Bytes kIdMark = {'!', 'I', 'D', '!'};

std::string Plural(std::size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

} // namespace

std::string_view AudioKindName(AudioKind kind)
{
    for (const auto& [k, name] : kKinds)
        if (k == kind)
            return name;
    return "unknown";
}

std::optional<AudioPaths> FindAudioFiles(const std::filesystem::path& gameDir, std::string_view extension)
{
    const std::string ext(extension);
    auto head = FindNoCase(gameDir, "AUDIOHED." + ext);
    auto audio = FindNoCase(gameDir, "AUDIOT." + ext);
    if (!head || !audio)
        return std::nullopt;
    return AudioPaths{*head, *audio};
}

std::optional<PcSpeakerSound> ReadPcSpeakerSound(std::span<const std::uint8_t> chunk)
{
    if (chunk.size() < kPcSpeakerHeader)
        return std::nullopt;
    PcSpeakerSound sound;
    sound.length = GetU32(chunk.data());
    sound.priority = GetU16(chunk.data() + 4);
    if (sound.length > chunk.size() - kPcSpeakerHeader)
        return std::nullopt;
    sound.data = chunk.subspan(kPcSpeakerHeader, sound.length);
    return sound;
}

std::optional<AdLibSound> ReadAdLibSound(std::span<const std::uint8_t> chunk)
{
    if (chunk.size() < kAdLibHeader)
        return std::nullopt;
    AdLibSound sound;
    sound.length = GetU32(chunk.data());
    sound.priority = GetU16(chunk.data() + 4);
    std::copy_n(chunk.begin() + 6, sound.instrument.size(), sound.instrument.begin());
    sound.block = chunk[22];
    if (sound.length > chunk.size() - kAdLibHeader)
        return std::nullopt;
    sound.data = chunk.subspan(kAdLibHeader, sound.length);
    return sound;
}

std::string AdLibFault(const AdLibSound& sound)
{
    if ((sound.instrument[6] | sound.instrument[7]) == 0)
        return "its instrument sustains neither of its two cells (bytes 6 and 7 of the instrument are 0), "
               "which the engine refuses to play (\"Bad instrument\")";
    return {};
}

std::optional<std::span<const std::uint8_t>> ReadMusic(std::span<const std::uint8_t> chunk)
{
    if (chunk.size() < 2)
        return std::nullopt;
    const std::size_t length = GetU16(chunk.data());
    if (length > chunk.size() - 2 || length % 4 != 0)
        return std::nullopt;
    return chunk.subspan(2, length);
}

std::string AudioChunkFault(AudioKind kind, std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return {};
    switch (kind) {
    case AudioKind::PcSpeaker:
        if (bytes.size() < kPcSpeakerHeader)
            return "holds " + Plural(bytes.size(), "byte") + ", less than a PC speaker sound's length and priority";
        if (!ReadPcSpeakerSound(bytes))
            return "is a PC speaker sound of " + Plural(GetU32(bytes.data()), "tic") + " in " +
                   Plural(bytes.size(), "byte");
        return {};
    case AudioKind::AdLib: {
        if (bytes.size() < kAdLibHeader)
            return "holds " + Plural(bytes.size(), "byte") + ", less than an AdLib sound's length, priority, "
                   "instrument and octave (23)";
        const auto sound = ReadAdLibSound(bytes);
        if (!sound)
            return "is an AdLib sound of " + Plural(GetU32(bytes.data()), "tic") + " in " + Plural(bytes.size(), "byte");
        return AdLibFault(*sound);
    }
    case AudioKind::Music: {
        if (bytes.size() < 2)
            return "holds 1 byte, less than a song's length";
        const std::size_t length = GetU16(bytes.data());
        if (length > bytes.size() - 2)
            return "is a song of " + Plural(length, "byte") + " in " + Plural(bytes.size(), "byte");
        if (length % 4 != 0)
            return "is a song of " + Plural(length, "byte") + ", not whole commands of 4";
        return {};
    }
    case AudioKind::Digitised:
    case AudioKind::Unknown:
        break;
    }
    return {};
}

AudioLayout AudioLayout::For(const std::vector<std::shared_ptr<const Bytes>>& chunks, const ChunkNames* names)
{
    AudioLayout layout;
    const int count = static_cast<int>(chunks.size());
    if (const ChunkLayout* named = names ? names->Layout("audio", count) : nullptr) {
        layout.named_ = true;
        for (const NamedChunk& chunk : named->chunks) {
            AudioKind kind = AudioKind::Unknown;
            for (const auto& [k, name] : kKinds)
                if (name == chunk.kind)
                    kind = k;
            layout.kinds_.push_back(kind);
            layout.names_.push_back(chunk.name);
        }
        return layout;
    }
    // Every game of the engine has as many PC speaker, AdLib and digitised
    // chunks, the last run empty (or an "!ID!" alone), then its songs.
    const auto bytesOf = [&](int chunk) {
        const auto& stored = chunks[static_cast<std::size_t>(chunk)];
        return stored ? std::span<const std::uint8_t>(*stored) : std::span<const std::uint8_t>();
    };
    const auto fits = [&](int sounds) {
        for (int chunk = 0; chunk < count; ++chunk) {
            const auto bytes = bytesOf(chunk);
            const AudioKind kind = chunk < sounds       ? AudioKind::PcSpeaker
                                   : chunk < 2 * sounds ? AudioKind::AdLib
                                   : chunk < 3 * sounds ? AudioKind::Digitised
                                                        : AudioKind::Music;
            if (kind == AudioKind::Digitised ? !bytes.empty() && !std::ranges::equal(bytes, kIdMark)
                                             : !AudioChunkFault(kind, bytes).empty())
                return false;
        }
        return true;
    };
    layout.names_.assign(static_cast<std::size_t>(count), std::string());
    layout.kinds_.assign(static_cast<std::size_t>(count), AudioKind::Unknown);
    for (int sounds = count / 3; sounds > 0; --sounds)
        if (fits(sounds)) {
            for (int chunk = 0; chunk < count; ++chunk)
                layout.kinds_[static_cast<std::size_t>(chunk)] = chunk < sounds       ? AudioKind::PcSpeaker
                                                                 : chunk < 2 * sounds ? AudioKind::AdLib
                                                                 : chunk < 3 * sounds ? AudioKind::Digitised
                                                                                      : AudioKind::Music;
            break;
        }
    return layout;
}

AudioKind AudioLayout::KindOf(int chunk) const
{
    if (chunk < 0 || static_cast<std::size_t>(chunk) >= kinds_.size())
        return AudioKind::Unknown;
    return kinds_[static_cast<std::size_t>(chunk)];
}

const std::string& AudioLayout::NameOf(int chunk) const
{
    if (chunk < 0 || static_cast<std::size_t>(chunk) >= names_.size())
        return kNoName;
    return names_[static_cast<std::size_t>(chunk)];
}

int AudioLayout::Find(std::string_view name) const
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (!name.empty() && names_[i] == name)
            return static_cast<int>(i);
    return -1;
}

int AudioLayout::First(AudioKind kind) const
{
    const auto found = std::find(kinds_.begin(), kinds_.end(), kind);
    return found == kinds_.end() ? -1 : static_cast<int>(found - kinds_.begin());
}

Failure AudioSet::Refusal(std::string text)
{
    return {std::move(text), kAudioEditCaption, MessageIcon::Warning};
}

Outcome<AudioSet> AudioSet::Load(const AudioPaths& paths, const ChunkNames* names)
{
    AudioFiles files;
    for (const auto& [path, bytes] : {std::pair{&paths.head, &files.head}, std::pair{&paths.audio, &files.audio}}) {
        auto read = ReadWholeFile(*path);
        if (!read)
            return Failure{"Couldn't read " + path->string() + "!", kAudioLoadCaption, MessageIcon::Warning};
        *bytes = std::move(*read);
    }
    return Read(std::move(files), names, paths);
}

Outcome<AudioSet> AudioSet::Read(AudioFiles files, const ChunkNames* names, const AudioPaths& paths)
{
    const std::string fileName = paths.audio.filename().string();
    const std::string headName = paths.head.filename().string();
    const auto damaged = [&](const std::string& what) {
        return Failure{fileName + " is damaged: " + what, kAudioLoadCaption, MessageIcon::Warning};
    };
    const Bytes& head = files.head;
    if (head.size() % 4 != 0 || head.size() < 8)
        return Failure{headName + " is damaged: it holds " + Plural(head.size(), "byte") +
                           ", which are not 4-byte offsets of the chunks and of their end.",
                       kAudioLoadCaption, MessageIcon::Warning};
    const std::size_t count = head.size() / 4 - 1;
    std::vector<std::uint32_t> offsets(count + 1);
    for (std::size_t i = 0; i <= count; ++i)
        offsets[i] = GetU32(head.data() + i * 4);
    if (offsets[count] > files.audio.size())
        return damaged(headName + " ends the chunks at " + std::to_string(offsets[count]) + ", past the file's " +
                       Plural(files.audio.size(), "byte") + ".");
    for (std::size_t i = 0; i < count; ++i)
        if (offsets[i] > offsets[i + 1])
            return damaged(i + 1 < count ? "chunk " + std::to_string(i + 1) + " starts at " +
                                               std::to_string(offsets[i + 1]) + ", before the chunk ahead of it."
                                         : headName + " ends the chunks at " + std::to_string(offsets[count]) +
                                               ", before chunk " + std::to_string(i) + " starts.");
    AudioSet set;
    set.chunks_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        if (offsets[i + 1] > offsets[i])
            set.chunks_[i] =
                std::make_shared<const Bytes>(files.audio.begin() + offsets[i], files.audio.begin() + offsets[i + 1]);
    set.lead_.assign(files.audio.begin(), files.audio.begin() + offsets[0]);
    set.tail_.assign(files.audio.begin() + offsets[count], files.audio.end());
    set.layout_ = AudioLayout::For(set.chunks_, names);
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk)
        if (const std::string fault = AudioChunkFault(set.KindOf(chunk), set.ChunkBytes(chunk)); !fault.empty()) {
            const std::string& name = set.layout_.NameOf(chunk);
            return damaged("chunk " + std::to_string(chunk) + (name.empty() ? "" : " (" + name + ")") + " " + fault + ".");
        }
    return set;
}

std::span<const std::uint8_t> AudioSet::ChunkBytes(int chunk) const
{
    const Chunk stored = Stored(chunk);
    return stored ? std::span<const std::uint8_t>(*stored) : std::span<const std::uint8_t>();
}

AudioSet::Chunk AudioSet::Stored(int chunk) const
{
    if (chunk < 0 || chunk >= ChunkCount())
        return nullptr;
    return chunks_[static_cast<std::size_t>(chunk)];
}

std::optional<Failure> AudioSet::Replace(int chunk, std::span<const std::uint8_t> bytes)
{
    if (chunk < 0 || chunk >= ChunkCount())
        return Refusal("There is no chunk " + std::to_string(chunk) + ": the sounds have " +
                       std::to_string(ChunkCount()) + " chunks.");
    const AudioKind kind = KindOf(chunk);
    if (kind == AudioKind::Digitised || kind == AudioKind::Unknown)
        return Refusal("Chunk " + std::to_string(chunk) + " is " +
                       (kind == AudioKind::Digitised ? "the place of a digitised sound, whose samples the page file holds."
                                                     : "of no kind the engine's sound headers say: it is not replaced."));
    if (const std::string fault = AudioChunkFault(kind, bytes); !fault.empty())
        return Refusal("This " + std::string(kind == AudioKind::Music ? "song" : "sound") + " " + fault + ".");
    std::size_t total = lead_.size() + bytes.size();
    for (int i = 0; i < ChunkCount(); ++i)
        if (i != chunk)
            total += ChunkBytes(i).size();
    if (total > 0xFFFFFFFFu)
        return Refusal("The sounds would take more bytes than the header's offsets reach.");
    chunks_[static_cast<std::size_t>(chunk)] = bytes.empty() ? nullptr : std::make_shared<const Bytes>(bytes.begin(), bytes.end());
    return std::nullopt;
}

AudioFiles AudioSet::Encode() const
{
    AudioFiles files;
    files.audio = lead_;
    for (const Chunk& chunk : chunks_) {
        files.head.resize(files.head.size() + 4);
        PutU32(files.head.data() + files.head.size() - 4, static_cast<std::uint32_t>(files.audio.size()));
        if (chunk)
            files.audio.insert(files.audio.end(), chunk->begin(), chunk->end());
    }
    files.head.resize(files.head.size() + 4);
    PutU32(files.head.data() + files.head.size() - 4, static_cast<std::uint32_t>(files.audio.size()));
    files.audio.insert(files.audio.end(), tail_.begin(), tail_.end());
    return files;
}

bool operator==(const AudioSet& a, const AudioSet& b)
{
    if (a.chunks_.size() != b.chunks_.size() || a.lead_ != b.lead_ || a.tail_ != b.tail_)
        return false;
    for (int i = 0; i < a.ChunkCount(); ++i)
        if (!std::ranges::equal(a.ChunkBytes(i), b.ChunkBytes(i)))
            return false;
    return true;
}

Outcome<std::vector<std::string>> SaveAudioSet(const AudioSet& set, const AudioPaths& paths,
                                               const BackupPolicy& backups, std::string* generation)
{
    AudioFiles files = set.Encode();
    return SaveDataFiles({{paths.head, std::move(files.head)}, {paths.audio, std::move(files.audio)}}, backups,
                         kAudioSaveCaption, "The previous sound files were kept.", generation);
}

} // namespace tsl
