// Palettes in the games' text format (VGA 0-63) and in JASC-PAL (0-255).

#include "TestUtil.h"
#include "graphics/Palette.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// `count` colour lines "i%64 (i*2)%64 63", after `header`.
std::string Lines(int count, const std::string& header = "# a palette\r\n# of test colours\r\n")
{
    std::string text = header;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i % 64) + " " + std::to_string((i * 2) % 64) + " 63\r\n";
    return text;
}

std::string Refusal(const std::string& text)
{
    auto palette = Palette::Parse(text, "pal.txt");
    return palette ? std::string("accepted") : palette.failure().text;
}

} // namespace

TEST(Palette, ReadsTheGamesTextFormatScaledTo8BitsAndJascPalWithItsOwnColourCount)
{
    const struct {
        std::string text;
        std::vector<std::pair<std::size_t, std::uint32_t>> colours;
    } cases[] = {
        // 1 * 255 / 63 = 4, 2 * 255 / 63 = 8; 63 -> 255, 62 -> 250.
        {Lines(256) + "\r\n", {{0, 0xFF0000FFu}, {1, 0xFF0408FFu}, {63, 0xFFFFFAFFu}, {255, 0xFFFFFAFFu}}},
        {"JASC-PAL\n0100\n3\n255 0 0\n0 128 0\n\n1 2 3\n",
         {{0, 0xFFFF0000u}, {1, 0xFF008000u}, {2, 0xFF010203u}, {3, 0xFF000000u}}},
    };
    for (const auto& c : cases) {
        auto palette = Palette::Parse(c.text, "pal.txt");
        ASSERT_TRUE(palette) << palette.failure().text;
        for (auto [index, colour] : c.colours)
            EXPECT_EQ(palette->colours[index], colour) << c.text.substr(0, 8) << " " << index;
    }
}

TEST(Palette, NamesTheLineOfABadPalette)
{
    const struct {
        std::string text, message;
    } cases[] = {
        {Lines(255), "\"pal.txt\" holds 255 colours instead of 256."},
        {Lines(257), "Line 259 of \"pal.txt\": the palette ends after 256 colours."},
        {Lines(3) + "1 64 2\r\n" + Lines(252, ""), "Line 6 of \"pal.txt\": the colour values lie from 0 to 63."},
        {Lines(3) + "1 2\r\n", "Line 6 of \"pal.txt\": a colour is three numbers, red, green and blue."},
        {Lines(3) + "1 2 x\r\n", "Line 6 of \"pal.txt\": a colour is three numbers, red, green and blue."},
        {"JASC-PAL\r\n0200\r\n", "Line 2 of \"pal.txt\": a JASC-PAL file has the version 0100 here."},
        {"JASC-PAL\r\n0100\r\n300\r\n", "Line 3 of \"pal.txt\": a JASC-PAL file gives its number of colours (1 to 256) here."},
        {"JASC-PAL\r\n0100\r\n1\r\n0 256 0\r\n", "Line 4 of \"pal.txt\": the colour values lie from 0 to 255."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.text), c.message) << c.text.substr(0, 40);
}

TEST(Palette, ReadsTheShippedPalettes)
{
    // Colour 0 is black in both games; they differ only in colours 166 and 167.
    auto wolf = Palette::Load(SourceDir() / "tools" / "mapdefs" / "wolf3d.txt");
    auto spear = Palette::Load(SourceDir() / "tools" / "mapdefs" / "spear.txt");
    ASSERT_TRUE(wolf) << wolf.failure().text;
    ASSERT_TRUE(spear) << spear.failure().text;
    EXPECT_EQ(wolf->colours[0], 0xFF000000u);
    EXPECT_EQ(wolf->colours[25], 0xFF717171u); // the engine's floor grey
    int differences = 0;
    for (int i = 0; i < 256; ++i)
        differences += wolf->colours[static_cast<std::size_t>(i)] != spear->colours[static_cast<std::size_t>(i)];
    EXPECT_EQ(differences, 2);
    EXPECT_NE(wolf->colours[166], spear->colours[166]);
}
