#include "graphics/PageSet.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace tsl {

namespace {

constexpr std::size_t kHeaderFields = 6;   // chunk count, first sprite, first sound
constexpr std::size_t kHeaderPadding = 4096;
constexpr std::size_t kChunkAlignment = 512;

std::size_t RoundUp(std::size_t value, std::size_t step)
{
    return (value + step - 1) / step * step;
}

} // namespace

const char* ChunkKindName(ChunkKind kind)
{
    switch (kind) {
    case ChunkKind::Wall:
        return "wall";
    case ChunkKind::Sprite:
        return "sprite";
    case ChunkKind::Sound:
        return "sound";
    case ChunkKind::SoundTable:
        return "sound_table";
    case ChunkKind::Empty:
        break;
    }
    return "empty";
}

Failure PageSet::Refusal(std::string text)
{
    return {std::move(text), kPageEditCaption, MessageIcon::Warning};
}

PageSet PageSet::From(const PageFile& file)
{
    PageSet set;
    set.firstSprite_ = file.FirstSpriteChunk();
    set.firstSound_ = file.FirstSoundChunk();
    set.chunks_.resize(static_cast<std::size_t>(file.ChunkCount()));
    for (int chunk = 0; chunk < file.ChunkCount(); ++chunk) {
        if (!file.HasChunk(chunk))
            continue;
        const int alike = file.FirstAlike(chunk);
        Chunk& slot = set.chunks_[static_cast<std::size_t>(chunk)];
        if (alike != chunk) {
            slot = set.chunks_[static_cast<std::size_t>(alike)];
            continue;
        }
        const auto bytes = file.ChunkBytes(chunk);
        slot = std::make_shared<const Bytes>(bytes.begin(), bytes.end());
    }
    return set;
}

ChunkKind PageSet::KindOf(int chunk) const
{
    if (!ChunkAt(chunk))
        return ChunkKind::Empty;
    if (chunk == SoundTableChunk())
        return ChunkKind::SoundTable;
    if (chunk < firstSprite_)
        return ChunkKind::Wall;
    return chunk < firstSound_ ? ChunkKind::Sprite : ChunkKind::Sound;
}

PageSet::Chunk PageSet::ChunkAt(int chunk) const
{
    if (chunk < 0 || chunk >= ChunkCount())
        return nullptr;
    return chunks_[static_cast<std::size_t>(chunk)];
}

int PageSet::SoundTableChunk() const
{
    return ChunkCount() > firstSound_ ? ChunkCount() - 1 : -1;
}

std::optional<Failure> PageSet::CheckRoom(int added) const
{
    if (ChunkCount() + added > kMaxChunks)
        return Refusal("The page file cannot hold more than " + std::to_string(kMaxChunks) + " chunks.");
    return std::nullopt;
}

std::optional<Failure> PageSet::Replace(int chunk, Bytes bytes)
{
    if (chunk < 0 || chunk >= firstSound_)
        return Refusal("Chunk " + std::to_string(chunk) + " is no wall or sprite of the page file.");
    if (chunk < firstSprite_ && bytes.size() != static_cast<std::size_t>(kPicturePixels))
        return Refusal("A wall is " + std::to_string(kPicturePixels) + " bytes, not " + std::to_string(bytes.size()) +
                       ".");
    if (chunk >= firstSprite_) {
        Sprite check;
        if (auto fault = DecodeSprite(bytes, check))
            return Refusal("The new sprite " + *fault + ".");
        // Every transparent pixel saves its byte, a column without opaque
        // pixels its post list too, and columns at the sides all of theirs.
        if (bytes.size() > kPageBytes)
            return Refusal("The new sprite takes " + std::to_string(bytes.size()) + " bytes; a page of the game holds at most " +
                           std::to_string(kPageBytes) + ". Make more of its pixels transparent, best whole columns at its sides.");
    }
    chunks_[static_cast<std::size_t>(chunk)] = std::make_shared<const Bytes>(std::move(bytes));
    return std::nullopt;
}

int PageSet::FirstDoorChunk() const
{
    return tsl::FirstDoorChunk(firstSprite_);
}

Outcome<int> PageSet::AddWall(Bytes bytes)
{
    return AddWall(std::move(bytes), FirstDoorChunk());
}

Outcome<int> PageSet::AddWall(Bytes bytes, int before)
{
    // The engine draws wall w from chunks 2w and 2w + 1: a pair keeps every later wall's sides together.
    if (before < 0 || before > FirstDoorChunk() || (before % 2 != 0 && before != FirstDoorChunk()))
        return Refusal("Chunk " + std::to_string(before) + " is not where a wall begins.");
    if (auto full = CheckRoom(2))
        return *full;
    const int at = before;
    chunks_.insert(chunks_.begin() + at, 2, nullptr);
    firstSprite_ += 2;
    firstSound_ += 2;
    if (auto refusal = Replace(at, bytes)) {
        Erase(at, 2);
        return *refusal;
    }
    Replace(at + 1, std::move(bytes));
    return at;
}

Outcome<int> PageSet::AddSprite(Bytes bytes)
{
    if (auto full = CheckRoom(1))
        return *full;
    const int at = firstSound_;
    chunks_.insert(chunks_.begin() + at, nullptr);
    ++firstSound_;
    if (auto refusal = Replace(at, std::move(bytes))) {
        Erase(at, 1);
        return *refusal;
    }
    return at;
}

std::optional<Failure> PageSet::Remove(int chunk)
{
    if (chunk < 0 || chunk >= firstSound_)
        return Refusal("Chunk " + std::to_string(chunk) + " is no wall or sprite of the page file.");
    if (chunk >= FirstDoorChunk() && chunk < firstSprite_)
        return Refusal("Chunk " + std::to_string(chunk) + " is a door picture: the engine takes the last " +
                       std::to_string(kDoorChunks) + " wall chunks for its doors, so they stay.");
    if (chunk >= firstSprite_) {
        Erase(chunk, 1);
        return std::nullopt;
    }
    const int light = chunk - chunk % 2;
    Erase(light, light + 1 < FirstDoorChunk() ? 2 : 1);
    return std::nullopt;
}

void PageSet::Erase(int chunk, int count)
{
    chunks_.erase(chunks_.begin() + chunk, chunks_.begin() + chunk + count);
    if (chunk < firstSprite_)
        firstSprite_ -= count;
    firstSound_ -= count;
}

std::vector<PageSet::TableEntry> PageSet::Table() const
{
    std::vector<TableEntry> table;
    const Chunk bytes = ChunkAt(SoundTableChunk());
    if (!bytes)
        return table;
    for (std::size_t at = 0; at + 4 <= bytes->size(); at += 4)
        table.push_back({GetU16(bytes->data() + at), GetU16(bytes->data() + at + 2)});
    return table;
}

void PageSet::SetTable(const std::vector<TableEntry>& table)
{
    Bytes bytes(table.size() * 4);
    for (std::size_t i = 0; i < table.size(); ++i) {
        PutU16(bytes.data() + 4 * i, table[i].start);
        PutU16(bytes.data() + 4 * i + 2, table[i].length);
    }
    chunks_[static_cast<std::size_t>(SoundTableChunk())] = std::make_shared<const Bytes>(std::move(bytes));
}

std::vector<DigitisedSound> PageSet::Sounds() const
{
    const int tableChunk = SoundTableChunk();
    const Chunk table = ChunkAt(tableChunk);
    if (!table)
        return {};
    return ReadSoundTable(*table, firstSound_, tableChunk, [this](int chunk) {
        const Chunk bytes = ChunkAt(chunk);
        return bytes ? bytes->size() : std::size_t{0};
    });
}

Bytes PageSet::SoundSamples(int number) const
{
    const std::vector<DigitisedSound> sounds = Sounds();
    if (number < 0 || number >= static_cast<int>(sounds.size()))
        return {};
    return SoundSamples(sounds[static_cast<std::size_t>(number)]);
}

Bytes PageSet::SoundSamples(const DigitisedSound& sound) const
{
    Bytes samples;
    samples.reserve(sound.present);
    for (int chunk = sound.firstChunk; chunk < sound.firstChunk + sound.chunkCount; ++chunk)
        if (const Chunk bytes = ChunkAt(chunk))
            samples.insert(samples.end(), bytes->begin(), bytes->end());
    samples.resize(sound.present);
    return samples;
}

std::optional<Failure> PageSet::CheckSamples(std::span<const std::uint8_t> samples, int freed) const
{
    if (samples.empty())
        return Refusal("The new sound has no samples.");
    if (samples.size() > kMaxSoundBytes)
        return Refusal("The new sound is " + std::to_string(samples.size()) + " bytes long, more than the " +
                       std::to_string(kMaxSoundBytes) + " bytes (9.3 seconds) the game plays.");
    return CheckRoom(static_cast<int>((samples.size() + kSoundChunkBytes - 1) / kSoundChunkBytes) - freed);
}

// The chunks [first, first + count) give way to `samples` in chunks of 4096
// bytes, and the entries of the table (but `except`) that start at or after
// their end move with them.
void PageSet::Splice(std::vector<TableEntry>& table, std::size_t except, int first, int count,
                     std::span<const std::uint8_t> samples)
{
    std::vector<Chunk> added;
    for (std::size_t at = 0; at < samples.size(); at += kSoundChunkBytes) {
        const auto piece = samples.subspan(at, std::min(kSoundChunkBytes, samples.size() - at));
        added.push_back(std::make_shared<const Bytes>(piece.begin(), piece.end()));
    }
    const int delta = static_cast<int>(added.size()) - count;
    const int oldEnd = first + count - firstSound_;
    for (std::size_t i = 0; i < table.size(); ++i)
        if (i != except && table[i].start >= oldEnd)
            table[i].start = static_cast<std::uint16_t>(table[i].start + delta);
    chunks_.erase(chunks_.begin() + first, chunks_.begin() + first + count);
    chunks_.insert(chunks_.begin() + first, added.begin(), added.end());
}

Outcome<std::vector<DigitisedSound>> PageSet::SoundsToChange() const
{
    std::vector<DigitisedSound> sounds = Sounds();
    // The last sound read runs to the table when the list ends early, over
    // the chunks of the sounds the list leaves out: a change to the sounds
    // would drop them.
    if (const std::size_t listed = Table().size(); listed > sounds.size())
        return Refusal("The sound table lists " + std::to_string(listed) +
                       " sounds, but the game reads only the first " + std::to_string(sounds.size()) + ": sound " +
                       std::to_string(sounds.size()) +
                       " starts at or past the table. The sounds of this file are left as they are, so that no "
                       "chunk of the sounds after it is lost.");
    // A change splices one sound's chunks; a sound whose chunks another one
    // plays too would lose them, or take the other's with its own.
    std::vector<const DigitisedSound*> order;
    for (const DigitisedSound& sound : sounds)
        if (sound.chunkCount > 0)
            order.push_back(&sound);
    std::sort(order.begin(), order.end(), [](const DigitisedSound* a, const DigitisedSound* b) {
        return std::pair(a->firstChunk, a->number) < std::pair(b->firstChunk, b->number);
    });
    const DigitisedSound* reaching = nullptr; // the sound that reaches furthest so far
    for (const DigitisedSound* sound : order) {
        if (reaching && sound->firstChunk < reaching->firstChunk + reaching->chunkCount) {
            const auto [first, second] = std::minmax(reaching->number, sound->number);
            return Refusal("Sounds " + std::to_string(first) + " and " + std::to_string(second) +
                           " of the sound table share chunk " + std::to_string(sound->firstChunk) +
                           ". The sounds of this file are left as they are, so that no sound loses its chunks to "
                           "another.");
        }
        if (!reaching || sound->firstChunk + sound->chunkCount > reaching->firstChunk + reaching->chunkCount)
            reaching = sound;
    }
    return sounds;
}

Outcome<DigitisedSound> PageSet::SoundToChange(int number) const
{
    const auto sounds = SoundsToChange();
    if (!sounds)
        return sounds.failure();
    if (number < 0 || number >= static_cast<int>(sounds->size()))
        return Refusal("The page file has no sound " + std::to_string(number) + ".");
    return (*sounds)[static_cast<std::size_t>(number)];
}

std::optional<Failure> PageSet::ReplaceSound(int number, std::span<const std::uint8_t> samples)
{
    const auto sound = SoundToChange(number);
    if (!sound)
        return sound.failure();
    if (auto refusal = CheckSamples(samples, sound->chunkCount))
        return refusal;
    std::vector<TableEntry> table = Table();
    const auto entry = static_cast<std::size_t>(number);
    Splice(table, entry, sound->firstChunk, sound->chunkCount, samples);
    table[entry].length = static_cast<std::uint16_t>(samples.size());
    SetTable(table);
    return std::nullopt;
}

Outcome<int> PageSet::AddSound(std::span<const std::uint8_t> samples)
{
    const int tableChunk = SoundTableChunk();
    if (tableChunk < 0)
        return Refusal("The page file has no sound table.");
    const auto sounds = SoundsToChange();
    if (!sounds)
        return sounds.failure();
    const std::size_t number = sounds->size(); // the new one goes after the last
    if (auto refusal = CheckSamples(samples, 0))
        return *refusal;
    std::vector<TableEntry> table = Table();
    if (table.size() >= kMaxSounds)
        return Refusal("The sound table cannot list more than " + std::to_string(kMaxSounds) + " sounds.");
    table.insert(table.begin() + static_cast<std::ptrdiff_t>(number),
                 {static_cast<std::uint16_t>(tableChunk - firstSound_), static_cast<std::uint16_t>(samples.size())});
    Splice(table, number, tableChunk, 0, samples);
    SetTable(table);
    return static_cast<int>(number);
}

std::optional<Failure> PageSet::RemoveSound(int number)
{
    const auto sound = SoundToChange(number);
    if (!sound)
        return sound.failure();
    std::vector<TableEntry> table = Table();
    Splice(table, static_cast<std::size_t>(number), sound->firstChunk, sound->chunkCount, {});
    table.erase(table.begin() + number);
    SetTable(table);
    return std::nullopt;
}

Outcome<Bytes> PageSet::Encode() const
{
    const std::size_t count = chunks_.size();
    const std::size_t headerSize = kHeaderFields + 6 * count;
    // Every chunk's place first, so that the file is allocated once.
    std::vector<std::uint32_t> offsets(count, 0);
    std::unordered_map<const Bytes*, std::uint32_t> written;
    std::uint64_t end = std::max(kHeaderPadding, RoundUp(headerSize, kChunkAlignment));
    for (std::size_t i = 0; i < count; ++i) {
        const Chunk& chunk = chunks_[i];
        if (!chunk || chunk->empty())
            continue;
        if (auto found = written.find(chunk.get()); found != written.end()) {
            offsets[i] = found->second;
            continue;
        }
        end = RoundUp(end, kChunkAlignment);
        if (end > std::numeric_limits<std::uint32_t>::max())
            return Refusal("The page file would be larger than 4 GB.");
        offsets[i] = static_cast<std::uint32_t>(end);
        written.emplace(chunk.get(), offsets[i]);
        end += chunk->size();
    }

    ByteWriter header;
    header.U16(static_cast<std::uint16_t>(count));
    header.U16(static_cast<std::uint16_t>(firstSprite_));
    header.U16(static_cast<std::uint16_t>(firstSound_));
    for (const std::uint32_t offset : offsets)
        header.U32(offset);
    for (const Chunk& chunk : chunks_)
        header.U16(static_cast<std::uint16_t>(chunk ? chunk->size() : 0));
    Bytes file = std::move(header.Data());
    file.resize(RoundUp(end, kChunkAlignment), 0);
    for (std::size_t i = 0; i < count; ++i)
        if (const Chunk& chunk = chunks_[i]; chunk && !chunk->empty())
            std::copy(chunk->begin(), chunk->end(), file.begin() + offsets[i]);
    return file;
}

bool operator==(const PageSet& a, const PageSet& b)
{
    if (a.firstSprite_ != b.firstSprite_ || a.firstSound_ != b.firstSound_ || a.chunks_.size() != b.chunks_.size())
        return false;
    for (std::size_t i = 0; i < a.chunks_.size(); ++i) {
        const PageSet::Chunk& x = a.chunks_[i];
        const PageSet::Chunk& y = b.chunks_[i];
        const bool xEmpty = !x || x->empty();
        const bool yEmpty = !y || y->empty();
        if (xEmpty != yEmpty || (!xEmpty && x != y && *x != *y))
            return false;
    }
    return true;
}

} // namespace tsl
