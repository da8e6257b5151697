#include "GraphicsTestUtil.h"

#include "TestUtil.h"
#include "core/FileSystem.h"

namespace tsl::test {

std::vector<std::uint8_t> TestPixels(int length, int seed)
{
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < length; ++i)
        pixels.push_back(static_cast<std::uint8_t>(seed + i));
    return pixels;
}

Bytes TestWall(int seed)
{
    Bytes wall(4096);
    for (int c = 0; c < 64; ++c)
        for (int r = 0; r < 64; ++r)
            wall[static_cast<std::size_t>(c * 64 + r)] = static_cast<std::uint8_t>(seed + c * 3 + r);
    return wall;
}

Bytes TestSprite(int first, int last, const std::vector<TestColumn>& columns)
{
    // Header, column offsets, then every column's post list, then the pixels.
    const std::size_t count = static_cast<std::size_t>(last - first + 1);
    std::vector<const TestColumn*> byColumn(count, nullptr);
    for (const TestColumn& column : columns)
        byColumn[static_cast<std::size_t>(column.column - first)] = &column;
    std::size_t commands = 4 + 2 * count;
    std::size_t pixelsAt = commands;
    for (const TestColumn* column : byColumn)
        pixelsAt += 2 + (column ? 6 * column->posts.size() : 0);

    Bytes sprite;
    Put16(sprite, static_cast<std::uint16_t>(first));
    Put16(sprite, static_cast<std::uint16_t>(last));
    Bytes lists, pixels;
    for (const TestColumn* column : byColumn) {
        Put16(sprite, static_cast<std::uint16_t>(commands + lists.size()));
        if (column)
            for (const TestPost& post : column->posts) {
                const std::size_t at = pixelsAt + pixels.size();
                Put16(lists, static_cast<std::uint16_t>(post.bottom * 2));
                Put16(lists, static_cast<std::uint16_t>(at - static_cast<std::size_t>(post.top)));
                Put16(lists, static_cast<std::uint16_t>(post.top * 2));
                pixels.insert(pixels.end(), post.pixels.begin(), post.pixels.end());
            }
        Put16(lists, 0);
    }
    sprite.insert(sprite.end(), lists.begin(), lists.end());
    sprite.insert(sprite.end(), pixels.begin(), pixels.end());
    return sprite;
}

Bytes TestPageFile(const std::vector<Bytes>& chunks, int firstSprite, int firstSound)
{
    Bytes file;
    Put16(file, static_cast<std::uint16_t>(chunks.size()));
    Put16(file, static_cast<std::uint16_t>(firstSprite));
    Put16(file, static_cast<std::uint16_t>(firstSound));
    std::uint32_t at = static_cast<std::uint32_t>(6 + 6 * chunks.size());
    for (const Bytes& chunk : chunks) {
        Put32(file, chunk.empty() ? 0 : at);
        at += static_cast<std::uint32_t>(chunk.size());
    }
    for (const Bytes& chunk : chunks)
        Put16(file, static_cast<std::uint16_t>(chunk.size()));
    for (const Bytes& chunk : chunks)
        file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

std::optional<std::filesystem::path> RealPageFileWL1()
{
    for (const fs::path& dir : RealGameSets())
        if (auto found = FindNoCase(dir, "VSWAP.WL1"))
            return found;
    return std::nullopt;
}

} // namespace tsl::test
