#pragma once
// "Run Map" asks here for the command that starts the game, with examples
// and the placeholders it may hold. It hands the command back; the flow
// stores it in "TSL.ini".

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace tsl {

class TRunCommandBox : public QDialog {
    Q_OBJECT
public:
    explicit TRunCommandBox(QWidget* parent = nullptr);

    // Shows the dialog modally with `current` in the field: the command
    // typed after "OK" (not blank), nothing after "Cancel".
    std::optional<std::string> AskCommand(const std::string& current = {});

private:
    QLineEdit* command_;
    QPushButton* ok_;
};

} // namespace tsl
