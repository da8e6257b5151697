#include "exchange/ui/TMapExporterBox.h"

#include "core/ui/NameText.h"
#include "exchange/MapExporter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

namespace {

const char* const kIntroduction =
    "You selected a map format that is able to export multiple maps into one file. If you just want to export the "
    "map which you have currently selected then simply click \"Export\". Otherwise please select the maps you want "
    "to export in your chosen map format.";

QPushButton* MakeButton(const char* text, const char* name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

QListWidget* MakeList(const char* name)
{
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumSize(180, 240);
    return list;
}

std::vector<int> SelectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows.push_back(list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void Fill(QListWidget* list, const std::vector<ExporterEntry>& entries, int select)
{
    list->clear();
    for (const ExporterEntry& entry : entries)
        list->addItem(NameToQt(entry.Text));
    if (select >= 0 && select < list->count()) {
        list->setCurrentRow(select);
        list->item(select)->setSelected(true);
    }
}

} // namespace

struct TMapExporterBox::Impl {
    TMapExporterBox* box;
    std::optional<MapExporterLists> lists;
    QListWidget* available = nullptr;
    QListWidget* toExport = nullptr;
    QPushButton* right = nullptr;
    QPushButton* left = nullptr;
    QPushButton* allRight = nullptr;
    QPushButton* allLeft = nullptr;

    void Build();
    // Both lists again; `availableRow` and `exportRow` are selected (-1: none).
    void Show(int availableRow, int exportRow);
};

void TMapExporterBox::Impl::Build()
{
    box->setObjectName("mapExporterBox");
    box->setWindowTitle("Map exporter");
    auto* introduction = new QLabel(kIntroduction);
    introduction->setWordWrap(true);
    introduction->setFixedWidth(460);
    // A fixed-size layout asks a wrapped label for its height at no width.
    introduction->setMinimumHeight(introduction->heightForWidth(460));
    available = MakeList("availableList");
    toExport = MakeList("exportList");
    right = MakeButton(">", "moveRightButton");
    left = MakeButton("<", "moveLeftButton");
    allRight = MakeButton(">>", "moveAllRightButton");
    allLeft = MakeButton("<<", "moveAllLeftButton");
    auto* exportButton = MakeButton("Export", "exportButton");
    exportButton->setDefault(true);
    auto* cancel = MakeButton("Cancel", "cancelButton");

    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    for (QPushButton* button : {right, left, allRight, allLeft})
        moves->addWidget(button);
    moves->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Available maps:"), 0, 0);
    grid->addWidget(new QLabel("Maps to export:"), 0, 2);
    grid->addWidget(available, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(toExport, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(introduction);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(right, &QPushButton::clicked, box,
                     [this] { Show(lists->MoveToExport(SelectedRows(available)), -1); });
    QObject::connect(left, &QPushButton::clicked, box,
                     [this] { Show(-1, lists->MoveToAvailable(SelectedRows(toExport))); });
    QObject::connect(allRight, &QPushButton::clicked, box, [this] {
        lists->MoveAllToExport();
        Show(-1, -1);
    });
    QObject::connect(allLeft, &QPushButton::clicked, box, [this] {
        lists->MoveAllToAvailable();
        Show(-1, -1);
    });
    QObject::connect(exportButton, &QPushButton::clicked, box, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
}

void TMapExporterBox::Impl::Show(int availableRow, int exportRow)
{
    Fill(available, lists->Available(), availableRow);
    Fill(toExport, lists->ToExport(), exportRow);
    right->setEnabled(lists->CanMoveToExport());
    allRight->setEnabled(lists->CanMoveToExport());
    left->setEnabled(lists->CanMoveToAvailable());
    allLeft->setEnabled(lists->CanMoveToAvailable());
}

TMapExporterBox::TMapExporterBox(QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>())
{
    d->box = this;
    d->Build();
}

TMapExporterBox::~TMapExporterBox() = default;

std::optional<std::vector<int>> TMapExporterBox::ShowMapExporter(const MapHandler& set)
{
    d->lists.emplace(set);
    d->Show(-1, -1);
    const bool chosen = exec() == QDialog::Accepted;
    std::optional<std::vector<int>> result;
    if (chosen)
        result = d->lists->ChosenMaps();
    d->lists.reset();
    return result;
}

} // namespace tsl
