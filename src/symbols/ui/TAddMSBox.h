#pragma once
// "Add map symbol": asks for the value of a new symbol.

#include "core/Prompter.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace tsl {

class TAddMSBox : public QDialog {
    Q_OBJECT
public:
    explicit TAddMSBox(Prompter& prompter, QWidget* parent = nullptr);

    // The id entered (0 ... 65535), or nothing when cancelled.
    std::optional<int> AskId();

private:
    void onOk();

    Prompter& prompter_;
    QLineEdit* id_;
    int value_ = 0;
};

} // namespace tsl
