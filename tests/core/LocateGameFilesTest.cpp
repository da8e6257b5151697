// Finding a game's map files in a directory.

#include "TestUtil.h"
#include "core/MapHandler.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

void Touch(const TempDir& dir, const std::string& name, std::size_t size = 4)
{
    WriteFile(dir / name, Bytes(size, 0));
}

} // namespace

TEST(LocateGameFiles, ReportsMissingFilesWithTheSystemsMessages)
{
    TempDir dir;
    auto none = LocateGameFiles(dir.path());
    ASSERT_FALSE(none);
    EXPECT_EQ(none.failure().text, "Couldn't find MAPHEAD file!");
    EXPECT_EQ(none.failure().caption, "Error loading maps");
    EXPECT_EQ(none.failure().icon, MessageIcon::Warning);

    Touch(dir, "MAPHEAD.WL6");
    auto noData = LocateGameFiles(dir.path());
    ASSERT_FALSE(noData);
    EXPECT_EQ(noData.failure().text, "Couldn't find MAPTEMP or GAMEMAPS file!");
}

TEST(LocateGameFiles, TakesTheExtensionAndTheDataFileVersion)
{
    TempDir dir;
    Touch(dir, "MAPHEAD.SOD", 402);
    Touch(dir, "GAMEMAPS.SOD");
    auto files = LocateGameFiles(dir.path());
    ASSERT_TRUE(files);
    EXPECT_EQ(files->Extension, "SOD");
    EXPECT_FALSE(files->HeaderInExecutable);
    EXPECT_EQ(files->FileVersion, DataFileVersion::GameMaps);
    EXPECT_EQ(files->HeaderSize, 402u);

    // MAPTEMP wins when both data files are there.
    Touch(dir, "MAPTEMP.SOD");
    EXPECT_EQ(LocateGameFiles(dir.path())->FileVersion, DataFileVersion::MapTemp);
}

TEST(LocateGameFiles, FindsFilesWhateverTheirLetterCaseAndNotTheirBackups)
{
    TempDir dir;
    Touch(dir, "MAPHEAD.WL6.BAK");
    Touch(dir, "maphead.wl6");
    Touch(dir, "GAMEMAPS.WL6");
    auto files = LocateGameFiles(dir.path());
    ASSERT_TRUE(files) << files.failure().text;
    EXPECT_EQ(files->Extension, "wl6");

    MapHandler set;
    set.UseGameFiles(dir.path(), *files);
    EXPECT_EQ(set.HeaderFilePath().filename(), "maphead.wl6");
    EXPECT_EQ(set.DataFilePath().filename(), "GAMEMAPS.WL6");
}

TEST(LocateGameFiles, ReadsCorridor7TablesFromTheExecutables)
{
    TempDir dir;
    Touch(dir, "C7.EXE", 1000);
    Touch(dir, "MAPTEMP.CO7");
    auto floppy = LocateGameFiles(dir.path());
    ASSERT_TRUE(floppy);
    EXPECT_TRUE(floppy->HeaderInExecutable);
    EXPECT_EQ(floppy->HeaderExecutable, "C7.EXE");
    EXPECT_EQ(floppy->Extension, "CO7");
    EXPECT_EQ(floppy->HeaderSize, 1000u);

    // CORR7CD.EXE is looked for first; a MAPHEAD.CO7 (written by saves) does
    // not replace the executable's table.
    Touch(dir, "corr7cd.exe", 2000);
    Touch(dir, "MAPHEAD.CO7");
    auto cd = LocateGameFiles(dir.path());
    ASSERT_TRUE(cd);
    EXPECT_EQ(cd->HeaderExecutable, "CORR7CD.EXE");
    EXPECT_EQ(cd->HeaderSize, 2000u);
    EXPECT_EQ(cd->Extension, "CO7");
}
