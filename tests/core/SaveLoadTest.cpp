// Saving a map set and loading it back, in every storage configuration, and
// the byte layout of the files written.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>

#include <random>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::size_t kFakeTable = 302; // first entry after the marker of FakeExecutable

MapHandler RandomSet(const fs::path& dir, DataFileVersion version, int planes, int maps, std::uint32_t seed,
                     const std::string& extension = "WL6")
{
    MapHandler set = EmptySet(dir, version, planes, extension);
    std::mt19937 random(seed);
    const std::pair<int, int> sizes[] = {{64, 64}, {32, 20}, {1, 1}, {128, 96}, {64, 64}};
    for (int i = 0; i < maps; ++i) {
        auto [w, h] = sizes[i % 5];
        AddRandomMap(set, random, w, h, "Map " + std::to_string(i + 1));
    }
    return set;
}

struct StorageCase {
    const char* what;
    DataFileVersion version;
    bool wdc;
    bool extendedNames;
    const char* executable; // nullptr: MAPHEAD file
    std::string extension;
    int compression = -1; // -1: the data file's own
    // Tags that the maps' words use: the RLEW tag 0x2D2D is a multiple of
    // 0x0F0F like every random word, the Carmack tags 0x0F and 0x1E are high bytes.
    bool wordTags = false;
};

} // namespace

class SaveLoadRoundTrip : public ::testing::TestWithParam<StorageCase> {};

TEST_P(SaveLoadRoundTrip, GivesTheSameMapsWordForWord)
{
    const StorageCase& c = GetParam();
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), c.version, 3, 5, 99, c.extension);
    set.WDCCompatibleMaps = c.wdc;
    set.ExtendedMapNames = c.extendedNames;
    if (c.compression >= 0)
        set.Compression = c.compression;
    if (c.wordTags) {
        set.RLEWTag = 0x2D2D;
        set.NearTag = 0x0F;
        set.FarTag = 0x1E;
    }
    set.NameLength = c.extendedNames && c.version == DataFileVersion::GameMaps ? 32 : 16;
    if (c.executable)
        UseFakeExecutable(set, c.executable);
    // A name that fills its whole field without a zero, with bytes above 0x7F
    // (Windows-1252, the five undefined ones among them), comes back whole.
    const std::string full = "\xC9t\xE9 \x80\x81\x8D\x8F\x90\x9D\xFF: a name of 32 bytes!";
    set.Maps[0].Name.assign(full.begin(), full.begin() + set.NameLength);
    std::vector<int> progress;
    ASSERT_FALSE(set.Save([&](int i, int n) {
        EXPECT_EQ(n, 5);
        progress.push_back(i);
    }));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));

    // The data file starts with the signature and every map ends with "!ID!".
    const Bytes data = ReadFile(set.DataFilePath());
    EXPECT_EQ(std::string(data.begin(), data.begin() + 8), "TED5v1.0");

    // Loaded as LoadSet does, with the Carmack tags the set was saved with.
    MapHandler loaded;
    loaded.UseGameFiles(dir.path(), *LocateGameFiles(dir.path()));
    loaded.NumPlanes = 3;
    loaded.WDCCompatibleMaps = c.wdc;
    loaded.ExtendedMapNames = c.extendedNames;
    loaded.NearTag = set.NearTag;
    loaded.FarTag = set.FarTag;
    const LoadReport report = loaded.Load();
    ASSERT_TRUE(report.ok() && report.damaged.empty()) << (report.failure ? report.failure->text : "damaged");
    EXPECT_EQ(loaded.Extension, c.extension);
    EXPECT_EQ(loaded.HeaderInExecutable, c.executable != nullptr);
    EXPECT_EQ(loaded.NameLength, set.NameLength);
    MapHandler expected = std::move(set);
    if (c.extension == "VSI" || c.extension == "BS6") // plane 2 is not stored for these games
        for (MapList& map : expected.Maps)
            std::fill(map.Planes[2].begin(), map.Planes[2].end(), std::uint16_t{0});
    ExpectSameMaps(expected, loaded);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStorage, SaveLoadRoundTrip,
    ::testing::Values(StorageCase{"GameMaps", DataFileVersion::GameMaps, false, false, nullptr, "WL6"},
                      StorageCase{"MapTemp", DataFileVersion::MapTemp, false, false, nullptr, "WL1"},
                      StorageCase{"GameMapsWdc", DataFileVersion::GameMaps, true, false, nullptr, "WL6"},
                      StorageCase{"GameMapsWdcLongNames", DataFileVersion::GameMaps, true, true, nullptr, "WL6"},
                      StorageCase{"MapTempWdcLongNames", DataFileVersion::MapTemp, true, true, nullptr, "SOD"},
                      StorageCase{"MapTempFloppyExe", DataFileVersion::MapTemp, false, false, "C7.EXE", "CO7"},
                      StorageCase{"MapTempCdExe", DataFileVersion::MapTemp, false, false, "CORR7CD.EXE", "CO7"},
                      StorageCase{"GameMapsCdExe", DataFileVersion::GameMaps, false, false, "CORR7CD.EXE", "CO7"},
                      StorageCase{"MapTempVsi", DataFileVersion::MapTemp, false, false, nullptr, "VSI"},
                      StorageCase{"MapTempBs6", DataFileVersion::MapTemp, false, false, nullptr, "BS6"},
                      // The rule is exact: "vsi" in lower case stores every plane.
                      StorageCase{"MapTempLowerCaseVsi", DataFileVersion::MapTemp, false, false, nullptr, "vsi"},
                      // Compression 0 with a GAMEMAPS file would give RLEW chunks that load
                      // back as Carmack streams; the layout follows the data file instead.
                      StorageCase{"Compression0", DataFileVersion::GameMaps, false, false, nullptr, "WL6", 0},
                      StorageCase{"TagsTheWordsUse", DataFileVersion::GameMaps, false, false, nullptr, "WL6",
                                  -1, true}),
    [](const auto& param) { return std::string(param.param.what); });

TEST(SaveLayout, GameMapsHoldPlanesThenTheRecordAndA402ByteHeader)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 3, 5);
    for (MapList& map : set.Maps) // three 64 x 64 maps
        map = set.CreateMap(64, 64, "Level");
    set.Maps[1].SetWord(0, 3, 4, 0xA712);
    ASSERT_FALSE(set.Save());

    const Bytes head = ReadFile(dir / "MAPHEAD.WL6");
    ASSERT_EQ(head.size(), 402u);
    EXPECT_EQ(Get16(head, 0), 0xABCD);
    for (int i = 3; i < 100; ++i)
        EXPECT_EQ(Get32(head, 2 + 4 * i), 0u) << i;

    const Bytes data = ReadFile(dir / "GAMEMAPS.WL6");
    std::size_t expectedStart = 8;
    for (int i = 0; i < 3; ++i) {
        const std::size_t record = Get32(head, 2 + 4 * i);
        // Carmack layout: the planes come first, back to back, then the record.
        std::size_t end = expectedStart;
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(Get32(data, record + 4 * p), end) << "map " << i << " plane " << p;
            end += Get16(data, record + 12 + 2 * p);
        }
        EXPECT_EQ(record, end);
        EXPECT_EQ(Get16(data, record + 18), 64);
        EXPECT_EQ(Get16(data, record + 20), 64);
        EXPECT_EQ(std::string(data.begin() + record + 22, data.begin() + record + 27), "Level");
        EXPECT_EQ(data[record + 27], 0);
        EXPECT_EQ(std::string(data.begin() + record + 38, data.begin() + record + 42), "!ID!");
        // Each chunk says the RLEW stream it expands to: 0x2000 and one run,
        // or two runs around the one other word.
        EXPECT_EQ(Get16(data, Get32(data, record)), i == 1 ? 16 : 8);
        expectedStart = record + 42;
    }
    EXPECT_EQ(data.size(), expectedStart);
}

TEST(SaveLayout, MapTempHoldsTheRecordThenRlewPlanesAndPadsWithFFFFFFFF)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::MapTemp);
    for (int i = 0; i < 3; ++i)
        AddBlankMap(set, 64, 64, "M");
    ASSERT_FALSE(set.Save());
    const Bytes head = ReadFile(dir / "MAPHEAD.WL6");
    ASSERT_EQ(head.size(), 402u);
    for (int i = 3; i < 100; ++i)
        EXPECT_EQ(Get32(head, 2 + 4 * i), 0xFFFFFFFFu);

    const Bytes data = ReadFile(dir / "MAPTEMP.WL6");
    EXPECT_EQ(Get32(head, 2), 8u);
    constexpr std::size_t kRecord = 6 * 3 + 4 + 16;
    // Record, then each plane's RLEW stream (8 bytes: 0x2000, tag, 4096, 0).
    EXPECT_EQ(Get32(data, 8), 8 + kRecord);
    EXPECT_EQ(Get32(data, 12), 8 + kRecord + 8);
    EXPECT_EQ(Get32(data, 16), 8 + kRecord + 16);
    EXPECT_EQ(Get16(data, 20), 8);
    const Bytes plane(data.begin() + 8 + kRecord, data.begin() + 8 + kRecord + 8);
    EXPECT_EQ(plane, (Bytes{0x00, 0x20, 0xCD, 0xAB, 0x00, 0x10, 0, 0}));
    EXPECT_EQ(std::string(data.begin() + 8 + kRecord + 24, data.begin() + 8 + kRecord + 28), "!ID!");
    EXPECT_EQ(Get32(head, 6), 8 + kRecord + 28);
}

TEST(SaveLayout, TheBytesBetweenTheSignatureAndTheFirstMapAreKept)
{
    // id's files carry three bytes there: a hand-built set with them, its
    // pointers moved past them, resaves byte for byte.
    const Bytes lead = {0xA0, 0xFF, 0xCC};
    for (const DataFileVersion version : {DataFileVersion::GameMaps, DataFileVersion::MapTemp}) {
        TempDir dir;
        MapHandler set = RandomSet(dir.path(), version, 3, 2, 8);
        ASSERT_FALSE(set.Save());
        Bytes head = ReadFile(set.HeaderFilePath()), data = ReadFile(set.DataFilePath());
        data.insert(data.begin() + 8, lead.begin(), lead.end());
        for (std::size_t entry = 2; entry < 10; entry += 4) {
            const std::uint32_t record = Get32(head, entry) + 3;
            PutU32(head.data() + entry, record);
            for (std::size_t p = 0; p < 3; ++p)
                PutU32(data.data() + record + 4 * p, Get32(data, record + 4 * p) + 3);
        }
        WriteFile(set.HeaderFilePath(), head);
        WriteFile(set.DataFilePath(), data);

        const MapHandler loaded = LoadSet(dir.path());
        EXPECT_EQ(loaded.DataLead, lead);
        ExpectSameMaps(set, loaded);
        ASSERT_FALSE(loaded.Save());
        EXPECT_EQ(ReadFile(set.DataFilePath()), data);
        EXPECT_EQ(ReadFile(set.HeaderFilePath()), head);
    }
}

TEST(SaveLayout, VsiAndBs6LeavePlane2OutOfMapTemp)
{
    for (const char* ext : {"VSI", "BS6"}) {
        TempDir dir;
        MapHandler set = RandomSet(dir.path(), DataFileVersion::MapTemp, 3, 1, 3, ext);
        ASSERT_FALSE(set.Save());
        const Bytes data = ReadFile(dir / (std::string("MAPTEMP.") + ext));
        const std::uint32_t s = Get32(data, 8);
        const std::uint16_t l0 = Get16(data, 20);
        const std::uint16_t l1 = Get16(data, 22);
        EXPECT_EQ(s, 8u + 38u);
        EXPECT_EQ(Get32(data, 12), s + l0);
        EXPECT_EQ(Get32(data, 16), 0xFFFFFFFFu);
        EXPECT_EQ(Get16(data, 24), 0);
        // Only two chunks follow the record.
        EXPECT_EQ(data.size(), s + l0 + l1 + 4);
    }
}

TEST(SaveLayout, WdcHeadersCarryPlanesAndNameLength)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 2, 1);
    set.WDCCompatibleMaps = true;
    set.ExtendedMapNames = true;
    set.NameLength = 32;
    ASSERT_FALSE(set.Save());
    const Bytes head = ReadFile(dir / "MAPHEAD.WL6");
    ASSERT_EQ(head.size(), 406u);
    EXPECT_EQ(Get16(head, 0), 0xABCD);
    EXPECT_EQ(Get16(head, 2), 3);
    EXPECT_EQ(Get16(head, 4), 32);
    EXPECT_NE(Get32(head, 6), 0u);

    // The plane count comes from the header, whatever the caller asked for.
    EXPECT_EQ(LoadSet(dir.path(), 7, true, true).NumPlanes, 3);
}

TEST(SaveLayout, NoPaddingFromAHundredMapsOn)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::GameMaps, 1);
    for (int i = 0; i < 101; ++i)
        AddBlankMap(set, 2, 2, "m").Planes[0][0] = static_cast<std::uint16_t>(i);
    // A plain header has room for 100 offsets: refused before any file is written.
    const auto refused = set.Save();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, "The map header holds at most 100 maps, but there are 101!\n\nNo file was changed.");
    EXPECT_FALSE(fs::exists(dir / "MAPHEAD.WL6"));

    set.WDCCompatibleMaps = true;
    ASSERT_FALSE(set.Save());
    EXPECT_EQ(ReadFile(dir / "MAPHEAD.WL6").size(), 2u + 2 + 4 * 101);
    ExpectSameMaps(set, LoadSet(dir.path(), 1, true));
}

TEST(SaveLayout, TheExecutablesTableIsUpdatedInPlace)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 2, 8, "CO7");
    UseFakeExecutable(set, "CORR7CD.EXE");
    ASSERT_FALSE(set.Save());

    const Bytes before = FakeExecutable();
    const Bytes exe = ReadFile(dir / "CORR7CD.EXE");
    ASSERT_EQ(exe.size(), before.size());
    const Bytes head = ReadFile(dir / "MAPHEAD.CO7");
    // The same two offsets as MAPHEAD.CO7, then 98 zero entries (GAMEMAPS).
    EXPECT_EQ(Get32(exe, kFakeTable), Get32(head, 2));
    EXPECT_EQ(Get32(exe, kFakeTable + 4), Get32(head, 6));
    for (int i = 2; i < 100; ++i)
        EXPECT_EQ(Get32(exe, kFakeTable + 4 * i), 0u);
    // Everything outside the table is untouched.
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + kFakeTable, exe.begin()));
    EXPECT_TRUE(std::equal(before.begin() + kFakeTable + 400, before.end(), exe.begin() + kFakeTable + 400));
}

TEST(SaveLayout, FilePlanesAboveAndBelowNumPlanes)
{
    TempDir dir;
    MapHandler three = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 2, 4);
    ASSERT_FALSE(three.Save());

    // Files with three plane entries read into two planes: the third entry is skipped.
    MapHandler two;
    two.UseGameFiles(dir.path(), *LocateGameFiles(dir.path()));
    two.NumPlanes = 2;
    two.FilePlanes = 3;
    ASSERT_TRUE(two.Load().ok());
    for (std::size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(two.Maps[i].Planes.size(), 2u);
        EXPECT_EQ(two.Maps[i].Planes[0], three.Maps[i].Planes[0]);
        EXPECT_EQ(two.Maps[i].Planes[1], three.Maps[i].Planes[1]);
    }

    // Files with two plane entries read into three planes: the third is a
    // zero plane with a placeholder entry.
    two.FilePlanes = 0;
    ASSERT_FALSE(two.Save());
    MapHandler more;
    more.UseGameFiles(dir.path(), *LocateGameFiles(dir.path()));
    more.NumPlanes = 3;
    more.FilePlanes = 2;
    ASSERT_TRUE(more.Load().ok());
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(more.Maps[i].Planes[1], three.Maps[i].Planes[1]);
        EXPECT_EQ(more.Maps[i].Planes[2], std::vector<std::uint16_t>(more.Maps[i].WordCount(), 0));
        EXPECT_EQ(more.Maps[i].PlaneStart[2], 8u);
        EXPECT_EQ(more.Maps[i].PlaneLength[2], 10);
    }
}

TEST(SaveLayout, ALargePlaneOfOneWordSplitsItsRun)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::MapTemp, 2);
    MapList& map = AddBlankMap(set, 256, 256, "Huge");
    std::fill(map.Planes[1].begin(), map.Planes[1].end(), std::uint16_t{0x0101});
    ASSERT_FALSE(set.Save());
    ExpectSameMaps(set, LoadSet(dir.path(), 2));

    TempDir other;
    set.Path = other.path();
    set.FileVersion = DataFileVersion::GameMaps;
    ASSERT_FALSE(set.Save());
    ExpectSameMaps(set, LoadSet(other.path(), 2));
}

TEST(SaveBackups, KeepTheSpellingOfTheFilesFound)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 1, 2, "wl6");
    ASSERT_FALSE(set.Save());
    // The first save has no backups to make, and no temporary file stays behind.
    EXPECT_EQ(ListDirectory(dir.path()), (std::vector<std::string>{"GAMEMAPS.wl6", "MAPHEAD.wl6"}));
    fs::rename(dir / "MAPHEAD.wl6", dir / "maphead.wl6");
    fs::rename(dir / "GAMEMAPS.wl6", dir / "gamemaps.wl6");
    MapHandler loaded = LoadSet(dir.path());
    ASSERT_FALSE(loaded.Save());
    EXPECT_EQ(ListDirectory(dir.path()),
              (std::vector<std::string>{"gamemaps.wl6", "gamemaps.wl6.BAK", "maphead.wl6", "maphead.wl6.BAK"}));
}

TEST(SaveRefusals, WhatCannotBeStoredIsRefusedBeforeAnyFileIsTouched)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::GameMaps, 3, 2, 30);
    ASSERT_FALSE(set.Save());
    const auto before = Snapshot(dir.path());

    // A 256 x 256 plane of varied words does not fit a 16-bit chunk length.
    std::mt19937 random(1);
    for (auto& w : AddBlankMap(set, 256, 256, "Noise").Planes[0])
        w = static_cast<std::uint16_t>(random());
    auto failure = set.Save();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->caption, "Error saving maps");
    EXPECT_NE(failure->text.find("Plane 1 of map 3 \"Noise\""), std::string::npos) << failure->text;
    EXPECT_NE(failure->text.find("65535"), std::string::npos);
    EXPECT_NE(failure->text.find("No file was changed."), std::string::npos);
    EXPECT_EQ(Snapshot(dir.path()), before);

    // Under RLEW only the same plane is refused as well.
    set.FileVersion = DataFileVersion::MapTemp;
    EXPECT_TRUE(set.Save());
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(SaveRefusals, AnExecutablesTableHoldsAtMostAHundredMaps)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::MapTemp, 1, "CO7");
    UseFakeExecutable(set, "C7.EXE");
    for (int i = 0; i < 101; ++i)
        AddBlankMap(set, 2, 2, "m");
    const auto before = Snapshot(dir.path());
    auto failure = set.Save();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("at most 100 maps"), std::string::npos) << failure->text;
    EXPECT_EQ(Snapshot(dir.path()), before);

    // One map less fits exactly.
    set.DeleteMap(100);
    set.DeleteHeader(100);
    EXPECT_FALSE(set.Save());
    EXPECT_EQ(LoadSet(dir.path(), 1).NumMaps(), 100);
}

TEST(SaveRefusals, TheExecutableKeepsItsTableMarker)
{
    TempDir dir;
    MapHandler set = RandomSet(dir.path(), DataFileVersion::MapTemp, 3, 1, 3, "CO7");
    UseFakeExecutable(set, "C7.EXE");
    set.RLEWTag = 0x1234;
    const auto before = Snapshot(dir.path());
    auto failure = set.Save();
    ASSERT_TRUE(failure);
    EXPECT_EQ(Snapshot(dir.path()), before);

    // Without a marker there is no table to update.
    WriteFile(dir / "C7.EXE", Bytes(600, 0x90));
    set.RLEWTag = 0xABCD;
    failure = set.Save();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Couldn't find the map table in C7.EXE!"), std::string::npos);
}

TEST(SaveLoad, AnEmptySetSavesAndLoads)
{
    TempDir dir;
    MapHandler set = EmptySet(dir.path());
    ASSERT_FALSE(set.Save());
    EXPECT_EQ(ReadFile(dir / "MAPHEAD.WL6").size(), 402u);
    EXPECT_EQ(LoadSet(dir.path()).NumMaps(), 0);
}
