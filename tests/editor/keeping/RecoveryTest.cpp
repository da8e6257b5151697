// Autosave and recovery: a session killed after an autosave gives its words
// back, and its page file's changes with them; a damaged or foreign recovery
// file is refused whole; the question names the time and what was kept, "No"
// puts the files aside and old ones go after 30 days; a failed autosave is
// told once and leaves the last one whole.

#include "EditorTestUtil.h"
#include "GraphicsTestUtil.h"
#include "editor/keeping/KeptPages.h"
#include "editor/keeping/Recovery.h"
#include "graphics/PageFile.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace tsl;
using namespace tsl::test;
using namespace std::chrono;

namespace {

const MemoryProjectOptions kTwoMaps{{{16, 16}, {24, 8}}, 3, {}, false};

// Words in two planes of both maps, in one transaction.
void Edit(EditorSession& session)
{
    auto change = session.Document().Begin();
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {3, 2}})
        change.SetWord(0, 0, x, y, 7);
    change.SetWord(0, 1, 15, 15, 9);
    change.SetWord(1, 0, 23, 7, 3);
    change.SetWord(1, 0, 22, 7, 3);
    change.Commit();
    session.NextMap();
}

const EditorPlace kPlace{1, 3, {4, 5, 6}, {0, 7, 0}};

Bytes RecoveryBytes(const MapHandler& maps, const fs::path& file)
{
    EXPECT_FALSE(WriteRecoveryFile(file, RecoverySnapshot(maps)));
    return ReadFile(file);
}

// A page file of two walls, the door chunks, a sprite and a sound.
Bytes PageFileBytes()
{
    std::vector<Bytes> chunks;
    for (int i = 0; i < 12; ++i)
        chunks.push_back(TestWall(i));
    Bytes table;
    Put16(table, 0);
    Put16(table, 300);
    chunks.insert(chunks.end(), {TestSprite(3, 3, {{3, {{1, 2, TestPixels(1, 9)}}}}), TestPixels(300, 5), table});
    return TestPageFile(chunks, 12, 13);
}

PictureFile Flat(std::uint32_t colour)
{
    PictureFile picture;
    picture.width = picture.height = 64;
    picture.pixels.assign(4096, colour);
    return picture;
}

// A wall replaced and a sound imported, as "Game Pictures and Sounds" does.
void EditPages(PageDocument& pages, std::uint32_t colour)
{
    Palette palette;
    for (std::uint32_t i = 0; i < 256; ++i)
        palette.colours[i] = 0xFF000000u | i << 16 | i << 8 | i;
    EXPECT_FALSE(pages.ReplacePicture(2, Flat(colour), palette));
    EXPECT_TRUE(pages.AddSound(Bytes(5000, 0x80)));
}

} // namespace

TEST(Recovery, AnEditingSessionKilledAfterItsAutosaveGivesTheExactWordsBack)
{
    TempDir dir, childFolder, expectedFolder, reopenedFolder;
    const fs::path file = RecoveryFilePath(dir / "Recovery", dir / "game");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        auto session = MemorySession(childFolder.path(), kTwoMaps);
        Edit(*session);
        Autosaver autosaver(file);
        autosaver.Save(session->Maps(), kPlace);
        autosaver.Wait();
        (void)!::write(ready[1], "x", 1);
        ::pause(); // editing on, until killed
        ::_exit(1);
    }
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    auto expected = MemorySession(expectedFolder.path(), kTwoMaps);
    Edit(*expected);
    auto reopened = MemorySession(reopenedFolder.path(), kTwoMaps); // the game as its files hold it
    reopened->GoToLevel(1);
    EXPECT_TRUE(RecoveryIsNewer(file, reopened->Maps())); // (this game has no map files at all)
    auto recovered = ReadRecoveryFile(file, reopened->Maps());
    ASSERT_TRUE(recovered) << recovered.failure().text;
    UseRecoveredMaps(reopened->Document(), std::move(*recovered));
    EXPECT_EQ(ReadPlaceFile(PlaceFilePath(file)), kPlace) << "where the work was, to return to";
    const MapHandler& got = reopened->Maps();
    ASSERT_EQ(got.NumMaps(), 2);
    EXPECT_EQ(got.Headers.size(), 2u);
    EXPECT_EQ(got.CurrentMap, 0);
    EXPECT_TRUE(reopened->Changed());
    EXPECT_FALSE(reopened->CanUndo());
    for (std::size_t i = 0; i < 2; ++i) {
        const MapList& want = expected->Maps().Maps[i];
        EXPECT_EQ(got.Maps[i].Planes, want.Planes) << i;
        EXPECT_EQ(got.Maps[i].Name, want.Name) << i;
        EXPECT_EQ(std::pair(got.Maps[i].Width, got.Maps[i].Height), std::pair(want.Width, want.Height)) << i;
    }
}

// The page file's changes are kept beside the maps' and come back with them,
// from the last autosave that was whole: a kill in the middle of the next one
// (through the file-system seam) leaves the one before.
TEST(Recovery, APageFileChangedAndKilledInTheNextAutosaveIsOfferedBackWithTheMaps)
{
    TempDir dir, childFolder, expectedFolder, reopenedFolder;
    const fs::path file = RecoveryFilePath(dir / "Recovery", dir / "game");
    const fs::path pageFile = dir / "VSWAP.TST";
    WriteFile(pageFile, PageFileBytes());
    const pid_t child = ::fork();
    if (child == 0) {
        auto session = MemorySession(childFolder.path(), kTwoMaps);
        auto pages = PageDocument::Open(pageFile);
        KeptPages kept(*pages);
        AutosavePolicy policy(file, session->Document(), {&kept});
        Edit(*session);
        EditPages(*pages, 0xFF303030u);
        policy.Tick(kPlace);
        policy.Saver().Wait();
        EditPages(*pages, 0xFF909090u);
        DiskFaults kill([&](int, DiskStep step, const fs::path& path) {
            if (step == DiskStep::Rename && path.extension() != ".place")
                ::_exit(9); // the new page recovery complete, not yet in place
            return 0;
        });
        policy.Tick(kPlace);
        policy.Saver().Wait();
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);

    auto expectedMaps = MemorySession(expectedFolder.path(), kTwoMaps);
    Edit(*expectedMaps);
    auto expectedPages = PageDocument::Open(pageFile);
    EditPages(*expectedPages, 0xFF303030u);
    auto reopened = MemorySession(reopenedFolder.path(), kTwoMaps);
    auto pages = PageDocument::Open(pageFile);
    KeptPages kept(*pages);
    EXPECT_TRUE(RecoveryIsNewer(file, reopened->Maps(), {&kept}));
    EXPECT_FALSE(RecoveryIsNewer(file, reopened->Maps())) << "a recovery file nobody claims is not offered";
    const Question question = RecoveryQuestion(file, *RecoveryTime(file), {&kept});
    EXPECT_EQ(question.text, "Unsaved changes to these maps and VSWAP.TST were autosaved at " +
                                 LocalTimeText(*RecoveryTime(file)) +
                                 ".\n\nDo you wish to recover them?\n\nYes: the recovered maps and VSWAP.TST replace the "
                                 "ones just loaded; nothing is written to the game files until you save.\nNo: the "
                                 "recovery files are put aside in " +
                                 file.parent_path().string() + " for 30 days; Import Map opens the maps' file.");

    auto work = ReadRecovery(file, reopened->Maps(), {&kept});
    ASSERT_TRUE(work) << work.failure().text;
    EXPECT_EQ(work->Place, kPlace);
    UseRecoveredWork(reopened->Document(), std::move(*work));
    EXPECT_TRUE(pages->Pages() == expectedPages->Pages());
    EXPECT_TRUE(pages->Changed());
    EXPECT_FALSE(pages->CanUndo());
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(reopened->Maps().Maps[i].Planes, expectedMaps->Maps().Maps[i].Planes) << i;
    EXPECT_EQ(ReadFile(pageFile), PageFileBytes()) << "the game's page file waits for a save";
}

TEST(Recovery, ADamagedPageRecoveryRefusesTheWholeRecoveryAndChangesNothing)
{
    TempDir dir;
    const fs::path file = dir / "Recovery" / "game-0a1b2c3d.tsl";
    const fs::path keptFile = KeptFilePath(file, "vswap");
    WriteFile(dir / "VSWAP.TST", PageFileBytes());
    auto session = MemorySession(dir.path(), kTwoMaps);
    auto pages = PageDocument::Open(dir / "VSWAP.TST");
    KeptPages kept(*pages);
    const PageSet before = pages->Pages();
    const Bytes good = PageFileBytes();
    const Bytes cut(good.begin(), good.end() - 4096);
    const auto parsed = PageFile::Parse(cut, "VSWAP.TST");
    ASSERT_FALSE(parsed);
    const struct {
        const char* what;
        fs::path kept;
        Bytes bytes;
        std::string why;
    } cases[] = {
        {"cut short", keptFile, cut, "is damaged or incomplete:\n\n" + parsed.failure().text},
        {"of a file the game lacks", KeptFilePath(file, "audiot"), good,
         "holds changes to a file this game does not have now."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(file.parent_path());
        RecoveryBytes(session->Maps(), file);
        WriteFile(c.kept, c.bytes);
        const auto read = ReadRecovery(file, session->Maps(), {&kept});
        ASSERT_FALSE(read);
        EXPECT_EQ(read.failure().text,
                  "The recovery file " + c.kept.string() + " " + c.why + "\n\nNothing was recovered.");
        EXPECT_TRUE(pages->Pages() == before);
        EXPECT_FALSE(pages->Changed() || session->Changed());
        EXPECT_EQ(ReadFile(dir / "VSWAP.TST"), good);
    }
    // Put aside, every file of it goes under the one time.
    auto aside = SetRecoveryAside(file);
    ASSERT_TRUE(aside) << aside.failure().text;
    const std::string stem = aside->stem().string();
    EXPECT_EQ(*aside, file.parent_path() / (stem + ".tsl"));
    EXPECT_EQ(ListDirectory(file.parent_path()), (std::vector<std::string>{stem + ".audiot", stem + ".tsl"}));
}

TEST(Recovery, ADamagedOrForeignFileIsRefusedWhole)
{
    TempDir dir;
    const fs::path file = dir / "wl6-00000000.tsl";
    auto session = MemorySession(dir.path(), kTwoMaps);
    const Bytes good = RecoveryBytes(session->Maps(), file);
    auto twoPlanes = MemorySession(dir.path(), {{{8, 8}}, 2, {}, false});
    const Bytes otherPlanes = RecoveryBytes(twoPlanes->Maps(), file);
    Bytes wdc = good;
    std::copy_n("WDC3.1", 6, wdc.begin());

    const std::string damaged = "is damaged or incomplete:\n\nThe map file is damaged or incomplete!\n\n";
    const std::string foreign = "is not a TSL map file, so it is no recovery file of Tesselar.";
    const struct {
        const char* what;
        Bytes bytes;
        std::string why;
    } cases[] = {
        {"cut short", Bytes(good.begin(), good.end() - 1), damaged + "Map 2 of 2 is cut short."},
        {"a byte more", [&] { Bytes b = good; b.push_back(0); return b; }(),
         damaged + "It holds 1 byte more than its 2 maps take."},
        {"another editor's file", wdc, foreign},
        {"empty", {}, foreign},
        {"another plane count", otherPlanes, "holds maps of 2 planes, but the maps of this game have 3."},
    };
    for (const auto& c : cases) {
        WriteFile(file, c.bytes);
        const auto read = ReadRecoveryFile(file, session->Maps());
        ASSERT_FALSE(read) << c.what;
        EXPECT_EQ(read.failure().text,
                  "The recovery file " + file.string() + " " + c.why + "\n\nNothing was recovered.");
        EXPECT_EQ(read.failure().caption, "Recover unsaved changes");
    }
}

TEST(Recovery, TheQuestionNamesTheTimeNoPutsTheFileAsideAndOldOnesGo)
{
    TempDir dir;
    const fs::path root = dir / "Recovery";
    MapHandler set = EmptySet(dir / "game");
    fs::create_directories(set.Path);
    AddBlankMap(set, 8, 8, "Only");
    ASSERT_FALSE(set.Save());
    const fs::path file = RecoveryFilePath(root, set.Path);
    RecoveryBytes(set, file);
    EXPECT_TRUE(RecoveryIsNewer(file, set));

    const sys_seconds march14 = sys_days{year(2025) / 3 / 14} + hours(10) + minutes(15) + seconds(2);
    fs::last_write_time(file, file_clock::from_sys(march14));
    EXPECT_FALSE(RecoveryIsNewer(file, set)); // older than the map files: not offered
    const Question question = RecoveryQuestion(file, *RecoveryTime(file));
    EXPECT_EQ(question.caption, "Recover unsaved changes");
    EXPECT_EQ(question.text, "Unsaved changes to these maps were autosaved at 2025-03-14 10:15:02.\n\nDo you wish to "
                             "recover them?\n\nYes: the recovered maps replace the ones just loaded; nothing is "
                             "written to the game files until you save.\nNo: the recovery file is put aside in " +
                                 root.string() + " for 30 days; Import Map opens it.");

    const std::string key = file.stem().string();
    auto aside = SetRecoveryAside(file);
    ASSERT_TRUE(aside) << aside.failure().text;
    EXPECT_EQ(*aside, root / (key + "-20250314T101502Z.tsl"));
    RecoveryBytes(set, file);
    fs::last_write_time(file, file_clock::from_sys(march14));
    EXPECT_EQ(*SetRecoveryAside(file), root / (key + "-20250314T101502Z-01.tsl"));
    WriteFile(root / (key + "-20250401T000000Z.tsl"), std::string("x"));
    WriteFile(root / (key + ".tsl"), std::string("x"));
    WriteFile(root / "notes-20250101T000000Z.txt", std::string("x"));

    EXPECT_EQ(RemoveOldRecoveries(root, sys_days{year(2025) / 4 / 14}), 2);
    EXPECT_EQ(ListDirectory(root), (std::vector<std::string>{key + "-20250401T000000Z.tsl", key + ".tsl",
                                                             "notes-20250101T000000Z.txt"}));
}

TEST(Recovery, AnAutosaveThatCannotBeWrittenIsToldOnceAndLeavesTheLastOneWhole)
{
    TempDir dir;
    auto session = MemorySession(dir.path(), kTwoMaps);
    Autosaver autosaver(dir / "Recovery" / "game.tsl");
    autosaver.Save(session->Maps());
    autosaver.Wait();
    const Bytes last = ReadFile(autosaver.File());
    Edit(*session);
    {
        DiskFaults full(1, true, ENOSPC);
        autosaver.Save(session->Maps());
        autosaver.Wait();
    }
    const auto failure = autosaver.TakeFailure();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->caption, "Autosave");
    EXPECT_EQ(failure->text, "The unsaved maps couldn't be autosaved to " + autosaver.File().string() +
                                 " (No space left on device)!");
    EXPECT_FALSE(autosaver.TakeFailure());
    EXPECT_EQ(Snapshot(dir / "Recovery"), (std::map<std::string, Bytes>{{"game.tsl", last}}));
    EXPECT_FALSE(autosaver.Discard());
    EXPECT_FALSE(fs::exists(autosaver.File()));
}

// The policy follows the document: a change of words, however it came, is
// work for the next tick; one write per change; the file goes once the maps
// are back as their files hold them.
TEST(Recovery, TheAutosavePolicyWritesWhatChangedSinceTheLastTickAndForgetsWhatWasUndone)
{
    TempDir dir;
    auto session = MemorySession(dir.path(), kTwoMaps);
    const fs::path file = dir / "Recovery" / "game.tsl";
    AutosavePolicy policy(file, session->Document());
    auto tick = [&] {
        EXPECT_FALSE(policy.Tick(kPlace));
        policy.Saver().Wait();
    };
    tick();
    EXPECT_FALSE(fs::exists(file)) << "nothing unsaved";
    Edit(*session);
    EXPECT_TRUE(policy.Due());
    tick();
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(ReadPlaceFile(PlaceFilePath(file)), kPlace);
    EXPECT_FALSE(policy.Due());
    // The user moves on without an edit: the place alone is written again.
    const Bytes maps = ReadFile(file);
    const EditorPlace elsewhere{0, 4, {1, 1, 1}, {2, 2, 2}};
    EXPECT_FALSE(policy.Tick(elsewhere));
    policy.Saver().Wait();
    EXPECT_EQ(ReadPlaceFile(PlaceFilePath(file)), elsewhere);
    EXPECT_EQ(ReadFile(file), maps);
    session->Undo();
    session->GoToLevel(0);
    session->Undo();
    tick();
    EXPECT_FALSE(fs::exists(file)) << "undone back to the files";
    EXPECT_FALSE(fs::exists(PlaceFilePath(file)));
}

// A kept document is followed the same way, its file beside the maps'.
TEST(Recovery, TheAutosavePolicyKeepsThePageFileBesideTheMapsAndEachGoesWhenUndone)
{
    TempDir dir;
    WriteFile(dir / "VSWAP.TST", PageFileBytes());
    auto session = MemorySession(dir.path(), kTwoMaps);
    auto pages = PageDocument::Open(dir / "VSWAP.TST");
    KeptPages kept(*pages);
    const fs::path file = dir / "Recovery" / "game.tsl";
    AutosavePolicy policy(file, session->Document(), {&kept});
    auto tick = [&] {
        EXPECT_FALSE(policy.Tick(kPlace));
        policy.Saver().Wait();
    };
    EditPages(*pages, 0xFF404040u);
    EXPECT_TRUE(policy.Due());
    tick();
    EXPECT_EQ(ListDirectory(file.parent_path()), (std::vector<std::string>{"game.place", "game.vswap"}));
    auto kept1 = PageFile::Parse(ReadFile(KeptFilePath(file, "vswap")), "VSWAP.TST");
    ASSERT_TRUE(kept1) << kept1.failure().text;
    EXPECT_TRUE(PageSet::From(*kept1) == pages->Pages()) << "the page file as a save would write it";
    Edit(*session);
    tick();
    EXPECT_EQ(ListDirectory(file.parent_path()),
              (std::vector<std::string>{"game.place", "game.tsl", "game.vswap"}));
    ASSERT_FALSE(pages->Undo());
    ASSERT_FALSE(pages->Undo());
    tick();
    EXPECT_EQ(ListDirectory(file.parent_path()), (std::vector<std::string>{"game.place", "game.tsl"}));
    session->Undo();
    session->GoToLevel(0);
    session->Undo();
    tick();
    EXPECT_TRUE(ListDirectory(file.parent_path()).empty());
}
