#include "editor/ui/dialogs/TPlaneBox.h"

#include "core/ui/NameText.h"
#include "editor/operations/PlaneManager.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

namespace {

QGroupBox* Group(const char* title, QWidget* parent, QLayout* content)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setLayout(content);
    return group;
}

QToolButton* Arrow(Qt::ArrowType direction, const char* name, QWidget* parent)
{
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(direction);
    arrow->setObjectName(QString::fromLatin1(name));
    return arrow;
}

} // namespace

struct TPlaneBox::Impl {
    TPlaneBox* box;
    Prompter& prompter;
    IniFile* settings = nullptr; // while shown
    Actions actions;
    int planeCount = 0; // of the set, against which a change is measured
    QComboBox* planes = nullptr;
    QLineEdit* count = nullptr;
    QLineEdit* name = nullptr;
    QListWidget* properties = nullptr;

    Impl(TPlaneBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build();
    void Fill(int numPlanes);
    void ShowPlane(int plane);
    void FlagToggled();
    void NameEdited(const QString& text);
    void NameLeft();
    void Step(int delta);
    void ChangePlaneCount();
};

void TPlaneBox::Impl::Build()
{
    box->setWindowTitle(QStringLiteral("Plane Manager"));
    planes = new QComboBox(box);
    planes->setObjectName(QStringLiteral("planeList"));
    auto* select = new QVBoxLayout;
    select->addWidget(new QLabel(QStringLiteral("Which plane do you wish to edit?"), box));
    select->addWidget(planes);

    count = new QLineEdit(box);
    count->setObjectName(QStringLiteral("planeCountField"));
    count->setAlignment(Qt::AlignRight);
    count->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), count));
    auto* change = new QPushButton(QStringLiteral("Change number of planes"), box);
    change->setObjectName(QStringLiteral("changePlaneCountButton"));
    change->setAutoDefault(false);
    QToolButton* up = Arrow(Qt::UpArrow, "planeCountUp", box);
    QToolButton* down = Arrow(Qt::DownArrow, "planeCountDown", box);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(count);
    countRow->addLayout(arrows);
    countRow->addWidget(change);
    auto* addDelete = new QVBoxLayout;
    auto* explanation =
        new QLabel(QStringLiteral("By increasing or decreasing the value in the field you add or delete planes."), box);
    explanation->setWordWrap(true);
    addDelete->addWidget(explanation);
    addDelete->addLayout(countRow);

    name = new QLineEdit(box);
    name->setObjectName(QStringLiteral("planeNameEdit"));
    properties = new QListWidget(box);
    properties->setObjectName(QStringLiteral("planePropertiesList"));
    for (const char* text : {"Show Plane", "Split into low and high bytes"}) {
        auto* item = new QListWidgetItem(QString::fromLatin1(text), properties);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* edit = new QFormLayout;
    edit->addRow(QStringLiteral("Plane name:"), name);
    edit->addRow(QStringLiteral("Change plane properties:"), properties);

    auto* buttons = new QDialogButtonBox(box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(Group("Select plane", box, select));
    layout->addWidget(Group("Add / delete plane", box, addDelete));
    layout->addWidget(Group("Edit plane", box, edit));
    layout->addWidget(buttons);

    QObject::connect(ok, &QPushButton::clicked, box, &QDialog::accept);
    QObject::connect(planes, &QComboBox::currentIndexChanged, box, [this](int plane) { ShowPlane(plane); });
    QObject::connect(properties, &QListWidget::itemChanged, box, [this]() { FlagToggled(); });
    QObject::connect(name, &QLineEdit::textEdited, box, [this](const QString& text) { NameEdited(text); });
    QObject::connect(name, &QLineEdit::editingFinished, box, [this]() { NameLeft(); });
    QObject::connect(up, &QToolButton::clicked, box, [this]() { Step(1); });
    QObject::connect(down, &QToolButton::clicked, box, [this]() { Step(-1); });
    QObject::connect(change, &QPushButton::clicked, box, [this]() { ChangePlaneCount(); });
}

void TPlaneBox::Impl::Fill(int numPlanes)
{
    const QSignalBlocker quiet(planes);
    planes->clear();
    for (const std::string& planeName : PlaneNames(*settings, numPlanes))
        planes->addItem(QString::fromStdString(planeName));
    planes->setCurrentIndex(0);
    ShowPlane(0);
    count->setText(QString::number(numPlanes));
}

void TPlaneBox::Impl::ShowPlane(int plane)
{
    if (!settings || plane < 0)
        return;
    const QSignalBlocker quiet(properties);
    const std::string key = std::to_string(plane);
    properties->item(0)->setCheckState(settings->ReadBool("ShowPlanes", key, false) ? Qt::Checked : Qt::Unchecked);
    properties->item(1)->setCheckState(settings->ReadBool("SplitPlanes", key, false) ? Qt::Checked : Qt::Unchecked);
    name->setText(NameToQt(PlaneName(*settings, plane)));
}

void TPlaneBox::Impl::FlagToggled()
{
    if (settings && planes->currentIndex() >= 0)
        WritePlaneFlags(*settings, planes->currentIndex(), properties->item(0)->checkState() == Qt::Checked,
                        properties->item(1)->checkState() == Qt::Checked);
}

void TPlaneBox::Impl::NameEdited(const QString& text)
{
    const int plane = planes->currentIndex();
    if (!settings || plane < 0)
        return;
    auto bytes = NameFromQt(text, "plane name", kPlaneManagerCaption);
    if (!bytes) {
        // Every change is written at once, so the name as stored is the
        // text before the character that cannot be stored.
        name->setText(NameToQt(PlaneName(*settings, plane)));
        prompter.Show(bytes.failure());
        return;
    }
    WritePlaneName(*settings, plane, *bytes);
}

void TPlaneBox::Impl::NameLeft()
{
    if (!settings)
        return;
    const int selected = planes->currentIndex();
    {
        const QSignalBlocker quiet(planes);
        const int shown = planes->count();
        planes->clear();
        for (const std::string& planeName : PlaneNames(*settings, shown))
            planes->addItem(QString::fromStdString(planeName));
        planes->setCurrentIndex(selected);
    }
    ShowPlane(selected);
    if (actions.planeNamesChanged)
        actions.planeNamesChanged();
}

void TPlaneBox::Impl::Step(int delta)
{
    const auto current = ParsePlaneCount(count->text().toStdString());
    const int value = current ? *current : planeCount;
    count->setText(QString::number(std::clamp(value + delta, 1, kMaxPlaneCount)));
}

void TPlaneBox::Impl::ChangePlaneCount()
{
    // The count as it stands in the field, typed or set with the arrows.
    const auto requested = ParsePlaneCount(count->text().toStdString());
    if (!requested) {
        prompter.Show(requested.failure());
        return;
    }
    if (*requested == planeCount)
        return;
    if (prompter.Message(kAutosaveQuestion, kSaveMapsCaption, MessageIcon::Question, Buttons::YesNo) != Answer::Yes)
        return;
    if (!actions.changePlaneCount)
        return;
    const int before = planeCount;
    planeCount = actions.changePlaneCount(*requested);
    if (planeCount != before)
        Fill(planeCount); // no name or flag is written for a plane that is gone
}

TPlaneBox::TPlaneBox(Prompter& prompter, QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TPlaneBox::~TPlaneBox() = default;

void TPlaneBox::ShowPlaneManager(IniFile& settings, int numPlanes, const Actions& actions)
{
    d->settings = &settings;
    d->actions = actions;
    d->planeCount = numPlanes;
    d->Fill(numPlanes);
    exec();
    d->settings = nullptr;
}

} // namespace tsl
