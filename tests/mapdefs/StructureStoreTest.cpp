// Map definition structures on disk: where they are, their settings, and
// what creating one writes, file by file and key by key.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::string kDefaultRecord =
    "0,Nothing,0000000000000000000000000000000000000000000000000000000000000000,ot,0";

std::string Text(const fs::path& path)
{
    const Bytes bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FilesIn(const fs::path& dir)
{
    return ListDirectory(dir);
}

StructureSettings Wolf3DChoice()
{
    StructureSettings s; // "Set Defaults (from Wolf3D)", "Carmack compression"
    s.Compression = 1;
    s.RLEWTag = 0xABCD;
    s.NearTag = 0xA7;
    s.FarTag = 0xA8;
    return s;
}

std::string PlaneKeys(int from, int to)
{
    std::string planes, names, show, split;
    for (int i = from; i < to; ++i) {
        const std::string k = std::to_string(i), n = std::to_string(i + 1);
        planes += k + "=plane" + n + ".txt\r\n";
        names += k + "=Plane " + n + " (Unknown)\r\n";
        show += k + "=1\r\n";
        split += k + "=0\r\n";
    }
    return planes + "[PlaneNames]\r\n" + names + "[ShowPlanes]\r\n" + show + "[SplitPlanes]\r\n" + split;
}

// A three-plane structure as a modder keeps it: own names, a split plane,
// one more file that is not a symbol file.
void WriteSourceStructure(const fs::path& root, const std::string& name, const std::string& iniName)
{
    fs::create_directories(root / name);
    WriteFile(root / name / iniName, "[General]\r\nExtendedMapNames=0\r\nCompression=1\r\nRLEWTag=43981\r\n"
                                     "MapGrid=1\r\nZoomFactor=3\r\n"
                                     "[Planes]\r\nNumPlanes=3\r\n0=walls.txt\r\n1=objects.txt\r\n2=extra.dat\r\n"
                                     "[PlaneNames]\r\n0=Walls\r\n1=Objects\r\n2=Extra\r\n"
                                     "[ShowPlanes]\r\n0=1\r\n1=1\r\n2=0\r\n"
                                     "[SplitPlanes]\r\n0=0\r\n1=0\r\n2=1\r\n");
    WriteFile(root / name / "walls.txt", "1,Grey stone," + std::string(64, '8') + ",w,0\r\n");
    WriteFile(root / name / "objects.txt", kDefaultRecord + "\r\n");
    WriteFile(root / name / "extra.txt", kDefaultRecord + "\r\n");
    WriteFile(root / name / "mapsymboltypes.txt", "w,Wall,1\r\n");
    WriteFile(root / name / "readme.txt", "notes");
}

} // namespace

TEST(StructureStore, NamesTheFolderAfterTheExtensionAndTheFloppyExecutable)
{
    const fs::path root = "/games/MapDefs";
    EXPECT_EQ(StructureName("WL6", ""), "WL6");
    EXPECT_EQ(StructureName("CO7", "C7.EXE"), "CO7_Floppy");
    EXPECT_EQ(StructureName("CO7", "CORR7CD.EXE"), "CO7");
    EXPECT_EQ(StructureName("CO7", "c7.exe"), "CO7"); // compared exactly
    EXPECT_EQ(StructureFolder(root, "CO7", "C7.EXE"), root / "CO7_Floppy");
    EXPECT_EQ(StructureSettingsPath(root, "CO7", "C7.EXE"), root / "CO7_Floppy" / "CO7.ini");
    EXPECT_EQ(StructureSettingsPath(root, "CO7", "CORR7CD.EXE"), root / "CO7" / "CO7.ini");
    EXPECT_EQ(StructureSettingsPath(root, "WL6", ""), root / "WL6" / "WL6.ini");
    EXPECT_EQ(SettingsFileNameOf("CO7_Floppy"), "CO7.ini");
    EXPECT_EQ(SettingsFileNameOf("SOD"), "SOD.ini");
}

TEST(StructureStore, FindsFoldersAndFilesWhateverTheirLetterCase)
{
    TempDir root;
    EXPECT_FALSE(StructureExists(root.path(), "wl6", ""));
    fs::create_directories(root / "wl6");
    EXPECT_FALSE(StructureExists(root.path(), "WL6", "")); // a folder without its settings file
    WriteFile(root / "wl6" / "Wl6.INI", "[Planes]\r\nNumPlanes=3\r\n");
    EXPECT_TRUE(StructureExists(root.path(), "WL6", ""));
    EXPECT_EQ(StructureFolder(root.path(), "WL6", ""), root / "wl6");
    EXPECT_EQ(StructureSettingsPath(root.path(), "WL6", ""), root / "wl6" / "Wl6.INI");

    fs::create_directories(root / "co7_floppy");
    WriteFile(root / "co7_floppy" / "co7.ini", "");
    EXPECT_TRUE(StructureExists(root.path(), "CO7", "C7.EXE"));
    EXPECT_FALSE(StructureExists(root.path(), "CO7", "CORR7CD.EXE"));
    EXPECT_EQ(StructureSettingsPathByName(root.path(), "CO7_FLOPPY"), root / "co7_floppy" / "co7.ini");
}

TEST(StructureStore, ListsTheStructureFoldersByName)
{
    TempDir root;
    for (const char* name : {"WL6", "sod", "CO7_Floppy", "SDM"})
        fs::create_directories(root / name);
    WriteFile(root / ".keep", "");
    WriteFile(root / "README.txt", "");
    EXPECT_EQ(ListStructures(root.path()), (std::vector<std::string>{"CO7_Floppy", "SDM", "sod", "WL6"}));
    EXPECT_TRUE(ListStructures(root / "missing").empty());
}

TEST(StructureStore, ReadsEverySettingWithItsDefault)
{
    TempDir dir;
    const StructureSettings defaults = ReadStructureSettings(IniFile(dir / "none.ini"));
    EXPECT_FALSE(defaults.ExtendedMapNames);
    EXPECT_FALSE(defaults.WDCCompatibleMaps);
    EXPECT_EQ(defaults.Compression, 0);
    EXPECT_EQ(defaults.RLEWTag, 43981);
    EXPECT_EQ(defaults.NearTag, 167);
    EXPECT_EQ(defaults.FarTag, 168);
    EXPECT_FALSE(defaults.MapGrid);
    EXPECT_EQ(defaults.ZoomFactor, 0);
    EXPECT_EQ(defaults.NumPlanes, 0);

    WriteFile(dir / "SOD.ini", "[general]\nextendedmapnames=1\nWDCCompatibleMaps=2\nCompression=1\nRLEWTag=4660\n"
                               "NearTag=16\nFarTag=32\nMapGrid=1\nZoomFactor=4\n[PLANES]\nNumPlanes=4\n");
    const StructureSettings s = ReadStructureSettings(IniFile(dir / "SOD.ini"));
    EXPECT_TRUE(s.ExtendedMapNames);
    EXPECT_TRUE(s.WDCCompatibleMaps);
    EXPECT_EQ(s.Compression, 1);
    EXPECT_EQ(s.RLEWTag, 0x1234);
    EXPECT_EQ(s.NearTag, 16);
    EXPECT_EQ(s.FarTag, 32);
    EXPECT_TRUE(s.MapGrid);
    EXPECT_EQ(s.ZoomFactor, 4);
    EXPECT_EQ(s.NumPlanes, 4);
}

TEST(StructureStore, SavesTheGeneralKeysOfAnOpenProjectInOrder)
{
    TempDir dir;
    WriteFile(dir / "WL6.ini", "[Planes]\r\nNumPlanes=3\r\n[General]\r\nCompression=0\r\n");
    IniFile ini(dir / "WL6.ini");
    MapHandler maps = EmptySet(dir.path()); // a GAMEMAPS game: Compression 1
    maps.RLEWTag = 0x1234;
    maps.NearTag = 0x10;
    maps.FarTag = 0x20;
    maps.ExtendedMapNames = true;
    ASSERT_TRUE(SaveStructureSettings(ini, maps, true, 2));
    EXPECT_EQ(Text(dir / "WL6.ini"), "[Planes]\r\nNumPlanes=3\r\n"
                                     "[General]\r\nCompression=1\r\nExtendedMapNames=1\r\nWDCCompatibleMaps=0\r\n"
                                     "RLEWTag=4660\r\nNearTag=16\r\nFarTag=32\r\nMapGrid=1\r\nZoomFactor=2\r\n");
}

TEST(StructureStore, AppliesAMapConfigurationToTheFileAtOnceAndToTheMapSet)
{
    TempDir dir;
    WriteFile(dir / "WL6.ini", "[General]\r\nWDCCompatibleMaps=1\r\nRLEWTag=43981\r\n");
    IniFile ini(dir / "WL6.ini");
    MapHandler maps = EmptySet(dir.path());
    const MapConfiguration current = CurrentMapConfiguration(maps, ini);
    EXPECT_EQ(current.Compression, 1);
    EXPECT_FALSE(current.ExtendedMapNames);
    EXPECT_TRUE(current.WDCCompatibleMaps);

    const MapConfiguration chosen{0x1234, 0xF1, 0x34, 1, true, false};
    EXPECT_FALSE(ApplyMapConfiguration(chosen, maps, ini));
    EXPECT_EQ(Text(dir / "WL6.ini"), "[General]\r\nWDCCompatibleMaps=0\r\nRLEWTag=43981\r\n" // tags wait for a save
                                     "Compression=1\r\nExtendedMapNames=1\r\n");
    EXPECT_EQ(std::tie(maps.RLEWTag, maps.NearTag, maps.FarTag), std::make_tuple(0x1234, 0xF1, 0x34));
    EXPECT_TRUE(maps.ExtendedMapNames);
    EXPECT_EQ(maps.NameLength, 32);
    EXPECT_FALSE(maps.WDCCompatibleMaps);
    EXPECT_FALSE(ApplyMapConfiguration(MapConfiguration{}, maps, ini));
    EXPECT_EQ(maps.NameLength, 16);

    // A folder in place of the settings file: reported, the map set kept.
    fs::remove(dir / "WL6.ini");
    fs::create_directories(dir / "WL6.ini" / "blocked");
    const auto failure = ApplyMapConfiguration(chosen, maps, ini);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't write the settings file " + (dir / "WL6.ini").string() + "!");
    EXPECT_EQ(failure->caption, "Error create map configurations");
    EXPECT_EQ(failure->icon, MessageIcon::Error);
    EXPECT_EQ(maps.NameLength, 16);
    EXPECT_EQ(maps.RLEWTag, 0xABCD);
}

TEST(StructureStore, CreatesFromScratchExactlyTheDocumentedFiles)
{
    TempDir root;
    StructureSettings choice = Wolf3DChoice();
    choice.WDCCompatibleMaps = true;
    choice.MapGrid = true;  // never taken over: a new structure starts without grid
    choice.ZoomFactor = 3;  // and at 1x
    ASSERT_FALSE(CreateFromScratch(root.path(), "WL6", "", choice, 3));

    EXPECT_EQ(FilesIn(root / "WL6"),
              (std::vector<std::string>{"WL6.ini", "mapsymboltypes.txt", "plane1.txt", "plane2.txt", "plane3.txt"}));
    EXPECT_EQ(Text(root / "WL6" / "WL6.ini"), "[General]\r\nExtendedMapNames=0\r\nWDCCompatibleMaps=1\r\n"
                                              "Compression=1\r\nRLEWTag=43981\r\nNearTag=167\r\nFarTag=168\r\n"
                                              "MapGrid=0\r\nZoomFactor=0\r\n"
                                              "[Planes]\r\nNumPlanes=3\r\n" +
                                                  PlaneKeys(0, 3));
    for (const char* plane : {"plane1.txt", "plane2.txt", "plane3.txt"})
        EXPECT_EQ(Text(root / "WL6" / plane), kDefaultRecord) << plane; // no line end
    EXPECT_EQ(Text(root / "WL6" / "mapsymboltypes.txt"), "ot,Other Tile,1");
    EXPECT_TRUE(StructureExists(root.path(), "WL6", ""));

    const StructureSettings read = ReadStructureSettings(IniFile(StructureSettingsPath(root.path(), "WL6", "")));
    EXPECT_EQ(read.Compression, 1);
    EXPECT_EQ(read.RLEWTag, 43981);
    EXPECT_EQ(read.NearTag, 167);
    EXPECT_EQ(read.FarTag, 168);
    EXPECT_EQ(read.NumPlanes, 3);
}

TEST(StructureStore, CreatesTheFloppyStructureInItsOwnFolder)
{
    TempDir root;
    ASSERT_FALSE(CreateFromScratch(root / "MapDefs", "CO7", "C7.EXE", Wolf3DChoice(), 1));
    EXPECT_EQ(FilesIn(root / "MapDefs" / "CO7_Floppy"),
              (std::vector<std::string>{"CO7.ini", "mapsymboltypes.txt", "plane1.txt"}));
    EXPECT_TRUE(StructureExists(root / "MapDefs", "CO7", "C7.EXE"));
    EXPECT_FALSE(StructureExists(root / "MapDefs", "CO7", "CORR7CD.EXE"));
}

TEST(StructureStore, CreatesFromAnExistingStructureWithFewerPlanes)
{
    TempDir root;
    WriteSourceStructure(root.path(), "WL6", "WL6.ini");
    StructureSettings choice;
    choice.ExtendedMapNames = true;
    choice.Compression = 0;
    choice.RLEWTag = 0x1234;
    choice.NearTag = 0x10;
    choice.FarTag = 0x20;
    ASSERT_FALSE(CreateFromExisting(root.path(), "WL6", "N3D", "", choice, 2));

    // Every file copied, the settings file renamed, the removed plane's file gone
    // ("extra.dat" names "extra.txt").
    EXPECT_EQ(FilesIn(root / "N3D"), (std::vector<std::string>{"N3D.ini", "mapsymboltypes.txt", "objects.txt",
                                                               "readme.txt", "walls.txt"}));
    EXPECT_EQ(Text(root / "N3D" / "walls.txt"), Text(root / "WL6" / "walls.txt"));
    EXPECT_EQ(Text(root / "N3D" / "N3D.ini"), "[General]\r\nExtendedMapNames=1\r\nCompression=0\r\nRLEWTag=4660\r\n"
                                              "MapGrid=0\r\nZoomFactor=0\r\nWDCCompatibleMaps=0\r\nNearTag=16\r\n"
                                              "FarTag=32\r\n"
                                              "[Planes]\r\nNumPlanes=2\r\n0=walls.txt\r\n1=objects.txt\r\n"
                                              "[PlaneNames]\r\n0=Walls\r\n1=Objects\r\n"
                                              "[ShowPlanes]\r\n0=1\r\n1=1\r\n"
                                              "[SplitPlanes]\r\n0=0\r\n1=0\r\n");
    // The source is untouched.
    EXPECT_EQ(FilesIn(root / "WL6").size(), 6u);
}

TEST(StructureStore, CreatesFromAnExistingStructureWithMorePlanes)
{
    TempDir root;
    WriteSourceStructure(root.path(), "WL6", "WL6.ini");
    ASSERT_FALSE(CreateFromExisting(root.path(), "wl6", "SOD", "", Wolf3DChoice(), 5));
    EXPECT_EQ(FilesIn(root / "SOD"),
              (std::vector<std::string>{"SOD.ini", "extra.txt", "mapsymboltypes.txt", "objects.txt", "plane4.txt",
                                        "plane5.txt", "readme.txt", "walls.txt"}));
    EXPECT_EQ(Text(root / "SOD" / "plane4.txt"), kDefaultRecord);
    EXPECT_EQ(Text(root / "SOD" / "plane5.txt"), kDefaultRecord);
    const IniFile ini(root / "SOD" / "SOD.ini");
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", 0), 5);
    EXPECT_EQ(ini.ReadString("Planes", "2", ""), "extra.dat");
    EXPECT_EQ(ini.ReadString("Planes", "3", ""), "plane4.txt");
    EXPECT_EQ(ini.ReadString("PlaneNames", "4", ""), "Plane 5 (Unknown)");
    EXPECT_TRUE(ini.ReadBool("ShowPlanes", "3", false));
    EXPECT_FALSE(ini.ReadBool("SplitPlanes", "4", true));
    EXPECT_TRUE(ini.ReadBool("SplitPlanes", "2", false)); // the copied keys stay
    EXPECT_EQ(ini.ReadInteger("General", "Compression", 0), 1);
    EXPECT_EQ(ini.ReadInteger("General", "ZoomFactor", 9), 0);
}

TEST(StructureStore, CopiesTheFloppyStructureWithItsSettingsNamedAfterTheExtension)
{
    TempDir root;
    WriteSourceStructure(root.path(), "CO7_Floppy", "CO7.ini");
    ASSERT_FALSE(CreateFromExisting(root.path(), "CO7_Floppy", "CO7", "CORR7CD.EXE", Wolf3DChoice(), 3));
    EXPECT_TRUE(StructureExists(root.path(), "CO7", "CORR7CD.EXE"));
    EXPECT_EQ(IniFile(root / "CO7" / "CO7.ini").ReadString("Planes", "0", ""), "walls.txt");

    WriteSourceStructure(root.path(), "SOD", "SOD.ini");
    ASSERT_FALSE(CreateFromExisting(root.path(), "SOD", "CO7", "C7.EXE", Wolf3DChoice(), 3));
    EXPECT_EQ(FilesIn(root / "CO7_Floppy"), (std::vector<std::string>{"CO7.ini", "extra.txt", "mapsymboltypes.txt",
                                                                      "objects.txt", "readme.txt", "walls.txt"}));
}

TEST(StructureStore, RefusesWhatCannotBeCreated)
{
    TempDir root;
    auto failure = CreateFromExisting(root.path(), "Missing", "WL6", "", Wolf3DChoice(), 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't find the map definition structure \"Missing\"!");
    EXPECT_EQ(failure->caption, "Error create map definition structure");
    EXPECT_EQ(failure->icon, MessageIcon::Error);

    failure = CreateFromScratch(root.path(), "WL6", "", Wolf3DChoice(), 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "The number of planes must be from 1 to 32767!");
    EXPECT_FALSE(fs::exists(root / "WL6"));

    WriteFile(root / "file", "");
    failure = CreateFromScratch(root / "file", "WL6", "", Wolf3DChoice(), 3);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Couldn't create the folder"), std::string::npos);
}

TEST(StructureStore, RemovesPlanesWithoutDeletingFilesStillInUse)
{
    TempDir dir;
    WriteFile(dir / "a.ini", "[Planes]\r\nNumPlanes=5\r\n0=walls.txt\r\n1=shared.txt\r\n2=SHARED.txt\r\n"
                             "3=..\\outside.txt\r\n[PlaneNames]\r\n0=A\r\n1=B\r\n2=C\r\n3=D\r\n4=E\r\n");
    for (const char* name : {"walls.txt", "shared.txt", "plane5.txt"})
        WriteFile(dir / name, kDefaultRecord);
    WriteFile(dir / "outside.txt", "keep");
    IniFile ini(dir / "a.ini");
    RemovePlaneEntries(ini, dir.path(), 2, 5);
    EXPECT_TRUE(fs::exists(dir / "shared.txt")); // plane 1 still reads it
    EXPECT_TRUE(fs::exists(dir / "outside.txt"));
    EXPECT_TRUE(fs::exists(dir / "plane5.txt")); // plane 4 had no entry ("-1")
    EXPECT_EQ(Text(dir / "a.ini"),
              "[Planes]\r\nNumPlanes=5\r\n0=walls.txt\r\n1=shared.txt\r\n[PlaneNames]\r\n0=A\r\n1=B\r\n");
}

TEST(StructureStore, ResolvesSymbolFileNamesInsideTheStructureOnly)
{
    TempDir dir;
    fs::create_directories(dir / "Sub");
    WriteFile(dir / "Sub" / "Plane1.TXT", "");
    EXPECT_EQ(ResolveStructureFile(dir.path(), "sub\\plane1.txt"), dir / "Sub" / "Plane1.TXT");
    EXPECT_EQ(ResolveStructureFile(dir.path(), "new.txt"), dir / "new.txt");
    EXPECT_FALSE(ResolveStructureFile(dir.path(), "..\\WL6\\plane1.txt"));
    EXPECT_FALSE(ResolveStructureFile(dir.path(), "/etc/passwd"));
    EXPECT_FALSE(ResolveStructureFile(dir.path(), "C:\\x.txt"));
    EXPECT_FALSE(ResolveStructureFile(dir.path(), ""));

    WriteFile(dir / "a.ini", "[Planes]\r\n0=walls.txt\r\n[PlaneNames]\r\n0=Walls\r\n");
    const IniFile ini(dir / "a.ini");
    EXPECT_EQ(PlaneSymbolFileName(ini, 0), "walls.txt");
    EXPECT_EQ(PlaneSymbolFileName(ini, 1), "extra.txt");
    EXPECT_EQ(PlaneName(ini, 0), "Walls");
    EXPECT_EQ(PlaneName(ini, 1), "Unknown Plane");
}

TEST(HexText, MapsEveryCharacterOntoAHexadecimalDigit)
{
    EXPECT_EQ(HexEditText("xyz"), "FFF");
    EXPECT_EQ(HexEditText("g"), "F");
    EXPECT_EQ(HexEditText("_"), "A");
    EXPECT_EQ(HexEditText("!"), "0");
    EXPECT_EQ(HexEditText("a7"), "A7");
    EXPECT_EQ(HexEditText("G@:{"), "AAAF");
    EXPECT_EQ(HexEditText("\xC3\xA9"), "FF");
    EXPECT_EQ(HexEditText(""), "");

    EXPECT_EQ(HexTextValue("ABCD"), 43981);
    EXPECT_EQ(HexTextValue("A7"), 167);
    EXPECT_EQ(HexTextValue("a8"), 168);
    EXPECT_FALSE(HexTextValue(""));
    EXPECT_FALSE(HexTextValue("XY"));
    EXPECT_FALSE(HexTextValue("-1"));

    EXPECT_EQ(HexText(0xABCD, 4), "ABCD");
    EXPECT_EQ(HexText(0xA7, 2), "A7");
    EXPECT_EQ(HexText(0x7, 2), "07");
}
