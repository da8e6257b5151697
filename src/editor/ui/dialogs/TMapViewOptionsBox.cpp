#include "editor/ui/dialogs/TMapViewOptionsBox.h"

#include "core/ui/NameText.h"

#include "editor/document/Project.h"
#include "editor/view/ViewState.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace tsl {

namespace {

constexpr const char* kShowPlanes = "ShowPlanes";

QListWidget* MakeCheckList(const QString& title, const QString& name, QWidget* parent, QGroupBox*& group)
{
    group = new QGroupBox(title, parent);
    auto* list = new QListWidget(group);
    list->setObjectName(name);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list);
    return list;
}

void AddCheckItem(QListWidget* list, const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(QStringLiteral("Show ") + text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace

struct TMapViewOptionsBox::Impl {
    TMapViewOptionsBox* box;
    Prompter& prompter;
    Project* project = nullptr; // while the dialog is shown
    QListWidget* types = nullptr;
    QListWidget* planes = nullptr;
    QCheckBox* graphics = nullptr;
    ViewState* view = nullptr; // while the dialog is shown

    Impl(TMapViewOptionsBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build();
    void Fill();
    void TypeToggled(QListWidgetItem* item);
    void PlaneToggled(QListWidgetItem* item);
};

void TMapViewOptionsBox::Impl::Build()
{
    box->setWindowTitle(QStringLiteral("Map View Options"));
    QGroupBox* typeGroup = nullptr;
    QGroupBox* planeGroup = nullptr;
    types = MakeCheckList(QStringLiteral("Draw map objects"), QStringLiteral("typeList"), box, typeGroup);
    planes = MakeCheckList(QStringLiteral("Draw map planes"), QStringLiteral("planeList"), box, planeGroup);

    graphics = new QCheckBox(QStringLiteral("Show &game graphics"), box);
    graphics->setObjectName(QStringLiteral("gameGraphicsCheck"));

    auto* buttons = new QDialogButtonBox(box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);

    auto* lists = new QHBoxLayout;
    lists->addWidget(typeGroup);
    lists->addWidget(planeGroup);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(lists);
    layout->addWidget(graphics);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(ok, &QPushButton::clicked, box, &QDialog::accept);
    QObject::connect(types, &QListWidget::itemChanged, box, [this](QListWidgetItem* item) { TypeToggled(item); });
    QObject::connect(planes, &QListWidget::itemChanged, box, [this](QListWidgetItem* item) { PlaneToggled(item); });
    QObject::connect(graphics, &QCheckBox::clicked, box, [this](bool on) {
        if (view)
            view->WantGameGraphics(on);
    });
}

void TMapViewOptionsBox::Impl::Fill()
{
    const QSignalBlocker quietTypes(types);
    const QSignalBlocker quietPlanes(planes);
    types->clear();
    planes->clear();
    for (const MapSymbolTypes& type : project->Symbols.SymbolTypes())
        AddCheckItem(types, NameToQt(type.TypeName), type.Shown != 0);
    for (int p = 0; p < project->Maps().NumPlanes; ++p)
        AddCheckItem(planes, QString::fromStdString(project->PlaneName(p)), project->Settings->ReadBool(kShowPlanes, std::to_string(p), false));
    graphics->setVisible(view != nullptr);
    if (view) {
        graphics->setChecked(view->GameGraphicsShown());
        graphics->setEnabled(view->Graphics() != nullptr);
        graphics->setToolTip(QString::fromStdString(view->GraphicsProblem()));
    }
}

void TMapViewOptionsBox::Impl::TypeToggled(QListWidgetItem* item)
{
    auto& typeList = project->Symbols.SymbolTypes();
    const int row = types->row(item);
    if (row < 0 || row >= static_cast<int>(typeList.size()))
        return;
    typeList[static_cast<std::size_t>(row)].Shown = item->checkState() == Qt::Checked ? 1 : 0;
}

void TMapViewOptionsBox::Impl::PlaneToggled(QListWidgetItem* item)
{
    const int plane = planes->row(item);
    if (plane < 0 || plane >= project->Maps().NumPlanes)
        return;
    project->Settings->WriteBool(kShowPlanes, std::to_string(plane), item->checkState() == Qt::Checked);
}

TMapViewOptionsBox::TMapViewOptionsBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapViewOptionsBox::~TMapViewOptionsBox() = default;

void TMapViewOptionsBox::ShowMapViewOptions(Project& project, ViewState* view)
{
    if (!project.Settings)
        return;
    d->project = &project;
    d->view = view;
    d->Fill();
    exec();
    d->project = nullptr;
    d->view = nullptr;
    if (!project.Symbols.Loaded())
        return; // no types to keep
    if (auto failure = project.Symbols.SaveSymbolTypes())
        d->prompter.Show(*failure);
}

} // namespace tsl
