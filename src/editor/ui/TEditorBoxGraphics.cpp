// The main window's "Game Graphics" mode: the game's pictures loaded once
// per project, the toggle remembered in the structure's settings, the map
// view painted by the renderer for the exposed part only, the side panel's
// pictures, and the previews of blocks drawn as the view draws them.

#include "editor/ui/TEditorBox.h"

#include "editor/ui/EditorActions.h"
#include "editor/ui/MapView.h"
#include "editor/ui/SidePanel.h"
#include "mapdefs/GraphicsSettings.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QAction>

namespace tsl {

namespace {

// The side panel's pictures while the game's are shown: a wall's pixels
// halved, large enough to tell one guard from another.
constexpr int kPanelPictureSide = 32;
// The most pixels a paste preview holds: a block of 32 x 32 tiles at 8x.
// Larger blocks are drawn at a smaller tile size and enlarged.
constexpr long long kPreviewPixels = 4LL << 20;

} // namespace

bool TEditorBox::GameGraphicsShown() const
{
    return graphics_ && actions_->Get(Command::GameGraphics)->isChecked();
}

std::optional<Failure> TEditorBox::LoadProjectGraphics()
{
    const Project& project = session_->CurrentProject();
    const GraphicsLoad load =
        LoadGameGraphics(project.Maps.Path, project.Maps.Extension, project.StructureFolder, *project.Settings);
    graphics_ = load.Graphics;
    renderer_.SetGraphics(graphics_);
    renderer_.SetRules(project.Rules.Rules);
    QAction* toggle = actions_->Get(Command::GameGraphics);
    toggle->setChecked(graphics_ && GameGraphicsWanted(*project.Settings, true));
    actions_->ExplainDisabled(Command::GameGraphics, graphics_ ? QString() : QString::fromStdString(load.Problem.text));
    ShowPanelPictures();
    // Said once, at the open: a damaged page file is not worth a message per paint.
    if (load.Status == GraphicsStatus::Failed)
        return load.Problem;
    return std::nullopt;
}

void TEditorBox::onToggleGameGraphics()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    WriteGameGraphics(*project.Settings, actions_->Get(Command::GameGraphics)->isChecked());
    ShowPanelPictures();
    panel_->FillSymbolList(project.Symbols, session_->SelectedPlane());
    RefreshSelectionRows();
    const MapList& map = session_->Maps().Current();
    if (pointerTile_ && pointerTile_->x() < map.Width && pointerTile_->y() < map.Height)
        panel_->ShowTileInformation(project, pointerTile_->x(), pointerTile_->y(), session_->ValueMode());
    else
        panel_->ShowEmptyTileRows(project);
    RedrawMap();
    SyncOverlay();
}

void TEditorBox::ShowPanelPictures()
{
    if (!GameGraphicsShown()) {
        panel_->SetWordPictures({}, kBlockSize);
        return;
    }
    panel_->SetWordPictures(
        [this](int plane, std::uint16_t value) {
            const Project& project = session_->CurrentProject();
            return renderer_.WordPicture(plane, value, kPanelPictureSide, project.Symbols, kBlackPixel,
                                         project.SplitPlane(plane));
        },
        kPanelPictureSide);
}

void TEditorBox::ShowGameView()
{
    display_ = session_->CurrentProject().Display();
    const MapList& map = session_->Maps().Current();
    view_->PaintArea()->SetPainter([this](Image& target, int left, int top) { PaintGameView(target, left, top); },
                                   QSize(map.Width, map.Height), ZoomFactor());
}

void TEditorBox::PaintGameView(Image& target, int left, int top)
{
    if (!session_) {
        target.Fill(kBlackPixel);
        return;
    }
    renderer_.Paint(target, left, top, ZoomFactor(), session_->Maps().Current(), session_->CurrentProject().Symbols,
                    display_, session_->ValueMode());
}

const QImage& TEditorBox::GamePastePreview(int& tilePixels)
{
    const CP_Manager& buffer = session_->PasteBuffer();
    const int width = buffer.BlockWidth(), height = buffer.BlockHeight();
    PlaneSet block(buffer.Planes.size());
    for (std::size_t p = 0; p < buffer.Planes.size(); ++p)
        for (int y = buffer.Y1; y < buffer.Y2; ++y) {
            const auto row = buffer.Planes[p].begin() + static_cast<std::ptrdiff_t>(y) * buffer.BufferWidth;
            block[p].insert(block[p].end(), row + buffer.X1, row + buffer.X2);
        }
    const int factor = ZoomFactor();
    GamePreview& kept = gamePreview_;
    if (kept.factor != factor || kept.width != width || kept.block != block || kept.picture.isNull()) {
        // The view's own tile size, unless the block would hold too many
        // pixels: then the largest one that the cell is a whole multiple of.
        int scale = factor;
        while (scale > 1 && (factor % scale != 0 || static_cast<long long>(width) * height * kBlockSize * scale *
                                                            kBlockSize * scale >
                                                        kPreviewPixels))
            --scale;
        auto picture = renderer_.RenderBlock(block, width, height, scale, session_->CurrentProject().Symbols);
        kept = {std::move(block), width, factor, kBlockSize * scale,
                picture ? ToQImage(*picture) : ToQImage(buffer.Preview)};
        if (!picture)
            kept.tilePixels = kBlockSize;
    }
    tilePixels = kept.tilePixels;
    return kept.picture;
}

Image TEditorBox::GameClipboardPreview(const CB_Object& entry)
{
    // At 8 pixels per tile, the size of the entry's own preview: a whole map
    // at a glance.
    auto picture = renderer_.RenderBlock(entry.Planes, entry.Width, entry.Height, 1, session_->CurrentProject().Symbols);
    return picture ? std::move(*picture) : entry.Preview;
}

} // namespace tsl
