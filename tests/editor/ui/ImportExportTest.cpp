// Import and export in the main window: the actions, the status line while
// they run, the map exporter's order, and what an import does to the window.

#include "EditorFixture.h"
#include "editor/ui/EditorActions.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/MapExporter.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

using namespace tsl;
using namespace tsl::test;

namespace {

class ImportExportTest : public EditorFixture {
protected:
    QAction* Get(Command command) { return Editor().Actions()->Get(command); }
};

} // namespace

TEST_F(ImportExportTest, TheExporterWritesThePickedMapsInTheOrderTheyArrive)
{
    EXPECT_EQ(Get(Command::ImportMap)->shortcut(), QKeySequence("Shift+Insert"));
    EXPECT_EQ(S(Get(Command::ExportMap)->toolTip()), "Export Map");
    EXPECT_FALSE(Get(Command::ImportMap)->isEnabled());
    OpenSample();
    EXPECT_TRUE(Get(Command::ExportMap)->isEnabled());

    const fs::path file = App().path() / "three.tsl";
    Prompts().Answer(Answer::No).File(file);
    std::vector<std::string> picked;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Map exporter");
        EXPECT_EQ(S(Editor().StatusText()), "Exporting...");
        auto* available = Find<QListWidget>(dialog, "availableList");
        EXPECT_FALSE(Find<QPushButton>(dialog, "moveLeftButton")->isEnabled());
        for (int row : {2, 3, 4}) {
            available->item(row)->setSelected(true);
            picked.insert(picked.begin(), S(available->item(row)->text()));
        }
        Click(dialog, "moveRightButton");
        auto* toExport = Find<QListWidget>(dialog, "exportList");
        for (int row = 0; row < toExport->count(); ++row)
            EXPECT_EQ(S(toExport->item(row)->text()), picked[static_cast<std::size_t>(row)]);
        Click(dialog, "exportButton");
        Finish(dialog);
    });
    Get(Command::ExportMap)->trigger();
    const MapHandler& maps = Editor().Session()->Maps();
    EXPECT_EQ(ReadFile(file), *BuildExchangeFile(ExchangeFormat::TSL, ResolveExportEntries(picked, maps), maps));
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
    EXPECT_FALSE(Editor().Changed());
}

TEST_F(ImportExportTest, AnImportGoesToTheClipboardManagerOrTheMapList)
{
    OpenSample();
    const fs::path file = App().path() / "two.tsl";
    const MapHandler& maps = Editor().Session()->Maps();
    ASSERT_FALSE(WriteExchangeFile(file, ExchangeFormat::TSL, std::vector<int>{0, 1}, maps));

    EXPECT_FALSE(Get(Command::ClipboardManager)->isEnabled());
    Prompts().File(file).Answer(Answer::Yes);
    Get(Command::ImportMap)->trigger();
    EXPECT_TRUE(Get(Command::ClipboardManager)->isEnabled());
    EXPECT_FALSE(Editor().Changed());

    Prompts().File(file).Answer(Answer::No);
    Get(Command::ImportMap)->trigger();
    EXPECT_EQ(maps.NumMaps(), 9);
    EXPECT_EQ(maps.CurrentMap, 0); // each went in front of the current map and became current
    EXPECT_EQ(S(Editor().windowTitle()), "Tesselar: Cell Block");
    EXPECT_TRUE(Editor().Changed());
    EXPECT_FALSE(Get(Command::Undo)->isEnabled());
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
}
