// The main window's view keys: zooming by keys (one step keeping the view's
// centre, or the whole map at once), Escape, the symbol filter's key, the
// recent symbols and the list's picture size. What they do to the view is
// the view controller's.

#include "editor/ui/window/TEditorBox.h"

#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/views/SidePanel.h"

#include <QAction>
#include <QKeyEvent>
#include <QShortcut>

namespace tsl {

void TEditorBox::ConnectViewCommands()
{
    connect(actions_->Get(Command::ZoomIn), &QAction::triggered, viewer_, [this] { viewer_->ZoomKey(+1); });
    connect(actions_->Get(Command::ZoomOut), &QAction::triggered, viewer_, [this] { viewer_->ZoomKey(-1); });
    connect(actions_->Get(Command::ZoomWholeMap), &QAction::triggered, viewer_, &MapViewController::ZoomWholeMap);

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
    connect(panel_, &SidePanel::filterDone, this, [this] { View()->PaintArea()->setFocus(Qt::OtherFocusReason); });
    panel_->SetListPictureSize(settings_.SymbolPictureSize);
    connect(panel_, &SidePanel::pictureSizeChosen, this, [this](int size) {
        settings_.SymbolPictureSize = size;
        settings_.WriteSymbolPictureSize(settingsFile_);
    });
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

} // namespace tsl
