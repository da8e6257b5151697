#include "graphics/PageFile.h"

#include "core/FileSystem.h"

#include <algorithm>
#include <mutex>
#include <tuple>

namespace tsl {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 6; // a u32 offset and a u16 length

} // namespace

// Decoded sprites by chunk, filled as they are asked for. A page file is
// read by the views of several windows; the lock keeps a first decode from
// racing another.
struct PageFile::SpriteCache {
    std::mutex lock;
    std::vector<std::shared_ptr<const Sprite>> byChunk;
    std::size_t bytes = 0;
};

Outcome<PageFile> PageFile::Load(const std::filesystem::path& path)
{
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return Failure{"The page file \"" + path.string() + "\" cannot be read.", kGraphicsErrorCaption,
                       MessageIcon::Warning};
    return Parse(std::move(*bytes), path.string());
}

Outcome<PageFile> PageFile::Parse(Bytes data, std::string fileName)
{
    PageFile file;
    file.data_ = std::move(data);
    file.fileName_ = std::move(fileName);
    if (auto failure = file.Check())
        return *failure;
    return file;
}

Failure PageFile::Damaged(const std::string& what) const
{
    return {"The page file \"" + fileName_ + "\" is damaged: " + what + ".", kGraphicsErrorCaption,
            MessageIcon::Warning};
}

Failure PageFile::ChunkDamaged(int chunk, const std::string& what) const
{
    std::string name = "chunk " + std::to_string(chunk);
    if (chunk >= firstSprite_ && chunk < firstSound_)
        name += " (sprite " + std::to_string(chunk - firstSprite_) + ")";
    return Damaged(name + " " + what);
}

std::optional<Failure> PageFile::Check()
{
    if (data_.size() < kHeaderSize)
        return Damaged("it is " + std::to_string(data_.size()) + " bytes long, shorter than its header");
    const std::size_t count = GetU16(data_.data());
    firstSprite_ = GetU16(data_.data() + 2);
    firstSound_ = GetU16(data_.data() + 4);
    if (kHeaderSize + count * kDirectoryEntrySize > data_.size())
        return Damaged("its header lists " + std::to_string(count) + " chunks, more than its " +
                       std::to_string(data_.size()) + " bytes hold");
    if (firstSprite_ > firstSound_ || static_cast<std::size_t>(firstSound_) > count)
        return Damaged("its first sprite chunk " + std::to_string(firstSprite_) + " and first sound chunk " +
                       std::to_string(firstSound_) + " do not fit its " + std::to_string(count) + " chunks");

    offsets_.resize(count);
    lengths_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        offsets_[i] = GetU32(data_.data() + kHeaderSize + 4 * i);
        lengths_[i] = GetU16(data_.data() + kHeaderSize + 4 * count + 2 * i);
    }
    for (int chunk = 0; chunk < static_cast<int>(count); ++chunk) {
        if (!HasChunk(chunk))
            continue;
        const auto at = static_cast<std::size_t>(chunk);
        if (offsets_[at] > data_.size() || lengths_[at] > data_.size() - offsets_[at])
            return ChunkDamaged(chunk, "reaches past the end of the file (offset " + std::to_string(offsets_[at]) +
                                           ", " + std::to_string(lengths_[at]) + " bytes)");
        if (chunk < firstSprite_ && lengths_[at] < kPicturePixels)
            return ChunkDamaged(chunk, "is a wall of " + std::to_string(lengths_[at]) + " bytes instead of " +
                                           std::to_string(kPicturePixels));
    }

    if (auto failure = CheckOverlaps())
        return failure;
    if (auto failure = CheckSoundTable())
        return failure;

    // Every sprite is decoded once to check it; what is kept is decoded again
    // when it is asked for.
    sprites_ = std::make_shared<SpriteCache>();
    sprites_->byChunk.resize(count);
    Sprite scratch;
    for (int chunk = firstSprite_; chunk < firstSound_; ++chunk)
        if (HasChunk(chunk) && FirstAlike(chunk) == chunk)
            if (auto fault = DecodeSprite(ChunkBytes(chunk), scratch))
                return ChunkDamaged(chunk, *fault);
    return std::nullopt;
}

std::optional<Failure> PageFile::CheckOverlaps()
{
    // Walls, sprites and sounds are told apart: a wall and a sprite over the
    // same bytes are each checked and decoded as what they are.
    const auto kind = [&](int chunk) { return chunk < firstSprite_ ? 0 : chunk < firstSound_ ? 1 : 2; };
    const auto key = [&](int chunk) {
        const auto at = static_cast<std::size_t>(chunk);
        return std::tuple(offsets_[at], lengths_[at], kind(chunk), chunk);
    };
    std::vector<int> order;
    for (int chunk = 0; chunk < ChunkCount(); ++chunk)
        if (HasChunk(chunk))
            order.push_back(chunk);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    alike_.resize(offsets_.size());
    for (int chunk = 0; chunk < ChunkCount(); ++chunk)
        alike_[static_cast<std::size_t>(chunk)] = chunk;
    int reaching = -1; // the chunk that reaches furthest so far
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int chunk = order[i];
        const auto at = static_cast<std::size_t>(chunk);
        if (i > 0) {
            const int prev = order[i - 1];
            const auto before = static_cast<std::size_t>(prev);
            if (offsets_[before] == offsets_[at] && lengths_[before] == lengths_[at]) {
                if (kind(prev) == kind(chunk))
                    alike_[at] = alike_[before];
                continue;
            }
        }
        if (offsets_[at] < end)
            return ChunkDamaged(std::max(chunk, reaching), "overlaps chunk " + std::to_string(std::min(chunk, reaching)));
        end = std::uint64_t{offsets_[at]} + lengths_[at];
        reaching = chunk;
    }
    return std::nullopt;
}

std::optional<Failure> PageFile::CheckSoundTable() const
{
    const int tableChunk = ChunkCount() - 1;
    if (tableChunk < firstSound_)
        return std::nullopt;
    const auto table = ChunkBytes(tableChunk);
    const std::vector<DigitisedSound> sounds =
        ReadSoundTable(table, firstSound_, tableChunk, [this](int chunk) { return ChunkBytes(chunk).size(); });
    // An entry at or past the table ends the list, in the engine as here: the
    // file plays, without those sounds (tesselar-cli pages says so).
    for (const DigitisedSound& sound : sounds)
        if (sound.present < sound.length && (sound.present > 0 || sound.chunkCount == 0))
            return Damaged("its sound table says sound " + std::to_string(sound.number) + " is " +
                           std::to_string(sound.length) + " bytes long, more than the " +
                           std::to_string(sound.present) + " its chunks hold");
    return std::nullopt;
}

bool PageFile::HasChunk(int chunk) const
{
    if (chunk < 0 || chunk >= ChunkCount())
        return false;
    const auto at = static_cast<std::size_t>(chunk);
    return offsets_[at] != 0 && lengths_[at] != 0;
}

std::span<const std::uint8_t> PageFile::ChunkBytes(int chunk) const
{
    if (!HasChunk(chunk))
        return {};
    const auto at = static_cast<std::size_t>(chunk);
    return std::span<const std::uint8_t>(data_).subspan(offsets_[at], lengths_[at]);
}

std::span<const std::uint8_t> PageFile::Wall(int chunk) const
{
    if (chunk >= firstSprite_)
        return {};
    const auto bytes = ChunkBytes(chunk);
    return bytes.empty() ? bytes : bytes.first(kPicturePixels);
}

const Sprite* PageFile::SpriteAt(int sprite) const
{
    if (sprite < 0 || sprite >= SpriteCount() || !HasChunk(firstSprite_ + sprite))
        return nullptr;
    const auto chunk = static_cast<std::size_t>(FirstAlike(firstSprite_ + sprite));
    const std::lock_guard guard(sprites_->lock);
    std::shared_ptr<const Sprite>& slot = sprites_->byChunk[chunk];
    if (!slot) {
        auto decoded = std::make_shared<Sprite>();
        DecodeSprite(ChunkBytes(static_cast<int>(chunk)), *decoded); // checked when the file was read
        sprites_->bytes += sizeof(Sprite) + decoded->pixels.size() + decoded->opaque.size() +
                           decoded->spans.size() * sizeof(SpriteSpan);
        slot = std::move(decoded);
    }
    return slot.get();
}

int PageFile::FirstAlike(int chunk) const
{
    if (chunk < 0 || chunk >= ChunkCount())
        return chunk;
    return alike_[static_cast<std::size_t>(chunk)];
}

std::size_t PageFile::DecodedBytes() const
{
    if (!sprites_)
        return 0;
    const std::lock_guard guard(sprites_->lock);
    return sprites_->bytes;
}

std::vector<DigitisedSound> ReadSoundTable(std::span<const std::uint8_t> table, int firstSound, int tableChunk,
                                           const std::function<std::size_t(int)>& chunkSize)
{
    const std::size_t entries = table.size() / 4;
    const auto start = [&](std::size_t entry) { return firstSound + GetU16(table.data() + 4 * entry); };
    std::vector<DigitisedSound> sounds;
    for (std::size_t i = 0; i < entries; ++i) {
        DigitisedSound sound;
        sound.number = static_cast<int>(i);
        sound.firstChunk = start(i);
        if (sound.firstChunk >= tableChunk)
            break;
        // A sound ends where the next one begins; the last, or one followed
        // by an entry that points nowhere (0 or past the sounds), at the table.
        int end = tableChunk;
        if (i + 1 < entries && start(i + 1) != firstSound && start(i + 1) <= tableChunk)
            end = start(i + 1);
        sound.chunkCount = std::max(0, end - sound.firstChunk);
        std::size_t held = 0;
        for (int chunk = sound.firstChunk; chunk < end; ++chunk)
            held += chunkSize(chunk);
        // The table keeps the length's low 16 bits; longer sounds take the
        // rest from what their chunks hold.
        std::size_t length = (held & ~std::size_t{0xFFFF}) | GetU16(table.data() + 4 * i + 2);
        if (length > held && length > 0xFFFF)
            length -= 0x10000;
        sound.length = length;
        sound.present = std::min(length, held);
        sounds.push_back(sound);
    }
    return sounds;
}

std::optional<std::filesystem::path> FindPageFile(const std::filesystem::path& gameDir, std::string_view extension)
{
    return FindNoCase(gameDir, "VSWAP." + std::string(extension));
}

} // namespace tsl
