#include "symbols/ui/TAddMSTBox.h"

#include "core/ui/DialogButtons.h"
#include "core/ui/NameText.h"
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
    return typed_;
}

void TAddMSTBox::onOk()
{
    auto name = NameFromQt(name_->text(), "map symbol type name", kSymbolTypeErrorCaption);
    auto id = NameFromQt(id_->text(), "map symbol type ID", kSymbolTypeErrorCaption);
    for (const auto* typed : {&name, &id})
        if (!*typed) {
            prompter_.Show(typed->failure());
            return;
        }
    if (auto failure = CheckNewSymbolType(*name, *id)) {
        prompter_.Show(*failure);
        return;
    }
    typed_ = NewType{std::move(*name), std::move(*id)};
    accept();
}

} // namespace tsl
