#include "editor/ui/TRunCommandBox.h"

#include "core/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

TRunCommandBox::TRunCommandBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("runCommandBox");
    setWindowTitle("Run Map");
    auto* label = new QLabel("Enter the command that starts the game on a map, for example:\n\n"
                             "    ecwolf --data %e --tedlevel %m\n"
                             "    /usr/games/wolf4sdl --tedlevel %m\n\n"
                             "%d stands for the game folder, %m for the current map counted from 0, %n counted "
                             "from 1, %e for the extension of the game's files and %% for a %. The command runs "
                             "in the game folder, without a shell.");
    label->setWordWrap(true);
    command_ = new QLineEdit;
    command_->setObjectName("runCommand");
    command_->setMinimumWidth(420);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    ok_ = buttons->findChild<QPushButton*>("okButton");
    connect(command_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ok_->setEnabled(!text.trimmed().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(command_);
    layout->addWidget(buttons);
}

std::optional<std::string> TRunCommandBox::AskCommand(const std::string& current)
{
    command_->setText(QString::fromStdString(current));
    ok_->setEnabled(!command_->text().trimmed().isEmpty());
    command_->setFocus();
    if (exec() != QDialog::Accepted || command_->text().trimmed().isEmpty())
        return std::nullopt;
    return command_->text().toStdString();
}

} // namespace tsl
