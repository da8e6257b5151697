// Damaged, truncated and inconsistent exchange files, and exports that
// cannot be written: a clear message, and nothing imported or left behind.

#include "ExchangeTestSupport.h"
#include "core/FileSystem.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// The failure text of reading `file`, or "read" when it was read.
std::string ReadError(const Bytes& file, int planes = 3)
{
    const auto read = ReadExchangeFile(file, planes, 16);
    return read ? "read" : read.failure().text;
}

Bytes ValidFile(ExchangeFormat format)
{
    MapHandler set = PatternSet(3);
    AddPatternMap(set, 5, 3, "First");
    AddPatternMap(set, 2, 7, "Second");
    const std::vector<int> maps = format == ExchangeFormat::ChaosEdit || format == ExchangeFormat::MapEdit
                                      ? std::vector<int>{0}
                                      : std::vector<int>{0, 1};
    auto bytes = BuildExchangeFile(format, maps, set);
    EXPECT_TRUE(bytes);
    return bytes ? *bytes : Bytes{};
}

Bytes TslFile(std::uint32_t maps, std::uint16_t planes, std::uint16_t nameLength, std::uint16_t width,
              std::uint16_t height, std::size_t planeBytes)
{
    Bytes out = TslHeader("TSL1.0", maps, planes, nameLength);
    PutName(out, "Map", nameLength);
    Put16(out, width);
    Put16(out, height);
    out.resize(out.size() + planeBytes, 0x11);
    return out;
}

} // namespace

TEST(ExchangeDamage, EveryTruncationOfEveryFormatIsRefused)
{
    for (ExchangeFormat format : {ExchangeFormat::TSL, ExchangeFormat::WDC, ExchangeFormat::ChaosEdit,
                                  ExchangeFormat::FloEdit, ExchangeFormat::MapEdit}) {
        const Bytes whole = ValidFile(format);
        ASSERT_EQ(ReadError(whole), "read") << ExchangeFormatName(format);
        // Every length near the ends, and a sample of those in between.
        for (std::size_t size = 0; size < whole.size();
             size += size < 64 || whole.size() - size <= 64 ? 1 : 61) {
            if (size == kFloorFileSize)
                continue; // a floor file by its size, rightly read as one
            const std::string error = ReadError(Bytes(whole.begin(), whole.begin() + size));
            ASSERT_TRUE(error.rfind("The map file is damaged or incomplete!\n\n", 0) == 0 ||
                        error == "Unknown map file format!")
                << ExchangeFormatName(format) << " cut to " << size << ": " << error;
            // Once the magic is whole, the file is known and said to be damaged.
            if (size >= 8 && format != ExchangeFormat::MapEdit) {
                ASSERT_NE(error, "Unknown map file format!") << ExchangeFormatName(format) << " " << size;
            }
        }
    }
}

TEST(ExchangeDamage, HeaderValuesAreCheckedAgainstTheBytesThatFollow)
{
    struct Case {
        const char* what;
        Bytes file;
        std::string detail;
    };
    const std::size_t plane = 4 * 3 * 2;
    std::vector<Case> cases = {
        {"header cut", Bytes{'T', 'S', 'L', '1', '.', '0', 1, 0, 0, 0, 1}, "Its header is cut short."},
        {"more maps than records", TslFile(2, 1, 16, 4, 3, plane), "Map 2 of 2 is cut short."},
        {"map count near 2^32", TslFile(0xFFFFFFFF, 1, 16, 4, 3, plane), "Map 2 of 4294967295 is cut short."},
        {"fewer maps than records", TslFile(0, 1, 16, 4, 3, plane), "It holds 44 bytes more than its 0 maps take."},
        {"no planes", TslFile(1, 0, 16, 4, 3, 0), "It says its maps have no planes."},
        {"too many planes", TslFile(1, 0xFFFF, 16, 4, 3, plane), "Map 1 of 1 is cut short."},
        {"width 0", TslFile(1, 1, 16, 0, 3, 0), "Map 1 of 1 is 0 x 3 tiles, but a map is 1 to 256 tiles wide and high."},
        {"height 0", TslFile(1, 1, 16, 4, 0, 0), "Map 1 of 1 is 4 x 0 tiles, but a map is 1 to 256 tiles wide and high."},
        {"width 257", TslFile(1, 1, 16, 257, 1, 514),
         "Map 1 of 1 is 257 x 1 tiles, but a map is 1 to 256 tiles wide and high."},
        {"height 65535", TslFile(1, 1, 16, 1, 65535, 0),
         "Map 1 of 1 is 1 x 65535 tiles, but a map is 1 to 256 tiles wide and high."},
        {"trailing byte", TslFile(1, 1, 16, 4, 3, plane + 1), "It holds 1 byte more than its 1 map takes."},
    };

    Bytes longName = TslFile(1, 1, 16, 4, 3, plane);
    longName[12] = longName[13] = 0xFF; // a name of 65535 bytes in a file of a few
    cases.push_back({"name past the end", longName, "Map 1 of 1 is cut short."});

    // ChaosEdit: two planes, one map; map 0 of 2 x 2 tiles with a name of 255
    // bytes in a file of a few.
    Bytes chaos = {'C', 'E', 'v', '1', '.', '2', '3', 0, 2, 1, 0, 0, 0, 2, 0, 2, 0, 255};
    chaos.resize(chaos.size() + 16, 0);
    cases.push_back({"ChaosEdit name past the end", chaos, "Map 1 of 1 is cut short."});
    Bytes chaosNoPlanes(chaos.begin(), chaos.begin() + 11);
    chaosNoPlanes[8] = 0;
    cases.push_back({"ChaosEdit without planes", chaosNoPlanes, "It says its maps have no planes."});

    Bytes floEdit = {'F', 'E', '1', '.', '0', 3, 0, 0, 0};
    floEdit.resize(9 + 2 * kFloorFileSize, 0);
    cases.push_back({"FloEdit count too high", floEdit, "Map 3 of 3 is cut short."});
    floEdit[5] = 1;
    cases.push_back({"FloEdit count too low", floEdit, "It holds 16384 bytes more than its 1 map takes."});
    floEdit.resize(9 + kFloorFileSize + 100);
    floEdit[5] = 0xFF;
    floEdit[8] = 0xFF;
    cases.push_back({"FloEdit count huge", floEdit, "Map 2 of 4278190335 is cut short."});

    for (const Case& c : cases) {
        const auto read = ReadExchangeFile(c.file, 3, 16);
        ASSERT_FALSE(read) << c.what;
        EXPECT_EQ(read.failure().text, "The map file is damaged or incomplete!\n\n" + c.detail) << c.what;
        EXPECT_EQ(read.failure().caption, "Error importing map") << c.what;
        EXPECT_EQ(read.failure().icon, MessageIcon::Error) << c.what;
    }
}

TEST(ExchangeDamage, ADamagedOrMissingFileImportsNothingThroughTheCli)
{
    TempDir dir;
    fs::copy(SampleGameDir(), dir / "game");
    const auto before = Snapshot(dir / "game");
    Bytes damaged = ValidFile(ExchangeFormat::TSL);
    damaged.pop_back();
    WriteFile(dir / "damaged.tsl", damaged);

    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {"damaged.tsl", "Error importing map: The map file is damaged or incomplete!\n\nMap 2 of 2 is cut short.\n"},
        {"missing.tsl", "Error importing map: Couldn't read the map file " + (dir / "missing.tsl").string() + "!\n"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli({"import", (dir / "game").string(), (dir / c.file).string()});
        EXPECT_EQ(result.status, 1) << c.file;
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(Snapshot(dir / "game"), before);
    }
}

TEST(ExchangeDamage, AnExportThatCannotBeWrittenSaysSoAndLeavesNoFile)
{
    TempDir dir;
    MapHandler set = PatternSet(3);
    AddPatternMap(set, 64, 64, "Map");
    const std::vector<int> first{0};

    // A folder that does not exist.
    auto failure = WriteExchangeFile(dir / "missing" / "out.tsl", ExchangeFormat::TSL, first, set);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text,
              "Couldn't write the map file " + (dir / "missing" / "out.tsl").string() + " (No such file or directory)!");
    EXPECT_EQ(failure->caption, "Error exporting map");
    EXPECT_EQ(failure->icon, MessageIcon::Error);

    // The name belongs to a folder: the written bytes must not stay behind.
    fs::create_directories(dir / "taken.lvl" / "inside");
    failure = WriteExchangeFile(dir / "taken.lvl", ExchangeFormat::FloEdit, first, set);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't write the map file " + (dir / "taken.lvl").string() + " (Is a directory)!");
    EXPECT_EQ(ListDirectory(dir.path()), (std::vector<std::string>{"taken.lvl"}));

    // An existing file stays as it was when the new one cannot be written.
    WriteFile(dir / "kept.flr", std::string("previous"));
    {
        DiskFaults full(2, false, ENOSPC);
        failure = WriteExchangeFile(dir / "kept.flr", ExchangeFormat::MapEdit, first, set);
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text,
              "Couldn't write the map file " + (dir / "kept.flr").string() + " (No space left on device)!");
    EXPECT_EQ(ReadFile(dir / "kept.flr"), Bytes({'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    // No temporary file is left behind.
    EXPECT_EQ(ListDirectory(dir.path()), (std::vector<std::string>{"kept.flr", "taken.lvl"}));

    // An existing file is replaced whole on success.
    EXPECT_FALSE(WriteExchangeFile(dir / "replaced.flr", ExchangeFormat::MapEdit, first, set));
    WriteFile(dir / "replaced.flr", Bytes(20000, 0xEE));
    EXPECT_FALSE(WriteExchangeFile(dir / "replaced.flr", ExchangeFormat::MapEdit, first, set));
    EXPECT_EQ(ReadFile(dir / "replaced.flr").size(), 16384u);
}

TEST(ExchangeDamage, RequestsThatNoFileCanHoldAreRefused)
{
    MapHandler set = PatternSet(3);
    AddPatternMap(set, 64, 64, "One");
    AddPatternMap(set, 64, 64, "Two");
    auto failureOf = [&](ExchangeFormat format, std::vector<int> maps) {
        const auto built = BuildExchangeFile(format, maps, set);
        return built ? std::string("built") : built.failure().caption + ": " + built.failure().text;
    };
    EXPECT_EQ(failureOf(ExchangeFormat::MapEdit, {0, 1}),
              "Error exporting map: Only one map can be exported to a MapEdit floor file!");
    EXPECT_EQ(failureOf(ExchangeFormat::ChaosEdit, {0, 1}),
              "Error exporting map: Only one map can be exported to a ChaosEdit map file!");
    EXPECT_EQ(failureOf(ExchangeFormat::TSL, {}), "Error exporting map: There is no map to export!");
    EXPECT_EQ(failureOf(ExchangeFormat::FloEdit, {0, 2}), "Error exporting map: There is no map 3 in the set!");
    EXPECT_EQ(failureOf(ExchangeFormat::WDC, {-1}), "Error exporting map: There is no map 0 in the set!");

    // A TSL or WDC file of exactly 16384 bytes would come back as a floor
    // file: 14 + 16 + 4 + 3 planes x 109 x 25 words x 2 bytes.
    MapHandler odd = PatternSet(3);
    AddPatternMap(odd, 109, 25, "Odd");
    for (ExchangeFormat format : {ExchangeFormat::TSL, ExchangeFormat::WDC}) {
        TempDir dir;
        const std::vector<int> first{0};
        const auto failure = WriteExchangeFile(dir / "odd.tsl", format, first, odd);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->text, "This " + ExchangeFormatName(format) +
                                     " would be exactly 16384 bytes long, the size of a MapEdit floor file, and "
                                     "could not be imported again!\n\nExport another choice of maps, or use another "
                                     "map format.");
        EXPECT_TRUE(ListDirectory(dir.path()).empty());
    }
    AddPatternMap(odd, 109, 26, "Fine");
    EXPECT_TRUE(BuildExchangeFile(ExchangeFormat::TSL, std::vector<int>{1}, odd));
}
