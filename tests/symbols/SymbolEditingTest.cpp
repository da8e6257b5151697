// The editors' rules without a window: moves, additions and deletions with
// the selection they leave, the checks on names and ids, and writing every
// plane's file or none.

#include "TestUtil.h"
#include "core/FileSystem.h"
#include "symbols/SymbolEditing.h"
#include "symbols/SymbolTables.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

std::string Line(int value, const std::string& name, char digit)
{
    return std::to_string(value) + "," + name + "," + std::string(64, digit) + ",w,0";
}

SymbolWorkingCopy Copy(const std::vector<std::string>& plane0)
{
    auto tables = SymbolTables::FromLines({plane0, {Line(0, "Nothing", '0')}}, {"w,Wall,1", "x,Exit,1"});
    EXPECT_TRUE(tables);
    return SymbolWorkingCopy(*tables);
}

std::vector<int> Values(const SymbolWorkingCopy& copy, int plane = 0)
{
    std::vector<int> values;
    for (const WorkingSymbol& s : copy.Symbols(plane))
        values.push_back(s.Symbol.Value);
    return values;
}

} // namespace

TEST(MoveEntry, MovesByOneOrToAnEndAndStaysPutAtTheEnds)
{
    struct Case {
        int index;
        MoveStep step;
        int at;
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        {2, MoveStep::Up, 1, {0, 2, 1, 3}},     {2, MoveStep::Down, 3, {0, 1, 3, 2}},
        {2, MoveStep::Top, 0, {2, 0, 1, 3}},    {1, MoveStep::Bottom, 3, {0, 2, 3, 1}},
        {0, MoveStep::Up, 0, {0, 1, 2, 3}},     {3, MoveStep::Down, 3, {0, 1, 2, 3}},
        {0, MoveStep::Top, 0, {0, 1, 2, 3}},    {-1, MoveStep::Down, -1, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<int> list = {0, 1, 2, 3};
        EXPECT_EQ(MoveEntry(list, c.index, c.step), c.at) << c.index;
        EXPECT_EQ(list, c.order) << c.index;
    }
}

TEST(SymbolWorkingCopy, AddsDeletesAndRenamesWithTheEditorsMessages)
{
    SymbolWorkingCopy copy = Copy({Line(0, "Nothing", '0'), Line(1, "A", '9'), Line(2, "B", 'C'),
                                   Line(3, "C", 'A'), Line(4, "D", 'E')});
    EXPECT_EQ(copy.Symbols(0)[2].Picture.Pixel(0, 0), 0xFF0000FFu);

    auto added = copy.Add(0, 300);
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 5);
    const WorkingSymbol& fresh = copy.Symbols(0)[5];
    EXPECT_EQ(fresh.Symbol, (MapSymbols{300, 5, "New Tile", "ot", "0"})); // its line: the save test below
    auto twice = copy.Add(0, 300);
    ASSERT_FALSE(twice);
    EXPECT_EQ(twice.failure().text, "The choosen ID already exists, please choose a different one!");
    EXPECT_EQ(twice.failure().caption, "Map symbol error");
    EXPECT_TRUE(copy.Add(1, 300)); // another plane

    EXPECT_EQ(*copy.Delete(0, 2), 2); // the new third
    EXPECT_EQ(*copy.Delete(0, 4), 3); // the last: the new last
    EXPECT_EQ(*copy.Delete(0, -1), 0); // nothing selected: the first goes
    EXPECT_EQ(Values(copy), (std::vector<int>{1, 3, 4}));
    copy.Delete(0, 0);
    copy.Delete(0, 0);
    auto only = copy.Delete(0, 0);
    ASSERT_FALSE(only);
    EXPECT_EQ(only.failure().text, "You must have at least one map symbol!");

    EXPECT_EQ(copy.Rename(0, 0, "")->text, "You have to enter a map symbol name!");
    EXPECT_EQ(copy.Rename(0, 0, "a,b")->text, "A map symbol name can't contain a comma!");
    EXPECT_EQ(copy.Rename(0, 0, "a\nb")->text, "A map symbol name can't contain a line break!");
    EXPECT_EQ(copy.Rename(0, 0, "a\rb")->icon, MessageIcon::Error);
    EXPECT_FALSE(copy.Rename(0, 0, "Exit sign"));
    EXPECT_EQ(copy.Symbols(0)[0].Symbol.SymbolName, "Exit sign");
}

TEST(ParseSymbolId, TakesDecimalIdsAMapWordCanHold)
{
    EXPECT_EQ(*ParseSymbolId("0"), 0);
    EXPECT_EQ(*ParseSymbolId("065535"), 65535);
    for (const char* text : {"65536", "99999999999999999999"}) {
        auto id = ParseSymbolId(text);
        ASSERT_FALSE(id) << text;
        EXPECT_EQ(id.failure().text, "The ID must be between 0 and 65535!");
        EXPECT_EQ(id.failure().caption, "Map symbol error");
    }
    EXPECT_EQ(ParseSymbolId("").failure().text, "You must enter an ID for the new map symbol!");
}

TEST(SymbolTypeEditing, ProtectsBuiltInIdsAndRefusesDoublesAndCommas)
{
    std::vector<MapSymbolTypes> types = {{1, "w", "Wall"}, {1, "ot", "Other Tile"}, {0, "x", "Exit"}};
    auto text = [](const std::optional<Failure>& f) { return f ? f->text : std::string(); };

    EXPECT_FALSE(ChangeSymbolTypeId(types, 0, "q")); // built in: ignored
    EXPECT_EQ(types[0].TypeID, "w");
    EXPECT_EQ(text(ChangeSymbolTypeId(types, 1, "")), "You have to enter a map symbol type ID!");
    EXPECT_EQ(text(ChangeSymbolTypeId(types, 1, "x")), kIdExistsText);
    EXPECT_EQ(text(ChangeSymbolTypeId(types, 1, "o,t")), "A map symbol type ID can't contain a comma!");
    EXPECT_FALSE(ChangeSymbolTypeId(types, 1, "ot")); // unchanged is no double
    EXPECT_FALSE(ChangeSymbolTypeId(types, 1, "W"));  // case counts
    EXPECT_EQ(types[1].TypeID, "W");

    EXPECT_EQ(text(RenameSymbolType(types, 0, "")), "You have to enter a map symbol type name!");
    EXPECT_EQ(text(RenameSymbolType(types, 0, "Wall,s")), "A map symbol type name can't contain a comma!");
    EXPECT_FALSE(RenameSymbolType(types, 0, "Stone"));
    EXPECT_EQ(types[0], (MapSymbolTypes{1, "w", "Stone"}));

    EXPECT_EQ(text(CheckNewSymbolType("", "y")), "You must enter an ID and a name for the new map symbol type!");
    EXPECT_EQ(text(CheckNewSymbolType("Y", "y\n")), "A map symbol type ID can't contain a line break!");
    for (const char* taken : {"x", "d"}) // in the list; built in though missing
        EXPECT_EQ(AddSymbolType(types, "New", taken).failure().text, kIdExistsText) << taken;
    EXPECT_EQ(*AddSymbolType(types, "Yard", "y"), 3);
    EXPECT_EQ(types[3], (MapSymbolTypes{1, "y", "Yard"}));

    EXPECT_FALSE(DeleteSymbolType(types, 0)); // built in
    EXPECT_EQ(*DeleteSymbolType(types, 3), 2); // the last: the new last
    EXPECT_EQ(*DeleteSymbolType(types, 1), 1);
    std::vector<MapSymbolTypes> one = {{1, "x", "Exit"}};
    EXPECT_EQ(DeleteSymbolType(one, 0).failure().text, "You must have at least one map symbol type!");
    EXPECT_EQ(DeleteSymbolType(one, 0).failure().caption, "Map symbol type error");
}

TEST(SymbolWorkingCopy, SavesEveryPlanesFileOrNone)
{
    TempDir dir;
    const fs::path folder = dir / "WL6";
    fs::create_directories(folder);
    WriteFile(folder / "WL6.ini", "[Planes]\r\n0=walls.txt\r\n1=objects.txt\r\n");
    WriteFile(folder / "mapsymboltypes.txt", "ot,Other Tile,1\r\n");
    const std::string walls = Line(0, "Nothing", '0') + "\r\n" + Line(1, "Grey", '8') + "\r\n";
    const std::string objects = Line(0, "Nothing", '0') + "\r\n";
    WriteFile(folder / "walls.txt", walls);
    WriteFile(folder / "objects.txt", objects);
    WriteFile(folder / "extra.txt", objects);
    SymbolTables tables;
    ASSERT_FALSE(tables.LoadMapSymbols(folder, IniFile(folder / "WL6.ini"), 4)); // planes 2 and 3 share extra.txt

    SymbolWorkingCopy copy(tables);
    copy.Move(0, 1, MoveStep::Top);
    copy.Add(1, 7);
    copy.Add(3, 9);
    // Nothing is written while one file cannot be: the disk is full when objects.txt is created.
    std::optional<Failure> failure;
    {
        DiskFaults full(4, false, ENOSPC);
        failure = copy.Save(tables);
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Couldn't write " + (folder / "objects.txt").string() +
                                 " (No space left on device)!\n\nThe map symbol files were left as they were.");
    EXPECT_EQ(failure->caption, "Map symbol error");
    EXPECT_EQ(FileText(folder / "walls.txt"), walls);
    EXPECT_EQ(FileText(folder / "objects.txt"), objects);

    ASSERT_FALSE(copy.Save(tables));
    EXPECT_EQ(FileText(folder / "walls.txt"), Line(1, "Grey", '8') + "\r\n" + Line(0, "Nothing", '0') + "\r\n");
    EXPECT_EQ(FileText(folder / "objects.txt"), objects + "7,New Tile," + std::string(64, '0') + ",ot,0\r\n");
    EXPECT_EQ(FileText(folder / "extra.txt"), objects + "9,New Tile," + std::string(64, '0') + ",ot,0\r\n");
    EXPECT_EQ(ListDirectory(folder).size(), 5u); // nothing left beside them
}
