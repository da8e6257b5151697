// The main window's view keys and the pointer's feedback: zooming by the
// track bar, the wheel (keeping the tile under the pointer) and keys (one
// step keeping the view's centre, or the whole map at once), Escape,
// the symbol filter's key, the recent symbols and the list's picture size,
// the status bar's permanent fields, and the tile under the pointer with its
// outline and the word the Pencil would draw there.

#include "editor/ui/TEditorBox.h"

#include "editor/MapRenderer.h"
#include "editor/ui/EditorActions.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"
#include "mapdefs/StructureStore.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>

#include <algorithm>

namespace tsl {

void TEditorBox::MakeStatusFields()
{
    auto field = [this](const char* name, int width) {
        auto* label = new QLabel;
        label->setObjectName(name);
        label->setMinimumWidth(width);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    tileStatus_ = field("tileStatus", 100);
    wordStatus_ = field("wordStatus", 140);
    selectionStatus_ = field("selectionStatus", 120);
}

void TEditorBox::ConnectViewCommands()
{
    connect(actions_->Get(Command::ZoomIn), &QAction::triggered, this, [this] { onZoomKey(+1); });
    connect(actions_->Get(Command::ZoomOut), &QAction::triggered, this, [this] { onZoomKey(-1); });
    connect(actions_->Get(Command::ZoomWholeMap), &QAction::triggered, this, &TEditorBox::onZoomWholeMap);

    // Ctrl+L belongs to the view and the side panel, not to the windows of
    // their own (the 3D preview).
    auto* filter = new QShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_L), centralWidget());
    filter->setContext(Qt::WidgetWithChildrenShortcut);
    connect(filter, &QShortcut::activated, this, [this] {
        if (session_)
            panel_->FocusFilter();
    });

    connect(panel_, &SidePanel::recentPressed, this, [this](std::uint16_t value, Qt::MouseButton button) {
        if (session_)
            Apply(session_->SetButtonValue(button == Qt::RightButton ? PointerButton::Right : PointerButton::Left,
                                           value));
    });
    connect(panel_, &SidePanel::filterDone, this, [this] { view_->PaintArea()->setFocus(Qt::OtherFocusReason); });
    panel_->SetListPictureSize(settings_.SymbolPictureSize);
    connect(panel_, &SidePanel::pictureSizeChosen, this, [this](int size) {
        settings_.SymbolPictureSize = size;
        settings_.WriteSymbolPictureSize(settingsFile_);
    });
    connect(view_->PaintArea(), &MapPaintArea::pointerLeft, this, [this] {
        pointerTile_.reset();
        ShowPointerFeedback();
    });
}

void TEditorBox::onZoomKey(int step)
{
    if (!ZoomKeeping(step, view_->viewport()->rect().center()))
        return;
    // The pointer did not move, but another tile lies under it now.
    const QPoint pointer = view_->PaintArea()->mapFromGlobal(QCursor::pos());
    if (pointerTile_ && view_->viewport()->rect().contains(view_->viewport()->mapFromGlobal(QCursor::pos())))
        onPointerMoved(pointer);
    else
        pointerTile_.reset();
    ShowPointerFeedback();
}

void TEditorBox::onZoomChosen(int position)
{
    zoomPosition_ = std::clamp(position, 0, 4);
    if (!session_)
        return;
    RedrawMap();
    SyncOverlay(); // a paste preview in game pictures is drawn for the zoom
    SaveStructureView(*session_->CurrentProject().Settings, MapGrid(), zoomPosition_);
}

void TEditorBox::onZoomStep(int step, QPoint viewportPoint)
{
    if (!ZoomKeeping(step, viewportPoint))
        return;
    // Near the edges the scroll bars cannot keep the tile: show the one now under the pointer.
    onPointerMoved(view_->PaintArea()->mapFrom(view_->viewport(), viewportPoint));
}

bool TEditorBox::ZoomKeeping(int step, QPoint viewportPoint)
{
    const int position = std::clamp(zoomPosition_ + step, 0, 4);
    if (!session_ || position == zoomPosition_)
        return false;
    // The point of the map under `viewportPoint` stays under it.
    const QPointF before = view_->PaintArea()->mapFrom(view_->viewport(), viewportPoint);
    const int factor = ZoomFactor();
    panel_->ZoomSlider()->setValue(position);
    view_->KeepUnder(before * ZoomFactor() / factor, viewportPoint);
    return true;
}

void TEditorBox::onZoomWholeMap()
{
    if (!session_)
        return;
    // The largest zoom that needs no scroll bar; 1x when none does.
    const MapList& map = session_->Maps().Current();
    const QSize room = view_->maximumViewportSize();
    int position = 4;
    while (position > 0 && (map.Width * kBlockSize * ZoomFactorOf(position) > room.width() ||
                            map.Height * kBlockSize * ZoomFactorOf(position) > room.height()))
        --position;
    panel_->ZoomSlider()->setValue(position);
}

void TEditorBox::keyPressEvent(QKeyEvent* event)
{
    // Escape comes here from whatever in the window has the focus and does
    // not want it (the symbol filter clears itself with it); a window of its
    // own, such as the 3D preview, keeps its Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        onEscape();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TEditorBox::onEscape()
{
    if (session_)
        Apply(session_->Cancel());
}

void TEditorBox::ShowPointerFeedback()
{
    MapPaintArea* area = view_->PaintArea();
    const MapList* map = session_ ? &session_->Maps().Current() : nullptr;
    // An edit (a turn, an undone resize) may have taken the tile away.
    if (!map || !pointerTile_ || pointerTile_->x() >= map->Width || pointerTile_->y() >= map->Height) {
        area->SetHover(std::nullopt);
        tileStatus_->clear();
        wordStatus_->clear();
        return;
    }
    const int x = pointerTile_->x();
    const int y = pointerTile_->y();
    panel_->ShowTileInformation(session_->CurrentProject(), x, y, session_->ValueMode());
    panel_->ShowPointerTile(x, y);
    const std::uint16_t word = map->Word(static_cast<std::size_t>(session_->SelectedPlane()), x, y);
    tileStatus_->setText(QString("Tile: %1, %2").arg(x).arg(y));
    wordStatus_->setText(QString("Word: %1 (0x%2)").arg(word).arg(QString::number(word, 16).toUpper(), 4, '0'));
    const auto pencil = session_->PencilWord(x, y);
    area->SetHover(QPoint(x, y), pencil ? PencilPicture(*pencil) : QImage());
}

void TEditorBox::ShowSelectionStatus()
{
    const auto rect = session_ ? session_->Outline() : std::nullopt;
    if (!rect) {
        selectionStatus_->clear();
        return;
    }
    selectionStatus_->setText(
        QString("Selection: %1 x %2").arg(rect->Right() - rect->Left() + 1).arg(rect->Bottom() - rect->Top() + 1));
}

QImage TEditorBox::PencilPicture(std::uint16_t word)
{
    // The symbol the tile will show, as the view draws it: the chosen byte of
    // a split plane, black letting the planes below through above plane 0.
    const Project& project = session_->CurrentProject();
    const int plane = session_->SelectedPlane();
    PlaneDisplay display = project.Display().at(static_cast<std::size_t>(plane));
    display.Show = true;
    const std::uint16_t value = DisplayedValue(word, display, session_->ValueMode());
    const bool known = project.Symbols.FindSymbol(plane, value).has_value();
    const Image drawn = GameGraphicsShown()
                            ? renderer_.WordPicture(plane, value, kBlockSize * ZoomFactor(), project.Symbols, kBlackPixel,
                                                    display.Split)
                            : project.Symbols.SymbolPicture(plane, known ? value : 0);
    QImage picture = ToQImage(drawn).convertToFormat(QImage::Format_ARGB32);
    if (plane > 0)
        for (int py = 0; py < picture.height(); ++py)
            for (int px = 0; px < picture.width(); ++px)
                if ((picture.pixel(px, py) & 0xFFFFFF) == 0)
                    picture.setPixel(px, py, 0);
    return picture;
}

QString TEditorBox::TileStatusText() const
{
    return tileStatus_->text();
}

QString TEditorBox::WordStatusText() const
{
    return wordStatus_->text();
}

QString TEditorBox::SelectionStatusText() const
{
    return selectionStatus_->text();
}

} // namespace tsl
