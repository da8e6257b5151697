// Map definition structures on disk: where they are, their settings, and
// what creating one writes, file by file and key by key.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "mapdefs/StructureStore.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

using namespace tsl;
using namespace tsl::test;

namespace {

const std::string kDefaultRecord =
    "0,Nothing,0000000000000000000000000000000000000000000000000000000000000000,ot,0";

using Names = std::vector<std::string>;

// Every setting, in the order of the struct, to compare in one go.
auto Fields(const StructureSettings& s)
{
    return std::make_tuple(s.ExtendedMapNames, s.WDCCompatibleMaps, s.Compression, s.RLEWTag, s.NearTag,
                           s.FarTag, s.MapGrid, s.ZoomFactor, s.NumPlanes);
}

// "Set Defaults (from Wolf3D)", "Carmack compression"
const StructureSettings kWolf3DChoice{.Compression = 1, .RLEWTag = 0xABCD, .NearTag = 0xA7, .FarTag = 0xA8};

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
    EXPECT_EQ(ListStructures(root.path()), (Names{"CO7_Floppy", "SDM", "sod", "WL6"}));
    EXPECT_TRUE(ListStructures(root / "missing").empty());
}

TEST(StructureStore, ReadsEverySettingWithItsDefault)
{
    TempDir dir;
    EXPECT_EQ(Fields(ReadStructureSettings(IniFile(dir / "none.ini"))),
              Fields({.ExtendedMapNames = false, .WDCCompatibleMaps = false, .Compression = 0, .RLEWTag = 43981,
                      .NearTag = 167, .FarTag = 168, .MapGrid = false, .ZoomFactor = 0, .NumPlanes = 0}));

    WriteFile(dir / "SOD.ini", "[general]\nextendedmapnames=1\nWDCCompatibleMaps=2\nCompression=1\nRLEWTag=4660\n"
                               "NearTag=16\nFarTag=32\nMapGrid=1\nZoomFactor=4\n[PLANES]\nNumPlanes=4\n");
    EXPECT_EQ(Fields(ReadStructureSettings(IniFile(dir / "SOD.ini"))),
              Fields({.ExtendedMapNames = true, .WDCCompatibleMaps = true, .Compression = 1, .RLEWTag = 0x1234,
                      .NearTag = 16, .FarTag = 32, .MapGrid = true, .ZoomFactor = 4, .NumPlanes = 4}));
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
    EXPECT_EQ(FileText(dir / "WL6.ini"),
              "[Planes]\r\nNumPlanes=3\r\n"
              "[General]\r\nCompression=1\r\nExtendedMapNames=1\r\nWDCCompatibleMaps=0\r\n"
              "RLEWTag=4660\r\nNearTag=16\r\nFarTag=32\r\nMapGrid=1\r\nZoomFactor=2\r\n");
    // The view's two keys alone, in their places, as the user changes them.
    ASSERT_TRUE(SaveStructureView(ini, false, 4));
    EXPECT_EQ(FileText(dir / "WL6.ini"),
              "[Planes]\r\nNumPlanes=3\r\n"
              "[General]\r\nCompression=1\r\nExtendedMapNames=1\r\nWDCCompatibleMaps=0\r\n"
              "RLEWTag=4660\r\nNearTag=16\r\nFarTag=32\r\nMapGrid=0\r\nZoomFactor=4\r\n");
}

TEST(StructureStore, AppliesAMapConfigurationToTheFileAtOnceAndToTheMapSet)
{
    TempDir dir;
    WriteFile(dir / "WL6.ini", "[General]\r\nWDCCompatibleMaps=1\r\nRLEWTag=43981\r\n");
    IniFile ini(dir / "WL6.ini");
    MapHandler maps = EmptySet(dir.path());
    const MapConfiguration current = CurrentMapConfiguration(maps, ini);
    EXPECT_EQ(std::tie(current.Compression, current.ExtendedMapNames, current.WDCCompatibleMaps),
              std::make_tuple(1, false, true));

    const MapConfiguration chosen{0x1234, 0xF1, 0x34, 1, true, false};
    EXPECT_FALSE(ApplyMapConfiguration(chosen, maps, ini));
    // The tags wait for a save.
    EXPECT_EQ(FileText(dir / "WL6.ini"), "[General]\r\nWDCCompatibleMaps=0\r\nRLEWTag=43981\r\n"
                                         "Compression=1\r\nExtendedMapNames=1\r\n");
    EXPECT_EQ(std::tie(maps.RLEWTag, maps.NearTag, maps.FarTag, maps.ExtendedMapNames, maps.NameLength,
                       maps.WDCCompatibleMaps),
              std::make_tuple(0x1234, 0xF1, 0x34, true, 32, false));
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
    // Grid and zoom are never taken over: a new structure starts without grid and at 1x.
    const StructureSettings choice{.WDCCompatibleMaps = true, .Compression = 1, .RLEWTag = 0xABCD,
                                   .NearTag = 0xA7, .FarTag = 0xA8, .MapGrid = true, .ZoomFactor = 3};
    ASSERT_FALSE(CreateFromScratch(root.path(), "WL6", "", choice, 3));

    EXPECT_EQ(ListDirectory(root / "WL6"),
              (Names{"WL6.ini", "mapsymboltypes.txt", "plane1.txt", "plane2.txt", "plane3.txt"}));
    EXPECT_EQ(FileText(root / "WL6" / "WL6.ini"),
              "[General]\r\nExtendedMapNames=0\r\nWDCCompatibleMaps=1\r\n"
              "Compression=1\r\nRLEWTag=43981\r\nNearTag=167\r\nFarTag=168\r\n"
              "MapGrid=0\r\nZoomFactor=0\r\n"
              "[Planes]\r\nNumPlanes=3\r\n0=plane1.txt\r\n1=plane2.txt\r\n2=plane3.txt\r\n"
              "[PlaneNames]\r\n0=Plane 1 (Unknown)\r\n1=Plane 2 (Unknown)\r\n2=Plane 3 (Unknown)\r\n"
              "[ShowPlanes]\r\n0=1\r\n1=1\r\n2=1\r\n"
              "[SplitPlanes]\r\n0=0\r\n1=0\r\n2=0\r\n");
    for (const char* plane : {"plane1.txt", "plane2.txt", "plane3.txt"})
        EXPECT_EQ(FileText(root / "WL6" / plane), kDefaultRecord) << plane; // no line end
    EXPECT_EQ(FileText(root / "WL6" / "mapsymboltypes.txt"), "ot,Other Tile,1");

    // The floppy structure in a folder of its own, inside a MapDefs folder made for it.
    ASSERT_FALSE(CreateFromScratch(root / "MapDefs", "CO7", "C7.EXE", kWolf3DChoice, 1));
    EXPECT_EQ(ListDirectory(root / "MapDefs" / "CO7_Floppy"),
              (Names{"CO7.ini", "mapsymboltypes.txt", "plane1.txt"}));
}

TEST(StructureStore, CreatesFromAnExistingStructureWithFewerPlanes)
{
    // The floppy structure keeps its settings under the extension's name; the
    // copy for the other executable gets the folder without "_Floppy".
    TempDir root;
    WriteSourceStructure(root.path(), "CO7_Floppy", "CO7.ini");
    const StructureSettings choice{.ExtendedMapNames = true, .Compression = 0, .RLEWTag = 0x1234,
                                   .NearTag = 0x10, .FarTag = 0x20};
    ASSERT_FALSE(CreateFromExisting(root.path(), "CO7_Floppy", "CO7", "CORR7CD.EXE", choice, 2));

    // Every file copied (the settings file already has the name it needs), the
    // removed plane's file gone ("extra.dat" names "extra.txt").
    EXPECT_EQ(ListDirectory(root / "CO7"), (Names{"CO7.ini", "mapsymboltypes.txt", "objects.txt", "readme.txt",
                                                  "walls.txt"}));
    EXPECT_EQ(FileText(root / "CO7" / "walls.txt"), FileText(root / "CO7_Floppy" / "walls.txt"));
    EXPECT_EQ(FileText(root / "CO7" / "CO7.ini"),
              "[General]\r\nExtendedMapNames=1\r\nCompression=0\r\nRLEWTag=4660\r\n"
              "MapGrid=0\r\nZoomFactor=0\r\nWDCCompatibleMaps=0\r\nNearTag=16\r\nFarTag=32\r\n"
              "[Planes]\r\nNumPlanes=2\r\n0=walls.txt\r\n1=objects.txt\r\n"
              "[PlaneNames]\r\n0=Walls\r\n1=Objects\r\n"
              "[ShowPlanes]\r\n0=1\r\n1=1\r\n"
              "[SplitPlanes]\r\n0=0\r\n1=0\r\n");
    // The source is untouched.
    EXPECT_EQ(ListDirectory(root / "CO7_Floppy").size(), 6u);
}

TEST(StructureStore, CreatesFromAnExistingStructureWithMorePlanes)
{
    // Into the floppy structure's folder, the settings file renamed after the extension.
    TempDir root;
    WriteSourceStructure(root.path(), "SOD", "SOD.ini");
    ASSERT_FALSE(CreateFromExisting(root.path(), "sod", "CO7", "C7.EXE", kWolf3DChoice, 5));
    EXPECT_EQ(ListDirectory(root / "CO7_Floppy"),
              (Names{"CO7.ini", "extra.txt", "mapsymboltypes.txt", "objects.txt", "plane4.txt", "plane5.txt",
                     "readme.txt", "walls.txt"}));
    // The added planes follow the copied ones; what each gets is shown from scratch above.
    const IniFile ini(root / "CO7_Floppy" / "CO7.ini");
    EXPECT_EQ(ini.ReadInteger("Planes", "NumPlanes", 0), 5);
    EXPECT_EQ(ini.ReadString("Planes", "2", ""), "extra.dat");
    EXPECT_EQ(ini.ReadString("Planes", "3", ""), "plane4.txt");
    EXPECT_TRUE(ini.ReadBool("SplitPlanes", "2", false)); // the copied keys stay
    // The general keys the choice sets are written as with fewer planes above.
}

TEST(StructureStore, RefusesWhatCannotBeCreated)
{
    TempDir root;
    auto failure = CreateFromExisting(root.path(), "Missing", "WL6", "", kWolf3DChoice, 3);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't find the map definition structure \"Missing\"!");
    EXPECT_EQ(failure->caption, "Error create map definition structure");
    EXPECT_EQ(failure->icon, MessageIcon::Error);

    failure = CreateFromScratch(root.path(), "WL6", "", kWolf3DChoice, 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "The number of planes must be from 1 to 32767!");
    EXPECT_FALSE(fs::exists(root / "WL6"));

    WriteFile(root / "file", "");
    failure = CreateFromScratch(root / "file", "WL6", "", kWolf3DChoice, 3);
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
    EXPECT_EQ(FileText(dir / "a.ini"),
              "[Planes]\r\nNumPlanes=5\r\n0=walls.txt\r\n1=shared.txt\r\n[PlaneNames]\r\n0=A\r\n1=B\r\n");
}

TEST(StructureStore, ResolvesSymbolFileNamesInsideTheStructureOnly)
{
    TempDir dir;
    fs::create_directories(dir / "Sub");
    WriteFile(dir / "Sub" / "Plane1.TXT", "");
    EXPECT_EQ(ResolveStructureFile(dir.path(), "sub\\plane1.txt"), dir / "Sub" / "Plane1.TXT");
    EXPECT_EQ(ResolveStructureFile(dir.path(), "new.txt"), dir / "new.txt");
    for (const char* outside : {"..\\WL6\\plane1.txt", "/etc/passwd", "C:\\x.txt", ""})
        EXPECT_FALSE(ResolveStructureFile(dir.path(), outside)) << outside;

    WriteFile(dir / "a.ini", "[Planes]\r\n0=walls.txt\r\n[PlaneNames]\r\n0=Walls\r\n");
    const IniFile ini(dir / "a.ini");
    EXPECT_EQ(PlaneSymbolFileName(ini, 0), "walls.txt");
    EXPECT_EQ(PlaneSymbolFileName(ini, 1), "extra.txt");
    EXPECT_EQ(PlaneName(ini, 0), "Walls");
    EXPECT_EQ(PlaneName(ini, 1), "Unknown Plane");
}

TEST(HexText, MapsEveryCharacterOntoAHexadecimalDigit)
{
    // Typed text and the digits it becomes.
    const std::vector<std::pair<std::string, std::string>> typed = {
        {"xyz", "FFF"}, {"g", "F"},       {"_", "A"},         {"!", "0"},
        {"a7", "A7"},   {"G@:{", "AAAF"}, {"\xC3\xA9", "FF"}, {"", ""}};
    for (const auto& [text, digits] : typed)
        EXPECT_EQ(HexEditText(text), digits) << text;

    EXPECT_EQ(HexTextValue("ABCD"), 43981);
    EXPECT_EQ(HexTextValue("A7"), 167);
    EXPECT_EQ(HexTextValue("a8"), 168);
    for (const char* text : {"", "XY", "-1"})
        EXPECT_FALSE(HexTextValue(text)) << text;

    EXPECT_EQ(HexText(0xABCD, 4), "ABCD");
    EXPECT_EQ(HexText(0xA7, 2), "A7");
    EXPECT_EQ(HexText(0x7, 2), "07");
}
