// The main window, headless: the open flow with every question, the loaded
// state of the window, navigation and its keys, saving and asking to save,
// the recent projects, and the settings file.

#include "EditorFixture.h"

#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSlider>
#include <QTest>
#include <QUrl>

using namespace tsl;
using namespace tsl::test;

TEST_F(EditorFixture, StartsWithoutAProjectAndThePleaseLoadPicture)
{
    EXPECT_EQ(ShownTitle(), "Tesselar");
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
    for (const char* name : {"saveProjectAction", "previousLevelAction", "nextLevelAction", "mapGridAction",
                             "mapViewOptionsAction", "mapConfigurationsAction", "saveMapAsBmpAction"})
        EXPECT_FALSE(Editor().Action(name)->isEnabled()) << name;
    EXPECT_TRUE(Editor().Action("openProjectAction")->isEnabled());
    EXPECT_FALSE(Editor().Panel()->isEnabled());

    const QImage picture = Editor().View()->PaintArea()->Picture();
    ASSERT_EQ(picture.size(), QSize(512, 512));
    EXPECT_EQ(picture.pixel(2, 2), qRgb(0, 0, 0));
    // White bold text across the middle, nothing near the edges.
    int white = 0;
    for (int x = 0; x < 512; ++x)
        for (int y = 240; y < 272; ++y)
            white += picture.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 100);
}

TEST_F(EditorFixture, OpenReportsMissingGameFilesAndChangesNothingAndCancellingIsNoError)
{
    Prompts().Directory(std::nullopt);
    EXPECT_TRUE(Editor().OpenProject(false)) << "a cancelled directory choice is not an error";
    TempDir empty;
    Prompts().Directory(empty.path());
    EXPECT_FALSE(Editor().OpenProject(false));
    ASSERT_EQ(Prompts().Records().size(), 3u);
    const PromptRecord& chooser = Prompts().Records()[0];
    EXPECT_EQ(chooser.kind, PromptRecord::Kind::Directory);
    EXPECT_EQ(chooser.text, "Select the directory containing the data files.");
    ExpectMessage(2, "Couldn't find MAPHEAD file!", "Error loading maps", MessageIcon::Warning, Buttons::Ok);
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
    EXPECT_EQ(ShownTitle(), "Tesselar");
}

TEST_F(EditorFixture, AMissingStructureIsOfferedAndNoOrCancellingTheDialogEndsTheOpen)
{
    const fs::path game = GameWithExtension("ABC");
    Prompts().Answer(Answer::No);
    EXPECT_FALSE(Editor().OpenProject(true, game));
    ExpectMessage(0,
                  "Couldn't find a map definition structure for \"ABC\"-files!\n\nDo you wish to create a map "
                  "definition structure for \"ABC\"-files?",
                  "Error loading map definition structure", MessageIcon::Question, Buttons::YesNo);
    // Yes shows the structure dialog; closing it ends the open as well.
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { dialog->close(); });
    EXPECT_FALSE(Editor().OpenProject(true, game));
    EXPECT_FALSE(fs::exists(App().MapDefs() / "ABC"));
    EXPECT_EQ(Editor().CurrentProject(), nullptr);
}

TEST_F(OpenedEditor, TheLoadedWindowShowsTheFirstMapAndItsSymbols)
{
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse");
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
    EXPECT_FALSE(Editor().Changed());
    for (const char* name : {"saveProjectAction", "nextLevelAction", "mapGridAction", "mapViewOptionsAction",
                             "mapConfigurationsAction", "saveMapAsBmpAction"})
        EXPECT_TRUE(Editor().Action(name)->isEnabled()) << name;
    EXPECT_FALSE(Editor().Action("previousLevelAction")->isEnabled());
    EXPECT_TRUE(Editor().Panel()->isEnabled());

    QComboBox* planes = Editor().Panel()->PlaneSelector();
    EXPECT_EQ(Items(planes), (std::vector<std::string>{"Walls and Floors", "Objects and Actors", "Extra"}));
    EXPECT_EQ(planes->currentIndex(), 0);

    const Project& project = *Editor().CurrentProject();
    QListWidget* list = Editor().Panel()->SymbolList();
    ASSERT_EQ(list->count(), static_cast<int>(project.Symbols.PlaneSymbols(0).size()));
    EXPECT_EQ(S(list->item(1)->text()), "1 - " + project.Symbols.PlaneSymbols(0)[1].SymbolName);

    EXPECT_EQ(PanelText("leftText"), "0 - Nothing");
    EXPECT_EQ(PanelText("rightText"), "0 - Nothing");
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(S(Editor().Panel()->TileRow(p).text->text()), "0 - Nothing") << p;
    EXPECT_EQ(PanelText("xLabel"), "X: 0");
    EXPECT_EQ(PanelText("yLabel"), "Y: 0");
}

TEST_F(OpenedEditor, ChoosingAPlaneRefillsTheListAndTheSelectionRows)
{
    const Project& project = *Editor().CurrentProject();
    QListWidget* list = Editor().Panel()->SymbolList();

    // A right press on entry 2 of plane 1 sets the right button's value there.
    Editor().Panel()->PlaneSelector()->setCurrentIndex(1);
    emit Editor().Panel()->PlaneSelector()->activated(1);
    ASSERT_EQ(list->count(), static_cast<int>(project.Symbols.PlaneSymbols(1).size()));
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row.center());
    const MapSymbols& symbol = project.Symbols.PlaneSymbols(1)[2];
    EXPECT_EQ(Editor().Session()->RightValue(1), symbol.Value);
    EXPECT_EQ(PanelText("rightText"), SymbolTables::EntryText(symbol));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(Editor().Session()->LeftValue(1), project.Symbols.PlaneSymbols(1)[1].Value);

    // Back on plane 0 the rows show that plane's values, 0.
    Editor().Panel()->PlaneSelector()->setCurrentIndex(0);
    emit Editor().Panel()->PlaneSelector()->activated(0);
    EXPECT_EQ(PanelText("rightText"), "0 - Nothing");
}

TEST_F(OpenedEditor, NavigationAndItsKeysStopAtBothEnds)
{
    const int count = Editor().CurrentProject()->Maps().NumMaps();
    // Page Down on the first map does nothing.
    QTest::keyClick(&Editor(), Qt::Key_PageDown);
    EXPECT_EQ(Editor().CurrentProject()->Maps().CurrentMap, 0);
    // Page Up goes forward.
    QTest::keyClick(&Editor(), Qt::Key_PageUp);
    EXPECT_EQ(ShownTitle(), "Tesselar: Cell Block");
    EXPECT_TRUE(Editor().Action("previousLevelAction")->isEnabled());
    for (int i = 1; i < count + 2; ++i)
        Editor().Action("nextLevelAction")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps().CurrentMap, count - 1);
    EXPECT_FALSE(Editor().Action("nextLevelAction")->isEnabled());
    QTest::keyClick(&Editor(), Qt::Key_PageUp);
    EXPECT_EQ(Editor().CurrentProject()->Maps().CurrentMap, count - 1);
    QTest::keyClick(&Editor(), Qt::Key_PageDown);
    EXPECT_EQ(Editor().CurrentProject()->Maps().CurrentMap, count - 2);
    // The view follows the map's size.
    Editor().PreviousMap(); // map 5, "Bunker", 40 x 28
    EXPECT_EQ(ShownTitle(), "Tesselar: Bunker");
    EXPECT_EQ(Editor().ViewImage().width, 40 * 8);
    EXPECT_EQ(Editor().ViewImage().height, 28 * 8);
}

TEST_F(OpenedEditor, ClosingWithChangesAsksCancelKeepsTheWindowNoClosesWithoutSaving)
{
    EXPECT_TRUE(Editor().AskSaveChanges()) << "nothing changed: no question";
    EXPECT_TRUE(Prompts().Records().empty());

    EditWord(0, 0, 1, 1, 2);
    Prompts().Answer(Answer::Cancel);
    EXPECT_FALSE(Editor().close()); // close() says whether the window closed
    ExpectMessage(0, "You have made changes to your maps.\n\nDo you wish to save this data now?", "Save maps",
                  MessageIcon::Question, Buttons::YesNoCancel);
    Prompts().Answer(Answer::No);
    EXPECT_TRUE(Editor().close());
    EXPECT_TRUE(Editor().Changed());
    EXPECT_FALSE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));
}

TEST_F(OpenedEditor, AskSaveChangesWithYesSavesThroughTheProgressDialog)
{
    EditWord(2, 0, 1, 1, 7);
    Prompts().Answer(Answer::Yes);
    // What the progress dialog shows is TProgressBoxTest's; the status line is the window's.
    QString statusWhileOpen;
    WhenModal([&](QWidget* dialog) {
        ClickClose(dialog, [&](QWidget*) { statusWhileOpen = Editor().StatusText(); });
    });
    EXPECT_TRUE(Editor().AskSaveChanges());
    EXPECT_EQ(S(statusWhileOpen), "Maps saved!");
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
    EXPECT_FALSE(Editor().Changed());
    EXPECT_EQ(LoadSet(SampleCopy()).Maps[2].Word(0, 1, 1), 7);
}

TEST_F(OpenedEditor, OpeningAnotherProjectAsksFirstAndAFailedOpenKeepsTheOldOne)
{
    EditWord(0, 0, 1, 1, 2);
    Prompts().Answer(Answer::Cancel);
    Editor().Action("openProjectAction")->trigger();
    EXPECT_TRUE(Editor().Changed());
    EXPECT_EQ(Prompts().Records().size(), 1u) << "no directory dialog after Cancel";

    TempDir empty;
    Prompts().Directory(empty.path());
    Prompts().Answer(Answer::No); // do not save the changes
    Editor().Action("openProjectAction")->trigger();
    ASSERT_NE(Editor().CurrentProject(), nullptr);
    EXPECT_EQ(Editor().CurrentProject()->Maps().Path, SampleCopy());
    EXPECT_EQ(ShownTitle(), "Tesselar: Gatehouse*") << "the changes are still there";
    EXPECT_EQ(S(Editor().StatusText()), "Ready");
}

TEST_F(EditorFixture, EveryOpenGoesIntoTheRecentListOfTheFileMenuAndOfTSLini)
{
    // The list's own rules (five slots, in the order of use) are AppSettings'.
    const fs::path first = App().CopySampleGame("one");
    const fs::path second = App().CopySampleGame("two");
    for (const fs::path& game : {first, second})
        ASSERT_TRUE(Editor().OpenProject(true, game));
    // In TSL.ini at once: the open wrote the other settings before the list changed.
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadString("Recent", "1", ""), second.string());

    // The File menu shows them with their accelerators.
    emit Editor().findChild<QMenu*>("fileMenu")->aboutToShow();
    EXPECT_EQ(S(Editor().Action("recentProject1")->text()), "&1 " + second.string());
    EXPECT_TRUE(Editor().Action("recentProject2")->isVisible());

    // Choosing an item opens it without the directory dialog.
    Editor().Action("recentProject2")->trigger();
    EXPECT_EQ(Editor().CurrentProject()->Maps().Path, first);
    EXPECT_TRUE(Prompts().Records().empty());
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadString("Recent", "1", ""), first.string()) << "first again";
}

TEST_F(OpenedEditor, SettingsAreWrittenAndReadBack)
{
    Editor().resize(900, 700);
    Editor().Action("checkForUpdateAtStartupAction")->trigger();
    EXPECT_TRUE(IniFile(App().SettingsFile()).ReadBool("Update", "CheckAtStartup", false)) << "written at once";
    Recreate();
    EXPECT_EQ(IniFile(App().SettingsFile()).ReadInteger("Window", "WindowState", -1), 0);
    EXPECT_EQ(Editor().size(), QSize(900, 700));
    EXPECT_TRUE(Editor().Action("checkForUpdateAtStartupAction")->isChecked());
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

TEST_F(OpenedEditor, ZoomAndGridAreStoredInTheStructure)
{
    Editor().Panel()->ZoomSlider()->setValue(3);
    EXPECT_EQ(Editor().ViewImage().width, 512) << "the picture does not grow with the zoom";
    IniFile structure(App().MapDefs() / "WL6" / "WL6.ini");
    EXPECT_EQ(structure.ReadInteger("General", "ZoomFactor", -1), 3);

    Editor().Action("mapGridAction")->trigger();
    EXPECT_TRUE(structure.ReadBool("General", "MapGrid", false));

    // Opened again, the game comes back with its zoom and grid.
    Recreate();
    OpenSample();
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
    EXPECT_EQ(Editor().CurrentProject()->Maps().Path, game);
}

TEST_F(OpenedEditor, SaveMapAsBitmapWritesTheMapPictureWhateverTheZoom)
{
    Editor().Panel()->ZoomSlider()->setValue(1);
    Editor().Action("mapGridAction")->trigger();
    TempDir out;
    Prompts().File(out / "map.bmp");
    Editor().Action("saveMapAsBmpAction")->trigger();
    const PromptRecord& chooser = Prompts().Records().at(0);
    EXPECT_EQ(chooser.kind, PromptRecord::Kind::SaveFile);
    EXPECT_EQ(chooser.text, "Save as BMP");
    EXPECT_EQ(chooser.filter, "Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*");
    EXPECT_EQ(chooser.defaultExtension, "bmp");
    QImage written(Q((out / "map.bmp").string()));
    ASSERT_EQ(written.size(), QSize(512, 512));
    // Pixel for pixel the view picture: no grid, no enlargement.
    const Image& view = Editor().ViewImage();
    for (int y = 0; y < 512; y += 7)
        for (int x = 0; x < 512; x += 5)
            ASSERT_EQ(written.pixel(x, y) & 0xFFFFFF, view.Pixel(x, y) & 0xFFFFFF) << x << "," << y;

    // A file that cannot be written is reported.
    Prompts().File(out / "missing" / "map.bmp");
    Editor().Action("saveMapAsBmpAction")->trigger();
    ExpectMessage(2, "Couldn't write the bitmap file map.bmp!", "Error saving bitmap", MessageIcon::Error,
                  Buttons::Ok);
}

TEST_F(OpenedEditor, ASaveThatFailsKeepsTheChangesAndTheWindow)
{
    EditWord(0, 0, 1, 1, 2);
    // Equal Carmack tags cannot be written: the save refuses.
    Editor().Session()->Document().ChangeStorage([](MapHandler& maps) { maps.FarTag = maps.NearTag; });
    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    EXPECT_FALSE(Editor().close());
    EXPECT_TRUE(Editor().Changed());
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_EQ(Prompts().Records()[1].caption, "Error saving maps");
}

TEST_F(OpenedEditor, TheSymbolListDrawsPictureAndTextWhiteOnNavyWhenSelected)
{
    QListWidget* list = Editor().Panel()->SymbolList();
    list->setCurrentRow(1);
    const QRect row = list->visualItemRect(list->item(1));
    EXPECT_EQ(row.height(), 16);
    const QImage shot = list->viewport()->grab().toImage();
    const Image& picture = Editor().CurrentProject()->Symbols.SymbolPicture(0, 1);
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

TEST_F(OpenedEditor, SavingASetLoadedWithDamageAsksFirstAndNoSavesNothing)
{
    Editor().Session()->Document().ChangeStorage([](MapHandler& maps) { maps.LoadedWithDamage = true; });
    Prompts().Answer(Answer::No);
    EXPECT_FALSE(Editor().SaveProject());
    EXPECT_EQ(Prompts().Records().at(0).caption, "Save maps");
    EXPECT_FALSE(fs::exists(SampleCopy() / "GAMEMAPS.WL6.BAK"));

    Prompts().Answer(Answer::Yes);
    WhenModal([](QWidget* dialog) { ClickClose(dialog); });
    EXPECT_TRUE(Editor().SaveProject());
    ASSERT_EQ(Prompts().Records().size(), 3u);
    EXPECT_EQ(Prompts().Records()[2].text,
              "Maps saved!\n\nThe previous files were kept as GAMEMAPS.WL6.BAK and MAPHEAD.WL6.BAK.");
}
