// Section "Graphics" of a structure's settings file.

#include "TestUtil.h"
#include "mapdefs/GraphicsSettings.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(GraphicsSettings, ReadsTheSectionAndItsDefaults)
{
    TempDir dir;
    WriteFile(dir / "WL6.ini", std::string("[Graphics]\r\nPalette=mod.pal\r\nPictures=pics.txt\r\n"
                                           "CeilingColours=29, 191,78\r\nFloorColour=300\r\n"));
    const IniFile settings(dir / "WL6.ini");
    const GraphicsSettings read = ReadGraphicsSettings(settings);
    EXPECT_EQ(read.Palette, "mod.pal");
    EXPECT_EQ(read.Pictures, "pics.txt");
    EXPECT_EQ(read.CeilingColours, (std::vector<int>{29, 191, 78}));
    EXPECT_EQ(read.FloorColour, 25) << "a colour outside 0 to 255 is the default";
    EXPECT_TRUE(read.Configured());
    EXPECT_EQ(read.CeilingColour(1), 191);
    EXPECT_EQ(read.CeilingColour(3, 7), 7);
    EXPECT_EQ(read.GameGraphics, std::nullopt);

    for (const char* bad : {"29,,78", "29,256", "29,x", "29,"}) {
        WriteFile(dir / "bad.ini", std::string("[Graphics]\r\nCeilingColours=") + bad + "\r\n");
        EXPECT_TRUE(ReadGraphicsSettings(IniFile(dir / "bad.ini")).CeilingColours.empty()) << bad;
    }
    const GraphicsSettings none = ReadGraphicsSettings(IniFile(dir / "none.ini"));
    EXPECT_FALSE(none.Configured());
    EXPECT_EQ(none.FloorColour, 25);
}

TEST(GraphicsSettings, RemembersTheToggleAndWritesEveryKey)
{
    TempDir dir;
    IniFile settings(dir / "SOD.ini");
    EXPECT_TRUE(GameGraphicsWanted(settings, true)) << "never set: on when the game has a page file";
    EXPECT_FALSE(GameGraphicsWanted(settings, false));
    ASSERT_TRUE(WriteGameGraphics(settings, false));
    EXPECT_FALSE(GameGraphicsWanted(settings, true));
    EXPECT_EQ(FileText(dir / "SOD.ini"), "[Graphics]\r\nGameGraphics=0\r\n");

    GraphicsSettings chosen;
    chosen.Palette = "palette.txt";
    chosen.Pictures = "pictures.txt";
    chosen.CeilingColours = {111, 79};
    chosen.FloorColour = 24;
    chosen.GameGraphics = true;
    ASSERT_TRUE(WriteGraphicsSettings(settings, chosen));
    EXPECT_EQ(ReadGraphicsSettings(settings), chosen);
    EXPECT_EQ(FileText(dir / "SOD.ini"), "[Graphics]\r\nGameGraphics=1\r\nPalette=palette.txt\r\n"
                                         "Pictures=pictures.txt\r\nCeilingColours=111,79\r\nFloorColour=24\r\n");
}
