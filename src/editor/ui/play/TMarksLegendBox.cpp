#include "editor/ui/play/TMarksLegendBox.h"

#include "editor/render/MarkerBadges.h"
#include "editor/render/PictureMarks.h"

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
};

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
    for (const Entry& entry : Entries()) {
        auto* picture = new QLabel;
        picture->setPixmap(OnTile(entry.layers));
        auto* text = new QLabel(entry.text);
        text->setWordWrap(true);
        grid->addWidget(picture, rows_, 0);
        grid->addWidget(text, rows_, 1);
        ++rows_;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

} // namespace tsl
