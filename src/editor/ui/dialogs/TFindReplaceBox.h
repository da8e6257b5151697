#pragma once
// "Find & Replace": the plane, the symbol to find and its replacement, the
// scope and the direction. The dialog only collects them: it hands back its
// fields with the action chosen, and the caller runs the request
// (EditorSession::RunFind) and shows the message of its result.

#include "core/Prompter.h"
#include "editor/operations/FindReplace.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

namespace tsl {

class TFindReplaceBox : public QDialog {
    Q_OBJECT
public:
    explicit TFindReplaceBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TFindReplaceBox() override;

    // Shows the dialog modally with the fields `shown` (plane 0 chosen each
    // time). An action button whose fields are not enough says so and keeps
    // the dialog open. The fields as left, with FindAction::None when the
    // dialog was left without an action ("Cancel", Escape or the window's
    // close button).
    FindRequest ShowFindReplace(const FindFields& shown, const std::vector<std::string>& planeNames);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
