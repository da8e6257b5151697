// The main window's project lifecycle and its "&File" menu: opening (the
// directory dialog, the recent list, a dropped folder), saving, the question
// before changes would be lost, import, export and Save Map As BMP, and the
// application settings that outlive the window.

#include "editor/ui/window/TEditorBox.h"

#include "core/DamagedSave.h"
#include "core/ImageFile.h"
#include "core/ui/TProgressBox.h"
#include "editor/session/MapExchangeFlow.h"
#include "editor/ui/window/EditorActions.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/gamedata/PagesController.h"
#include "exchange/ui/TMapExporterBox.h"
#include "mapdefs/ui/TMapDefinitionStructureBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>

#include <algorithm>

namespace tsl {

namespace {

std::optional<std::filesystem::path> DroppedDirectory(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isDir())
            return std::filesystem::path(info.absoluteFilePath().toStdString());
    }
    return std::nullopt;
}

} // namespace

bool TEditorBox::OpenProject(bool fromRecent, const std::filesystem::path& directory)
{
    SetStatus("Opening...");
    QApplication::processEvents();
    OpenRequest request;
    if (fromRecent)
        request.directory = directory;
    if (session_)
        request.startDirectory = session_->Maps().Path;
    request.mapDefsRoot = environment_.mapDefsRoot;
    request.backups = {environment_.backupsRoot, settings_.BackupKeep};
    OpenOutcome outcome = tsl::OpenProject(request, prompter_, [this](const std::string& extension,
                                                                      const std::string& executable) {
        return structureBox_->ShowStructureDialog(environment_.mapDefsRoot, extension, executable);
    });
    SetStatus("Ready");
    if (outcome.result == OpenResult::Cancelled)
        return true;
    if (outcome.result != OpenResult::Opened)
        return false;
    ApplyLoadedProject(std::move(outcome.project));
    return true;
}

bool TEditorBox::AskSaveChanges()
{
    if (!Changed()) {
        ForgetRecovery();
        return true;
    }
    const bool maps = session_->Changed();
    switch (prompter_.Message(maps ? "You have made changes to your maps.\n\nDo you wish to save this data now?"
                                   : "You have made changes to the game's pictures and sounds.\n\nDo you wish to "
                                     "save this data now?",
                              maps ? "Save maps" : "Save pictures and sounds", MessageIcon::Question,
                              Buttons::YesNoCancel)) {
    case Answer::Yes:
        // A save that fails keeps the changes: the caller must not go on and
        // lose them.
        return SaveProject();
    case Answer::No:
        // Given up: the autosave must not offer them back at the next open.
        ForgetRecovery();
        return true;
    default:
        return false;
    }
}

bool TEditorBox::SaveProject(bool closeWhenSaved)
{
    if (!session_)
        return false;
    // A stroke still held is part of what is saved.
    EndGesture();
    // The page file is written when it changed, the maps when they changed
    // or when nothing did (Save writes them as it always has).
    const bool maps = session_->Changed() || !pages_->Changed();
    bool agreed = !maps;
    if (maps)
        session_->Document().ChangeStorage([&](MapHandler& set) { agreed = ConfirmDamagedSave(set, prompter_); });
    if (!agreed)
        return false;
    SetStatus("Saving...");
    QApplication::processEvents();
    if (!SavePages()) {
        SetStatus("Ready");
        return false;
    }
    if (!maps) {
        SetStatus("Pictures and sounds saved!");
        return true;
    }
    const bool saved = progressBox_->RunSave(
        session_->Maps(),
        [this] {
            session_->MarkSaved();
            ForgetRecovery();
            SetStatus("Maps saved!");
        },
        closeWhenSaved);
    SetStatus("Ready");
    return saved;
}

void TEditorBox::OpenDirectory(const std::filesystem::path& directory)
{
    if (!AskSaveChanges())
        return;
    // Absolute, so that the recent list still finds it from another folder.
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(directory, ec).lexically_normal();
    if (ec)
        absolute = directory;
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    // OpenProject leaves the status as the opened project has it (a note of its own, or "Ready").
    OpenProject(true, absolute);
}

void TEditorBox::closeEvent(QCloseEvent* event)
{
    if (AskSaveChanges())
        event->accept();
    else
        event->ignore();
}

void TEditorBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedDirectory(event->mimeData()))
        event->acceptProposedAction();
}

void TEditorBox::dropEvent(QDropEvent* event)
{
    if (auto directory = DroppedDirectory(event->mimeData())) {
        event->acceptProposedAction();
        OpenDirectory(*directory);
    }
}

void TEditorBox::ReadWindowPlacement()
{
    const WindowPlacement& w = settings_.Window;
    if (w.Width <= 0 || w.Height <= 0) {
        // The first start: room for the map, centred on a screen that may be small.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, kFirstWindowWidth, kFirstWindowHeight);
        const QSize size(std::max(std::min(kFirstWindowWidth, room.width() * 4 / 5), kMinimumWindowWidth),
                         std::max(std::min(kFirstWindowHeight, room.height() * 4 / 5), kMinimumWindowHeight));
        resize(size);
        move(room.center() - QPoint(size.width() / 2, size.height() / 2));
    } else {
        move(w.Left, w.Top);
        resize(std::max(w.Width, kMinimumWindowWidth), std::max(w.Height, kMinimumWindowHeight));
    }
    if (w.WindowState == 1)
        setWindowState(Qt::WindowMinimized);
    else if (w.WindowState == 2)
        setWindowState(Qt::WindowMaximized);
}

void TEditorBox::WindowPlacementIntoSettings()
{
    // The restored placement, so that a maximized window comes back to its
    // place when it is restored.
    const QRect normal = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    const QRect frame = frameGeometry();
    WindowPlacement& w = settings_.Window;
    w.Left = (isMaximized() || isMinimized()) ? normal.left() : frame.left();
    w.Top = (isMaximized() || isMinimized()) ? normal.top() : frame.top();
    w.Width = normal.width();
    w.Height = normal.height();
    w.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
}

void TEditorBox::SaveApplicationSettings()
{
    WindowPlacementIntoSettings();
    settings_.Write(settingsFile_);
    if (session_) {
        SaveStructureSettings(*session_->CurrentProject().Settings, session_->Maps(), MapGrid(), ZoomPosition());
        session_->StoreButtonValues();
    }
}

void TEditorBox::RefreshRecentItems()
{
    bool any = false;
    for (int i = 0; i < kRecentSlots; ++i) {
        const std::string& dir = settings_.RecentList[static_cast<std::size_t>(i)];
        QAction* action = actions_->Recent(i);
        action->setVisible(!dir.empty());
        if (!dir.empty()) {
            action->setText(QString::fromStdString(RecentCaption(i + 1, dir)));
            any = true;
        }
    }
    actions_->RecentSeparator()->setVisible(any);
}

void TEditorBox::onOpenProject()
{
    if (!AskSaveChanges())
        return;
    OpenProject(false);
}

void TEditorBox::onSaveProject()
{
    SaveProject();
}

void TEditorBox::onRecentProject(int slot)
{
    const std::string directory = settings_.RecentList[static_cast<std::size_t>(slot)];
    if (directory.empty())
        return;
    OpenDirectory(directory);
}

void TEditorBox::onImportMap()
{
    if (!session_)
        return;
    SetStatus("Importing...");
    QApplication::processEvents();
    Apply(ImportIntoSession(*session_, prompter_));
    SetStatus("Ready");
}

void TEditorBox::onExportMap()
{
    if (!session_)
        return;
    SetStatus("Exporting...");
    QApplication::processEvents();
    const MapHandler& maps = session_->Maps();
    ExportMaps(maps, prompter_, [&] { return exporterBox_->ShowMapExporter(maps); });
    SetStatus("Ready");
}

void TEditorBox::onSaveMapAsBitmap()
{
    if (!session_)
        return;
    // In symbols the map picture at 8 pixels per tile, whatever the zoom; in
    // the game's graphics the map as the view draws it at its zoom (at 8x
    // every wall pixel is its chunk's pixel). Either is drawn band by band
    // while it is written: a 256 x 256 map at 8x would be a gigabyte whole.
    // The grid and the markers are drawn on the screen only.
    const MapList& map = session_->Maps().Current();
    const Image& picture = viewer_->ViewImage();
    int width = picture.width, height = picture.height;
    BandPainter paint = [&picture](Image& band, int top) {
        for (int y = 0; y < band.height; ++y)
            std::copy_n(picture.Row(top + y), band.width, band.Row(y));
    };
    if (GameGraphicsShown()) {
        const int side = kBlockSize * ZoomFactor();
        if (auto tooLarge = CheckPictureSize(static_cast<long long>(map.Width) * side,
                                             static_cast<long long>(map.Height) * side)) {
            prompter_.Show(*tooLarge);
            return;
        }
        width = map.Width * side;
        height = map.Height * side;
        paint = [this](Image& band, int top) { viewer_->PaintGameView(band, 0, top); };
    }
    auto path = prompter_.ChooseSaveFile("Save as BMP", {"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*", 0}, "bmp");
    if (!path)
        return;
    SetStatus("Saving...");
    QApplication::processEvents();
    const auto failure = SaveBmpBands(*path, width, height, paint);
    SetStatus("Ready");
    if (failure)
        prompter_.Message("Couldn't write the bitmap file " + path->filename().string() + "!", "Error saving bitmap",
                          MessageIcon::Error, Buttons::Ok);
}

} // namespace tsl
