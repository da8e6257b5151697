// The five exchange formats byte by byte: what the writers put into a file,
// compared with bytes laid out here by hand, and what the readers make of
// hand-built files.

#include "ExchangeTestSupport.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A TSL or WDC map record: the name field, the size, then `planes` planes of
// Cell(salt) words row by row.
void PutTslRecord(Bytes& out, const std::string& name, std::size_t nameLength, int salt, int planes, int width,
                  int height)
{
    PutName(out, name, nameLength);
    Put16(out, static_cast<std::uint16_t>(width));
    Put16(out, static_cast<std::uint16_t>(height));
    PutRows(out, salt, planes, width, height, width, height);
}

Bytes ChaosEditHeader(std::uint8_t planes, std::uint16_t maps)
{
    Bytes out;
    PutText(out, "CEv1.23");
    out.push_back(0);
    out.push_back(planes);
    Put16(out, maps);
    return out;
}

// A record of the width x height map, or of the top-left side x side cells of it.
void PutChaosEditRecord(Bytes& out, std::uint16_t number, int salt, int planes, int width, int height,
                        const std::string& name, std::uint8_t nameLength, int side = 0)
{
    Put16(out, number);
    Put16(out, static_cast<std::uint16_t>(side ? side : width));
    Put16(out, static_cast<std::uint16_t>(side ? side : height));
    out.push_back(nameLength);
    PutName(out, name, nameLength);
    PutRows(out, salt, planes, width, height, side ? side : width, side ? side : height);
}

Bytes FloEditHeader(std::uint32_t maps)
{
    Bytes out;
    PutText(out, "FE1.0");
    Put32(out, maps);
    return out;
}

} // namespace

TEST(ExchangeWriters, TslAndWdcFollowTheLayoutInListOrderWithNamesCut)
{
    // Names longer than the field: the set's name length was made smaller
    // after the maps were named, as the map configuration can do.
    MapHandler set = PatternSet(3, 32);
    AddPatternMap(set, 3, 2, "Alpha");
    AddPatternMap(set, 5, 4, "A name of twenty-two c");
    AddPatternMap(set, 1, 1, "Unlisted");
    set.NameLength = 16;

    for (const auto& [format, magic] : {std::pair{ExchangeFormat::TSL, "TSL1.0"}, {ExchangeFormat::WDC, "WDC3.1"}}) {
        Bytes expected = TslHeader(magic, 2, 3, 16);
        PutTslRecord(expected, "A name of twenty", 16, 1, 3, 5, 4); // the whole field, as a save keeps it
        PutTslRecord(expected, "Alpha", 16, 0, 3, 3, 2);
        EXPECT_EQ(WrittenBytes(format, {1, 0}, set), expected) << magic;
    }

    // Extended names: a 32-byte field with up to 31 characters.
    MapHandler extended = PatternSet(1, 32);
    AddPatternMap(extended, 2, 2, std::string(40, 'x'));
    Bytes expected = TslHeader("TSL1.0", 1, 1, 32);
    PutTslRecord(expected, std::string(31, 'x'), 32, 0, 1, 2, 2);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::TSL, {0}, extended), expected);
}

TEST(ExchangeWriters, ChaosEditWritesOne64x64MapWithItsPositionAndAtMostThreePlanes)
{
    // Plane counts 1 to 3 go as they are; from 4 on only planes 0 and 1.
    for (const auto& [setPlanes, filePlanes] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 2}, {6, 2}}) {
        MapHandler set = PatternSet(setPlanes);
        AddPatternMap(set, 64, 64, "First");
        AddPatternMap(set, 64, 64, "Second map");
        Bytes expected = ChaosEditHeader(static_cast<std::uint8_t>(filePlanes), 1);
        PutChaosEditRecord(expected, 1, 1, filePlanes, 64, 64, "Second map", 16);
        EXPECT_EQ(WrittenBytes(ExchangeFormat::ChaosEdit, {1}, set), expected) << setPlanes << " planes";
    }

    // Maps of another size: the top-left 64 x 64 cells, 0 beyond the map.
    // The map-number field holds the map's position; L is one byte.
    MapHandler set = PatternSet(2, 32);
    AddPatternMap(set, 10, 7, "Small");
    AddPatternMap(set, 70, 80, "Large");
    for (int index : {0, 1}) {
        const int width = index == 0 ? 10 : 70, height = index == 0 ? 7 : 80;
        Bytes expected = ChaosEditHeader(2, 1);
        PutChaosEditRecord(expected, static_cast<std::uint16_t>(index), index, 2, width, height,
                           index == 0 ? "Small" : "Large", 32, 64);
        EXPECT_EQ(WrittenBytes(ExchangeFormat::ChaosEdit, {index}, set), expected) << width << " x " << height;
    }
}

TEST(ExchangeWriters, FloEditAndMapEditWriteTwoPlanesColumnByColumn)
{
    MapHandler set = PatternSet(3);
    AddPatternMap(set, 64, 64, "One");
    AddPatternMap(set, 64, 64, "Two");
    AddPatternMap(set, 20, 90, "Odd size");

    Bytes floEdit = FloEditHeader(2);
    PutColumns(floEdit, 1, 3, 64, 64);
    PutColumns(floEdit, 0, 3, 64, 64);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::FloEdit, {1, 0}, set), floEdit);

    Bytes mapEdit;
    PutColumns(mapEdit, 1, 3, 64, 64);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::MapEdit, {1}, set), mapEdit);

    // A 20 x 90 map arrives whole in the left 20 columns and is cut at row 64.
    Bytes odd;
    PutColumns(odd, 2, 3, 20, 90);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::MapEdit, {2}, set), odd);

    // A single-plane set writes plane 1 as zeros.
    MapHandler single = PatternSet(1);
    AddPatternMap(single, 64, 64, "Only");
    Bytes expected = FloEditHeader(1);
    PutColumns(expected, 0, 1, 64, 64);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::FloEdit, {0}, single), expected);
    EXPECT_EQ(WrittenBytes(ExchangeFormat::MapEdit, {0}, single), Bytes(expected.begin() + 9, expected.end()));
}

TEST(ExchangeReaders, TslAndWdcApplyThePlaneRuleInBothDirections)
{
    // Three file planes, two maps: the second record must still line up
    // when planes are dropped.
    for (const std::string magic : {"TSL1.0", "WDC3.1"}) {
        Bytes file = TslHeader(magic, 2, 3, 16);
        PutTslRecord(file, "Short", 16, 0, 3, 4, 3);
        PutTslRecord(file, "Full sixteen chr", 16, 1, 3, 2, 5); // no terminating zero in the file

        for (int planes : {1, 2, 3, 4, 5}) {
            const auto read = ReadExchangeFile(file, planes, 16);
            ASSERT_TRUE(read) << read.failure().text;
            EXPECT_EQ(read->Header.Format, magic == "TSL1.0" ? ExchangeFormat::TSL : ExchangeFormat::WDC);
            EXPECT_EQ(read->Header.NumMaps, 2u);
            EXPECT_EQ(read->Header.NumPlanes, 3u);
            EXPECT_EQ(read->Header.NameLength, 16u);
            ASSERT_EQ(read->Maps.size(), 2u);
            const std::size_t filled = std::min<std::size_t>(planes, 3);
            ExpectPatternMap(read->Maps[0], 0, 4, 3, planes, filled, "Short");
            ExpectPatternMap(read->Maps[1], 1, 2, 5, planes, filled, "Full sixteen chr");
        }
    }
}

TEST(ExchangeReaders, NamesAreCutToTheSetsNameLength)
{
    // A full 32-byte name field read into a set of 16-byte names, and into
    // one of 32: every byte the field of the set holds is kept.
    const std::string full = "\xC9t\xE9 \x80\x81\x8D\x8F\x90\x9D\xFF: a name of 32 bytes!";
    Bytes file = TslHeader("WDC3.1", 1, 1, 32);
    PutTslRecord(file, full, 32, 0, 1, 1, 1);
    auto read = ReadExchangeFile(file, 1, 16);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Maps[0].Name.size(), 16u);
    EXPECT_EQ(MapNameText(read->Maps[0].Name), full.substr(0, 16));
    read = ReadExchangeFile(file, 1, 32);
    ASSERT_TRUE(read);
    EXPECT_EQ(MapNameText(read->Maps[0].Name), full);

    // A name field shorter than the set's, and one of no bytes at all.
    for (std::uint16_t length : {4, 0}) {
        Bytes shortNames = TslHeader("TSL1.0", 1, 1, length);
        PutTslRecord(shortNames, "Abcd", length, 0, 1, 1, 1);
        read = ReadExchangeFile(shortNames, 1, 16);
        ASSERT_TRUE(read) << read.failure().text;
        EXPECT_EQ(read->Maps[0].Name.size(), 16u);
        EXPECT_EQ(MapNameText(read->Maps[0].Name), length == 4 ? "Abcd" : "");
    }
}

TEST(ExchangeReaders, ChaosEditTakesNameLengthAndSizeFromEachRecord)
{
    Bytes file = ChaosEditHeader(3, 2);
    PutChaosEditRecord(file, 41, 0, 3, 6, 2, "Tiny", 16);
    PutChaosEditRecord(file, 0xFFFF, 1, 3, 64, 64, "Name of more than 16 bytes", 40);
    for (int planes : {2, 3, 4}) {
        const auto read = ReadExchangeFile(file, planes, 16);
        ASSERT_TRUE(read) << read.failure().text;
        EXPECT_EQ(read->Header.Format, ExchangeFormat::ChaosEdit);
        EXPECT_EQ(read->Header.NumMaps, 2u);
        EXPECT_EQ(read->Header.NumPlanes, 3u);
        ASSERT_EQ(read->Maps.size(), 2u);
        const std::size_t filled = std::min(planes, 3);
        ExpectPatternMap(read->Maps[0], 0, 6, 2, planes, filled, "Tiny");
        ExpectPatternMap(read->Maps[1], 1, 64, 64, planes, filled, "Name of more tha"); // the set's whole field
    }
}

TEST(ExchangeReaders, FloEditAndMapEditTurnColumnsIntoRows)
{
    Bytes floEdit = FloEditHeader(3);
    for (int salt = 0; salt < 3; ++salt)
        PutColumns(floEdit, salt, 2, 64, 64);
    for (int planes : {1, 2, 3}) {
        // A single-plane set still consumes both planes of every record.
        const auto read = ReadExchangeFile(floEdit, planes, 16);
        ASSERT_TRUE(read) << read.failure().text;
        EXPECT_EQ(read->Header.Format, ExchangeFormat::FloEdit);
        EXPECT_EQ(read->Header.NumPlanes, 2u);
        ASSERT_EQ(read->Maps.size(), 3u);
        for (int salt = 0; salt < 3; ++salt)
            ExpectPatternMap(read->Maps[static_cast<std::size_t>(salt)], salt, 64, 64, planes,
                             std::min(planes, 2), "New map");
    }

    Bytes mapEdit;
    PutColumns(mapEdit, 5, 2, 64, 64);
    const auto read = ReadExchangeFile(mapEdit, 3, 32);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Header.Format, ExchangeFormat::MapEdit);
    EXPECT_EQ(read->Header.NumMaps, 1u);
    ASSERT_EQ(read->Maps.size(), 1u);
    EXPECT_EQ(read->Maps[0].Name.size(), 32u);
    ExpectPatternMap(read->Maps[0], 5, 64, 64, 3, 2, "New map");
}

TEST(ExchangeRecognition, SizeFirstThenEachMagicInOrder)
{
    auto detect = [](const Bytes& bytes, std::size_t* position = nullptr) {
        ByteReader reader(bytes);
        const ExchangeFormat format = DetectExchangeFormat(reader);
        if (position)
            *position = reader.Position();
        return format;
    };
    auto startingWith = [](const std::string& start, std::size_t size) {
        Bytes bytes(size, 0x55);
        std::copy(start.begin(), start.end(), bytes.begin());
        return bytes;
    };
    const std::string chaosMagic("CEv1.23\0", 8);

    // 16384 bytes are a floor file, whatever they begin with.
    for (const std::string& start : {std::string("TSL1.0"), std::string("WDC3.1"), std::string("FE1.0"), chaosMagic,
                                     std::string("junk")}) {
        std::size_t position = 99;
        EXPECT_EQ(detect(startingWith(start, 16384), &position), ExchangeFormat::MapEdit) << start;
        EXPECT_EQ(position, 0u);
    }

    struct Case {
        std::string start;
        ExchangeFormat format;
        std::size_t position;
    };
    for (const Case& c : {Case{"FE1.0", ExchangeFormat::FloEdit, 5}, Case{"TSL1.0", ExchangeFormat::TSL, 6},
                          Case{"WDC3.1", ExchangeFormat::WDC, 6}, Case{chaosMagic, ExchangeFormat::ChaosEdit, 8},
                          Case{"CEv1.23x", ExchangeFormat::Unknown, 0}, Case{"TSL1.1", ExchangeFormat::Unknown, 0},
                          Case{"tsl1.0", ExchangeFormat::Unknown, 0}, Case{"FE1.", ExchangeFormat::Unknown, 0}}) {
        for (std::size_t size : {c.start.size(), std::size_t{16383}, std::size_t{16385}}) {
            std::size_t position = 99;
            EXPECT_EQ(detect(startingWith(c.start, size), &position), c.format) << c.start << " " << size;
            EXPECT_EQ(position, c.position) << c.start << " " << size;
        }
    }
    // A magic cut short, and an empty file.
    EXPECT_EQ(detect(Bytes{'T', 'S', 'L', '1', '.'}), ExchangeFormat::Unknown);
    EXPECT_EQ(detect(Bytes(chaosMagic.begin(), chaosMagic.end() - 1)), ExchangeFormat::Unknown);
    EXPECT_EQ(detect(Bytes{}), ExchangeFormat::Unknown);

    const auto unknown = ReadExchangeFile(Bytes{'M', 'Z', 0, 0}, 3, 16);
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.failure().text, "Unknown map file format!");
    EXPECT_EQ(unknown.failure().caption, "Error importing map");
    EXPECT_EQ(unknown.failure().icon, MessageIcon::Error);
}

TEST(ExchangeRecognition, TheWriterFollowsTheExtensionExactlyAsTyped)
{
    EXPECT_EQ(ExportFormatFor("maps/level.tsl", false), ExchangeFormat::TSL);
    EXPECT_EQ(ExportFormatFor("level.flr", true), ExchangeFormat::MapEdit);
    EXPECT_EQ(ExportFormatFor("level.lvl", false), ExchangeFormat::FloEdit);
    EXPECT_EQ(ExportFormatFor("level.map", false), ExchangeFormat::WDC);
    EXPECT_EQ(ExportFormatFor("level.map", true), ExchangeFormat::ChaosEdit);
    EXPECT_EQ(ExportFormatFor("level.old.tsl", false), ExchangeFormat::TSL);
    for (const char* name : {"level.TSL", "level.MAP", "level.Lvl", "level.tsl.bak", "level", "level.", "dir.tsl/level",
                             "level.tsl ", "level.bmp"})
        EXPECT_EQ(ExportFormatFor(name, true), ExchangeFormat::Unknown) << name;

    MapHandler set = PatternSet(3);
    AddPatternMap(set, 64, 64, "Map");
    const std::vector<int> first{0};
    const auto built = BuildExchangeFile(ExchangeFormat::Unknown, first, set);
    ASSERT_FALSE(built);
    EXPECT_EQ(built.failure().text, "Unknown map file format!");
    EXPECT_EQ(built.failure().caption, "Error exporting map");
    EXPECT_EQ(built.failure().icon, MessageIcon::Error);
}
