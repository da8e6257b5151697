// The real game data beside the repository, when it is there: every set
// loads with the facts anyone can see in its files, and an untouched one
// saves back byte for byte.

#include "CarmackOracle.h"
#include "TestUtil.h"
#include "core/Compression.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

struct KnownSet {
    std::string folder;
    int maps;
    std::string firstName;
    std::string lastName;
};

const KnownSet kKnown[] = {
    {"wl1", 10, "Wolf1 Map1", "Wolf1 Secret"},
    {"sdm", 2, "Tunnels 1", "Tunnels 2"},
};

} // namespace

TEST(RealGames, LoadWithTheirKnownFacts)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    for (const KnownSet& known : kKnown) {
        const auto dir = std::find(sets.begin(), sets.end(), sets.front().parent_path() / known.folder);
        if (dir == sets.end())
            continue;
        const MapHandler set = LoadSet(*dir);
        ASSERT_EQ(set.NumMaps(), known.maps) << known.folder;
        EXPECT_EQ(MapNameText(set.Maps.front().Name), known.firstName);
        EXPECT_EQ(MapNameText(set.Maps.back().Name), known.lastName);
        EXPECT_EQ(set.RLEWTag, 0xABCD);
        EXPECT_EQ(set.Compression, 1);
        for (const MapList& map : set.Maps) {
            EXPECT_EQ(map.Width, 64);
            EXPECT_EQ(map.Height, 64);
            EXPECT_EQ(map.Signature, kMapSignature);
            // Every level has walls and a player start.
            const auto& objects = map.Planes[1];
            EXPECT_TRUE(std::any_of(objects.begin(), objects.end(), [](std::uint16_t w) { return w >= 19 && w <= 22; }))
                << MapNameText(map.Name);
        }
    }
}

TEST(RealGames, AnUntouchedSetSavesBackByteForByte)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    for (const fs::path& original : sets) {
        TempDir copy;
        CopyGame(original, copy.path());
        const MapHandler loaded = LoadSet(copy.path());
        ASSERT_FALSE(loaded.Save()) << original;
        // The compressors give exactly the chunks the game shipped with, in
        // id's layout, with the bytes after the data file's signature.
        for (const fs::path& file : {loaded.HeaderFilePath(), loaded.DataFilePath()}) {
            EXPECT_EQ(ReadFile(file), ReadFile(original / file.filename())) << file;
            EXPECT_EQ(ReadFile(file.string() + ".BAK"), ReadFile(original / file.filename())) << "the backup";
        }
    }
}

TEST(RealGames, TheIndexedCompressorEqualsTheExhaustiveSearchOnEveryPlane)
{
    std::vector<fs::path> sets = RealGameSets();
    sets.push_back(SampleGameDir());
    for (const fs::path& dir : sets) {
        const MapHandler set = LoadSet(dir);
        for (const MapList& map : set.Maps)
            for (const auto& plane : map.Planes) {
                const Bytes rlew = RLEWCompress(plane, set.RLEWTag);
                ASSERT_EQ(CarmackCompress(rlew, 0xA7, 0xA8), CarmackCompressExhaustive(rlew, 0xA7, 0xA8))
                    << dir << " " << MapNameText(map.Name);
            }
    }
}
