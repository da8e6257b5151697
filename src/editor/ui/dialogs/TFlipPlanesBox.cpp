#include "editor/ui/dialogs/TFlipPlanesBox.h"

#include "editor/operations/MapOperations.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

struct TFlipPlanesBox::Impl {
    TFlipPlanesBox* box;
    Prompter& prompter;
    QComboBox* first = nullptr;
    QComboBox* second = nullptr;

    Impl(TFlipPlanesBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build()
    {
        box->setWindowTitle(QStringLiteral("Flip Planes"));
        first = new QComboBox(box);
        first->setObjectName(QStringLiteral("firstPlane"));
        second = new QComboBox(box);
        second->setObjectName(QStringLiteral("secondPlane"));
        auto* lists = new QGridLayout;
        lists->addWidget(new QLabel(QStringLiteral("Flip"), box), 0, 0);
        lists->addWidget(new QLabel(QStringLiteral("with"), box), 0, 1);
        lists->addWidget(first, 1, 0);
        lists->addWidget(second, 1, 1);

        auto* buttons = new QDialogButtonBox(box);
        QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setObjectName(QStringLiteral("okButton"));
        ok->setDefault(true);
        QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cancel->setObjectName(QStringLiteral("cancelButton"));
        auto* layout = new QVBoxLayout(box);
        layout->addLayout(lists);
        layout->addWidget(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize);

        QObject::connect(ok, &QPushButton::clicked, box, [this]() { Accept(); });
        QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    }

    void Accept()
    {
        if (first->currentIndex() == second->currentIndex()) {
            prompter.Show(FlipPlaneWithItselfFailure());
            return;
        }
        box->accept();
    }
};

TFlipPlanesBox::TFlipPlanesBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TFlipPlanesBox::~TFlipPlanesBox() = default;

std::optional<std::pair<int, int>> TFlipPlanesBox::ChoosePlanes(const std::vector<std::string>& planeNames)
{
    if (planeNames.empty())
        return std::nullopt;
    for (QComboBox* list : {d->first, d->second}) {
        list->clear();
        for (const std::string& name : planeNames)
            list->addItem(QString::fromStdString(name));
    }
    d->first->setCurrentIndex(0);
    d->second->setCurrentIndex(planeNames.size() > 1 ? 1 : 0);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(d->first->currentIndex(), d->second->currentIndex());
}

} // namespace tsl
