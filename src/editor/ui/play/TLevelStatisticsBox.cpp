#include "editor/ui/play/TLevelStatisticsBox.h"

#include "core/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace tsl {

namespace {

// The rows, top to bottom: a number, or the tiles it counts.
struct StatisticRow {
    const char* label;
    int LevelAnalysis::*number = nullptr;
    std::vector<MapTile> LevelAnalysis::*tiles = nullptr;
};

const std::array<StatisticRow, 8> kRows = {{
    {"Kills", &LevelAnalysis::kills, nullptr},
    {"Treasure", &LevelAnalysis::treasure, nullptr},
    {"Secrets", &LevelAnalysis::secrets, nullptr},
    {"Exits reached", nullptr, nullptr},
    {"Treasure out of reach", nullptr, &LevelAnalysis::unreachableTreasure},
    {"Keys out of reach", nullptr, &LevelAnalysis::unreachableKeys},
    {"Weapons out of reach", nullptr, &LevelAnalysis::unreachableWeapons},
    {"Enemies out of reach", nullptr, &LevelAnalysis::unreachableEnemies},
}};

QVariantList TileList(const std::vector<MapTile>& tiles)
{
    QVariantList list;
    for (const MapTile& tile : tiles)
        list.append(QPoint(tile.x, tile.y));
    return list;
}

} // namespace

struct TLevelStatisticsBox::Impl {
    QTableWidget* table = nullptr;
    QLabel* note = nullptr;
    std::optional<std::vector<QPoint>> chosen;
};

TLevelStatisticsBox::TLevelStatisticsBox(QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>())
{
    setWindowTitle(QStringLiteral("Level Statistics"));
    d->table = new QTableWidget(static_cast<int>(kRows.size()), 4, this);
    d->table->setObjectName(QStringLiteral("statisticsTable"));
    d->table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->table->setSelectionMode(QAbstractItemView::NoSelection);
    // Counts are clicked, never walked with the keys: no focus frame on the first.
    d->table->setFocusPolicy(Qt::NoFocus);
    d->table->setHorizontalHeaderLabels({"Skill 1", "Skill 2", "Skill 3", "Skill 4"});
    QStringList labels;
    for (const StatisticRow& row : kRows)
        labels << QString::fromLatin1(row.label);
    d->table->setVerticalHeaderLabels(labels);
    d->table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    d->table->setMinimumWidth(520);
    d->table->setMinimumHeight(d->table->verticalHeader()->length() + d->table->horizontalHeader()->height() + 4);
    connect(d->table, &QTableWidget::cellClicked, this, [this](int row, int column) {
        const QTableWidgetItem* item = d->table->item(row, column);
        const QVariantList tiles = item ? item->data(Qt::UserRole).toList() : QVariantList();
        if (tiles.isEmpty())
            return;
        d->chosen.emplace();
        for (const QVariant& tile : tiles)
            d->chosen->push_back(tile.toPoint());
        accept();
    });
    d->note = new QLabel(this);
    d->note->setObjectName(QStringLiteral("statisticsNote"));
    d->note->setWordWrap(true);
    auto* hint = new QLabel(QStringLiteral("Click a count of exits or of what is out of reach to show those tiles on "
                                           "the map."),
                            this);
    hint->setWordWrap(true);

    QDialogButtonBox* buttons = OkButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(d->table);
    layout->addWidget(d->note);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

TLevelStatisticsBox::~TLevelStatisticsBox() = default;

QTableWidget* TLevelStatisticsBox::Table() const
{
    return d->table;
}

std::optional<std::vector<QPoint>> TLevelStatisticsBox::ShowStatistics(const std::vector<LevelAnalysis>& levels,
                                                                       const QString& note)
{
    d->table->clearContents();
    d->table->setEnabled(!levels.empty());
    for (std::size_t column = 0; column < levels.size() && column < 4; ++column) {
        const LevelAnalysis& level = levels[column];
        for (std::size_t row = 0; row < kRows.size(); ++row) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (kRows[row].number) {
                item->setText(QString::number(level.*kRows[row].number));
            } else if (kRows[row].tiles) {
                const auto& tiles = level.*kRows[row].tiles;
                item->setText(QString::number(tiles.size()));
                item->setData(Qt::UserRole, TileList(tiles));
            } else {
                std::vector<MapTile> exits;
                for (const LevelExit& exit : level.exits)
                    exits.push_back(exit.tile);
                item->setText(level.Finishable() ? QString::number(exits.size())
                                                 : QStringLiteral("none: cannot be finished"));
                if (!level.Finishable())
                    item->setForeground(Qt::red);
                item->setData(Qt::UserRole, TileList(exits));
            }
            d->table->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    }
    d->note->setText(note);
    d->note->setVisible(!note.isEmpty());
    d->chosen.reset();
    exec();
    return d->chosen;
}

} // namespace tsl
