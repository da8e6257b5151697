// INI files with the private-profile semantics: hand-written files in,
// values and file bytes out.

#include "TestUtil.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

using namespace tsl;
using namespace tsl::test;

namespace {

// A file as a user might have written it: LF line ends, odd letter case,
// blanks around names, comments and a line before the first section.
const std::string kHandWritten =
    "; settings of a game\n"
    "[General]\n"
    "ExtendedMapNames=1\n"
    "  rlewtag = 43981  \n"
    "; a comment=with an equals sign\n"
    "Compression=12abc\n"
    "Empty=\n"
    "Word=abc\n"
    "Negative=-7\n"
    "Quoted=\"a;b\"\n"
    "\n"
    "[planes]\n"
    "NumPlanes=3\n"
    "0=plane1.txt\n";

// Each test's files in a folder of its own.
class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;

    // The file written with the given text, and an object reading it.
    IniFile Written(const std::string& text, const std::string& name = "a.ini")
    {
        WriteFile(dir / name, text);
        return IniFile(dir / name);
    }
};

} // namespace

TEST_F(IniFileTest, ReadsSectionsAndKeysWithoutRegardToLetterCaseAndDefaultsForWhatIsMissing)
{
    const IniFile ini = Written(kHandWritten);

    EXPECT_EQ(ini.ReadString("general", "EXTENDEDMAPNAMES", "x"), "1");
    EXPECT_EQ(ini.ReadInteger("GENERAL", "RLEWTag", 0), 43981); // blanks around key and value do not count
    EXPECT_EQ(ini.ReadInteger("Planes", "numplanes", 0), 3);
    EXPECT_EQ(ini.ReadString("PLANES", "0", "extra.txt"), "plane1.txt");
    // Neither quoting nor escaping: the value is what stands after "=".
    EXPECT_EQ(ini.ReadString("General", "Quoted", ""), "\"a;b\"");
    // A comment line is no key, and nor is the line before the first section.
    EXPECT_EQ(ini.KeyNames("General"),
              (std::vector<std::string>{"ExtendedMapNames", "rlewtag", "Compression", "Empty", "Word", "Negative",
                                        "Quoted"}));

    // What is missing reads as the default.
    EXPECT_EQ(ini.ReadString("General", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("NoSection", "NumPlanes", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadInteger("General", "Missing", 167), 167);
    EXPECT_FALSE(ini.HasKey("General", "Missing"));
    EXPECT_TRUE(ini.HasKey("General", "Empty"));

    // A file that does not exist reads as empty.
    const IniFile none(dir / "none.ini");
    EXPECT_EQ(none.ReadInteger("General", "ZoomFactor", 4), 4);
    EXPECT_FALSE(fs::exists(dir / "none.ini"));
}

TEST_F(IniFileTest, ReadsIntegersAsTheLeadingDecimalNumberAndBooleansAsIntegersNotZero)
{
    const IniFile ini = Written(kHandWritten +
                                "[Numbers]\nBig=99999999999999999999\nSmall=-99999999999999999999\n"
                                "Plus=+12\nHex=0x1F\n[ShowPlanes]\n0=1\n1=0\n2=2\n3=yes\n4=\n");
    EXPECT_EQ(ini.ReadInteger("General", "Compression", 5), 12); // "12abc"
    EXPECT_EQ(ini.ReadInteger("General", "Word", 5), 0);         // no number at all
    EXPECT_EQ(ini.ReadInteger("General", "Empty", 5), 5);        // an empty value counts as missing
    EXPECT_EQ(ini.ReadInteger("General", "Negative", 5), -7);
    EXPECT_EQ(ini.ReadInteger("Numbers", "Big", 5), INT_MAX);
    EXPECT_EQ(ini.ReadInteger("Numbers", "Small", 5), INT_MIN);
    EXPECT_EQ(ini.ReadInteger("Numbers", "Plus", 5), 12);
    EXPECT_EQ(ini.ReadInteger("Numbers", "Hex", 5), 0);

    EXPECT_TRUE(ini.ReadBool("ShowPlanes", "0", false));
    EXPECT_FALSE(ini.ReadBool("ShowPlanes", "1", true));
    EXPECT_TRUE(ini.ReadBool("ShowPlanes", "2", false));
    EXPECT_FALSE(ini.ReadBool("ShowPlanes", "3", true)); // no number: 0
    EXPECT_TRUE(ini.ReadBool("ShowPlanes", "4", true));  // empty: the default
    EXPECT_TRUE(ini.ReadBool("ShowPlanes", "5", true));
    EXPECT_FALSE(ini.ReadBool("ShowPlanes", "5", false));
}

TEST_F(IniFileTest, WritesAtOnceKeepingEveryOtherLineInItsPlace)
{
    IniFile ini = Written(kHandWritten, "WL6.ini");

    ASSERT_TRUE(ini.WriteInteger("GENERAL", "RLEWTAG", 4660)); // the key keeps its spelling in the file
    ASSERT_TRUE(ini.WriteBool("general", "MapGrid", true));    // new key: after the section's last line
    ASSERT_TRUE(ini.WriteString("PlaneNames", "0", "Walls"));  // new section: at the end
    ASSERT_TRUE(ini.WriteBool("Planes", "Flag", false));
    EXPECT_EQ(FileText(dir / "WL6.ini"), "; settings of a game\r\n"
                                         "[General]\r\n"
                                         "ExtendedMapNames=1\r\n"
                                         "rlewtag=4660\r\n"
                                         "; a comment=with an equals sign\r\n"
                                         "Compression=12abc\r\n"
                                         "Empty=\r\n"
                                         "Word=abc\r\n"
                                         "Negative=-7\r\n"
                                         "Quoted=\"a;b\"\r\n"
                                         "MapGrid=1\r\n"
                                         "\r\n"
                                         "[planes]\r\n"
                                         "NumPlanes=3\r\n"
                                         "0=plane1.txt\r\n"
                                         "Flag=0\r\n"
                                         "[PlaneNames]\r\n"
                                         "0=Walls\r\n");
}

TEST_F(IniFileTest, DeletesKeysAndLeavesTheRest)
{
    IniFile ini = Written("[Planes]\r\nNumPlanes=3\r\n2=plane3.txt\r\n[PlaneNames]\r\n2=Extra\r\n");
    EXPECT_TRUE(ini.DeleteKey("planes", "2"));
    EXPECT_EQ(FileText(dir / "a.ini"), "[Planes]\r\nNumPlanes=3\r\n[PlaneNames]\r\n2=Extra\r\n");
    EXPECT_EQ(ini.ReadString("Planes", "2", "-1"), "-1");

    // Deleting what is not there changes nothing, not even the line ends.
    IniFile b = Written("[A]\nx=1\n", "b.ini");
    EXPECT_TRUE(b.DeleteKey("A", "y"));
    EXPECT_TRUE(b.DeleteKey("B", "x"));
    EXPECT_EQ(FileText(dir / "b.ini"), "[A]\nx=1\n");

    // A key added after a deletion goes after the last remaining line.
    ASSERT_TRUE(ini.WriteString("Planes", "5", "plane6.txt"));
    EXPECT_EQ(FileText(dir / "a.ini"),
              "[Planes]\r\nNumPlanes=3\r\n5=plane6.txt\r\n[PlaneNames]\r\n2=Extra\r\n");
}

TEST_F(IniFileTest, TakesTheFirstOfTwoSectionsOrKeysOfOneName)
{
    IniFile ini = Written("[A]\nk=first\nK=second\n[a]\nk=third\nz=other\n");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "first");
    EXPECT_EQ(ini.ReadString("A", "z", "none"), "none"); // the second [a] is never read
    ASSERT_TRUE(ini.WriteString("A", "K", "changed"));
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nk=changed\r\nK=second\r\n[a]\r\nk=third\r\nz=other\r\n");
    // Once the first is deleted, the second of the name counts.
    ASSERT_TRUE(ini.DeleteKey("a", "K"));
    EXPECT_EQ(ini.ReadString("A", "k", ""), "second");
}

TEST_F(IniFileTest, AcceptsCrLfLfAndCrLineEnds)
{
    IniFile ini = Written("[A]\r\nx=1\ry=2\nz=3");
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "y", 0), 2);
    EXPECT_EQ(ini.ReadInteger("A", "z", 0), 3);
    ASSERT_TRUE(ini.WriteInteger("A", "z", 4));
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=1\r\ny=2\r\nz=4\r\n");
}

TEST_F(IniFileTest, RefusesWhatCannotStandOnOneLine)
{
    IniFile ini = Written("[A]\r\nx=1\r\n");
    // Section, key and value: a line break anywhere, an empty key, or one that reads as a key or a section.
    const std::vector<std::array<std::string, 3>> refused = {
        {"A", "x", "two\r\nlines"}, {"A", "new\nkey", "1"}, {"A", "", "1"},
        {"A", "k=v", "1"},          {"A", "[B]", "1"},       {"A]", "x", "1"}};
    for (const auto& [section, key, value] : refused)
        EXPECT_FALSE(ini.WriteString(section, key, value)) << key;
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=1\r\n");
}

TEST_F(IniFileTest, SeesWhatAnotherWriterPutOnTheDisk)
{
    IniFile first(dir / "a.ini");
    IniFile second(dir / "a.ini");
    // The file is new: the first write makes it with the section and the key.
    EXPECT_EQ(first.ReadInteger("General", "ZoomFactor", 0), 0);
    ASSERT_TRUE(second.WriteInteger("General", "ZoomFactor", 3));
    EXPECT_EQ(first.ReadInteger("General", "ZoomFactor", 0), 3);
    ASSERT_TRUE(first.WriteInteger("Window", "Left", -12));
    EXPECT_EQ(FileText(dir / "a.ini"), "[General]\r\nZoomFactor=3\r\n[Window]\r\nLeft=-12\r\n");

    // Many writes in quick succession, each seen by the other object.
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE((i % 2 ? first : second).WriteInteger("General", "ZoomFactor", i % 5));
        ASSERT_EQ((i % 2 ? second : first).ReadInteger("General", "ZoomFactor", -1), i % 5) << i;
    }

    // A user's edit is noticed too.
    WriteFile(dir / "a.ini", std::string("[General]\r\nZoomFactor=2\r\n"));
    EXPECT_EQ(second.ReadInteger("General", "ZoomFactor", 0), 2);
}

TEST_F(IniFileTest, BatchWritesTheFileOnceWhenCommitted)
{
    IniFile ini = Written("[A]\r\nx=1\r\n");
    {
        IniFile::Batch batch(ini);
        ASSERT_TRUE(ini.WriteInteger("A", "x", 2));
        ASSERT_TRUE(ini.WriteInteger("B", "y", 3));
        EXPECT_EQ(ini.ReadInteger("A", "x", 0), 2); // reads see the pending writes
        EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=1\r\n");
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=2\r\n[B]\r\ny=3\r\n");

    {
        IniFile::Batch batch(ini);
        ini.DeleteKey("B", "y");
    } // the destructor commits
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=2\r\n[B]\r\n");
}

TEST_F(IniFileTest, ReportsAFailedWriteAndKeepsTheFile)
{
    WriteFile(dir / "file", "");
    IniFile inFile(dir / "file" / "a.ini");
    EXPECT_FALSE(inFile.WriteInteger("A", "x", 1));
    EXPECT_EQ(inFile.ReadInteger("A", "x", 7), 7); // memory follows the disk

    // The new file cannot be written beside the old one: the old one stays.
    WriteFile(dir / "a.ini", "[A]\r\nx=1\r\n");
    DiskFaults full(1, true, ENOSPC);
    IniFile blocked(dir / "a.ini");
    EXPECT_FALSE(blocked.WriteInteger("A", "x", 2));
    EXPECT_EQ(blocked.ReadInteger("A", "x", 0), 1);
    {
        IniFile::Batch batch(blocked);
        EXPECT_TRUE(blocked.WriteInteger("A", "x", 3));
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(FileText(dir / "a.ini"), "[A]\r\nx=1\r\n");
}

TEST(IniDocument, KeepsManyKeysInOrder)
{
    // Thousands of planes write thousands of keys into interleaved sections.
    IniDocument doc;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(doc.Set("Planes", std::to_string(i), "plane" + std::to_string(i + 1) + ".txt"));
        ASSERT_TRUE(doc.Set("ShowPlanes", std::to_string(i), "1"));
    }
    for (int i = 1000; i < 2000; ++i)
        ASSERT_TRUE(doc.Remove("Planes", std::to_string(i)));
    EXPECT_EQ(doc.KeyNames("Planes").size(), 1000u);
    EXPECT_EQ(doc.Find("planes", "999"), "plane1000.txt");
    EXPECT_FALSE(doc.Find("planes", "1000"));
    const IniDocument again = IniDocument::Parse(doc.Text());
    EXPECT_EQ(again.Text(), doc.Text());
    EXPECT_EQ(again.Find("SHOWPLANES", "1999"), "1");
}
