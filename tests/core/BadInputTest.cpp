// Damaged, truncated and inconsistent game files: clear messages, no reads
// outside the files, and damaged planes loaded as far as they are sound.

#include "TestUtil.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace tsl;
using namespace tsl::test;

namespace {

// A saved set of three 16 x 16 maps with three planes, in `dir`.
MapHandler SavedSet(const TempDir& dir)
{
    MapHandler set = EmptySet(dir.path());
    std::mt19937 random(11);
    for (int i = 0; i < 3; ++i)
        AddRandomMap(set, random, 16, 16, "Map " + std::to_string(i + 1));
    EXPECT_FALSE(set.Save());
    return set;
}

LoadReport TryLoad(const TempDir& dir, MapHandler& set, bool wdc = false)
{
    auto files = LocateGameFiles(dir.path());
    EXPECT_TRUE(files);
    set.UseGameFiles(dir.path(), *files);
    set.NumPlanes = 3;
    set.WDCCompatibleMaps = wdc;
    return set.Load();
}

std::string LoadFailureText(const TempDir& dir, bool wdc = false)
{
    MapHandler set;
    const LoadReport report = TryLoad(dir, set, wdc);
    if (report.ok())
        return "(loaded)";
    EXPECT_EQ(report.failure->caption, "Error loading maps");
    EXPECT_EQ(set.NumMaps(), 0) << "a failed load keeps no maps";
    return report.failure->text;
}

std::size_t RecordOf(const TempDir& dir, int map)
{
    return Get32(ReadFile(dir / "MAPHEAD.WL6"), 2 + 4 * static_cast<std::size_t>(map));
}

void Patch16(const fs::path& file, std::size_t at, std::uint16_t value)
{
    Bytes data = ReadFile(file);
    data[at] = static_cast<std::uint8_t>(value);
    data[at + 1] = static_cast<std::uint8_t>(value >> 8);
    WriteFile(file, data);
}

void Patch32(const fs::path& file, std::size_t at, std::uint32_t value)
{
    Patch16(file, at, static_cast<std::uint16_t>(value));
    Patch16(file, at + 2, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

TEST(BadHeaders, AnUnusableHeaderRecordStopsTheLoadWithAClearMessage)
{
    const std::string damaged = "!\n\nThe map files are damaged; no map was loaded.";
    TempDir dir;
    SavedSet(dir);
    const Bytes head = ReadFile(dir / "MAPHEAD.WL6");
    const Bytes data = ReadFile(dir / "GAMEMAPS.WL6");
    const struct {
        int map;
        std::uint32_t offset;
    } entries[] = {
        {2, 1'000'000},                                   // far past the end
        {3, 0x80000000},                                  // a negative offset
        {1, static_cast<std::uint32_t>(data.size() - 20)}, // a record cut by the end
    };
    for (const auto& e : entries) {
        WriteFile(dir / "MAPHEAD.WL6", head);
        Patch32(dir / "MAPHEAD.WL6", 2 + 4 * static_cast<std::size_t>(e.map - 1), e.offset);
        EXPECT_EQ(LoadFailureText(dir),
                  "The header of map " + std::to_string(e.map) + " lies outside GAMEMAPS.WL6" + damaged);
    }
    WriteFile(dir / "MAPHEAD.WL6", head);
    const std::size_t record = RecordOf(dir, 1);
    for (auto [w, h] : {std::pair{0, 16}, {16, 0}, {257, 16}, {16, 300}}) {
        WriteFile(dir / "GAMEMAPS.WL6", data);
        Patch16(dir / "GAMEMAPS.WL6", record + 18, static_cast<std::uint16_t>(w));
        Patch16(dir / "GAMEMAPS.WL6", record + 20, static_cast<std::uint16_t>(h));
        EXPECT_EQ(LoadFailureText(dir), "The header of map 2 gives an invalid size (" + std::to_string(w) + " x " +
                                            std::to_string(h) + ")" + damaged);
    }
}

TEST(BadHeaders, DamagedMapHeadFilesAreReported)
{
    TempDir dir;
    SavedSet(dir);
    WriteFile(dir / "MAPHEAD.WL6", Bytes{});
    EXPECT_EQ(LoadFailureText(dir), "The MAPHEAD file is empty!");

    // A WDC header cut after its tag, or with no planes.
    WriteFile(dir / "MAPHEAD.WL6", Bytes{0xCD, 0xAB, 0x03});
    EXPECT_EQ(LoadFailureText(dir, true), "The MAPHEAD file is damaged or incomplete!");
    WriteFile(dir / "MAPHEAD.WL6", Bytes{0xCD, 0xAB, 0x00, 0x00});
    EXPECT_EQ(LoadFailureText(dir, true), "The MAPHEAD file says the maps have no planes!");

    // A table that ends at the first 0 entry, whatever follows: map 3's entry is still there.
    TempDir other;
    SavedSet(other);
    Patch32(other / "MAPHEAD.WL6", 6, 0);
    MapHandler set;
    ASSERT_TRUE(TryLoad(other, set).ok());
    EXPECT_EQ(set.NumMaps(), 1);
}

TEST(BadHeaders, AnExecutableWithoutItsTableMarker)
{
    TempDir dir;
    WriteFile(dir / "C7.EXE", Bytes(700, 0x90));
    WriteFile(dir / "MAPTEMP.CO7", std::string("TED5v1.0"));
    EXPECT_EQ(LoadFailureText(dir), "Couldn't find the map table in C7.EXE!");
}

TEST(BadChunks, ADamagedPlaneLoadsAsFarAsItIsSoundAndIsNamed)
{
    TempDir dir;
    const MapHandler saved = SavedSet(dir);
    const std::size_t record = RecordOf(dir, 1);
    // Cut plane 2 of map 2 (index 1) short: its length now ends mid-stream.
    Patch16(dir / "GAMEMAPS.WL6", record + 14, 40);

    MapHandler set;
    const LoadReport report = TryLoad(dir, set);
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(report.damaged, (std::vector<std::string>{"Map 2 \"Map 2\": plane 2"}));
    const auto message = report.DamageMessage();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, "Error loading maps");
    EXPECT_NE(message->text.find("Map 2 \"Map 2\": plane 2"), std::string::npos);
    // The other planes and maps are whole; the damaged one starts as it should.
    EXPECT_EQ(set.Maps[0].Planes, saved.Maps[0].Planes);
    EXPECT_EQ(set.Maps[2].Planes, saved.Maps[2].Planes);
    EXPECT_EQ(set.Maps[1].Planes[0], saved.Maps[1].Planes[0]);
    EXPECT_EQ(set.Maps[1].Planes[2], saved.Maps[1].Planes[2]);
    const auto& got = set.Maps[1].Planes[1];
    const auto& want = saved.Maps[1].Planes[1];
    const auto sound = std::mismatch(got.begin(), got.end(), want.begin()).first - got.begin();
    EXPECT_GT(sound, 0);
    EXPECT_LT(sound, 256);
    EXPECT_TRUE(std::all_of(got.begin() + sound + 1, got.end(), [](std::uint16_t w) { return w == 0; }));
}

TEST(BadChunks, ReferencesOutsideTheOutputAndChunksOutsideTheFile)
{
    TempDir dir;
    SavedSet(dir);
    const std::size_t record = RecordOf(dir, 0);
    const Bytes data = ReadFile(dir / "GAMEMAPS.WL6");
    // Map 1 plane 1: a near reference as the very first item.
    const std::size_t chunk = Get32(data, record);
    Patch16(dir / "GAMEMAPS.WL6", chunk + 2, 0xA705);
    // Map 1 plane 3: a start past the end of the file.
    Patch32(dir / "GAMEMAPS.WL6", record + 8, static_cast<std::uint32_t>(data.size() + 100));
    // Map 3 plane 1: a length running past the end of the file.
    const std::size_t record3 = RecordOf(dir, 2);
    Patch16(dir / "GAMEMAPS.WL6", record3 + 12, 60000);

    MapHandler set;
    const LoadReport report = TryLoad(dir, set);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.damaged, (std::vector<std::string>{"Map 1 \"Map 1\": plane 1", "Map 1 \"Map 1\": plane 3",
                                                        "Map 3 \"Map 3\": plane 1"}));
}

TEST(BadFiles, NoTruncationOrCorruptionReadsOutsideTheFiles)
{
    // Every prefix of the data and header files, and random byte changes:
    // the load either fails with a message or loads, and never reads outside
    // its buffers (the sanitizer build checks that part).
    TempDir source;
    SavedSet(source);
    const Bytes head = ReadFile(source / "MAPHEAD.WL6");
    const Bytes data = ReadFile(source / "GAMEMAPS.WL6");
    TempDir dir;
    auto attempt = [&](const Bytes& h, const Bytes& d) {
        WriteFile(dir / "MAPHEAD.WL6", h);
        WriteFile(dir / "GAMEMAPS.WL6", d);
        MapHandler set;
        const LoadReport report = TryLoad(dir, set);
        if (report.ok())
            EXPECT_EQ(static_cast<std::size_t>(set.NumMaps()), set.Headers.size());
        else
            EXPECT_FALSE(report.failure->text.empty());
    };
    for (std::size_t cut = 0; cut < data.size(); cut += 7)
        attempt(head, Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut)));
    for (std::size_t cut = 0; cut < head.size(); cut += 3)
        attempt(Bytes(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(cut)), data);
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        Bytes d = data;
        for (int k = 0; k < 4; ++k)
            d[random() % d.size()] = static_cast<std::uint8_t>(random());
        attempt(head, d);
    }
}
