// The main window, headless: the open flow with every question, the loaded
// state of the window, navigation and its keys, saving and asking to save,
// the recent projects, and the settings file.

#include "EditorFixture.h"

#include "editor/ui/Cursors.h"
#include "core/FileSystem.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QUrl>

using namespace tsl;
using namespace tsl::test;

TEST_F(EditorFixture, StartsWithoutAProjectAndThePleaseLoadPicture)
{
    auto& editor = Editor();
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar");
    EXPECT_EQ(S(editor.StatusText()), "Ready");
    for (const char* name : {"saveProjectAction", "previousLevelAction", "nextLevelAction", "mapGridAction",
                             "mapViewOptionsAction", "mapConfigurationsAction", "saveMapAsBmpAction"})
        EXPECT_FALSE(editor.Action(name)->isEnabled()) << name;
    EXPECT_TRUE(editor.Action("openProjectAction")->isEnabled());
    EXPECT_FALSE(editor.Panel()->isEnabled());

    const QImage picture = editor.View()->PaintArea()->Picture();
    ASSERT_EQ(picture.size(), QSize(512, 512));
    EXPECT_EQ(picture.pixel(2, 2), qRgb(0, 0, 0));
    // White bold text across the middle, nothing near the edges.
    int white = 0;
    for (int x = 0; x < 512; ++x)
        for (int y = 240; y < 272; ++y)
            white += picture.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 100);
    EXPECT_EQ(editor.minimumSize(), QSize(742, 610));
}

TEST_F(EditorFixture, OpenReportsMissingGameFilesAndChangesNothing)
{
    TempDir empty;
    Prompts().Directory(empty.path());
    EXPECT_FALSE(Editor().OpenProject(false));
    ASSERT_EQ(Prompts().Records().size(), 2u);
    const PromptRecord& chooser = Prompts().Records()[0];
    EXPECT_EQ(chooser.kind, PromptRecord::Kind::Directory);
    EXPECT_EQ(chooser.text, "Select the directory containing the data files.");
    ExpectMessage(1, "Couldn't find MAPHEAD file!", "Error loading maps", MessageIcon::Warning, Buttons::Ok);

    WriteFile(empty / "MAPHEAD.XYZ", Bytes(402, 0));
    Prompts().Directory(empty.path());
    EXPECT_FALSE(Editor().OpenProject(false));
    ExpectMessage(3, "Couldn't find MAPTEMP or GAMEMAPS file!", "Error loading maps", MessageIcon::Warning,
                  Buttons::Ok);
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
    EXPECT_EQ(S(Editor().windowTitle()), "Tesselar");
}

TEST_F(EditorFixture, CancellingTheDirectoryChoiceIsNotAnError)
{
    Prompts().Directory(std::nullopt);
    EXPECT_TRUE(Editor().OpenProject(false));
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
}

TEST_F(EditorFixture, AMissingStructureIsOfferedAndNoEndsTheOpen)
{
    const fs::path game = GameWithExtension("ABC");
    Prompts().Answer(Answer::No);
    EXPECT_FALSE(Editor().OpenProject(true, game));
    ExpectMessage(0,
                  "Couldn't find a map definition structure for \"ABC\"-files!\n\nDo you wish to create a map "
                  "definition structure for \"ABC\"-files?",
                  "Error loading map definition structure", MessageIcon::Question, Buttons::YesNo);
    EXPECT_FALSE(fs::exists(App().MapDefs() / "ABC"));
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
}

TEST_F(EditorFixture, CancellingTheStructureDialogEndsTheOpen)
{
    const fs::path game = GameWithExtension("ABC");
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { dialog->close(); });
    EXPECT_FALSE(Editor().OpenProject(true, game));
    EXPECT_FALSE(fs::exists(App().MapDefs() / "ABC"));
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
}

TEST_F(EditorFixture, TheLoadedWindowShowsTheFirstMapAndItsSymbols)
{
    OpenSample();
    auto& editor = Editor();
    EXPECT_TRUE(Prompts().Records().empty()) << "the sample game opens without a question";
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Gatehouse");
    EXPECT_EQ(S(editor.StatusText()), "Ready");
    EXPECT_FALSE(editor.Changed());
    for (const char* name : {"saveProjectAction", "nextLevelAction", "mapGridAction", "mapViewOptionsAction",
                             "mapConfigurationsAction", "saveMapAsBmpAction"})
        EXPECT_TRUE(editor.Action(name)->isEnabled()) << name;
    EXPECT_FALSE(editor.Action("previousLevelAction")->isEnabled());
    EXPECT_TRUE(editor.Panel()->isEnabled());

    QComboBox* planes = editor.Panel()->PlaneSelector();
    ASSERT_EQ(planes->count(), 3);
    EXPECT_EQ(S(planes->itemText(0)), "Walls and Floors");
    EXPECT_EQ(S(planes->itemText(1)), "Objects and Actors");
    EXPECT_EQ(S(planes->itemText(2)), "Extra");
    EXPECT_EQ(planes->currentIndex(), 0);

    const Project& project = *editor.CurrentProject();
    QListWidget* list = editor.Panel()->SymbolList();
    ASSERT_EQ(list->count(), static_cast<int>(project.Symbols.PlaneSymbols(0).size()));
    EXPECT_EQ(S(list->item(0)->text()), "0 - Nothing");
    EXPECT_EQ(S(list->item(1)->text()), "1 - " + project.Symbols.PlaneSymbols(0)[1].SymbolName);

    EXPECT_EQ(S(editor.Panel()->LeftRow().text->text()), "0 - Nothing");
    EXPECT_EQ(S(editor.Panel()->RightRow().text->text()), "0 - Nothing");
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(S(editor.Panel()->TileRow(p).text->text()), "0 - Nothing") << p;
    EXPECT_EQ(S(editor.Panel()->XLabel()->text()), "X: 0");
    EXPECT_EQ(S(editor.Panel()->YLabel()->text()), "Y: 0");

    EXPECT_EQ(editor.ViewImage().width, 64 * 8);
    EXPECT_EQ(editor.ViewImage().height, 64 * 8);
    EXPECT_EQ(editor.View()->PaintArea()->size(), QSize(512, 512));
}

TEST_F(EditorFixture, ChoosingAPlaneRefillsTheListAndTheSelectionRows)
{
    OpenSample();
    auto& editor = Editor();
    const Project& project = *editor.CurrentProject();
    QListWidget* list = editor.Panel()->SymbolList();

    // A right press on entry 2 of plane 1 sets the right button's value there.
    editor.Panel()->PlaneSelector()->setCurrentIndex(1);
    emit editor.Panel()->PlaneSelector()->activated(1);
    ASSERT_EQ(list->count(), static_cast<int>(project.Symbols.PlaneSymbols(1).size()));
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row.center());
    const MapSymbols& symbol = project.Symbols.PlaneSymbols(1)[2];
    EXPECT_EQ(editor.Session()->RightValue(1), symbol.Value);
    EXPECT_EQ(S(editor.Panel()->RightRow().text->text()), SymbolTables::EntryText(symbol));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(editor.Session()->LeftValue(1), project.Symbols.PlaneSymbols(1)[1].Value);

    // Back on plane 0 the rows show that plane's values, 0.
    editor.Panel()->PlaneSelector()->setCurrentIndex(0);
    emit editor.Panel()->PlaneSelector()->activated(0);
    EXPECT_EQ(S(editor.Panel()->RightRow().text->text()), "0 - Nothing");
    EXPECT_EQ(S(list->item(0)->text()), "0 - Nothing");
}

TEST_F(EditorFixture, ThePointerFillsTheTileInformationRowsAndTheCoordinates)
{
    OpenSample();
    auto& editor = Editor();
    MapList& map = editor.CurrentProject()->Maps.Current();
    map.SetWord(0, 5, 3, 2);
    map.SetWord(1, 5, 3, 999); // no symbol of plane 2 has it
    MapPaintArea* area = editor.View()->PaintArea();
    // Tile (5, 3) at zoom 1: pixels 40..47 x 24..31.
    QTest::mouseMove(area, QPoint(5 * 8 + 3, 3 * 8 + 4));
    EXPECT_EQ(S(editor.Panel()->XLabel()->text()), "X: 5");
    EXPECT_EQ(S(editor.Panel()->YLabel()->text()), "Y: 3");
    EXPECT_EQ(S(editor.Panel()->TileRow(0).text->text()), "2 - Grey Stone 2");
    EXPECT_EQ(S(editor.Panel()->TileRow(1).text->text()), "999 - Unknown");
}

TEST_F(EditorFixture, NavigationAndItsKeysStopAtBothEnds)
{
    OpenSample();
    auto& editor = Editor();
    const int count = editor.CurrentProject()->Maps.NumMaps();
    // Page Down on the first map does nothing.
    QTest::keyClick(&editor, Qt::Key_PageDown);
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, 0);
    // Page Up goes forward.
    QTest::keyClick(&editor, Qt::Key_PageUp);
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, 1);
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Cell Block");
    EXPECT_TRUE(editor.Action("previousLevelAction")->isEnabled());
    for (int i = 1; i < count + 2; ++i)
        editor.Action("nextLevelAction")->trigger();
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, count - 1);
    EXPECT_FALSE(editor.Action("nextLevelAction")->isEnabled());
    QTest::keyClick(&editor, Qt::Key_PageUp);
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, count - 1);
    QTest::keyClick(&editor, Qt::Key_PageDown);
    EXPECT_EQ(editor.CurrentProject()->Maps.CurrentMap, count - 2);
    // The view follows the map's size.
    editor.PreviousMap(); // map 5, "Bunker", 40 x 28
    EXPECT_EQ(S(editor.windowTitle()), "Tesselar: Bunker");
    EXPECT_EQ(editor.ViewImage().width, 40 * 8);
    EXPECT_EQ(editor.ViewImage().height, 28 * 8);
}

TEST_F(EditorFixture, AskSaveChangesWithNoAndCancel)
{
    OpenSample();
    auto& editor = Editor();
    EXPECT_TRUE(editor.AskSaveChanges()) << "nothing changed: no question";
    EXPECT_TRUE(Prompts().Records().empty());

    editor.SetChanged(true);
    Prompts().Answer(Answer::Cancel);
    EXPECT_FALSE(editor.AskSaveChanges());
    ExpectMessage(0, "You have made changes to your maps.\n\nDo you wish to save this data now?", "Save maps",
                  MessageIcon::Question, Buttons::YesNoCancel);
    Prompts().Answer(Answer::No);
    EXPECT_TRUE(editor.AskSaveChanges());
    EXPECT_TRUE(editor.Changed());
    EXPECT_FALSE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));
}

TEST_F(EditorFixture, AskSaveChangesWithYesSavesThroughTheProgressDialog)
{
    OpenSample();
    auto& editor = Editor();
    editor.SetChanged(true);
    Prompts().Answer(Answer::Yes);
    QString statusWhileOpen;
    WhenModal([&](QWidget* dialog) { ClickClose(dialog, [&](QWidget*) { statusWhileOpen = editor.StatusText(); }); });
    EXPECT_TRUE(editor.AskSaveChanges());
    EXPECT_EQ(S(statusWhileOpen), "Maps saved!");
    EXPECT_EQ(S(editor.StatusText()), "Ready");
    EXPECT_FALSE(editor.Changed());
    EXPECT_TRUE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));
    ExpectSameMaps(LoadSet(SampleGameDir()), LoadSet(SampleCopy()));
}

TEST_F(EditorFixture, SaveProjectWritesTheFilesAndShowsTheProgressTexts)
{
    OpenSample();
    auto& editor = Editor();
    editor.CurrentProject()->Maps.Maps[2].SetWord(0, 1, 1, 7);
    editor.SetChanged(true);
    QStringList labels;
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(S(dialog->windowTitle()), "Progress");
        ClickClose(dialog, [&labels](QWidget* shown) {
            for (QLabel* label : shown->findChildren<QLabel*>())
                labels << label->text();
        });
    });
    editor.Action("saveProjectAction")->trigger();
    EXPECT_TRUE(labels.contains("Maps saved!")) << S(labels.join("|"));
    EXPECT_TRUE(labels.contains("Maps (7 / 7)")) << S(labels.join("|"));
    EXPECT_FALSE(editor.Changed());
    EXPECT_EQ(S(editor.StatusText()), "Ready");
    EXPECT_EQ(LoadSet(SampleCopy()).Maps[2].Word(0, 1, 1), 7);
}

TEST_F(EditorFixture, ClosingWithChangesAsksAndCancelKeepsTheWindow)
{
    OpenSample();
    auto& editor = Editor();
    editor.show();
    editor.SetChanged(true);
    Prompts().Answer(Answer::Cancel);
    EXPECT_FALSE(editor.close());
    EXPECT_TRUE(editor.isVisible());
    ExpectMessage(0, "You have made changes to your maps.\n\nDo you wish to save this data now?", "Save maps",
                  MessageIcon::Question, Buttons::YesNoCancel);
    Prompts().Answer(Answer::No);
    EXPECT_TRUE(editor.close());
}

TEST_F(EditorFixture, OpeningAnotherProjectAsksFirstAndKeepsTheOldOneOnCancel)
{
    OpenSample();
    auto& editor = Editor();
    editor.SetChanged(true);
    Prompts().Answer(Answer::Cancel);
    editor.Action("openProjectAction")->trigger();
    EXPECT_TRUE(editor.Changed());
    EXPECT_EQ(Prompts().Records().size(), 1u) << "no directory dialog after Cancel";
}

TEST_F(EditorFixture, TheRecentListKeepsFiveSlotsNewestFirst)
{
    std::vector<fs::path> games;
    for (const char* name : {"one", "two", "three", "four", "five", "six"})
        games.push_back(App().CopySampleGame(name));
    for (const fs::path& game : games)
        ASSERT_TRUE(Editor().OpenProject(true, game));
    const auto& recent = Editor().Settings().RecentList;
    EXPECT_EQ(recent[0], games[5].string());
    EXPECT_EQ(recent[4], games[1].string());

    // A known directory keeps its slot.
    ASSERT_TRUE(Editor().OpenProject(true, games[3]));
    EXPECT_EQ(recent[0], games[5].string());
    EXPECT_EQ(recent[2], games[3].string());

    // The File menu shows them with their accelerators.
    QMenu* file = Editor().findChild<QMenu*>("fileMenu");
    emit file->aboutToShow();
    EXPECT_EQ(S(Editor().Action("recentProject1")->text()), "&1 " + games[5].string());
    EXPECT_TRUE(Editor().Action("recentProject5")->isVisible());

    // Choosing an item opens it without the directory dialog.
    Editor().Action("recentProject3")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps.Path, games[3]);
    EXPECT_TRUE(Prompts().Records().empty());

    // The list is in TSL.ini and read back by the next window.
    IniFile ini(App().SettingsFile());
    EXPECT_EQ(ini.ReadString("Recent", "1", ""), games[5].string());
    EXPECT_EQ(ini.ReadString("Recent", "5", ""), games[1].string());
}

TEST_F(EditorFixture, RecentDirectoriesAreComparedWithTheirLetterCase)
{
    const fs::path lower = App().CopySampleGame("game");
    const fs::path upper = App().CopySampleGame("GAME");
    ASSERT_TRUE(Editor().OpenProject(true, lower));
    ASSERT_TRUE(Editor().OpenProject(true, upper));
    EXPECT_EQ(Editor().Settings().RecentList[0], upper.string());
    EXPECT_EQ(Editor().Settings().RecentList[1], lower.string());
}

TEST_F(EditorFixture, SettingsAreWrittenAndReadBack)
{
    OpenSample();
    Editor().resize(900, 700);
    Editor().Action("checkForUpdateAtStartupAction")->trigger();
    EXPECT_TRUE(IniFile(App().SettingsFile()).ReadBool("Update", "CheckAtStartup", false)) << "written at once";
    Recreate();
    IniFile ini(App().SettingsFile());
    EXPECT_EQ(ini.ReadInteger("Window", "Width", 0), 900);
    EXPECT_EQ(ini.ReadInteger("Window", "Height", 0), 700);
    EXPECT_EQ(ini.ReadInteger("Window", "WindowState", -1), 0);
    EXPECT_TRUE(ini.HasKey("Update", "CheckFileURL"));
    EXPECT_TRUE(ini.HasKey("Recent", "5"));
    EXPECT_EQ(Editor().width(), 900);
    EXPECT_TRUE(Editor().Action("checkForUpdateAtStartupAction")->isChecked());
    // The structure's settings were written by the open and on closing.
    IniFile structure(App().MapDefs() / "WL6" / "WL6.ini");
    EXPECT_EQ(structure.ReadInteger("General", "Compression", -1), 1);
    EXPECT_EQ(structure.ReadInteger("General", "RLEWTag", 0), 0xABCD);
}

TEST_F(EditorFixture, AMaximizedWindowComesBackMaximized)
{
    Close();
    WriteFile(App().SettingsFile(), std::string("[Window]\r\nWindowState=2\r\n"));
    Recreate();
    EXPECT_TRUE(Editor().windowState() & Qt::WindowMaximized);
    Close();
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadInteger("Window", "WindowState", -1), 2);

    // A size below the minimum comes back at the minimum.
    WriteFile(App().SettingsFile(), std::string("[Window]\r\nWidth=10\r\nHeight=20\r\n"));
    Recreate();
    EXPECT_EQ(Editor().size(), QSize(742, 610));
}

TEST_F(EditorFixture, ZoomAndGridAreStoredInTheStructure)
{
    OpenSample();
    auto& editor = Editor();
    editor.Panel()->ZoomSlider()->setValue(3);
    EXPECT_EQ(editor.ZoomFactor(), 6);
    EXPECT_EQ(editor.View()->PaintArea()->size(), QSize(64 * 48, 64 * 48));
    EXPECT_EQ(editor.ViewImage().width, 512) << "the picture does not grow with the zoom";
    IniFile structure(App().MapDefs() / "WL6" / "WL6.ini");
    EXPECT_EQ(structure.ReadInteger("General", "ZoomFactor", -1), 3);

    editor.Action("mapGridAction")->trigger();
    EXPECT_TRUE(structure.ReadBool("General", "MapGrid", false));

    // Opened again, the game comes back with its zoom and grid.
    Recreate();
    OpenSample();
    EXPECT_EQ(Editor().ZoomPosition(), 3);
    EXPECT_EQ(Editor().Panel()->ZoomSlider()->value(), 3);
    EXPECT_TRUE(Editor().MapGrid());
}

TEST_F(EditorFixture, DroppingAFolderOpensIt)
{
    const fs::path game = App().CopySampleGame("dropped");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(game.string()))});
    // A drop reaches a window only after it accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&Editor(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&Editor(), &drop);
    ASSERT_NE(Editor().CurrentProject(), nullptr);
    EXPECT_EQ(Editor().CurrentProject()->Maps.Path, game);
}

TEST_F(EditorFixture, SaveMapAsBitmapWritesTheMapPictureWhateverTheZoom)
{
    OpenSample();
    auto& editor = Editor();
    editor.Panel()->ZoomSlider()->setValue(1);
    editor.Action("mapGridAction")->trigger();
    TempDir out;
    Prompts().File(out / "map.bmp");
    editor.Action("saveMapAsBmpAction")->trigger();
    const PromptRecord& chooser = Prompts().Records().at(0);
    EXPECT_EQ(chooser.kind, PromptRecord::Kind::SaveFile);
    EXPECT_EQ(chooser.text, "Save as BMP");
    EXPECT_EQ(chooser.filter, "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*");
    EXPECT_EQ(chooser.defaultExtension, "bmp");
    QImage written(Q((out / "map.bmp").string()));
    ASSERT_EQ(written.size(), QSize(512, 512));
    // Pixel for pixel the view picture: no grid, no enlargement.
    const Image& view = editor.ViewImage();
    for (int y = 0; y < 512; y += 7)
        for (int x = 0; x < 512; x += 5)
            ASSERT_EQ(written.pixel(x, y) & 0xFFFFFF, view.Pixel(x, y) & 0xFFFFFF) << x << "," << y;

    // A file that cannot be written is reported.
    Prompts().File(out / "missing" / "map.bmp");
    editor.Action("saveMapAsBmpAction")->trigger();
    ExpectMessage(2, "Couldn't write the bitmap file map.bmp!", "Error saving bitmap", MessageIcon::Error,
                  Buttons::Ok);
}

TEST(Cursors, TheFourCustomCursorsAreRegistered)
{
    RegisterCursors();
    for (const char* name : {"Pencil", "Flood", "Pick", "Select"}) {
        EXPECT_TRUE(CursorRegistered(name)) << name;
        EXPECT_FALSE(CursorNamed(name).pixmap().isNull()) << name;
    }
}

TEST_F(EditorFixture, ASaveThatFailsKeepsTheChangesAndTheWindow)
{
    OpenSample();
    auto& editor = Editor();
    editor.show();
    editor.SetChanged(true);
    // Equal Carmack tags cannot be written: the save refuses.
    editor.CurrentProject()->Maps.FarTag = editor.CurrentProject()->Maps.NearTag;
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    EXPECT_FALSE(editor.close());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(editor.Changed());
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_EQ(Prompts().Records()[1].caption, "Error saving maps");
    EXPECT_FALSE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));
}

TEST_F(EditorFixture, TheSymbolListDrawsPictureAndTextWhiteOnNavyWhenSelected)
{
    OpenSample();
    auto& editor = Editor();
    QListWidget* list = editor.Panel()->SymbolList();
    list->setCurrentRow(1);
    const QRect row = list->visualItemRect(list->item(1));
    EXPECT_EQ(row.height(), 16);
    const QImage shot = list->viewport()->grab().toImage();
    const Image& picture = editor.CurrentProject()->Symbols.SymbolPicture(0, 1);
    ASSERT_FALSE(picture.empty());
    // The 8 x 8 picture at (left, top + 3).
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(shot.pixel(row.left() + x, row.top() + 3 + y) & 0xFFFFFF, picture.Pixel(x, y) & 0xFFFFFF);
    // Navy behind the selected entry, and white text pixels on it.
    EXPECT_EQ(shot.pixel(row.right() - 2, row.top() + 1) & 0xFFFFFF, 0x000080u);
    int white = 0;
    for (int x = row.left() + 10; x < row.left() + 60; ++x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            white += (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFFu;
    EXPECT_GT(white, 5);
    // An entry that is not selected has the list's own background.
    const QRect other = list->visualItemRect(list->item(2));
    EXPECT_NE(shot.pixel(other.right() - 2, other.top() + 1) & 0xFFFFFF, 0x000080u);
}

TEST_F(EditorFixture, SavingASetLoadedWithDamageAsksFirstAndNoSavesNothing)
{
    OpenSample();
    auto& editor = Editor();
    editor.CurrentProject()->Maps.LoadedWithDamage = true;
    Prompts().Answer(Answer::No);
    EXPECT_FALSE(editor.SaveProject());
    EXPECT_EQ(Prompts().Records().at(0).caption, "Save maps");
    EXPECT_FALSE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));

    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    EXPECT_TRUE(editor.SaveProject());
    ASSERT_EQ(Prompts().Records().size(), 3u);
    EXPECT_EQ(Prompts().Records()[2].text,
              "Maps saved!\n\nThe previous files were kept as GAMEMAPS.WL6.BAK and MAPHEAD.WL6.BAK.");
    EXPECT_TRUE(Prompts().Finished()) << Prompts().Unfinished();
}
