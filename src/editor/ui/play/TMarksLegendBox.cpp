#include "editor/ui/play/TMarksLegendBox.h"

#include "editor/render/MarkerBadges.h"
#include "editor/render/PictureMarks.h"
#include "editor/ui/views/MapView.h"
#include "raycast/Raycaster.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <vector>

namespace tsl {

namespace {

constexpr int kSide = 48;
const QColor kTileGrey(0x70, 0x70, 0x70);

// Marks drawn over a grey tile, as over a floor of the map.
QPixmap OnTile(const std::vector<std::vector<std::uint32_t>>& layers)
{
    QPixmap tile(kSide, kSide);
    tile.fill(kTileGrey);
    QPainter painter(&tile);
    for (const auto& pixels : layers)
        painter.drawImage(0, 0,
                          QImage(reinterpret_cast<const uchar*>(pixels.data()), kSide, kSide, kSide * 4,
                                 QImage::Format_ARGB32));
    return tile;
}

struct Entry {
    std::vector<std::vector<std::uint32_t>> layers;
    QString text;
    PlayPicture play{}; // an overlay of the analysis, over a row of three tiles
};

// The overlays of the analysis as the map view draws them, over a row of
// three grey tiles of 16 pixels.
constexpr int kPlayCell = 16;
QPixmap OnTiles(const PlayPicture& play)
{
    QPixmap tiles(3 * kPlayCell, kPlayCell);
    tiles.fill(kTileGrey);
    QPainter painter(&tiles);
    if (!play.tint.isNull())
        painter.drawImage(QRect(0, 0, 3 * kPlayCell, kPlayCell), play.tint);
    DrawPlayShapes(painter, play, kPlayCell);
    return tiles;
}

// A wall's face in the 3D preview whose picture the page file lacks.
QPixmap MissingWall()
{
    QPixmap face(3 * kPlayCell, kPlayCell);
    QPainter painter(&face);
    for (int x = 0; x < 3 * kPlayCell; x += 4)
        for (int y = 0; y < kPlayCell; y += 4)
            painter.fillRect(x, y, 4, 4, QColor::fromRgba((x / 4 + y / 4) % 2 ? kMissingPictureDark : kMissingPicture));
    return face;
}

std::vector<Entry> PlayEntries()
{
    PlayPicture tint;
    tint.tint = QImage(3, 1, QImage::Format_ARGB32);
    tint.tint.fill(Qt::transparent);
    tint.tint.setPixel(1, 0, qRgba(0x30, 0x00, 0x40, 150));
    tint.tint.setPixel(2, 0, qRgba(0x30, 0x00, 0x40, 150));
    const std::vector<QPoint> row = {{0, 0}, {1, 0}, {2, 0}};
    PlayPicture cross, shut, walk, secret, patrol, blocked;
    cross.unreachable = {{1, 0}};
    shut.shutDoors = {{1, 0}};
    walk.route = row;
    secret.secretRoute = row;
    patrol.patrols = {{row, true, false}};
    blocked.patrols = {{{{1, 0}, {2, 0}}, true, true}};
    return {
        {{}, "Show Reachable Area: open ground the player never reaches is tinted dark violet", tint},
        {{}, "Treasure, a key, a weapon or an enemy out of reach (an enemy no reached tile sees) is crossed out", cross},
        {{}, "A door that never opens: its key cannot be had, or the game has none", shut},
        {{}, "The shortest walk from the player start to the normal exit, a dot at each end", walk},
        {{}, "The walk to the secret elevator, when the level has another way out", secret},
        {{}, "Show Patrol Routes: a patrol's path as the engine walks it, a bar where it comes to a stand", patrol},
        {{}, "A patrol that walks into a wall at its first step (a warning of the map check)", blocked},
    };
}

std::vector<Entry> Entries()
{
    std::vector<Entry> entries;
    for (BadgeKind kind : {BadgeKind::Ambush, BadgeKind::SecretElevator, BadgeKind::PushWall, BadgeKind::Victory,
                           BadgeKind::TurningPoint}) {
        std::vector<std::vector<std::uint32_t>> layers = {
            DrawBadge(kind, kind == BadgeKind::TurningPoint ? Facing::NorthEast : Facing::None, kSide)};
        if (kind == BadgeKind::PushWall)
            layers.push_back(DrawPushArrows(2u | 8u, kSide)); // east and west
        entries.push_back({layers, QString::fromUtf8(BadgeName(kind).data(), static_cast<qsizetype>(BadgeName(kind).size()))});
    }
    entries.push_back({{DrawMarks(Facing::East, 1, false, kSide)},
                       "An actor standing, facing east (white arrow), on every skill level (one green corner)"});
    entries.push_back({{DrawMarks(Facing::North, 3, true, kSide)},
                       "An actor patrolling, facing north (aqua arrow), from skill level 3 (two yellow corners)"});
    entries.push_back({{DrawMarks(Facing::West, 4, false, kSide)},
                       "An actor standing, facing west, on skill level 4 only (three red corners)"});
    return entries;
}

} // namespace

TMarksLegendBox::TMarksLegendBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("marksLegendBox");
    setWindowTitle("Map Legend");
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel("In the game's graphics the map keeps the floor and the wall under a marker in sight "
                             "and marks it with a badge; actors carry an arrow for the way they face and corners "
                             "for the skill levels they appear on.");
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    auto add = [&](const QPixmap& pixmap, const QString& caption) {
        auto* picture = new QLabel;
        picture->setPixmap(pixmap);
        auto* text = new QLabel(caption);
        text->setWordWrap(true);
        grid->addWidget(picture, rows_, 0);
        grid->addWidget(text, rows_, 1);
        ++rows_;
    };
    for (const Entry& entry : Entries())
        add(OnTile(entry.layers), entry.text);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* overlays = new QLabel("The analysis of play (Map menu) lays its findings over the map, by the game's "
                                "rules, on the skill level chosen on the tool bar:");
    overlays->setWordWrap(true);
    layout->addWidget(overlays);
    grid = new QGridLayout;
    for (const Entry& entry : PlayEntries())
        add(OnTiles(entry.play), entry.text);
    add(MissingWall(), "In the 3D preview, a wall whose picture the page file lacks (an empty chunk: the game would "
                       "draw garbage there); the map check names it");
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

} // namespace tsl
