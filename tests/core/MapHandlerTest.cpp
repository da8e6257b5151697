// The map set's list operations, names and block pasting.

#include "TestUtil.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tsl;
using namespace tsl::test;

namespace {

MapHandler SetOfMaps(int count, int width = 4, int height = 3)
{
    MapHandler set = EmptySet("/nonexistent", DataFileVersion::GameMaps, 2);
    for (int i = 0; i < count; ++i)
        AddBlankMap(set, width, height, "Map" + std::to_string(i));
    return set;
}

} // namespace

TEST(MapNames, TypedNamesLeaveRoomForTheZeroAndStoredOnesKeepEveryByte)
{
    // Sixteen characters typed for a 16-byte field keep fifteen.
    EXPECT_EQ(MapNameText(MakeNameBuffer("ABCDEFGHIJKLMNOP", 16)), "ABCDEFGHIJKLMNO");
    const auto buffer = MakeNameBuffer("Level", 32);
    EXPECT_EQ(buffer.size(), 32u);
    EXPECT_EQ(MapNameText(buffer), "Level");
    EXPECT_TRUE(std::all_of(buffer.begin() + 5, buffer.end(), [](std::uint8_t b) { return b == 0; }));
    // A buffer without any zero is read to its end and no further.
    const std::vector<std::uint8_t> full(4, 'x');
    EXPECT_EQ(MapNameText(full), "xxxx");

    // A name read fills its whole field, zero or not; a longer one is cut
    // to the field, a shorter one zero-filled.
    const std::string accents = "\xC0\xE9\x80\x81\x9D\xFFgh\xE8\xEA\xF1\xD6\x8Ax\xDF\xE9"; // 16 bytes
    const std::vector<std::uint8_t> stored(accents.begin(), accents.end());
    EXPECT_EQ(StoredNameBuffer(stored, 16), stored);
    EXPECT_EQ(MapNameText(StoredNameBuffer(stored, 32)), accents);
    EXPECT_EQ(StoredNameBuffer(stored, 32).size(), 32u);
    EXPECT_EQ(MapNameText(StoredNameBuffer(stored, 8)), accents.substr(0, 8));

    // Confirmed unchanged, the name stays whole; typed, it is cut, one
    // Windows-1252 byte a character.
    EXPECT_EQ(RenamedBuffer(stored, accents, 16), stored);
    EXPECT_EQ(MapNameText(RenamedBuffer(stored, std::string(20, '\xE9'), 16)), std::string(15, '\xE9'));
    EXPECT_EQ(MapNameUtf8(RenamedBuffer(stored, "Caf\xE9", 16)), "Caf\u00E9");
}

TEST(MapRecords, NewMapsHavePlaceholderEntriesAndTheSignature)
{
    MapHandler set = EmptySet("/nonexistent", DataFileVersion::GameMaps, 3);
    const MapList map = set.CreateMap(64, 64, "New map");
    EXPECT_EQ(map.PlaneStart, (std::vector<std::uint32_t>{8, 18, 28}));
    EXPECT_EQ(map.PlaneLength, (std::vector<std::uint16_t>{10, 10, 10}));
    EXPECT_EQ(map.Signature, kMapSignature);
    ASSERT_EQ(map.Planes.size(), 3u);
    EXPECT_EQ(map.Planes[2].size(), 4096u);

    const MapType header = MapHandler::HeaderFor(map);
    EXPECT_EQ(header.Width, 64);
    EXPECT_EQ(MapNameText(header.Name), "New map");
}

TEST(MapRecords, InsertDeleteAndRenumberKeepTheListsInStep)
{
    MapHandler set = SetOfMaps(3);
    MapList extra = set.CreateMap(2, 2, "Extra");
    set.InsertHeader(MapHandler::HeaderFor(extra), 1);
    set.InsertMap(std::move(extra), 1);
    set.RenumberMaps(1, +1);
    ASSERT_EQ(set.NumMaps(), 4);
    ASSERT_EQ(set.Headers.size(), 4u);
    EXPECT_EQ(MapNameText(set.Maps[1].Name), "Extra");
    EXPECT_EQ(MapNameText(set.Maps[2].Name), "Map1");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(set.Maps[static_cast<std::size_t>(i)].Index, i);

    // Deleting the last map leaves both lists one shorter.
    set.DeleteMap(3);
    set.DeleteHeader(3);
    EXPECT_EQ(set.NumMaps(), 3);
    EXPECT_EQ(set.Headers.size(), 3u);
    set.DeleteMap(0);
    set.DeleteHeader(0);
    set.RenumberMaps(0, -1);
    EXPECT_EQ(MapNameText(set.Maps[0].Name), "Extra");
    EXPECT_EQ(set.Maps[1].Index, 1);
}

TEST(PasteBlock, CopiesTheRectanglePlaneByPlaneInsideTheMapOnly)
{
    MapHandler set = SetOfMaps(1, 4, 3);
    // A 3 x 2 source block with a row stride of 5 words.
    std::vector<std::vector<std::uint16_t>> source(2, std::vector<std::uint16_t>(10));
    for (std::uint16_t k = 0; k < 10; ++k) {
        source[0][k] = static_cast<std::uint16_t>(100 + k);
        source[1][k] = static_cast<std::uint16_t>(200 + k);
    }
    // Columns 1..3 of rows 0..1 of the source, placed at (2, 1): the right
    // column and the second row run past the map and are cut there.
    set.PasteBlock(source, 2, 1, 1, 0, 4, 2, 5);
    const std::vector<std::uint16_t> plane0 = {0, 0, 0,   0,  //
                                               0, 0, 101, 102, //
                                               0, 0, 106, 107};
    EXPECT_EQ(set.Maps[0].Planes[0], plane0);
    EXPECT_EQ(set.Maps[0].Planes[1][2 + 1 * 4], 201);
    EXPECT_EQ(set.Maps[0].Planes[1][3 + 2 * 4], 207);
}

TEST(PasteBlock, AFullSizedBlockReplacesTheCurrentMap)
{
    MapHandler set = SetOfMaps(2, 3, 2);
    set.CurrentMap = 1;
    std::vector<std::vector<std::uint16_t>> source = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    set.PasteBlock(source, 0, 0, 0, 0, 3, 2, 3);
    EXPECT_EQ(set.Maps[1].Planes, source);
    EXPECT_EQ(set.Maps[0].Planes[0], std::vector<std::uint16_t>(6, 0));
}

TEST(ExecutableTable, AShortTableLoadsWithAWarningAndRefusesEverySave)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::MapTemp, 3, "CO7");
    set.AddMap(set.CreateMap(8, 8, "Short"));
    ASSERT_FALSE(set.Save());
    // The executable: the marker and the one offset of MAPHEAD.CO7, room for 40 entries.
    const Bytes head = ReadFile(dir / "MAPHEAD.CO7");
    Bytes exe(2 + 4 * 40, 0);
    std::copy(head.begin(), head.begin() + 6, exe.begin());
    WriteFile(dir / "C7.EXE", exe);
    fs::remove(dir / "MAPHEAD.CO7");

    MapHandler loaded;
    auto files = LocateGameFiles(dir.path());
    ASSERT_TRUE(files);
    loaded.UseGameFiles(dir.path(), *files);
    loaded.NumPlanes = 3;
    const LoadReport report = loaded.Load();
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(loaded.NumMaps(), 1);
    const std::string text = "The map table in C7.EXE has room for 40 maps, not 100: the maps can be edited, but not saved!";
    ASSERT_TRUE(report.warning);
    EXPECT_EQ(report.warning->text, text);
    const auto failure = loaded.Save();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, text + "\n\nNo file was changed.");
}
