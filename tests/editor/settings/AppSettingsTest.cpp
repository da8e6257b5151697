// "TSL.ini": the program's own settings and the recent projects.

#include "TestUtil.h"
#include "editor/settings/AppSettings.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(RecentProjects, InTheOrderOfUseInFiveSlots)
{
    AppSettings s;
    for (const char* dir : {"A", "B", "C", "D", "E"})
        EXPECT_TRUE(s.AddRecentProject(dir));
    EXPECT_EQ(s.RecentList, (std::array<std::string, 5>{"E", "D", "C", "B", "A"}));
    EXPECT_TRUE(s.AddRecentProject("C")); // reopened from the list
    EXPECT_EQ(s.RecentList, (std::array<std::string, 5>{"C", "E", "D", "B", "A"}));
    EXPECT_FALSE(s.AddRecentProject("C"));
    EXPECT_TRUE(s.AddRecentProject("F"));
    EXPECT_EQ(s.RecentList, (std::array<std::string, 5>{"F", "C", "E", "D", "B"}));
    // Letter case counts.
    EXPECT_TRUE(s.AddRecentProject("f"));
    EXPECT_EQ(s.RecentList[0], "f");
    EXPECT_EQ(RecentCaption(1, "C:\\GAMES\\SPEAR"), "&1 C:\\GAMES\\SPEAR");
}

TEST(AppSettingsFile, DefaultsWhenMissingAndEveryKeyWritten)
{
    TempDir dir;
    IniFile file(dir / "TSL.ini");
    AppSettings s = AppSettings::Read(file);
    EXPECT_EQ(s.Window.Left, 0);
    EXPECT_EQ(s.Window.Width, 0);
    EXPECT_FALSE(s.CheckAtStartup); // the empty defaults show in the file written below

    s.Window = {10, 20, 800, 640, 2};
    s.CheckAtStartup = true;
    s.DownloadURL = "http://example.org/get";
    s.AddRecentProject("/games/wolf");
    ASSERT_TRUE(s.Write(file));
    EXPECT_EQ(FileText(dir / "TSL.ini"),
              "[Window]\r\nLeft=10\r\nTop=20\r\nWidth=800\r\nHeight=640\r\nWindowState=2\r\n"
              "[Update]\r\nCheckAtStartup=1\r\nCheckFileURL=\r\nDownloadURL=http://example.org/get\r\n"
              "[Recent]\r\n1=/games/wolf\r\n2=\r\n3=\r\n4=\r\n5=\r\n");
    const AppSettings back = AppSettings::Read(IniFile(dir / "TSL.ini"));
    EXPECT_EQ(back.Window.Height, 640);
    EXPECT_EQ(back.Window.WindowState, 2);
    EXPECT_TRUE(back.CheckAtStartup);
    EXPECT_EQ(back.RecentList[0], "/games/wolf");
}

TEST(AppSettingsFile, BackupsKeptAndAutosaveIntervalAreReadWithTheirDefaults)
{
    TempDir dir;
    const std::pair<std::string, std::pair<int, int>> cases[] = {
        {"", {20, 60}},
        {"[Backups]\r\nKeep=5\r\n[Autosave]\r\nInterval=0\r\n", {5, 0}},
        {"[Backups]\r\nKeep=-3\r\n[Autosave]\r\nInterval=-1\r\n", {0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        WriteFile(dir / "TSL.ini", text);
        const AppSettings s = AppSettings::Read(IniFile(dir / "TSL.ini"));
        EXPECT_EQ(std::pair(s.BackupKeep, s.AutosaveInterval), expected) << text;
    }
}
