#include "editor/ui/views/MapViewController.h"

#include "editor/session/EditorSession.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/MapRenderer.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"
#include "mapdefs/GraphicsSettings.h"
#include "mapdefs/StructureStore.h"
#include "symbols/ui/SymbolWidgets.h"

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QStatusBar>

#include <algorithm>

namespace tsl {

namespace {

constexpr int kStartPictureSize = 512;
// The side panel's pictures while the game's are shown: a wall's pixels
// halved, large enough to tell one guard from another.
constexpr int kPanelPictureSide = 32;
// The most pixels a paste preview holds: a block of 32 x 32 tiles at 8x.
// Larger blocks are drawn at a smaller tile size and enlarged.
constexpr long long kPreviewPixels = 4LL << 20;
// A region of more tiles than this is drawn with the whole map picture.
constexpr int kRegionTiles = 4096;

// The view picture as a QImage over the same pixels (no copy).
QImage Wrap(const Image& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                  QImage::Format_RGB32);
}

} // namespace

MapViewController::MapViewController(MapView* view, SidePanel* panel, QStatusBar* statusBar, ViewState& state,
                                     QObject* parent)
    : QObject(parent), view_(view), panel_(panel), state_(state)
{
    viewing_ = state_.Listen([this](const ViewChange& change) { Follow(change); });
    status_ = new QLabel("Ready");
    status_->setObjectName("statusText");
    status_->setMinimumWidth(120);
    statusBar->addWidget(status_);
    auto field = [statusBar](const char* name, int width) {
        auto* label = new QLabel;
        label->setObjectName(name);
        label->setMinimumWidth(width);
        statusBar->addPermanentWidget(label);
        return label;
    };
    tileStatus_ = field("tileStatus", 100);
    wordStatus_ = field("wordStatus", 140);
    selectionStatus_ = field("selectionStatus", 120);
    ShowStartPicture();
}

MapViewController::~MapViewController() = default;

void MapViewController::Attach(EditorSession* session)
{
    following_.Reset();
    session_ = session;
    pointerTile_.reset();
    infoTile_.reset();
    MapPaintArea* area = view_->PaintArea();
    // The overlay of the session before goes with it.
    area->SetOutline(std::nullopt);
    area->SetPreview(QImage(), std::nullopt);
    area->CancelPress();
    if (!session_) {
        state_.SetGraphics(nullptr, {});
        ShowStartPicture();
        return;
    }
    following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });
}

std::optional<Failure> MapViewController::OpenProject()
{
    const Project& project = session_->CurrentProject();
    const StructureSettings structure = project.Structure();
    const GraphicsLoad load = LoadGameGraphics(project.Maps().Path, project.Maps().Extension, project.StructureFolder,
                                               *project.Settings);
    opening_ = true;
    state_.SetGraphics(load.Graphics, load.Problem.text);
    state_.WantGameGraphics(GameGraphicsWanted(*project.Settings, true));
    state_.SetGrid(structure.MapGrid);
    opening_ = false;
    renderer_.SetGraphics(state_.Graphics());
    view_->PaintArea()->SetGrid(state_.Grid());
    zoomPosition_ = std::clamp(structure.ZoomFactor, 0, 4);
    panel_->SetZoomPosition(zoomPosition_);
    ShowPanelPictures();
    // Said once, at the open: a damaged page file is not worth a message per paint.
    if (load.Status == GraphicsStatus::Failed)
        return load.Problem;
    return std::nullopt;
}

void MapViewController::ShowProjectAnew()
{
    panel_->ShowProject(session_->CurrentProject());
    panel_->ShowPointerTile(0, 0);
    pointerTile_.reset();
    infoTile_.reset();
    gamePreview_ = {}; // its symbols may have changed
    view_->PaintArea()->SetShownTile(std::nullopt);
    RedrawMap();
}

void MapViewController::Follow(const DocumentChange& change)
{
    switch (change.What) {
    case DocumentChange::Kind::Words:
        if (change.Map != session_->Maps().CurrentMap)
            return;
        // Tiles shown from a count or a finding may no longer hold what was counted.
        view_->PaintArea()->SetShownTile(std::nullopt);
        if (change.Region)
            RedrawRegion(*change.Region);
        else
            RedrawMap();
        return;
    case DocumentChange::Kind::CurrentMap:
    case DocumentChange::Kind::MapList:
        view_->PaintArea()->SetShownTile(std::nullopt);
        RedrawMap();
        ShowTileInformation();
        return;
    case DocumentChange::Kind::Symbols:
        ShowProjectAnew();
        return;
    default: // a name, the storage, the rules (through the view state), the saved state
        return;
    }
}

void MapViewController::Follow(const ViewChange& change)
{
    const IniFile* settings = session_ ? session_->CurrentProject().Settings.get() : nullptr;
    switch (change.What) {
    case ViewChange::Kind::Rules:
        renderer_.SetRules(state_.Play().Rules);
        RedrawMap();
        return;
    case ViewChange::Kind::Skill:
        RedrawMap();
        return;
    case ViewChange::Kind::Pictures:
        if (!opening_)
            renderer_.SetGraphics(state_.Graphics());
        return;
    case ViewChange::Kind::Pages:
        renderer_.ReplacePages(state_.Graphics(), change.Chunk);
        gamePreview_ = {};
        if (session_ && GameGraphicsShown())
            ShowPicturesAnew();
        return;
    case ViewChange::Kind::PictureMode:
        if (opening_ || !session_)
            return;
        if (GameGraphicsWanted(*settings, true) != state_.GameGraphicsWanted())
            WriteGameGraphics(*session_->CurrentProject().Settings, state_.GameGraphicsWanted());
        ShowPicturesAnew();
        return;
    case ViewChange::Kind::Grid:
        view_->PaintArea()->SetGrid(state_.Grid());
        if (!opening_ && session_ && ReadStructureSettings(*settings).MapGrid != state_.Grid())
            SaveStructureView(*session_->CurrentProject().Settings, state_.Grid(), zoomPosition_);
        return;
    case ViewChange::Kind::Overlays:
        return;
    }
}

// --- zoom ---

int MapViewController::ZoomFactor() const
{
    return ZoomFactorOf(zoomPosition_);
}

void MapViewController::SetZoom(int position)
{
    zoomPosition_ = std::clamp(position, 0, 4);
    if (!session_)
        return;
    RedrawMap();
    SyncOverlay(); // a paste preview in game pictures is drawn for the zoom
    SaveStructureView(*session_->CurrentProject().Settings, state_.Grid(), zoomPosition_);
}

void MapViewController::ZoomKey(int step)
{
    if (!ZoomKeeping(step, view_->viewport()->rect().center()))
        return;
    // The pointer did not move, but another tile lies under it now.
    const QPoint pointer = view_->PaintArea()->mapFromGlobal(QCursor::pos());
    if (pointerTile_ && view_->viewport()->rect().contains(view_->viewport()->mapFromGlobal(QCursor::pos())))
        PointerMoved(pointer);
    else
        pointerTile_.reset();
    ShowPointerFeedback();
}

void MapViewController::ZoomStep(int step, QPoint viewportPoint)
{
    if (!ZoomKeeping(step, viewportPoint))
        return;
    // Near the edges the scroll bars cannot keep the tile: show the one now under the pointer.
    PointerMoved(view_->PaintArea()->mapFrom(view_->viewport(), viewportPoint));
}

bool MapViewController::ZoomKeeping(int step, QPoint viewportPoint)
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

void MapViewController::ZoomWholeMap()
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

void MapViewController::ShowPicturesAnew()
{
    const Project& project = session_->CurrentProject();
    ShowPanelPictures();
    panel_->FillSymbolList(project.Symbols, session_->SelectedPlane());
    const int plane = session_->SelectedPlane();
    panel_->ShowSelection(project.Symbols, plane, session_->LeftValue(plane), session_->RightValue(plane));
    ShowTileInformation();
    RedrawMap();
    SyncOverlay();
}

void MapViewController::ShowPanelPictures()
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

// --- drawing ---

void MapViewController::ShowStartPicture()
{
    startPicture_ = QImage(kStartPictureSize, kStartPictureSize, QImage::Format_RGB32);
    startPicture_.fill(Qt::black);
    QPainter painter(&startPicture_);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(startPicture_.rect(), Qt::AlignCenter, "Please load the game maps!");
    painter.end();
    view_->PaintArea()->SetPicture(startPicture_, 1);
}

void MapViewController::RedrawMap()
{
    if (!session_)
        return;
    if (GameGraphicsShown()) {
        ShowGameView();
        return;
    }
    const Project& project = session_->CurrentProject();
    tsl::RedrawMap(viewImage_, project.Maps().Current(), project.Symbols, project.Display(), session_->ValueMode(),
                   Skill());
    ShowPicture();
}

void MapViewController::RedrawRegion(const TileRect& region)
{
    const MapList& map = session_->Maps().Current();
    const int left = std::max(region.Left(), 0), right = std::min(region.Right(), map.Width - 1);
    const int top = std::max(region.Top(), 0), bottom = std::min(region.Bottom(), map.Height - 1);
    if (right < left || bottom < top)
        return;
    const int c = kBlockSize * ZoomFactor();
    const QRect pixels(left * c, top * c, (right - left + 1) * c, (bottom - top + 1) * c);
    if (GameGraphicsShown()) {
        // The painter draws the tiles as they are now.
        view_->PaintArea()->update(pixels);
        return;
    }
    if ((right - left + 1) * (bottom - top + 1) > kRegionTiles || viewImage_.width != map.Width * kBlockSize ||
        viewImage_.height != map.Height * kBlockSize) {
        RedrawMap();
        return;
    }
    const Project& project = session_->CurrentProject();
    const std::vector<PlaneDisplay> display = project.Display();
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            tsl::RedrawTile(viewImage_, map, project.Symbols, display, session_->ValueMode(), x, y, Skill());
    view_->PaintArea()->update(pixels);
}

void MapViewController::ShowPicture()
{
    view_->PaintArea()->SetPicture(Wrap(viewImage_), ZoomFactor());
}

void MapViewController::ShowGameView()
{
    display_ = session_->CurrentProject().Display();
    const MapList& map = session_->Maps().Current();
    view_->PaintArea()->SetPainter([this](Image& target, int left, int top) { PaintGameView(target, left, top); },
                                   QSize(map.Width, map.Height), ZoomFactor());
}

void MapViewController::PaintGameView(Image& target, int left, int top)
{
    if (!session_) {
        target.Fill(kBlackPixel);
        return;
    }
    renderer_.Paint(target, left, top, ZoomFactor(), session_->Maps().Current(), session_->CurrentProject().Symbols,
                    display_, session_->ValueMode(), Skill());
}

const QImage& MapViewController::GamePastePreview(int& tilePixels)
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

Image MapViewController::GameClipboardPreview(const CB_Object& entry)
{
    // At 8 pixels per tile, the size of the entry's own preview: a whole map
    // at a glance.
    auto picture = renderer_.RenderBlock(entry.Planes, entry.Width, entry.Height, 1, session_->CurrentProject().Symbols);
    return picture ? std::move(*picture) : entry.Preview;
}

Image MapViewController::LevelPreview(const MapList& map)
{
    const Project& project = session_->CurrentProject();
    if (GameGraphicsShown()) {
        auto picture = renderer_.RenderMap(map, project.Symbols, project.Display(), session_->ValueMode(), 1);
        if (picture)
            return std::move(*picture);
    }
    Image picture;
    tsl::RedrawMap(picture, map, project.Symbols, project.Display(), session_->ValueMode());
    return picture;
}

// --- overlay and feedback ---

void MapViewController::SyncOverlay()
{
    if (!session_)
        return;
    MapPaintArea* area = view_->PaintArea();
    area->SetOutline(session_->Outline());
    const auto tile = session_->PlacementTile();
    if (session_->PastePlacing() && tile && GameGraphicsShown()) {
        int tilePixels = kBlockSize;
        const QImage& preview = GamePastePreview(tilePixels);
        area->SetPreview(preview, QPoint(tile->first, tile->second), tilePixels);
    } else if (session_->PastePlacing() && tile) {
        area->SetPreview(Wrap(session_->PasteBuffer().Preview), QPoint(tile->first, tile->second));
    } else {
        area->SetPreview(QImage(), std::nullopt);
    }
    ShowSelectionStatus();
}

void MapViewController::SyncMarkers()
{
    std::vector<QPoint> tiles;
    std::optional<QPoint> current;
    if (session_) {
        const FindReplaceState& finds = session_->Finds();
        for (const FoundMapCorr& match : finds.Marked())
            tiles.emplace_back(match.Column, match.Row);
        if (finds.FindIndex >= 0 && finds.FindIndex < static_cast<int>(finds.Matches.size())) {
            const FoundMapCorr& match = finds.Matches[static_cast<std::size_t>(finds.FindIndex)];
            current = QPoint(match.Column, match.Row);
        }
    }
    view_->PaintArea()->SetMarkers(std::move(tiles), current);
}

void MapViewController::PointerMoved(QPoint position)
{
    if (!session_)
        return;
    const MapList& map = session_->Maps().Current();
    const QPoint tile = view_->PaintArea()->TileAt(position);
    if (tile.x() < 0 || tile.y() < 0 || tile.x() >= map.Width || tile.y() >= map.Height)
        pointerTile_.reset();
    else
        pointerTile_ = infoTile_ = tile;
    ShowPointerFeedback();
}

void MapViewController::PointerLeft()
{
    pointerTile_.reset();
    ShowPointerFeedback();
}

void MapViewController::ShowTileInformation()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    const MapList& map = project.Maps().Current();
    // The tile last pointed at, as the current map holds it now: another map
    // or an edit must not leave the words of before on show.
    if (infoTile_ && infoTile_->x() < map.Width && infoTile_->y() < map.Height)
        panel_->ShowTileInformation(project, infoTile_->x(), infoTile_->y(), session_->ValueMode());
    else
        panel_->ShowEmptyTileRows(project);
}

void MapViewController::ShowPointerFeedback()
{
    MapPaintArea* area = view_->PaintArea();
    const MapList* map = session_ ? &session_->Maps().Current() : nullptr;
    ShowTileInformation();
    // An edit (a turn, an undone resize) may have taken the tile away.
    if (!map || !pointerTile_ || pointerTile_->x() >= map->Width || pointerTile_->y() >= map->Height) {
        area->SetHover(std::nullopt);
        tileStatus_->clear();
        wordStatus_->clear();
        return;
    }
    const int x = pointerTile_->x();
    const int y = pointerTile_->y();
    panel_->ShowPointerTile(x, y);
    const std::uint16_t word = map->Word(static_cast<std::size_t>(session_->SelectedPlane()), x, y);
    tileStatus_->setText(QString("Tile: %1, %2").arg(x).arg(y));
    wordStatus_->setText(QString("Word: %1 (0x%2)").arg(word).arg(QString::number(word, 16).toUpper(), 4, '0'));
    const auto pencil = session_->PencilWord(x, y);
    area->SetHover(QPoint(x, y), pencil ? PencilPicture(*pencil) : QImage());
}

void MapViewController::ShowSelectionStatus()
{
    const auto rect = session_ ? session_->Outline() : std::nullopt;
    if (!rect) {
        selectionStatus_->clear();
        return;
    }
    selectionStatus_->setText(
        QString("Selection: %1 x %2").arg(rect->Right() - rect->Left() + 1).arg(rect->Bottom() - rect->Top() + 1));
}

QImage MapViewController::PencilPicture(std::uint16_t word)
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
                            ? renderer_.WordPicture(plane, value, kBlockSize * ZoomFactor(), project.Symbols,
                                                    kBlackPixel, display.Split)
                            : project.Symbols.SymbolPicture(plane, known ? value : 0);
    QImage picture = ToQImage(drawn).convertToFormat(QImage::Format_ARGB32);
    if (plane > 0)
        for (int py = 0; py < picture.height(); ++py)
            for (int px = 0; px < picture.width(); ++px)
                if ((picture.pixel(px, py) & 0xFFFFFF) == 0)
                    picture.setPixel(px, py, 0);
    return picture;
}

void MapViewController::ShowTile(QPoint tile)
{
    ShowTiles({tile});
}

void MapViewController::ShowTiles(const std::vector<QPoint>& tiles)
{
    if (tiles.empty())
        return;
    MapPaintArea* area = view_->PaintArea();
    const int cell = area->CellSize();
    const QPoint middle(view_->viewport()->width() / 2, view_->viewport()->height() / 2);
    const QPoint first = tiles.front();
    view_->KeepUnder(QPointF(first.x() * cell + cell / 2.0, first.y() * cell + cell / 2.0), middle);
    area->SetShownTiles(tiles);
}

SkillFilter MapViewController::Skill() const
{
    return {state_.Rules(), state_.Skill()};
}

// --- the status bar ---

void MapViewController::SetStatus(const QString& text)
{
    status_->setText(text);
}

QString MapViewController::StatusText() const
{
    return status_->text();
}

QString MapViewController::TileStatusText() const
{
    return tileStatus_->text();
}

QString MapViewController::WordStatusText() const
{
    return wordStatus_->text();
}

QString MapViewController::SelectionStatusText() const
{
    return selectionStatus_->text();
}

} // namespace tsl
