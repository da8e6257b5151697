#include "graphics/Sprite.h"

#include <algorithm>

namespace tsl {

namespace {

std::string Range(int from, int to)
{
    return std::to_string(from) + " to " + std::to_string(to);
}

void CollectSpans(Sprite& sprite)
{
    sprite.spans.clear();
    for (int column = sprite.firstColumn; column <= sprite.lastColumn; ++column)
        for (int row = 0; row < kPictureSide;) {
            if (!sprite.Opaque(column, row)) {
                ++row;
                continue;
            }
            const int top = row;
            while (row < kPictureSide && sprite.Opaque(column, row))
                ++row;
            sprite.spans.push_back({static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(top),
                                    static_cast<std::uint8_t>(row)});
        }
}

struct Run {
    int column, top, bottom;
};

std::vector<Run> OpaqueRuns(std::span<const std::uint8_t> opaque, int column)
{
    std::vector<Run> runs;
    const std::size_t base = static_cast<std::size_t>(column * kPictureSide);
    for (int row = 0; row < kPictureSide;) {
        if (!opaque[base + static_cast<std::size_t>(row)]) {
            ++row;
            continue;
        }
        const int top = row;
        while (row < kPictureSide && opaque[base + static_cast<std::size_t>(row)])
            ++row;
        runs.push_back({column, top, row});
    }
    return runs;
}

} // namespace

std::optional<std::string> DecodeSprite(std::span<const std::uint8_t> bytes, Sprite& sprite)
{
    const std::size_t length = bytes.size();
    if (length < 4)
        return "is a sprite of " + std::to_string(length) + " bytes, too short for its columns";
    const int first = GetU16(bytes.data());
    const int last = GetU16(bytes.data() + 2);
    if (first > last || last >= kPictureSide)
        return "has the columns " + Range(first, last) + ", outside 0 to 63";
    const std::size_t columns = static_cast<std::size_t>(last - first + 1);
    if (4 + 2 * columns > length)
        return "lists " + std::to_string(columns) + " columns, more than its " + std::to_string(length) +
               " bytes hold";
    sprite = Sprite{};
    sprite.firstColumn = first;
    sprite.lastColumn = last;
    for (int column = first; column <= last; ++column) {
        const std::string where = "column " + std::to_string(column);
        std::size_t post = GetU16(bytes.data() + 4 + 2 * static_cast<std::size_t>(column - first));
        for (;;) {
            if (post + 2 > length)
                return "has a post list of " + where + " that reaches past the chunk";
            const int end = GetU16(bytes.data() + post) / 2;
            if (end == 0)
                break;
            if (post + 6 > length)
                return "has a post list of " + where + " that reaches past the chunk";
            const std::uint16_t source = GetU16(bytes.data() + post + 2);
            const int start = GetU16(bytes.data() + post + 4) / 2;
            if (start > end || end > kPictureSide)
                return "has a post in " + where + " with the rows " + Range(start, end - 1) + ", outside 0 to 63";
            const std::size_t from = static_cast<std::uint16_t>(source + start);
            if (from + static_cast<std::size_t>(end - start) > length)
                return "has a post in " + where + " whose pixels lie outside the chunk";
            const auto base = static_cast<std::ptrdiff_t>(column * kPictureSide);
            std::copy_n(bytes.data() + from, end - start, sprite.pixels.begin() + base + start);
            std::fill_n(sprite.opaque.begin() + base + start, end - start, 1);
            post += 6;
        }
    }
    CollectSpans(sprite);
    return std::nullopt;
}

Bytes EncodeSprite(std::span<const std::uint8_t> pixels, std::span<const std::uint8_t> opaque)
{
    std::vector<std::vector<Run>> columns;
    int first = -1;
    int last = -1;
    for (int column = 0; column < kPictureSide; ++column) {
        std::vector<Run> runs = OpaqueRuns(opaque, column);
        if (!runs.empty()) {
            first = first < 0 ? column : first;
            last = column;
        }
        columns.push_back(std::move(runs));
    }
    if (first < 0)
        first = last = 0;

    const auto count = static_cast<std::size_t>(last - first + 1);
    ByteWriter out;
    out.U16(static_cast<std::uint16_t>(first));
    out.U16(static_cast<std::uint16_t>(last));
    out.Zeros(2 * count); // the column offsets, once the post lists' places are known

    // The pixels of every post, then the post lists that point at them.
    ByteWriter lists;
    std::vector<std::size_t> listStarts;
    for (int column = first; column <= last; ++column) {
        listStarts.push_back(lists.Size());
        for (const Run& run : columns[static_cast<std::size_t>(column)]) {
            const std::size_t at = out.Size();
            const std::size_t base = static_cast<std::size_t>(column * kPictureSide);
            out.Append(pixels.subspan(base + static_cast<std::size_t>(run.top),
                                      static_cast<std::size_t>(run.bottom - run.top)));
            lists.U16(static_cast<std::uint16_t>(run.bottom * 2));
            lists.U16(static_cast<std::uint16_t>(at - static_cast<std::size_t>(run.top)));
            lists.U16(static_cast<std::uint16_t>(run.top * 2));
        }
        lists.U16(0);
    }
    if (out.Size() % 2 != 0)
        out.U8(0);
    const std::size_t listsAt = out.Size();
    for (std::size_t i = 0; i < count; ++i)
        PutU16(out.Data().data() + 4 + 2 * i, static_cast<std::uint16_t>(listsAt + listStarts[i]));
    out.Append(lists.Data());
    return std::move(out.Data());
}

} // namespace tsl
