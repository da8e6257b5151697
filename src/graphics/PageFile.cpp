#include "graphics/PageFile.h"

#include "core/FileSystem.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 6; // a u32 offset and a u16 length

std::string Range(int from, int to)
{
    return std::to_string(from) + " to " + std::to_string(to);
}

} // namespace

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

    sprites_.resize(static_cast<std::size_t>(SpriteCount()));
    hasSprite_.assign(sprites_.size(), 0);
    for (int s = 0; s < SpriteCount(); ++s) {
        const int chunk = firstSprite_ + s;
        if (!HasChunk(chunk))
            continue;
        if (auto failure = DecodeSprite(chunk, sprites_[static_cast<std::size_t>(s)]))
            return failure;
        hasSprite_[static_cast<std::size_t>(s)] = 1;
    }
    return std::nullopt;
}

std::optional<Failure> PageFile::DecodeSprite(int chunk, Sprite& sprite) const
{
    const std::span<const std::uint8_t> bytes = ChunkBytes(chunk);
    const std::size_t length = bytes.size();
    if (length < 4)
        return ChunkDamaged(chunk, "is a sprite of " + std::to_string(length) + " bytes, too short for its columns");
    const int first = GetU16(bytes.data());
    const int last = GetU16(bytes.data() + 2);
    if (first > last || last >= kPictureSide)
        return ChunkDamaged(chunk, "has the columns " + Range(first, last) + ", outside 0 to 63");
    const std::size_t columns = static_cast<std::size_t>(last - first + 1);
    if (4 + 2 * columns > length)
        return ChunkDamaged(chunk, "lists " + std::to_string(columns) + " columns, more than its " +
                                       std::to_string(length) + " bytes hold");
    sprite.firstColumn = first;
    sprite.lastColumn = last;
    for (int column = first; column <= last; ++column) {
        const std::string where = "column " + std::to_string(column);
        std::size_t post = GetU16(bytes.data() + 4 + 2 * static_cast<std::size_t>(column - first));
        for (;;) {
            if (post + 2 > length)
                return ChunkDamaged(chunk, "has a post list of " + where + " that reaches past the chunk");
            const int end = GetU16(bytes.data() + post) / 2;
            if (end == 0)
                break;
            if (post + 6 > length)
                return ChunkDamaged(chunk, "has a post list of " + where + " that reaches past the chunk");
            const std::uint16_t source = GetU16(bytes.data() + post + 2);
            const int start = GetU16(bytes.data() + post + 4) / 2;
            if (start > end || end > kPictureSide)
                return ChunkDamaged(chunk, "has a post in " + where + " with the rows " + Range(start, end - 1) +
                                               ", outside 0 to 63");
            const std::size_t from = static_cast<std::uint16_t>(source + start);
            if (from + static_cast<std::size_t>(end - start) > length)
                return ChunkDamaged(chunk, "has a post in " + where + " whose pixels lie outside the chunk");
            const std::size_t base = static_cast<std::size_t>(column * kPictureSide);
            std::copy_n(bytes.data() + from, end - start, sprite.pixels.begin() + static_cast<std::ptrdiff_t>(base) + start);
            std::fill_n(sprite.opaque.begin() + static_cast<std::ptrdiff_t>(base) + start, end - start, 1);
            if (end > start)
                sprite.spans.push_back({static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(start),
                                        static_cast<std::uint8_t>(end)});
            post += 6;
        }
    }
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
    if (sprite < 0 || sprite >= SpriteCount() || !hasSprite_[static_cast<std::size_t>(sprite)])
        return nullptr;
    return &sprites_[static_cast<std::size_t>(sprite)];
}

std::optional<std::filesystem::path> FindPageFile(const std::filesystem::path& gameDir, std::string_view extension)
{
    return FindNoCase(gameDir, "VSWAP." + std::string(extension));
}

} // namespace tsl
