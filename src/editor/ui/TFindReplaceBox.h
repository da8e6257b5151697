#pragma once
// "Find & Replace": the plane, the symbol to find and its replacement, the
// scope and the direction. The dialog keeps its fields in the session's
// FindReplaceState and hands back the action chosen; the caller runs it
// (EditorSession::RunFindAction) and shows the message of its result.

#include "core/Prompter.h"
#include "editor/FindReplace.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

class TFindReplaceBox : public QDialog {
    Q_OBJECT
public:
    explicit TFindReplaceBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TFindReplaceBox() override;

    // Shows the dialog modally with the fields of `state` (plane 0 chosen
    // each time). An action button whose fields are not enough says so and
    // keeps the dialog open. Nothing when the dialog was left without an
    // action ("Cancel", Escape or the window's close button), which marks
    // the state cancelled.
    std::optional<FindAction> ShowFindReplace(FindReplaceState& state, const std::vector<std::string>& planeNames);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
