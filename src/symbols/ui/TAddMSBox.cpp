#include "symbols/ui/TAddMSBox.h"

#include "core/ui/DialogButtons.h"
#include "symbols/SymbolEditing.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tsl {

TAddMSBox::TAddMSBox(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName("addMapSymbolBox");
    setWindowTitle("Add map symbol");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Please enter an ID for the new map symbol."));
    id_ = new QLineEdit;
    id_->setObjectName("newSymbolIdEdit");
    id_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), id_));
    layout->addWidget(id_);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAddMSBox::onOk);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<int> TAddMSBox::AskId()
{
    id_->clear();
    id_->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return value_;
}

void TAddMSBox::onOk()
{
    auto id = ParseSymbolId(id_->text().toStdString());
    if (!id) {
        prompter_.Show(id.failure());
        return;
    }
    value_ = *id;
    accept();
}

} // namespace tsl
