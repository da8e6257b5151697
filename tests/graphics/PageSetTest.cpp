// The page file written back: id's own file byte for byte, hand-built sets
// with empty chunks and sounds over one and three chunks, the sound table
// kept in step, pictures added and removed, and a save that fails at any
// step of the disk leaving the old file whole.

#include "GraphicsTestUtil.h"
#include "TestUtil.h"
#include "core/FileSystem.h"
#include "graphics/PageFileSaving.h"
#include "graphics/PageSet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

using namespace tsl;
using namespace tsl::test;

namespace {

PageSet SetOf(const Bytes& file)
{
    auto parsed = PageFile::Parse(file, "VSWAP.TST");
    EXPECT_TRUE(parsed) << parsed.failure().text;
    return parsed ? PageSet::From(*parsed) : PageSet{};
}

Bytes Encoded(const PageSet& set)
{
    auto bytes = set.Encode();
    EXPECT_TRUE(bytes) << bytes.failure().text;
    return bytes ? *bytes : Bytes{};
}

Bytes SoundTable(const std::vector<std::pair<int, int>>& entries)
{
    Bytes table;
    for (const auto& [start, length] : entries) {
        Put16(table, static_cast<std::uint16_t>(start));
        Put16(table, static_cast<std::uint16_t>(length));
    }
    return table;
}

// Two walls (one empty), a sprite, a sound of one chunk, one of three and a
// sound left out (its chunk empty), then the table.
Bytes HandBuilt()
{
    const Bytes sprite = TestSprite(7, 8, {{7, {{60, 64, TestPixels(4, 90)}}}, {8, {{0, 3, TestPixels(3, 5)}}}});
    return TestPageFile({TestWall(5), {}, sprite, TestPixels(100, 1), Bytes(4096, 2), Bytes(4096, 3),
                         TestPixels(10, 4), {}, SoundTable({{0, 100}, {1, 8202}, {4, 555}})},
                        2, 3);
}

} // namespace

TEST(PageSet, TheSharewareFileIsWrittenBackByteForByte)
{
    const auto path = RealPageFileWL1();
    if (!path)
        GTEST_SKIP() << "no VSWAP.WL1";
    const Bytes original = ReadFile(*path);
    EXPECT_EQ(Encoded(SetOf(original)), original);
}

TEST(PageSet, HandBuiltSetsKeepTheirChunksAndSounds)
{
    const PageSet set = SetOf(HandBuilt());
    const Bytes written = Encoded(set);
    // The layout: the header padded to 4096, chunks at 512-byte boundaries,
    // empty chunks at offset 0, the file ending on a boundary.
    const std::vector<std::uint32_t> offsets = {4096, 0, 8192, 8704, 9216, 13312, 17408, 0, 17920};
    for (std::size_t i = 0; i < offsets.size(); ++i)
        EXPECT_EQ(Get32(written, 6 + 4 * i), offsets[i]) << i;
    EXPECT_EQ(written.size(), 18432u);
    EXPECT_TRUE(std::all_of(written.begin() + 6 + 6 * 9, written.begin() + 4096, [](std::uint8_t b) { return b == 0; }));

    const PageSet back = SetOf(written);
    EXPECT_TRUE(back == set);
    EXPECT_EQ(Encoded(back), written);
    const std::vector<DigitisedSound> sounds = {{0, 3, 1, 100, 100}, {1, 4, 3, 8202, 8202}, {2, 7, 1, 555, 0}};
    EXPECT_EQ(back.Sounds(), sounds);
    EXPECT_EQ(back.SoundSamples(0), TestPixels(100, 1));
    Bytes three(4096, 2);
    three.insert(three.end(), 4096, 3);
    three.insert(three.end(), 10, 0);
    std::copy_n(TestPixels(10, 4).begin(), 10, three.end() - 10);
    EXPECT_EQ(back.SoundSamples(1), three);
    EXPECT_TRUE(back.SoundSamples(2).empty());
    EXPECT_EQ(back.KindOf(1), ChunkKind::Empty);
    EXPECT_EQ(back.KindOf(8), ChunkKind::SoundTable);
}

TEST(PageSet, ASoundReplacedMovesTheLaterSoundsAndTheTableFollows)
{
    PageSet set = SetOf(HandBuilt());
    const Bytes longer(9000, 77);
    ASSERT_FALSE(set.ReplaceSound(0, longer));
    const PageSet back = SetOf(Encoded(set));
    const std::vector<DigitisedSound> sounds = {{0, 3, 3, 9000, 9000}, {1, 6, 3, 8202, 8202}, {2, 9, 1, 555, 0}};
    EXPECT_EQ(back.Sounds(), sounds);
    EXPECT_EQ(back.SoundSamples(0), longer);
    EXPECT_EQ(back.ChunkAt(4)->size(), 4096u);
    EXPECT_EQ(back.ChunkAt(5)->size(), 808u);
    EXPECT_EQ(back.SoundSamples(1), SetOf(HandBuilt()).SoundSamples(1));

    // A sound added goes after the last one, before the table; one removed
    // takes its chunks with it and the later sounds move down.
    auto added = set.AddSound(Bytes(5000, 9));
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 3);
    ASSERT_FALSE(set.RemoveSound(0));
    const PageSet after = SetOf(Encoded(set));
    const std::vector<DigitisedSound> left = {{0, 3, 3, 8202, 8202}, {1, 6, 1, 555, 0}, {2, 7, 2, 5000, 5000}};
    EXPECT_EQ(after.Sounds(), left);
    EXPECT_EQ(after.SoundSamples(0), SetOf(HandBuilt()).SoundSamples(1));
    EXPECT_EQ(after.SoundSamples(2), Bytes(5000, 9));
    EXPECT_EQ(after.ChunkCount(), 10);

    const struct {
        int number;
        std::size_t size;
        std::string message;
    } refusals[] = {
        {3, 10, "The page file has no sound 3."},
        {0, 0, "The new sound has no samples."},
        {0, 65536, "The new sound is 65536 bytes long, more than the 65535 bytes (9.3 seconds) the game plays."},
    };
    for (const auto& r : refusals) {
        auto failure = set.ReplaceSound(r.number, Bytes(r.size, 1));
        ASSERT_TRUE(failure) << r.message;
        EXPECT_EQ(failure->text, r.message);
    }
}

TEST(PageSet, NoSoundChangesWhileTheTableListsMoreThanTheGameReads)
{
    // Sound 1 starts past the table: the game reads sound 0 alone, and sound
    // 0 then runs over sound 2's chunks to the table.
    const Bytes sprite = TestSprite(7, 8, {{7, {{60, 64, TestPixels(4, 90)}}}});
    const Bytes file = TestPageFile({TestWall(5), sprite, TestPixels(100, 1), TestPixels(50, 4),
                                     SoundTable({{0, 100}, {9, 8}, {1, 50}})},
                                    1, 2);
    PageSet set = SetOf(file);
    const Bytes before = Encoded(set);
    ASSERT_EQ(set.Sounds().size(), 1u);
    const std::string cut = "The sound table lists 3 sounds, but the game reads only the first 1: sound 1 starts at or "
                            "past the table. The sounds of this file are left as they are, so that no chunk of the "
                            "sounds after it is lost.";
    EXPECT_EQ(set.ReplaceSound(0, Bytes(10, 1))->text, cut);
    EXPECT_EQ(set.AddSound(Bytes(10, 1)).failure().text, cut);
    EXPECT_EQ(set.RemoveSound(0)->text, cut);
    EXPECT_EQ(Encoded(set), before);
}

// Every other sound's samples, by number, for the sets below.
std::vector<Bytes> EverySound(const PageSet& set)
{
    std::vector<Bytes> samples;
    for (const DigitisedSound& sound : set.Sounds())
        samples.push_back(set.SoundSamples(sound.number));
    return samples;
}

TEST(PageSet, ASoundChangedKeepsEveryOtherSoundsSamples)
{
    std::vector<PageSet> sets{SetOf(HandBuilt())};
    if (const auto path = RealPageFileWL1())
        sets.push_back(SetOf(ReadFile(*path)));
    for (const PageSet& original : sets) {
        const std::vector<Bytes> before = EverySound(original);
        const int last = static_cast<int>(before.size()) - 1;
        for (const int number : {0, last / 2, last}) {
            SCOPED_TRACE("sound " + std::to_string(number) + " of " + std::to_string(before.size()));
            PageSet set = original;
            ASSERT_FALSE(set.ReplaceSound(number, Bytes(5000, 7)));
            std::vector<Bytes> expected = before;
            expected[static_cast<std::size_t>(number)] = Bytes(5000, 7);
            EXPECT_EQ(EverySound(SetOf(Encoded(set))), expected);
            ASSERT_FALSE(set.RemoveSound(number));
            expected.erase(expected.begin() + number);
            EXPECT_EQ(EverySound(SetOf(Encoded(set))), expected);
            ASSERT_TRUE(set.AddSound(Bytes(300, 9)));
            expected.push_back(Bytes(300, 9));
            EXPECT_EQ(EverySound(SetOf(Encoded(set))), expected);
        }
    }
}

// Two entries of the table over the same chunks: the engine plays both from
// them, but a sound replaced, added or removed would take the other's chunks
// with it. Such a file is read and played, and its sounds are left alone.
TEST(PageSet, NoSoundChangesWhileTwoSoundsShareChunks)
{
    const Bytes sprite = TestSprite(7, 8, {{7, {{60, 64, TestPixels(4, 90)}}}});
    const auto file = [&](std::vector<std::pair<int, int>> table) {
        return TestPageFile({TestWall(5), sprite, TestPixels(100, 1), Bytes(4096, 2), Bytes(4096, 3),
                             TestPixels(10, 4), SoundTable(table)},
                            1, 2);
    };
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"Sounds 0 and 1 of the sound table share chunk 2.", file({{0, 100}, {0, 100}, {1, 8202}})},
        {"Sounds 0 and 2 of the sound table share chunk 2.", file({{0, 100}, {1, 8202}, {0, 10}})},
        {"Sounds 0 and 1 of the sound table share chunk 2.", file({{0, 100}, {0, 100}, {0, 100}})},
    };
    // The shareware file with entry 1 the same as entry 0, and entry 45 at the first chunk.
    if (const auto path = RealPageFileWL1()) {
        Bytes shareware = ReadFile(*path);
        const std::size_t table = Get32(shareware, 6 + 4 * 662);
        Bytes twice = shareware, last = shareware;
        std::copy_n(twice.begin() + static_cast<std::ptrdiff_t>(table), 4, twice.begin() + static_cast<std::ptrdiff_t>(table) + 4);
        std::fill_n(last.begin() + static_cast<std::ptrdiff_t>(table) + 4 * 45, 2, 0);
        cases.emplace_back("Sounds 0 and 1 of the sound table share chunk 542.", twice);
        cases.emplace_back("Sounds 0 and 45 of the sound table share chunk 542.", last);
    }
    for (const auto& [shared, bytes] : cases) {
        SCOPED_TRACE(shared);
        PageSet set = SetOf(bytes);
        const Bytes before = Encoded(set);
        const std::string refusal = shared + " The sounds of this file are left as they are, so that no sound loses its "
                                    "chunks to another.";
        const auto said = [](const std::optional<Failure>& failure) { return failure ? failure->text : "done"; };
        for (int number = 0; number < 3; ++number) {
            EXPECT_EQ(said(set.ReplaceSound(number, Bytes(10, 1))), refusal);
            EXPECT_EQ(said(set.RemoveSound(number)), refusal);
        }
        const auto added = set.AddSound(Bytes(10, 1));
        EXPECT_EQ(added ? "done" : added.failure().text, refusal);
        EXPECT_EQ(Encoded(set), before);
    }
}

TEST(PageSet, AddingAndRemovingPicturesShiftsOnlyWhatFollows)
{
    // Ten walls, the last eight of them doors; two sprites; one sound.
    std::vector<Bytes> chunks;
    for (int i = 0; i < 10; ++i)
        chunks.push_back(TestWall(i));
    const Bytes sprite = TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}});
    chunks.insert(chunks.end(), {sprite, sprite, Bytes(10, 1), SoundTable({{0, 10}})});
    PageSet set = SetOf(TestPageFile(chunks, 10, 12));

    // A wall is added with both its sides, so that every later wall keeps its pair.
    auto wall = set.AddWall(TestWall(99));
    ASSERT_TRUE(wall);
    EXPECT_EQ(*wall, 2) << "before the doors";
    EXPECT_EQ(*set.ChunkAt(3), TestWall(99)) << "its dark side";
    EXPECT_EQ(set.FirstSpriteChunk(), 12);
    EXPECT_EQ(set.FirstSoundChunk(), 14);
    EXPECT_EQ(*set.ChunkAt(4), TestWall(2)) << "the doors moved up";
    auto added = set.AddSprite(TestSprite(0, 0, {}));
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 14);
    EXPECT_EQ(set.FirstSoundChunk(), 15);
    EXPECT_EQ(SetOf(Encoded(set)).SoundSamples(0), Bytes(10, 1)) << "the table counts from the first sound";

    ASSERT_FALSE(set.Replace(0, TestWall(50)));
    EXPECT_EQ(set.FirstSpriteChunk(), 12) << "replacing moves nothing";
    EXPECT_EQ(set.Remove(4)->text,
              "Chunk 4 is a door picture: the engine takes the last 8 wall chunks for its doors, so they stay.");
    ASSERT_FALSE(set.Remove(3)) << "the dark side takes the light one with it";
    ASSERT_FALSE(set.Remove(12));
    PageSet expected = SetOf(TestPageFile(chunks, 10, 12));
    ASSERT_FALSE(expected.Replace(0, TestWall(50)));
    EXPECT_TRUE(set == expected);

    // A wall added in the middle moves the later walls and the doors up.
    auto inserted = set.AddWall(TestWall(77), 0);
    ASSERT_TRUE(inserted);
    EXPECT_EQ(*inserted, 0);
    EXPECT_EQ(*set.ChunkAt(1), TestWall(77));
    EXPECT_EQ(*set.ChunkAt(2), TestWall(50)) << "the wall that was first";
    EXPECT_EQ(set.FirstSpriteChunk(), 12);
    EXPECT_EQ(set.AddWall(TestWall(1), 1).failure().text, "Chunk 1 is not where a wall begins.");
    ASSERT_FALSE(set.Remove(0));
    EXPECT_TRUE(set == expected);

    EXPECT_EQ(set.Replace(1, Bytes(100, 0))->text, "A wall is 4096 bytes, not 100.");
    EXPECT_EQ(set.Replace(10, Bytes{0, 0, 64, 0})->text,
              "The new sprite has the columns 0 to 64, outside 0 to 63.");
    EXPECT_EQ(set.Remove(12)->text, "Chunk 12 is no wall or sprite of the page file.");
}

TEST(PageSet, ASaveThatFailsAtAnyStepLeavesTheOldFile)
{
    TempDir dir;
    TempDir backups;
    const Bytes old = HandBuilt();
    PageSet set = SetOf(old);
    ASSERT_FALSE(set.Replace(0, TestWall(42)));
    const Bytes written = Encoded(set);
    const BackupPolicy policy{backups.path(), 5};
    for (int at = 1;; ++at) {
        SCOPED_TRACE("step " + std::to_string(at));
        WriteFile(dir / "VSWAP.TST", old);
        std::optional<Failure> failure;
        int steps = 0;
        {
            DiskFaults faults(at);
            failure = SavePageFile(set, dir / "VSWAP.TST", policy);
            steps = faults.Steps();
        }
        const Bytes now = ReadFile(dir / "VSWAP.TST");
        if (failure) {
            EXPECT_EQ(now, old);
            EXPECT_NE(failure->text.find("The previous page file was kept."), std::string::npos) << failure->text;
        } else {
            EXPECT_EQ(now, written);
            EXPECT_EQ(ReadFile(dir / "VSWAP.TST.BAK"), old);
        }
        if (steps < at)
            break;
    }
    // The generation holds the page file, and a restore puts it back.
    const auto generations = ListGenerations(GenerationsFolder(policy, dir.path()));
    ASSERT_FALSE(generations.empty());
    EXPECT_TRUE(generations.back().PageFile);
    auto content = ReadGeneration(generations.back());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->GameFiles.front().Content, old);
}

TEST(PageSet, ASaveKilledAtAnyStepLeavesTheOldFileTheNewOneOrSaysHowToGetItBack)
{
    TempDir dir;
    const Bytes old = HandBuilt();
    PageSet set = SetOf(old);
    ASSERT_FALSE(set.Replace(0, TestWall(42)));
    const Bytes written = Encoded(set);
    int interruptions = 0;
    for (int at = 1;; ++at) {
        SCOPED_TRACE("killed at step " + std::to_string(at));
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        WriteFile(dir / "VSWAP.TST", old);
        const pid_t child = fork();
        if (child == 0) {
            DiskFaults kill([at](int number, DiskStep, const fs::path&) {
                if (number == at)
                    _exit(9);
                return 0;
            });
            _exit(SavePageFile(set, dir / "VSWAP.TST", BackupPolicy{}) ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 0) {
            EXPECT_EQ(ReadFile(dir / "VSWAP.TST"), written);
            break; // the save ran to its end
        }
        ASSERT_EQ(WEXITSTATUS(status), 9);
        auto interrupted = DescribeInterruptedPageSave(dir.path(), "TST");
        if (!interrupted) {
            const Bytes now = ReadFile(dir / "VSWAP.TST");
            EXPECT_TRUE(now == old || now == written);
            // The next save removes what the killed one left, and says which.
            std::vector<std::string> left;
            for (const std::string& name : ListDirectory(dir.path()))
                if (IsTemporaryName(name))
                    left.push_back(name);
            std::string tidied;
            ASSERT_FALSE(SavePageFile(set, dir / "VSWAP.TST", BackupPolicy{}, nullptr, &tidied));
            for (const std::string& name : ListDirectory(dir.path()))
                EXPECT_FALSE(IsTemporaryName(name)) << name;
            if (left.empty())
                EXPECT_EQ(tidied, "");
            else
                EXPECT_EQ(tidied, "Removed " + JoinAnd(left) + ", left in " + dir.path().string() + " by " +
                                      (left.size() == 1 ? "a save of the page file that was interrupted."
                                                        : "saves of the page file that were interrupted."));
            continue;
        }
        EXPECT_EQ(interrupted->text, "There is no page file VSWAP.TST in " + dir.path().string() +
                                         ", but its backup VSWAP.TST.BAK is there: an earlier save was interrupted. "
                                         "Rename VSWAP.TST.BAK to VSWAP.TST to get the previous page file back.");
        EXPECT_EQ(ReadFile(dir / "VSWAP.TST.BAK"), old);
        ++interruptions;
    }
    EXPECT_EQ(interruptions, 1) << "between the two renames";
}

TEST(PageSet, TheNextSaveRemovesOnlyLeftoversOfThePageFileAndKeepsOneItCannotRemove)
{
    TempDir dir;
    const Bytes old = HandBuilt();
    WriteFile(dir / "VSWAP.TST", old);
    const std::vector<std::string> ours = {".VSWAP.TST.tesselar-0a1b2c3d", ".vswap.tst.tesselar-zz99zz99"};
    const std::vector<std::string> others = {".VSWAP.TST.tesselar-short", ".GAMEMAPS.TST.tesselar-0a1b2c3d",
                                             "VSWAP.TST.tesselar-0a1b2c3d", ".VSWAP.TST.tesselar-link0000"};
    for (const std::string& name : ours)
        WriteFile(dir / name, Bytes{1});
    for (const std::string& name : others)
        if (name.ends_with("link0000"))
            fs::create_symlink(dir / "VSWAP.TST", dir / name); // never followed, never removed
        else
            WriteFile(dir / name, Bytes{1});
    std::string tidied;
    {
        // The first leftover cannot be removed: the save stands, the leftover stays unnamed.
        DiskFaults faults([&](int, DiskStep step, const fs::path& path) {
            return step == DiskStep::Remove && path.filename() == ours[0] ? EACCES : 0;
        });
        ASSERT_FALSE(SavePageFile(SetOf(old), dir / "VSWAP.TST", BackupPolicy{}, nullptr, &tidied));
    }
    EXPECT_EQ(tidied, "Removed .vswap.tst.tesselar-zz99zz99, left in " + dir.path().string() +
                          " by a save of the page file that was interrupted.");
    std::vector<std::string> expected = others;
    expected.insert(expected.end(), {ours[0], "VSWAP.TST", "VSWAP.TST.BAK"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListDirectory(dir.path()), expected);
}
