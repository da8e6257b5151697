// The symbol file and symbol type file formats: fields, patterns, lines,
// the built-in types, and the messages for malformed files.

#include "TestUtil.h"
#include "symbols/SymbolFiles.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

std::string Pattern(char digit)
{
    return std::string(64, digit);
}

std::string Line(int value, const std::string& name, const std::string& pattern, const std::string& type = "w",
                 const std::string& direction = "0")
{
    return std::to_string(value) + "," + name + "," + pattern + "," + type + "," + direction;
}

using V = std::vector<std::string>;

} // namespace

TEST(SplitFields, DropsEmptyFieldsAndKeepsBlanks)
{
    EXPECT_EQ(SplitFields("0,Nothing,00,ot,0"), (V{"0", "Nothing", "00", "ot", "0"}));
    EXPECT_EQ(SplitFields(",,a,,b,"), (V{"a", "b"}));
    EXPECT_EQ(SplitFields(" a , b "), (V{" a ", " b "}));
    EXPECT_EQ(SplitFields(""), V{});
    EXPECT_EQ(SplitFields(",,,"), V{});
    // An empty name moves the following fields up by one: the malformed lines below.
}

TEST(SymbolFiles, ReadsTheFiveFieldsOfEachLine)
{
    auto records = ParseSymbolLines({Line(0, "Nothing", Pattern('0'), "ot"),
                                     Line(1, "Grey stone", Pattern('8'), "w", "ne"),
                                     "+2,Extra fields," + Pattern('1') + ",f,n,more,fields"},
                                    "plane1.txt");
    ASSERT_TRUE(records) << records.failure().text;
    ASSERT_EQ(records->size(), 3u);
    EXPECT_EQ((*records)[1].Symbol, (MapSymbols{1, 1, "Grey stone", "w", "ne"}));
    EXPECT_EQ((*records)[1].Pattern, Pattern('8'));
    EXPECT_EQ((*records)[2].Symbol, (MapSymbols{2, 2, "Extra fields", "f", "n"}));
}

TEST(SymbolFiles, StopsAtTheFirstMalformedLineNamingFileAndLine)
{
    struct Case {
        std::string line;
        std::string message;
    };
    std::vector<Case> cases = {
        {"7,," + Pattern('0') + ",w,0",
         "Line 2 of \"plane1.txt\" has 4 fields; a symbol needs 5: value, name, pattern, type and direction."},
        {"", "Line 2 of \"plane1.txt\" has 0 fields; a symbol needs 5: value, name, pattern, type and direction."},
        {Line(3, "Short", std::string(63, '0')), "Line 2 of \"plane1.txt\": the pattern has 63 digits instead of 64."},
    };
    // Values outside a map word, or not plainly decimal.
    for (const std::string value : {"-1", "65536", "abc", " 5", "0x10", "99999999999999999999999"})
        cases.push_back({value + ",Bad value," + Pattern('0') + ",w,0",
                         "Line 2 of \"plane1.txt\": the value \"" + value +
                             "\" is not a number from 0 to 65535."});
    for (const Case& c : cases) {
        auto records = ParseSymbolLines({Line(0, "Nothing", Pattern('0')), c.line, "not even read"}, "plane1.txt");
        ASSERT_FALSE(records) << c.line;
        EXPECT_EQ(records.failure().text, c.message);
        EXPECT_EQ(records.failure().caption, "Error loading map symbols");
    }
    // A longer pattern is read up to its 64th digit.
    auto longer = ParseSymbolLines({Line(3, "Long", Pattern('9') + "12")}, "plane1.txt");
    ASSERT_TRUE(longer);
}

TEST(SymbolFiles, ReadsSymbolTypesAndTheirShownFlags)
{
    auto types = ParseSymbolTypeLines({"w,Wall,1", "f,Floor,0", "x,Other,-3", "y,Many,17"}, "mapsymboltypes.txt");
    ASSERT_TRUE(types) << types.failure().text;
    EXPECT_EQ(*types, (std::vector<MapSymbolTypes>{{1, "w", "Wall"}, {0, "f", "Floor"}, {1, "x", "Other"},
                                                   {1, "y", "Many"}}));

    auto shortLine = ParseSymbolTypeLines({"w,Wall,1", "k,1"}, "mapsymboltypes.txt");
    ASSERT_FALSE(shortLine);
    EXPECT_EQ(shortLine.failure().text,
              "Line 2 of \"mapsymboltypes.txt\" has 2 fields; a symbol type needs 3: id, name and shown flag.");
    auto word = ParseSymbolTypeLines({"w,Wall,yes"}, "mapsymboltypes.txt");
    ASSERT_FALSE(word);
    EXPECT_EQ(word.failure().text, "Line 1 of \"mapsymboltypes.txt\": the shown flag \"yes\" is not a whole number.");
}

TEST(SymbolFiles, DrawsUpperCaseDigitsInThePaletteAndAnythingElseWhite)
{
    Image image(10, 9, 0xFF123456u);
    std::string digits = "0123456789ABCDEFaAfF" + std::string(44, '0');
    digits[63] = 'z';
    DrawPattern(image, 1, 1, digits);
    const std::uint32_t expected[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(image.Pixel(1 + k % 8, 1 + k / 8), 0xFF000000u | expected[k]) << "digit " << digits[k];
    EXPECT_EQ(image.Pixel(1, 3), 0xFFFFFFFFu); // "a": white, no digit ("A" and "F" as above)
    EXPECT_EQ(image.Pixel(3, 3), 0xFFFFFFFFu); // "f": white
    EXPECT_EQ(image.Pixel(8, 8), 0xFFFFFFFFu); // "z"
    EXPECT_EQ(image.Pixel(0, 0), 0xFF123456u); // outside the pattern
    EXPECT_EQ(image.Pixel(9, 1), 0xFF123456u);

    // Back to digits: palette colours by their digit, any other colour "F".
    std::string back = PatternDigits(image, 1, 1);
    EXPECT_EQ(back.substr(0, 20), "0123456789ABCDEFFAFF");
    image.SetPixel(1, 1, 0xFF010203u);
    EXPECT_EQ(PatternDigits(image, 1, 1)[0], 'F');
}

TEST(SymbolFiles, WritesLinesWithTheirPictures)
{
    Image picture(8, 8, 0xFF0000FFu);
    picture.SetPixel(7, 7, 0xFFFF0000u);
    const MapSymbols symbol{300, 4, "Blue", "so", "sw"};
    TempDir dir;
    std::vector<Image> pictures(301); // none for value 0: its pattern is all "0"
    pictures[300] = picture;
    ASSERT_FALSE(WritePlaneSymbolFile(dir / "plane2.txt", {symbol, MapSymbols{0, 0, "Nothing", "ot", "0"}}, pictures));
    EXPECT_EQ(FileText(dir / "plane2.txt"),
              "300,Blue," + std::string(63, 'C') + "9,so,sw\r\n0,Nothing," + Pattern('0') + ",ot,0\r\n");
    ASSERT_FALSE(WriteSymbolTypesFile(dir / "mapsymboltypes.txt", {{1, "w", "Wall"}, {0, "d", "Door"}}));
    EXPECT_EQ(FileText(dir / "mapsymboltypes.txt"), "w,Wall,1\r\nd,Door,0\r\n");

    for (const auto& failure : {WriteSymbolTypesFile(dir / "missing" / "mapsymboltypes.txt", {}),
                                WritePlaneSymbolFile(dir / "missing" / "mapsymboltypes.txt", {}, {})}) {
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->text, "Couldn't write \"" + (dir / "missing" / "mapsymboltypes.txt").string() + "\"!");
        EXPECT_EQ(failure->caption, "Error saving map symbols");
    }
}

TEST(EnsureDefaultSymbolTypes, AppendsOnlyTheMissingBuiltInTypesInOrder)
{
    TempDir dir;
    const fs::path path = dir / "mapsymboltypes.txt";
    std::vector<std::string> all;
    for (const auto& type : kBuiltInSymbolTypes)
        all.emplace_back(type.line);
    ASSERT_EQ(all.size(), 19u);
    EXPECT_EQ(all.front(), "w,Wall,1");
    EXPECT_EQ(all.back(), "oa,Other Actor,1");

    // Everything there (in another order, one switched off): nothing is written.
    std::vector<std::string> lines = {"ot,Other Tile,1"};
    lines.insert(lines.end(), all.rbegin(), all.rend());
    lines[1] = "oa,Other Actor,0";
    const std::vector<std::string> before = lines;
    ASSERT_FALSE(EnsureDefaultSymbolTypes(lines, path));
    EXPECT_EQ(lines, before);
    EXPECT_FALSE(fs::exists(path));

    // Several missing: appended after the existing lines, in the built-in
    // order; ids compare exactly ("W" is not "w"), existing lines stay.
    lines = {"W,My walls,0", "k,Keys,0", "x,Own type,1"};
    ASSERT_FALSE(EnsureDefaultSymbolTypes(lines, path));
    std::vector<std::string> expected = {"W,My walls,0", "k,Keys,0", "x,Own type,1"};
    for (const std::string& line : all)
        if (line != "k,Key,1")
            expected.push_back(line);
    EXPECT_EQ(lines, expected);
    std::string text;
    for (const std::string& line : expected)
        text += line + "\r\n";
    EXPECT_EQ(FileText(path), text);
}
