// Moving around, picking symbols and seeing what happens, through the
// window: panning with the middle button and with Space, the zoom keys, the
// symbol filter, Escape during a paste, the remembered list settings and
// button values, the status bar's fields, Ctrl+Shift+Z, Ctrl+Q and the first
// window's size. The rules
// behind them (Cancel, the filter's matches, the recent values) are pinned
// by the core's tests; these check the wiring, at zoom positions 0 and 3.

#include "EditorFixture.h"

#include "editor/render/MapRenderer.h"

#include "editor/ui/views/MapView.h"
#include "editor/ui/views/RecentSymbolsRow.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <algorithm>

using namespace tsl;
using namespace tsl::test;

namespace {

class AtZoom : public ZoomedEditor {
protected:
    QPoint Scroll() { return {View()->horizontalScrollBar()->value(), View()->verticalScrollBar()->value()}; }
    QPoint MaxScroll() { return {View()->horizontalScrollBar()->maximum(), View()->verticalScrollBar()->maximum()}; }
    // The tile under the middle of the visible part.
    QPoint CentreTile() { return Area()->TileAt(Area()->mapFrom(View()->viewport(), View()->viewport()->rect().center())); }

    // A mouse event on the paint area at a point of the screen.
    void MouseAt(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, Area()->mapFromGlobal(QPointF(global)), QPointF(global), button, held, Qt::NoModifier);
        QApplication::sendEvent(Area(), &event);
    }
    void Key(QEvent::Type type, Qt::Key key)
    {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "");
        QApplication::sendEvent(Area(), &event);
    }
};

INSTANTIATE_TEST_SUITE_P(ZoomPositions, AtZoom, ::testing::Values(0, 3));

} // namespace

TEST_P(AtZoom, TheMiddleButtonAndALeftDragWithSpacePanTheViewAndDrawNothing)
{
    struct Way {
        Qt::MouseButton button;
        bool space;
    };
    const std::vector<std::uint16_t> before = Editor().CurrentProject()->Maps().Current().Planes[0];
    for (const Way way : {Way{Qt::MiddleButton, false}, Way{Qt::LeftButton, true}}) {
        View()->horizontalScrollBar()->setValue(MaxScroll().x() / 2);
        View()->verticalScrollBar()->setValue(MaxScroll().y() / 2);
        const QPoint start = Scroll();
        Area()->setFocus();
        if (way.space)
            Key(QEvent::KeyPress, Qt::Key_Space);
        const QPoint from = View()->viewport()->mapToGlobal(QPoint(200, 200));
        const QPoint drag(-40, -30); // the map follows the pointer up and left
        MouseAt(QEvent::MouseButtonPress, from, way.button, way.button);
        MouseAt(QEvent::MouseMove, from + drag / 2, Qt::NoButton, way.button);
        MouseAt(QEvent::MouseMove, from + drag, Qt::NoButton, way.button);
        MouseAt(QEvent::MouseButtonRelease, from + drag, way.button, Qt::NoButton);
        if (way.space)
            Key(QEvent::KeyRelease, Qt::Key_Space);
        const QPoint expected(std::clamp(start.x() - drag.x(), 0, MaxScroll().x()),
                              std::clamp(start.y() - drag.y(), 0, MaxScroll().y()));
        EXPECT_EQ(Scroll(), expected) << (way.space ? "Space" : "middle");
        EXPECT_FALSE(View()->Panning());
    }
    EXPECT_FALSE(View()->SpaceHeld());
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Planes[0], before);
    EXPECT_FALSE(Editor().Action("undoAction")->isEnabled());

    // Shift + wheel scrolls sideways.
    View()->horizontalScrollBar()->setValue(0);
    QWheelEvent wheel(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ShiftModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(View()->viewport(), &wheel);
    EXPECT_EQ(View()->horizontalScrollBar()->value(), std::min(View()->horizontalScrollBar()->singleStep(),
                                                                MaxScroll().x()));
}

TEST_P(AtZoom, ZoomKeysStepKeepingTheCentreAndCtrlZeroShowsTheWholeMap)
{
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int step;
    };
    const Press presses[] = {
        {Qt::Key_Plus, Qt::ControlModifier, +1},
        {Qt::Key_Minus, Qt::ControlModifier, -1},
        {Qt::Key_Equal, Qt::ControlModifier, +1},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, -1},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, +1},
    };
    for (const Press& press : presses) {
        Editor().Panel()->ZoomSlider()->setValue(GetParam());
        View()->horizontalScrollBar()->setValue(MaxScroll().x() / 3);
        View()->verticalScrollBar()->setValue(MaxScroll().y() / 3);
        const QPoint centre = CentreTile();
        QTest::keyClick(&Editor(), press.key, press.modifiers);
        const int expected = std::clamp(GetParam() + press.step, 0, 4);
        EXPECT_EQ(Editor().ZoomPosition(), expected) << press.key;
        if (expected != 0) { // at 1x the map may not reach the centre
            EXPECT_EQ(CentreTile(), centre) << press.key;
        }
    }
    QTest::keyClick(&Editor(), Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    const QSize room = View()->maximumViewportSize();
    const int p = Editor().ZoomPosition();
    EXPECT_LE(Area()->width(), room.width());
    EXPECT_LE(Area()->height(), room.height());
    if (p < 4) {
        EXPECT_TRUE(512 * ZoomFactorOf(p + 1) > room.width() || 512 * ZoomFactorOf(p + 1) > room.height());
    }
}

TEST_P(AtZoom, EscapeDropsAPasteForTheToolBeforeAndThenClearsTheSelection)
{
    const std::vector<std::uint16_t> before = Editor().CurrentProject()->Maps().Current().Planes[1];
    Editor().Panel()->ToolButton(kToolRectangleSelection)->click();
    Drag({{2, 2}, {4, 3}});
    Editor().Action("copyAction")->trigger();
    Editor().Panel()->ToolButton(kToolFill)->click();
    Editor().Action("pasteAction")->trigger();
    MoveTo({30, 40}, Qt::NoButton);
    ASSERT_FALSE(Area()->PreviewArea().isEmpty());

    QTest::keyClick(Area(), Qt::Key_Escape);
    EXPECT_TRUE(Area()->PreviewArea().isEmpty());
    EXPECT_TRUE(Editor().Panel()->ToolButton(kToolFill)->isChecked());
    EXPECT_EQ(Editor().CurrentProject()->Maps().Current().Planes[1], before);
    EXPECT_TRUE(Editor().Action("pasteAction")->isEnabled()) << "the block stays for the next paste";

    Editor().Panel()->ToolButton(kToolRectangleSelection)->click();
    Press({5, 5});
    Release({6, 6});
    ASSERT_TRUE(Editor().Action("copyAction")->isEnabled());
    QTest::keyClick(Area(), Qt::Key_Escape);
    EXPECT_TRUE(Area()->OutlineArea().isEmpty());
    EXPECT_FALSE(Editor().Action("copyAction")->isEnabled());
    EXPECT_EQ(S(Editor().SelectionStatusText()), "");
    EXPECT_FALSE(Editor().Action("undoAction")->isEnabled());
}

TEST_F(OpenedEditor, TheFilterNarrowsTheListAndEnterGivesItsEntryToAButton)
{
    SidePanel* panel = Editor().Panel();
    QListWidget* list = panel->SymbolList();
    QLineEdit* filter = panel->SymbolFilter();
    auto shown = [&] {
        std::vector<std::string> texts;
        for (int row = 0; row < list->count(); ++row)
            if (!list->isRowHidden(row))
                texts.push_back(S(list->item(row)->text()));
        return texts;
    };
    Editor().View()->PaintArea()->setFocus();
    QTest::keyClick(Editor().View()->PaintArea(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(filter->hasFocus());

    struct Typed {
        const char* text;
        std::vector<std::string> first; // the first entries shown
    };
    const Typed typed[] = {
        {"BLUE STONE", {"5 - Blue Stone (Cell)", "7 - Blue Stone (Cell with Skeleton)", "8 - Blue Stone 1"}},
        {"10", {"10 - Wood (Eagle)", "100 - Elevator Door Vertical", "101 - Elevator Door Horizontal"}},
    };
    for (const Typed& t : typed) {
        filter->clear();
        QTest::keyClicks(filter, t.text);
        auto texts = shown();
        texts.resize(t.first.size());
        EXPECT_EQ(texts, t.first) << t.text;
    }
    // The first entry shown is the current one; Down walks the entries
    // shown. Enter gives the current one to the left button and the keys
    // back to the map, Shift+Enter to the right button.
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(PanelText("leftText"), "100 - Elevator Door Vertical");
    EXPECT_TRUE(Editor().View()->PaintArea()->hasFocus());
    panel->FocusFilter();
    QTest::keyClick(filter, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(PanelText("rightText"), "100 - Elevator Door Vertical");

    // Escape in the filter clears it, and nothing else.
    Editor().Panel()->ToolButton(kToolRectangleSelection)->click();
    QTest::mouseClick(Editor().View()->PaintArea(), Qt::LeftButton, {}, QPoint(4, 4));
    panel->FocusFilter();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_EQ(S(filter->text()), "");
    EXPECT_EQ(static_cast<int>(shown().size()), list->count());
    EXPECT_TRUE(Editor().Action("copyAction")->isEnabled()) << "the selection stays";

    // Each plane keeps its own filter: the walls' text would find no object.
    auto choosePlane = [&](int plane) {
        panel->PlaneSelector()->setCurrentIndex(plane);
        emit panel->PlaneSelector()->activated(plane);
    };
    QTest::keyClicks(filter, "stone");
    choosePlane(1);
    EXPECT_EQ(S(filter->text()), "");
    EXPECT_EQ(static_cast<int>(shown().size()), list->count());
    QTest::keyClicks(filter, "key");
    choosePlane(0);
    EXPECT_EQ(S(filter->text()), "stone");
    EXPECT_LT(static_cast<int>(shown().size()), list->count());
    choosePlane(1);
    EXPECT_EQ(S(filter->text()), "key");
}

TEST_F(OpenedEditor, ThePalettePicksAWallAndThenAGuardAndThePlaneFollows)
{
    SidePanel* panel = Editor().Panel();
    QListWidget* list = panel->SymbolList();
    QWidget* map = Editor().View()->PaintArea();
    auto rowOf = [&](const std::string& text) {
        for (int row = 0; row < list->count(); ++row)
            if (S(list->item(row)->text()) == text)
                return row;
        ADD_FAILURE() << "no row " << text;
        return 0;
    };
    auto click = [&](const std::string& text, Qt::MouseButton button) {
        QListWidgetItem* item = list->item(rowOf(text));
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(item).center());
    };
    map->setFocus();
    QTest::keyClick(map, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(panel->PaletteShown());
    EXPECT_TRUE(panel->PaletteButton()->isChecked());

    // In a window of 1280 x 800 the palette shows forty symbols at least,
    // each group under a heading on a row of its own, every name in full
    // as its picture's tool tip.
    Editor().resize(1280, 800);
    Editor().show();
    QApplication::processEvents();
    list->doItemsLayout();
    int whole = 0;
    for (int row = 0; row < list->count(); ++row) {
        const QRect rect = list->visualItemRect(list->item(row));
        if (list->item(row)->data(SymbolListDelegate::HeadingRole).toBool()) {
            EXPECT_EQ(rect.left(), 0) << S(list->item(row)->text());
            EXPECT_GE(rect.width(), list->viewport()->width() - 2);
            continue;
        }
        EXPECT_EQ(list->item(row)->toolTip(), list->item(row)->text());
        if (list->viewport()->rect().contains(rect))
            ++whole;
    }
    EXPECT_GE(whole, 40);

    QTest::keyClick(map, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(Editor().SelectedPlane(), 1) << "Ctrl+2: the objects";
    click("1 - Grey Stone 1", Qt::LeftButton);
    EXPECT_EQ(Editor().SelectedPlane(), 0);
    EXPECT_EQ(panel->PlaneSelector()->currentIndex(), 0);
    EXPECT_EQ(PanelText("leftText"), "1 - Grey Stone 1");
    click("108 - Guard Standing East (Level 1)", Qt::RightButton);
    EXPECT_EQ(Editor().SelectedPlane(), 1);
    EXPECT_EQ(panel->PlaneSelector()->currentIndex(), 1);
    EXPECT_EQ(PanelText("rightText"), "108 - Guard Standing East (Level 1)");
    EXPECT_TRUE(panel->PaletteShown()) << "the palette stays";
    EXPECT_EQ(S(list->item(0)->text()), "Walls");

    // The filter searches every plane; a heading shows while an entry under it does.
    panel->FocusFilter();
    QTest::keyClicks(panel->SymbolFilter(), "grey stone 2");
    QTest::keyClick(panel->SymbolFilter(), Qt::Key_Return);
    EXPECT_EQ(Editor().SelectedPlane(), 0);
    EXPECT_EQ(PanelText("leftText"), "2 - Grey Stone 2");
    EXPECT_FALSE(list->isRowHidden(rowOf("Walls")));
    EXPECT_TRUE(list->isRowHidden(rowOf("Doors")));

    QTest::keyClick(map, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(panel->PaletteShown());
    EXPECT_EQ(list->count(), static_cast<int>(Editor().CurrentProject()->Symbols.PlaneSymbols(0).size()));
}

TEST_F(OpenedEditor, ListSettingsAndButtonValuesAreRememberedAndEachPlaneKeepsItsPlace)
{
    SidePanel* panel = Editor().Panel();
    QComboBox* sizes = panel->PictureSizeSelector();
    sizes->setCurrentIndex(2);
    emit sizes->activated(2);
    EXPECT_EQ(panel->ListPictureSize(), 32);
    EXPECT_EQ(panel->SymbolList()->visualItemRect(panel->SymbolList()->item(0)).height(), 34);

    auto choosePlane = [&](int plane) {
        panel->PlaneSelector()->setCurrentIndex(plane);
        emit panel->PlaneSelector()->activated(plane);
    };
    QScrollBar* bar = panel->SymbolList()->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const int plane0 = bar->value();
    ASSERT_GT(plane0, 0);
    choosePlane(1);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(3);
    choosePlane(0);
    EXPECT_EQ(bar->value(), plane0);
    choosePlane(1);
    EXPECT_EQ(bar->value(), 3);

    // The recent row gives its values to the buttons like the list.
    Editor().Session()->SetButtonValue(PointerButton::Left, 0);
    QTest::mouseClick(Editor().View()->PaintArea(), Qt::LeftButton, {}, QPoint(4, 4)); // draws 0 in plane 1
    RecentSymbolsRow* recent = panel->RecentRow();
    ASSERT_EQ(recent->Entries().size(), 1u);
    QTest::mouseClick(recent, Qt::RightButton, {}, recent->CellRect(0).center());
    EXPECT_EQ(Editor().Session()->RightValue(1), 0);
    Editor().Session()->SetButtonValue(PointerButton::Right, 37);

    Recreate();
    EXPECT_EQ(Editor().Panel()->ListPictureSize(), 32);
    OpenSample();
    EXPECT_EQ(Editor().Session()->RightValue(1), 37) << "kept with the structure";
}

TEST_P(AtZoom, TheStatusBarAndTileInformationFollowThePointerAndEveryEdit)
{
    Editor().Session()->SetButtonValue(PointerButton::Left, 1);
    const std::uint16_t old = Editor().CurrentProject()->Maps().Current().Word(0, 5, 6);
    ASSERT_NE(old, 1);
    EditWord(Editor().Session()->Maps().CurrentMap, 1, 5, 6, 999); // no symbol of plane 2 has it
    MoveTo({5, 6}, Qt::NoButton);
    EXPECT_EQ(S(Editor().TileStatusText()), "Tile: 5, 6");
    EXPECT_EQ(PanelText("xLabel"), "X: 5");
    EXPECT_EQ(PanelText("yLabel"), "Y: 6");
    EXPECT_EQ(S(Editor().Panel()->TileRow(1).text->text()), "999 - Unknown");
    EXPECT_EQ(S(Editor().WordStatusText()),
              S(QString("Word: %1 (0x%2)").arg(old).arg(QString::number(old, 16).toUpper(), 4, '0')));
    EXPECT_EQ(Area()->HoverTile(), QPoint(5, 6));
    const std::string oldText = PanelText("wallText");

    Drag({{5, 6}});
    EXPECT_EQ(PanelText("wallText"), "1 - Grey Stone 1");
    EXPECT_EQ(S(Editor().WordStatusText()), "Word: 1 (0x0001)");
    QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier); // no pointer move
    EXPECT_EQ(PanelText("wallText"), oldText);
    QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // redoes
    EXPECT_EQ(PanelText("wallText"), "1 - Grey Stone 1");

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Area(), &leave);
    EXPECT_EQ(Area()->HoverTile(), std::nullopt);
    EXPECT_EQ(S(Editor().TileStatusText()), "");

    // Another map from "Go To Level", the pointer away over the dialog: the
    // rows tell that tile of the map shown now, not of the one before.
    WhenModal([](QWidget* dialog) {
        Find<QComboBox>(dialog, "levelList")->setCurrentIndex(4);
        Click(dialog, "okButton");
    });
    Editor().Action("goToLevelAction")->trigger();
    const Project& project = *Editor().CurrentProject();
    ASSERT_EQ(project.Maps().CurrentMap, 4);
    for (int p : {0, 1})
        EXPECT_EQ(S(Editor().Panel()->TileRow(p).text->text()),
                  TileInfoText(project.Maps().Current(), project.Symbols, p, 5, 6, false, kIntMode).Text)
            << p;
}

TEST_F(EditorFixture, TheFirstWindowIsLargeButLeavesRoomOnTheScreenAndCtrlQCloses)
{
    Close();
    fs::remove(App().SettingsFile());
    Recreate();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(Editor().size(), QSize(std::max(std::min(1280, screen.width() * 4 / 5), 742),
                                     std::max(std::min(800, screen.height() * 4 / 5), 610)));
    QTest::keyClick(&Editor(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Editor().isVisible()) << "Ctrl+Q exits";
}
