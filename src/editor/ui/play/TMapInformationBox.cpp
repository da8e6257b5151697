#include "editor/ui/play/TMapInformationBox.h"

#include "core/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace tsl {

namespace {

// In the order of MapStatistics::Counters.
struct CounterRow {
    const char* label;
    const char* name;
};

const std::array<CounterRow, 10> kRows = {{
    {"Static Objects:", "staticObjects"},
    {"Tile Objects:", "tileObjects"},
    {"Doors:", "doors"},
    {"Secrets:", "secrets"},
    {"Level 1 Guards:", "guardsLevel1"},
    {"Level 3 Guards:", "guardsLevel3"},
    {"Level 4 Guards:", "guardsLevel4"},
    {"Bosses", "bosses"},
    {"Other Actors:", "otherActors"},
    {"Total Actors:", "totalActors"},
}};

} // namespace

struct TMapInformationBox::Impl {
    std::array<QLineEdit*, 10> fields{};
    QListWidget* findings = nullptr;
    std::optional<QPoint> chosen;
};

TMapInformationBox::TMapInformationBox(QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>())
{
    setWindowTitle(QStringLiteral("Map Information"));
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(kRows[i].name));
        field->setReadOnly(true);
        field->setAlignment(Qt::AlignRight);
        form->addRow(QString::fromLatin1(kRows[i].label), field);
        d->fields[i] = field;
    }
    auto* check = new QGroupBox(QStringLiteral("Map check"), this);
    d->findings = new QListWidget(check);
    d->findings->setObjectName(QStringLiteral("findingList"));
    // Rows as wide as the list, their text wrapped: nothing to scroll sideways.
    d->findings->setWordWrap(true);
    d->findings->setTextElideMode(Qt::ElideNone);
    d->findings->setResizeMode(QListView::Adjust);
    d->findings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->findings->setAlternatingRowColors(true);
    d->findings->setMinimumWidth(420);
    connect(d->findings, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const QVariant tile = item->data(Qt::UserRole);
        if (!tile.isValid())
            return;
        d->chosen = tile.toPoint();
        accept();
    });
    auto* hint = new QLabel(QStringLiteral("Double-click a finding to show its tile on the map."), check);
    hint->setWordWrap(true);
    auto* checkLayout = new QVBoxLayout(check);
    checkLayout->addWidget(d->findings);
    checkLayout->addWidget(hint);

    QDialogButtonBox* buttons = OkButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(check);
    layout->addWidget(buttons);
}

TMapInformationBox::~TMapInformationBox() = default;

std::optional<QPoint> TMapInformationBox::ShowMapInformation(const MapStatistics& statistics,
                                                             const std::vector<MapFinding>& findings)
{
    const std::array<int, kRows.size()> counters = statistics.Counters();
    for (std::size_t i = 0; i < kRows.size(); ++i)
        d->fields[i]->setText(QString::number(counters[i]));
    d->findings->clear();
    if (findings.empty())
        d->findings->addItem(QStringLiteral("The map keeps within the engine's limits."));
    for (const MapFinding& finding : findings) {
        auto* item = new QListWidgetItem(QString::fromStdString(FindingText(finding)), d->findings);
        if (finding.Column && finding.Row)
            item->setData(Qt::UserRole, QPoint(*finding.Column, *finding.Row));
    }
    d->chosen.reset();
    exec();
    return d->chosen;
}

} // namespace tsl
