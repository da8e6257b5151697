#include "editor/ui/TMapInformationBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
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
    auto* checkLayout = new QVBoxLayout(check);
    checkLayout->addWidget(d->findings);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(check);
    layout->addWidget(buttons);
}

TMapInformationBox::~TMapInformationBox() = default;

void TMapInformationBox::ShowMapInformation(const MapStatistics& statistics, const std::vector<MapFinding>& findings)
{
    const std::array<int, kRows.size()> counters = statistics.Counters();
    for (std::size_t i = 0; i < kRows.size(); ++i)
        d->fields[i]->setText(QString::number(counters[i]));
    d->findings->clear();
    if (findings.empty())
        d->findings->addItem(QStringLiteral("The map keeps within the engine's limits."));
    for (const MapFinding& finding : findings)
        d->findings->addItem(QString::fromStdString(FindingText(finding)));
    exec();
}

} // namespace tsl
