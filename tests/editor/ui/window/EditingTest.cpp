// Editing through the window: presses, drags and releases on the map view at
// zoom positions 0 and 3 reach the right tiles, the commands are enabled
// after every step, the "Left:"/"Right:" rows, the tool buttons with their
// keys and cursors, the outline and the paste preview, and Ctrl + wheel.
// The rules of the tools themselves are pinned by the session's own tests.

#include "EditorFixture.h"

#include "editor/ui/views/Cursors.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <tuple>

using namespace tsl;
using namespace tsl::test;

namespace {

class EditingOnTheView : public ZoomedEditor {
protected:
    const MapList& Map() { return Editor().CurrentProject()->Maps().Current(); }
    std::uint16_t Word(int plane, int x, int y) { return Map().Word(static_cast<std::size_t>(plane), x, y); }
    // The words of every plane in the `w` x `h` tiles from `corner`, row by row.
    std::vector<std::uint16_t> Block(QPoint corner, int w, int h)
    {
        std::vector<std::uint16_t> words;
        for (int p = 0; p < 3; ++p)
            for (int y = corner.y(); y < corner.y() + h; ++y)
                for (int x = corner.x(); x < corner.x() + w; ++x)
                    words.push_back(Word(p, x, y));
        return words;
    }
    void ChooseSymbol(int row, Qt::MouseButton button)
    {
        QListWidget* list = Editor().Panel()->SymbolList();
        QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(row)).center());
    }
    void ClickTool(std::uint16_t tool) { Editor().Panel()->ToolButton(tool)->click(); }
    bool Enabled(const char* action) { return Editor().Action(action)->isEnabled(); }
};

INSTANTIATE_TEST_SUITE_P(ZoomPositions, EditingOnTheView, ::testing::Values(0, 3));

} // namespace

TEST_P(EditingOnTheView, APencilStrokeLandsOnTheTilesUnderThePointerAndComesBackWithUndo)
{
    ChooseSymbol(1, Qt::LeftButton);
    const std::vector<std::uint16_t> before = Map().Planes[0];
    Press({3, 4});
    MoveTo({4, 4});
    EXPECT_FALSE(Enabled("undoAction")) << "the stroke is not a step before its release";
    MoveTo({5, 4});
    Release({5, 4});
    for (int x : {3, 4, 5})
        EXPECT_EQ(Word(0, x, 4), 1) << x;
    EXPECT_EQ(Word(0, 6, 4), before[4 * 64 + 6]);
    EXPECT_TRUE(Enabled("undoAction"));
    EXPECT_FALSE(Enabled("redoAction"));
    // The view shows the drawn tiles.
    EXPECT_EQ(Editor().ViewImage().Pixel(4 * 8 + 1, 4 * 8 + 1),
              Editor().CurrentProject()->Symbols.SymbolPicture(0, 1).Pixel(1, 1));

    // A fast drag: one mouse event six tiles further leaves no gap.
    Drag({{20, 30}, {26, 33}});
    for (int x = 20; x <= 26; ++x) {
        int drawn = 0;
        for (int y = 30; y <= 33; ++y)
            drawn += Word(0, x, y) == 1;
        EXPECT_GE(drawn, 1) << "column " << x;
    }

    for (int i = 0; i < 2; ++i)
        Editor().Action("undoAction")->trigger();
    EXPECT_EQ(Map().Planes[0], before);
    EXPECT_FALSE(Enabled("undoAction"));
    EXPECT_TRUE(Enabled("redoAction"));
    Editor().Action("redoAction")->trigger();
    EXPECT_EQ(Word(0, 4, 4), 1);
    EXPECT_EQ(Word(0, 26, 33), before[33 * 64 + 26]) << "one step redone";
}

TEST_P(EditingOnTheView, DoubleClickingAFindingShowsItsTileInTheMiddleOfTheView)
{
    const QPoint tile(40, 45);
    const int map = Editor().Session()->Maps().CurrentMap;
    EditWord(map, 0, tile.x(), tile.y(), 1);  // a wall
    EditWord(map, 1, tile.x(), tile.y(), 58); // and a barrel in it
    const std::vector<MapFinding> findings = Editor().Session()->CheckCurrentMap();
    const auto found = std::find_if(findings.begin(), findings.end(),
                                    [&](const MapFinding& f) { return f.Column == tile.x() && f.Row == tile.y(); });
    ASSERT_NE(found, findings.end());
    const int row = static_cast<int>(found - findings.begin());
    WhenModal([&](QWidget* dialog) {
        auto* list = Find<QListWidget>(dialog, "findingList");
        EXPECT_TRUE(list->wordWrap());
        EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const QRect item = list->visualItemRect(list->item(row));
        // The first click of the two, then the second, as a user's double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        Finish(dialog);
    });
    Editor().Action("mapInformationAction")->trigger();
    EXPECT_EQ(Area()->ShownTile(), std::make_optional(tile));

    // Centred where the scroll bars allow it, and in sight in any case.
    MapView* view = Editor().View();
    const QPoint shown = Area()->mapTo(view->viewport(), Centre(tile));
    EXPECT_TRUE(view->viewport()->rect().contains(shown));
    const std::tuple<QScrollBar*, int, int> axes[] = {
        {view->horizontalScrollBar(), shown.x(), view->viewport()->width() / 2},
        {view->verticalScrollBar(), shown.y(), view->viewport()->height() / 2}};
    for (auto [bar, at, middle] : axes) {
        if (bar->value() > bar->minimum() && bar->value() < bar->maximum()) {
            EXPECT_NEAR(at, middle, 1);
        }
    }
    // The outline: white on the tile's border, black just outside it.
    const int c = Cell();
    const QImage painted = Painted(Area(), QRect(tile * c - QPoint(4, 4), QSize(c + 8, c + 8)));
    EXPECT_EQ(painted.pixel(4, 4 + c / 2), qRgb(255, 255, 255));
    EXPECT_EQ(painted.pixel(3, 4 + c / 2), qRgb(0, 0, 0));

    Drag({{1, 1}}); // the next press lets it go
    EXPECT_EQ(Area()->ShownTile(), std::nullopt);
}

TEST_P(EditingOnTheView, RectangleAndSelectObjectHandBackToTheToolBefore)
{
    ChooseSymbol(2, Qt::RightButton);
    ClickTool(kToolRectangle);
    Press({10, 12}, Qt::RightButton);
    MoveTo({7, 10}, Qt::RightButton);
    const int c = Cell();
    EXPECT_EQ(Area()->OutlineArea(), QRect(7 * c, 10 * c, 4 * c, 3 * c));
    Release({7, 10}, Qt::RightButton);
    EXPECT_TRUE(Area()->OutlineArea().isEmpty()) << "a drawn rectangle leaves no outline";
    // Its corners; what lies between is the session's rule.
    EXPECT_EQ(Word(0, 7, 10), 2);
    EXPECT_EQ(Word(0, 10, 12), 2);
    EXPECT_NE(Word(0, 11, 12), 2);

    // Select Object picks the rectangle's value and gives the Fill back
    // (what the Fill writes is the tools' rule).
    ClickTool(kToolFill);
    ClickTool(kToolSelectObject);
    EXPECT_TRUE(Editor().Panel()->ToolButton(kToolSelectObject)->isChecked());
    Drag({{9, 11}});
    EXPECT_EQ(PanelText("leftText"), "2 - Grey Stone 2");
    EXPECT_TRUE(Editor().Panel()->ToolButton(kToolFill)->isChecked());
}

TEST_P(EditingOnTheView, ASelectionIsCopiedAndItsPreviewFollowsThePointerUntilItIsPlaced)
{
    ClickTool(kToolRectangleSelection);
    const int c = Cell();
    Press({2, 2});
    MoveTo({4, 3});
    EXPECT_EQ(Area()->OutlineArea(), QRect(2 * c, 2 * c, 3 * c, 2 * c));
    Release({4, 3});
    // The selection stays tinted, outlined inside its tiles with dashes of
    // black and white.
    const QImage painted = Painted(Area(), QRect(0, 0, 6 * c, 6 * c));
    int white = 0, black = 0; // on the last pixel column of the selection
    for (int y = 2 * c; y < 4 * c; ++y) {
        white += painted.pixel(5 * c - 1, y) == qRgb(255, 255, 255);
        black += painted.pixel(5 * c - 1, y) == qRgb(0, 0, 0);
    }
    EXPECT_EQ(white + black, 2 * c);
    EXPECT_GE(white, c - 4);
    EXPECT_GE(black, c - 4);
    const Image& view = Editor().ViewImage();
    const int f = c / 8;
    EXPECT_NE(painted.pixel(3 * c + 1, 3 * c + 1) & 0xFFFFFF, view.Pixel((3 * c + 1) / f, (3 * c + 1) / f) & 0xFFFFFF)
        << "tinted";
    EXPECT_EQ(painted.pixel(6 * c - 1, 6 * c - 1) & 0xFFFFFF, view.Pixel((6 * c - 1) / f, (6 * c - 1) / f) & 0xFFFFFF);
    EXPECT_EQ(S(Editor().SelectionStatusText()), "Selection: 3 x 2");
    EXPECT_TRUE(Enabled("cutAction"));
    EXPECT_TRUE(Enabled("copyAction"));

    // The selection is still shown after Ctrl+C: it can be cut or copied again.
    Editor().Action("copyAction")->trigger();
    EXPECT_TRUE(Enabled("cutAction"));
    EXPECT_TRUE(Enabled("copyAction"));
    EXPECT_FALSE(Area()->OutlineArea().isEmpty());
    EXPECT_TRUE(Enabled("pasteAction"));
    const std::vector<std::uint16_t> copied = Block({2, 2}, 3, 2);

    Editor().Action("pasteAction")->trigger();
    EXPECT_TRUE(Editor().Panel()->ToolButton(kToolRectangleSelection)->isChecked());
    EXPECT_TRUE(Area()->OutlineArea().isEmpty());
    MoveTo({30, 40}, Qt::NoButton);
    EXPECT_EQ(Area()->PreviewArea(), QRect(30 * c, 40 * c, 3 * c, 2 * c));
    // The preview's pixel (5, 1) is red where the map beneath is black.
    const QImage placed = Painted(Area(), QRect(30 * c, 40 * c, 3 * c, 2 * c));
    const Image& preview = Editor().Session()->PasteBuffer().Preview;
    ASSERT_NE(preview.Pixel(5, 1), Editor().ViewImage().Pixel(30 * 8 + 5, 40 * 8 + 1));
    EXPECT_EQ(placed.pixel(5 * f, f), preview.Pixel(5, 1));

    Press({30, 40});
    Release({30, 40});
    EXPECT_EQ(Block({30, 40}, 3, 2), copied);
    EXPECT_TRUE(Area()->PreviewArea().isEmpty());
    EXPECT_TRUE(Enabled("undoAction"));
    EXPECT_TRUE(Enabled("pasteAction")) << "the block can be placed again";
}

TEST_F(EditorFixture, ToolButtonsShowTheirKeysAndCursorsAndTheKeysWorkOutsideTextFields)
{
    RegisterCursors();
    OpenSample();
    SidePanel* panel = Editor().Panel();
    MapPaintArea* area = Editor().View()->PaintArea();
    const std::pair<std::uint16_t, const char*> tools[] = {
        {kToolPencil, "Pencil (P)"},       {kToolSelectObject, "Select Object (O)"},
        {kToolRectangle, "Rectangle (R)"}, {kToolRectangleSelection, "Rectangle Selection (S)"},
        {kToolFill, "Fill (F)"}};
    int left = -1;
    for (auto [tool, hint] : tools) {
        QToolButton* button = panel->ToolButton(tool);
        EXPECT_EQ(S(button->toolTip()), hint);
        EXPECT_GT(button->x(), left) << hint << ": left to right";
        left = button->x();
    }
    auto cursorIs = [&](const char* name) {
        return area->cursor().pixmap().toImage() == CursorNamed(name).pixmap().toImage();
    };
    EXPECT_TRUE(cursorIs("Pencil"));
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_F, "Flood"}, {Qt::Key_O, "Pick"}, {Qt::Key_R, "Select"}, {Qt::Key_P, "Pencil"}};
    area->setFocus();
    for (auto [key, cursor] : keys) {
        ASSERT_TRUE(CursorRegistered(cursor)) << cursor;
        EXPECT_FALSE(CursorNamed(cursor).pixmap().isNull()) << cursor;
        QTest::keyClick(area, key);
        EXPECT_TRUE(cursorIs(cursor)) << cursor;
    }
    QTest::keyClick(area, Qt::Key_S);
    EXPECT_EQ(Editor().Session()->CurrentTool(), kToolRectangleSelection);
    // Right after a click on the symbol list the keys still choose tools;
    // the filter field keeps its letters.
    QListWidget* list = panel->SymbolList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F);
    EXPECT_EQ(Editor().Session()->CurrentTool(), kToolFill);
    panel->SymbolFilter()->setFocus();
    QTest::keyClick(panel->SymbolFilter(), Qt::Key_P);
    EXPECT_EQ(Editor().Session()->CurrentTool(), kToolFill);
    EXPECT_EQ(S(panel->SymbolFilter()->text()), "p");
}

TEST_F(OpenedEditor, CtrlWheelZoomsOnePositionKeepingTheTileUnderThePointer)
{
    Editor().resize(900, 700);
    Editor().Panel()->ZoomSlider()->setValue(1);
    MapView* view = Editor().View();
    view->horizontalScrollBar()->setValue(100);
    view->verticalScrollBar()->setValue(60);
    const QPoint pointer(150, 120);
    auto tileUnder = [&] {
        return Editor().View()->PaintArea()->TileAt(view->PaintArea()->mapFrom(view->viewport(), pointer));
    };
    const QPoint tile = tileUnder();
    QWheelEvent in(pointer, view->viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &in);
    EXPECT_EQ(Editor().Panel()->ZoomSlider()->value(), 2);
    EXPECT_EQ(tileUnder(), tile);
    QWheelEvent out(pointer, view->viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &out);
    QApplication::sendEvent(view->viewport(), &out);
    EXPECT_EQ(Editor().Panel()->ZoomSlider()->value(), 0);
    EXPECT_EQ(PanelText("xLabel"), S(QString("X: %1").arg(tileUnder().x()))) << "the whole map fits";
    EXPECT_EQ(PanelText("yLabel"), S(QString("Y: %1").arg(tileUnder().y())));
    QApplication::sendEvent(view->viewport(), &out);
    EXPECT_EQ(Editor().Panel()->ZoomSlider()->value(), 0) << "the track bar's end";
}

TEST_F(EditorFixture, EveryCommandHasItsCaptionShortcutHintAndMenuAndNeedsAProject)
{
    struct Row {
        const char* name;
        const char* caption;
        const char* shortcut;
        const char* hint; // nullptr: no tool button
        const char* menu;
        bool enabledOnOpen; // with the sample just opened
    };
    const Row rows[] = {
        {"restoreBackupAction", "Restore &Backup...", "", nullptr, "fileMenu", true},
        {"importMapAction", "&Import Map", "Shift+Ins", "Import Map (Shift+Insert)", "fileMenu", true},
        {"exportMapAction", "&Export Map", "Shift+Del", "Export Map (Shift+Delete)", "fileMenu", true},
        {"runMapAction", "&Run Map", "F9", "Run Map (F9)", "fileMenu", true},
        {"undoAction", "&Undo", "Ctrl+Z", "Undo (Ctrl+Z)", "editMenu", false},
        {"redoAction", "&Redo", "Ctrl+Y", "Redo (Ctrl+Y)", "editMenu", false},
        {"cutAction", "Cu&t", "Ctrl+X", "Cut (Ctrl+X)", "editMenu", false},
        {"copyAction", "&Copy", "Ctrl+C", "Copy (Ctrl+C)", "editMenu", false},
        {"pasteAction", "&Paste", "Ctrl+V", "Paste (Ctrl+V)", "editMenu", false},
        {"clipboardManagerAction", "Clipboard &Manager", "Ctrl+B", "Clipboard Manager (Ctrl+B)", "editMenu", false},
        {"findReplaceAction", "&Find && Replace", "Ctrl+F", "Find & Replace (Ctrl+F)", "editMenu", true},
        {"goToLevelAction", "&Go To Level", "Ctrl+G", "Go To Level (Ctrl+G)", "mapMenu", true},
        {"addMapAction", "&Add Map", "Ins", "Add Map (Insert)", "mapMenu", true},
        {"deleteMapAction", "&Delete Map", "Del", "Delete Map (Delete)", "mapMenu", true},
        {"mapPropertiesAction", "&Map Properties", "Ctrl+M", nullptr, "mapMenu", true},
        {"autofloorAction", "Auto&floor", "Ctrl+Alt+F", "Autofloor (Ctrl+Alt+F)", "mapMenu", true},
        {"clearMapSolidAction", "Clear Map (Solid)", "", nullptr, "mapMenu", true},
        {"clearMapRandomAction", "Clear Map (Random)", "", nullptr, "mapMenu", true},
        {"generateLevelAction", "&Generate Level...", "", nullptr, "mapMenu", true},
        {"rotate90Action", "&90 Degrees", "", nullptr, "rotateMapMenu", true},
        {"rotate180Action", "&180 Degrees", "", nullptr, "rotateMapMenu", true},
        {"rotate270Action", "&270 Degrees", "", nullptr, "rotateMapMenu", true},
        {"flipHorizontalAction", "&Horizontal", "", nullptr, "flipMapMenu", true},
        {"flipVerticalAction", "&Vertical", "", nullptr, "flipMapMenu", true},
        {"turnFacingObjectsAction", "Turn &Facing Objects", "", nullptr, "advancedMenu", true},
        {"flipPlanesAction", "Flip &Planes", "", nullptr, "advancedMenu", true},
        {"planeManagerAction", "Plan&e Manager", "Ctrl+D", "Plane Manager (Ctrl+D)", "mapMenu", true},
        {"mapInformationAction", "Map Info&rmation", "Ctrl+I", nullptr, "mapMenu", true},
        {"intModeAction", "&Int (16-bit) Mode", "Ctrl+Alt+N", nullptr, "mapMenu", true},
        {"highByteModeAction", "&High Byte Mode", "Ctrl+Alt+H", nullptr, "mapMenu", false},
        {"lowByteModeAction", "&Low Byte Mode", "Ctrl+Alt+L", nullptr, "mapMenu", false},
        {"mapSymbolsAction", "Map &Symbols", "Ctrl+E", nullptr, "mapMenu", true},
        {"preview3DAction", "3D &Preview", "F4", "3D Preview (F4)", "mapMenu", true},
        {"gamePicturesAction", "Game &Pictures and Sounds...", "", nullptr, "mapMenu", false}, // no page file
        {"zoomInAction", "&Zoom In", "Ctrl++", nullptr, "mapMenu", true},
        {"zoomOutAction", "Zoom O&ut", "Ctrl+-", nullptr, "mapMenu", true},
        {"zoomWholeMapAction", "Zoom to &Whole Map", "Ctrl+0", nullptr, "mapMenu", true},
    };
    for (const Row& row : rows) {
        QAction* action = Editor().Action(row.name);
        ASSERT_NE(action, nullptr) << row.name;
        EXPECT_EQ(S(action->text()), row.caption);
        EXPECT_EQ(S(action->shortcut().toString()), row.shortcut);
        if (row.hint) {
            EXPECT_EQ(S(action->toolTip()), row.hint);
        }
        QMenu* menu = Editor().menuBar()->findChild<QMenu*>(row.menu);
        ASSERT_NE(menu, nullptr) << row.menu;
        EXPECT_TRUE(menu->actions().contains(action)) << row.name;
        EXPECT_FALSE(action->isEnabled()) << row.name << " before a project is open";
    }
    EXPECT_EQ(S(Editor().menuBar()->findChild<QMenu*>("advancedMenu")->title()), "Advan&ced");
    OpenSample();
    for (const Row& row : rows)
        EXPECT_EQ(Editor().Action(row.name)->isEnabled(), row.enabledOnOpen) << row.name;
    EXPECT_TRUE(Editor().Action("intModeAction")->isChecked());
    EXPECT_TRUE(Editor().Action("turnFacingObjectsAction")->isChecked()) << "on by default";
    // Every tool-bar button with a key names it.
    for (QAction* action : Editor().findChild<QToolBar*>("mainToolBar")->actions()) {
        if (!action->isSeparator() && !action->shortcut().isEmpty()) {
            EXPECT_TRUE(action->toolTip().section('\n', 0, 0).endsWith(")")) << S(action->toolTip());
        }
    }
}

TEST_F(OpenedEditor, TheByteModesFollowTheSelectedPlane)
{
    Editor().CurrentProject()->Settings->WriteBool("SplitPlanes", "1", true);
    auto choosePlane = [&](int plane) {
        Editor().Panel()->PlaneSelector()->setCurrentIndex(plane);
        emit Editor().Panel()->PlaneSelector()->activated(plane);
    };
    choosePlane(1);
    EXPECT_TRUE(Editor().Action("highByteModeAction")->isEnabled());
    Editor().Action("lowByteModeAction")->trigger();
    EXPECT_TRUE(Editor().Action("lowByteModeAction")->isChecked());
    EXPECT_EQ(Editor().Session()->ValueMode(), kLowByteMode);
    choosePlane(0);
    EXPECT_TRUE(Editor().Action("intModeAction")->isChecked());
    EXPECT_FALSE(Editor().Action("lowByteModeAction")->isEnabled());
}
