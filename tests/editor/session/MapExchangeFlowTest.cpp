// Import and export through the Prompter: the dialogs and questions in
// order, where the maps go, and what is refused before anything changes.

#include "EditorTestUtil.h"
#include "ScriptedPrompter.h"
#include "editor/session/MapExchangeFlow.h"
#include "exchange/ImportMaps.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

class MapExchangeFlow : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    MapHandler set = EmptySet(dir.path(), DataFileVersion::GameMaps, 2);
    std::mt19937 random{7};

    void SetUp() override
    {
        for (const char* name : {"One", "Two", "Three"})
            AddRandomMap(set, random, 8, 8, name);
    }

    // The set's maps `maps` written as a file of `format`.
    fs::path Export(const std::string& name, ExchangeFormat format, std::vector<int> maps)
    {
        EXPECT_FALSE(WriteExchangeFile(dir / name, format, maps, set));
        return dir / name;
    }

    void ExpectRecord(std::size_t i, const std::string& text, const std::string& caption, MessageIcon icon,
                      Buttons buttons = Buttons::Ok)
    {
        ASSERT_LT(i, prompter.Records().size());
        const PromptRecord& r = prompter.Records()[i];
        EXPECT_EQ(r.text, text);
        EXPECT_EQ(r.caption, caption);
        EXPECT_EQ(r.icon, icon);
        EXPECT_EQ(r.buttons, buttons);
    }
};

const std::string kOneMap = "Do you wish to copy the map to the clipboard manager?\n\nBy clicking \"No\" you import "
                            "the map directly.";
const std::string kMaps = "This file has more than one map in it.\n\nDo you wish to copy them to the clipboard "
                          "manager?\n\nBy clicking \"No\" you import the maps directly.";

} // namespace

TEST_F(MapExchangeFlow, ImportsDirectlyWhereAddMapWouldPutThem)
{
    // The current map is the last one: after it, in file order.
    set.CurrentMap = 2;
    prompter.File(Export("three.tsl", ExchangeFormat::TSL, {2, 1, 0})).Answer(Answer::No);
    ImportResult result = ImportMaps(set, prompter);
    EXPECT_EQ(result.Destination, ImportDestination::Direct);
    EXPECT_EQ(result.Maps.size(), 3u);
    InsertExchangeMaps(set, std::move(result.Maps));
    // Where each map goes and what it holds: ExchangeImport.ImportedMapsGoWhereAddMapPutsANewMap.
    EXPECT_EQ(MapNames(set), (std::vector<std::string>{"One", "Two", "Three", "Three", "Two", "One"}));
    const PromptRecord& open = prompter.Records()[0];
    EXPECT_EQ(open.kind, PromptRecord::Kind::OpenFile);
    EXPECT_EQ(open.text, "Import map(s)");
    EXPECT_EQ(open.filter, "All Map Files (*.tsl, *.lvl, *.flr, *.map)|*.tsl;*.lvl;*.flr;*.map|TSL Map Files "
                           "(*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|MapEdit Floor Files (*.flr)|*.flr|"
                           "ChaosEdit / WDC Map Files (*.map)|*.map|All Files (*.*)|*.*");
    EXPECT_EQ(open.selectedFilter, 0);
    ExpectRecord(1, kMaps, "Import maps", MessageIcon::Question, Buttons::YesNoCancel);
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}

TEST_F(MapExchangeFlow, HandsMapsToTheClipboardManagerOrStopsLeavingTheSetAlone)
{
    const fs::path floor = Export("one.flr", ExchangeFormat::MapEdit, {1});
    prompter.File(floor).Answer(Answer::Yes);
    ImportResult result = ImportMaps(set, prompter);
    EXPECT_EQ(result.Destination, ImportDestination::ClipboardManager);
    EXPECT_EQ(result.Maps.size(), 1u);
    ExpectRecord(1, kOneMap, "Import map", MessageIcon::Question, Buttons::YesNoCancel);
    EXPECT_EQ(set.NumMaps(), 3);

    // Any file the reader refuses is shown the same way; its messages are ExchangeFormatsTest's.
    prompter.Clear();
    prompter.File(floor).Answer(Answer::Cancel).File(dir / "missing.tsl").File(std::nullopt);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ImportMaps(set, prompter).Destination, ImportDestination::None);
    ExpectRecord(3, "Couldn't open the map file missing.tsl!", "Error importing map", MessageIcon::Warning);
    EXPECT_EQ(prompter.Records().size(), 5u);
    EXPECT_EQ(set.NumMaps(), 3);
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}

TEST_F(MapExchangeFlow, RefusesADirectImportTheGameFilesCouldNotStore)
{
    // A plain header holds 100 maps.
    while (set.NumMaps() < 99)
        set.AddMap(set.CreateMap(8, 8, "Filler"));
    const fs::path two = Export("two.tsl", ExchangeFormat::TSL, {0, 1});
    prompter.File(two).Answer(Answer::No);
    EXPECT_EQ(ImportMaps(set, prompter).Destination, ImportDestination::None);
    ExpectRecord(2, "The map set would have 101 maps, but its header holds at most 100!\n\nNo map was imported.",
                 "Error importing map", MessageIcon::Error);
    EXPECT_EQ(set.NumMaps(), 99);
    set.WDCCompatibleMaps = true; // a WDC header has no such limit
    prompter.File(two).Answer(Answer::No);
    EXPECT_EQ(ImportMaps(set, prompter).Destination, ImportDestination::Direct);

    // 256 x 256 words without a run do not fit a chunk.
    MapHandler big = EmptySet(dir.path(), DataFileVersion::MapTemp, 1);
    big.AddMap(big.CreateMap(256, 256, "Noise"));
    for (std::size_t i = 0; i < big.Maps[0].Planes[0].size(); ++i)
        big.Maps[0].Planes[0][i] = static_cast<std::uint16_t>(i);
    ASSERT_FALSE(WriteExchangeFile(dir / "big.tsl", ExchangeFormat::TSL, std::vector<int>{0}, big));
    prompter.Clear();
    prompter.File(dir / "big.tsl").Answer(Answer::No);
    EXPECT_EQ(ImportMaps(big, prompter).Destination, ImportDestination::None);
    ExpectRecord(2, "Plane 1 of map 1 of the file needs 131078 bytes, more than the 65535 bytes the map files can "
                    "hold!\n\nNo map was imported.",
                 "Error importing map", MessageIcon::Error);
    EXPECT_EQ(big.NumMaps(), 1);
}

TEST_F(MapExchangeFlow, ExportsTheChosenMapsOrTheCurrentOne)
{
    set.CurrentMap = 1;
    int exporterShown = 0;
    std::optional<std::vector<int>> chosen;
    auto exporter = [&] {
        ++exporterShown;
        return chosen;
    };
    struct Case {
        bool chaosEdit;
        std::string file;
        bool exporterCalled;
        std::optional<std::vector<int>> chosen;
        std::vector<int> written; // empty: no file
    };
    const std::vector<Case> cases = {
        {false, "a.tsl", true, std::vector<int>{2, 0}, {2, 0}},
        {false, "b.lvl", true, std::vector<int>{}, {1}},
        {false, "c.map", true, std::vector<int>{1}, {1}},
        {false, "d.tsl", true, std::nullopt, {}},
        {true, "e.map", false, std::nullopt, {1}},
        {false, "f.flr", false, std::nullopt, {1}},
        {false, "g.TSL", false, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        prompter.Clear();
        exporterShown = 0;
        chosen = c.chosen;
        prompter.Answer(c.chaosEdit ? Answer::Yes : Answer::No).File(dir / c.file);
        EXPECT_EQ(ExportMaps(set, prompter, exporter), !c.written.empty()) << c.file;
        EXPECT_EQ(exporterShown, c.exporterCalled ? 1 : 0) << c.file;
        if (c.written.empty()) {
            EXPECT_FALSE(fs::exists(dir / c.file)) << c.file;
            continue;
        }
        const ExchangeFormat format = ExportFormatFor(c.file, c.chaosEdit);
        EXPECT_EQ(ReadFile(dir / c.file), *BuildExchangeFile(format, c.written, set)) << c.file;
    }
    ExpectRecord(0, "Do you wish to export the map in ChaosEdit format?\n\nBy clicking \"No\" you can export the "
                    "map(s) in a different map format.",
                 "Export map(s)", MessageIcon::Question, Buttons::YesNo);
    // A file that cannot be written, for any reason, is reported.
    ExpectRecord(2, "Unknown map file format!", "Error exporting map", MessageIcon::Error);
    const PromptRecord& save = prompter.Records()[1];
    EXPECT_EQ(save.kind, PromptRecord::Kind::SaveFile);
    EXPECT_EQ(save.text, "Export map(s)");
    EXPECT_EQ(save.defaultExtension, "tsl");
    EXPECT_EQ(save.selectedFilter, 0);
    EXPECT_EQ(save.filter, "TSL Map Files (*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|MapEdit Floor Files "
                           "(*.flr)|*.flr|WDC Map Files (*.map)|*.map|All Files (*.*)|*.*");
    prompter.Clear();
    prompter.Answer(Answer::Yes).File(std::nullopt);
    EXPECT_FALSE(ExportMaps(set, prompter, exporter));
    EXPECT_EQ(prompter.Records()[1].filter, "TSL Map Files (*.tsl)|*.tsl|FloEdit Level Files (*.lvl)|*.lvl|MapEdit "
                                            "Floor Files (*.flr)|*.flr|ChaosEdit Map Files (*.map)|*.map|All Files "
                                            "(*.*)|*.*");
    EXPECT_EQ(prompter.Records()[1].selectedFilter, 3);
}

TEST(ImportIntoSession, StoresInTheClipboardManagerOrTheSetAndStartsEveryHistoryAnew)
{
    TempDir dir;
    auto session = MemorySession(dir.path(), {{{16, 16}, {16, 16}}, 3, {1}, false});
    ScriptedPrompter prompter;
    MapHandler other = EmptySet(dir.path(), DataFileVersion::GameMaps, 3);
    std::mt19937 random(3);
    AddRandomMap(other, random, 8, 4, "Far");
    AddRandomMap(other, random, 4, 8, "Near");
    ASSERT_FALSE(WriteExchangeFile(dir / "two.tsl", ExchangeFormat::TSL, std::vector<int>{0, 1}, other));

    // Without an answer that stores maps, no manager is left behind.
    prompter.File(dir / "two.tsl").Answer(Answer::Cancel);
    EXPECT_FALSE(ImportIntoSession(*session, prompter).Overlay);
    EXPECT_EQ(session->ClipboardManager(), nullptr);

    session->SelectPlane(1);
    session->SetValueMode(kHighByteMode);
    session->SetButtonValue(PointerButton::Left, 5);
    session->Pointer({PointerAction::Press, PointerButton::Left, 0, 0});
    session->Pointer({PointerAction::Release, PointerButton::Left, 0, 0});
    session->MarkSaved();
    prompter.File(dir / "two.tsl").Answer(Answer::Yes);
    const EditResult stored = ImportIntoSession(*session, prompter);
    EXPECT_TRUE(stored.ValuesChanged);
    EXPECT_EQ(stored.Status, "2 maps put into the clipboard manager");
    const CB_Manager* manager = session->ClipboardManager();
    ASSERT_NE(manager, nullptr);
    const CB_Manager kept = *manager;
    ASSERT_EQ(kept.Entries.size(), 2u);
    EXPECT_EQ(kept.Entries[1].Planes, other.Maps[1].Planes);
    EXPECT_EQ(kept.Entries[1].Preview.width, 4 * 8);
    EXPECT_FALSE(kept.Discard);
    EXPECT_EQ(MapNames(session->Maps()), (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(session->Changed());
    EXPECT_FALSE(session->CanUndo());
    EXPECT_EQ(session->ValueMode(), kIntMode);
    EXPECT_EQ(session->SelectedPlane(), 0);

    // Straight into the set: the first map inserted is shown.
    prompter.File(dir / "two.tsl").Answer(Answer::No);
    EXPECT_EQ(ImportIntoSession(*session, prompter).Status, "2 maps imported");
    EXPECT_EQ(MapNames(session->Maps()), (std::vector<std::string>{"Near", "Far", "A", "B"}));
    EXPECT_EQ(session->Maps().CurrentMap, 0);
    session->GoToLevel(3);
    prompter.File(dir / "two.tsl").Answer(Answer::No);
    ImportIntoSession(*session, prompter);
    EXPECT_EQ(MapNames(session->Maps()), (std::vector<std::string>{"Near", "Far", "A", "B", "Far", "Near"}));
    EXPECT_EQ(session->Maps().CurrentMap, 4);
    EXPECT_TRUE(session->Changed());
    EXPECT_TRUE(session->CanClipboardManager());
    EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
}
