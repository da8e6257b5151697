#include "symbols/ui/TAddMSTBox.h"

#include "core/ui/DialogButtons.h"
#include "symbols/SymbolEditing.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

TAddMSTBox::TAddMSTBox(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName("addMapSymbolTypeBox");
    setWindowTitle("Add map symbol type");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Please enter a name for the new map symbol type."));
    name_ = new QLineEdit;
    name_->setObjectName("newTypeNameEdit");
    layout->addWidget(name_);
    layout->addWidget(new QLabel("Please enter an ID for the new map symbol type."));
    id_ = new QLineEdit;
    id_->setObjectName("newTypeIdEdit");
    layout->addWidget(id_);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAddMSTBox::onOk);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<TAddMSTBox::NewType> TAddMSTBox::AskType()
{
    name_->clear();
    id_->clear();
    name_->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return NewType{name_->text().toStdString(), id_->text().toStdString()};
}

void TAddMSTBox::onOk()
{
    if (auto failure = CheckNewSymbolType(name_->text().toStdString(), id_->text().toStdString())) {
        prompter_.Show(*failure);
        return;
    }
    accept();
}

} // namespace tsl
