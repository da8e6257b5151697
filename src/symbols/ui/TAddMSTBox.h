#pragma once
// "Add map symbol type": asks for the name and id of a new type.

#include "core/Prompter.h"

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

namespace tsl {

class TAddMSTBox : public QDialog {
    Q_OBJECT
public:
    explicit TAddMSTBox(Prompter& prompter, QWidget* parent = nullptr);

    struct NewType {
        std::string name;
        std::string id;
    };
    // Both given and fit for the types file (Windows-1252 bytes), or nothing
    // when cancelled.
    std::optional<NewType> AskType();

private:
    void onOk();

    Prompter& prompter_;
    QLineEdit* name_;
    QLineEdit* id_;
    NewType typed_;
};

} // namespace tsl
