#pragma once
// Maps whose every word tells where it stands, so that a word in the wrong
// place, plane or map shows at once, and the expected file bytes built from
// the formula rather than from a writer.

#include "TestUtil.h"
#include "exchange/ExchangeFormats.h"

#include <gtest/gtest.h>

#include <string>

namespace tsl::test {

// The word at (x, y) of plane p of the map with salt s.
inline std::uint16_t Cell(int s, int p, int x, int y)
{
    return static_cast<std::uint16_t>(((s * 4 + p + 1) * 0x1357) ^ (y * 256 + x));
}

inline MapHandler PatternSet(int planes, int nameLength = 16)
{
    MapHandler set = EmptySet(fs::temp_directory_path(), DataFileVersion::GameMaps, planes);
    set.NameLength = nameLength;
    set.ExtendedMapNames = nameLength == 32;
    return set;
}

// Appends a map of Cell words; its salt is its position.
inline void AddPatternMap(MapHandler& set, int width, int height, const std::string& name)
{
    const int salt = set.NumMaps();
    MapList& map = AddBlankMap(set, width, height, name);
    for (std::size_t p = 0; p < map.Planes.size(); ++p)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                map.SetWord(p, x, y, Cell(salt, static_cast<int>(p), x, y));
}

// The header of a TSL or WDC file: the magic, then the map count, the plane
// count and the name field's length.
inline Bytes TslHeader(const std::string& magic, std::uint32_t maps, std::uint16_t planes,
                       std::uint16_t nameLength)
{
    Bytes out;
    PutText(out, magic);
    Put32(out, maps);
    Put16(out, planes);
    Put16(out, nameLength);
    return out;
}

// A name field of `length` bytes as a file holds it.
inline void PutName(Bytes& out, const std::string& name, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        out.push_back(i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
}

// `planes` planes of Cell(salt) words over a width x height map, row by row,
// read from a window of windowW x windowH cells (0 outside the map).
inline void PutRows(Bytes& out, int salt, int planes, int width, int height, int windowW, int windowH)
{
    for (int p = 0; p < planes; ++p)
        for (int y = 0; y < windowH; ++y)
            for (int x = 0; x < windowW; ++x)
                Put16(out, x < width && y < height ? Cell(salt, p, x, y) : 0);
}

// Planes 0 and 1 as 64 x 64 cells column by column; plane p >= `planes` is 0.
inline void PutColumns(Bytes& out, int salt, int planes, int width, int height)
{
    for (int p = 0; p < 2; ++p)
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 64; ++y)
                Put16(out, p < planes && x < width && y < height ? Cell(salt, p, x, y) : 0);
}

// Checks a read map against Cell(salt) words: planes below `filled` hold
// them, the others are 0.
inline void ExpectPatternMap(const ExchangeMap& map, int salt, int width, int height, std::size_t planes,
                             std::size_t filled, const std::string& name)
{
    ASSERT_EQ(map.Width, width);
    ASSERT_EQ(map.Height, height);
    EXPECT_EQ(MapNameText(map.Name), name);
    ASSERT_EQ(map.Planes.size(), planes);
    for (std::size_t p = 0; p < planes; ++p) {
        ASSERT_EQ(map.Planes[p].size(), static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint16_t expected = p < filled ? Cell(salt, static_cast<int>(p), x, y) : 0;
                ASSERT_EQ(map.Planes[p][static_cast<std::size_t>(y) * width + x], expected)
                    << "plane " << p << " at " << x << ", " << y;
            }
    }
}

// The bytes WriteExchangeFile puts into a file.
inline Bytes WrittenBytes(ExchangeFormat format, const std::vector<int>& maps, const MapHandler& set)
{
    TempDir dir;
    const fs::path path = dir / "out.bin";
    const auto failure = WriteExchangeFile(path, format, maps, set);
    EXPECT_FALSE(failure.has_value()) << (failure ? failure->text : "");
    return failure ? Bytes{} : ReadFile(path);
}

} // namespace tsl::test
