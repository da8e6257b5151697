#pragma once
// "Map View Options": which symbol types and which planes the map view
// draws, and whether it draws the game's own graphics. Every check takes
// effect at once; the types are written back to "mapsymboltypes.txt" when
// the dialog has closed.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

namespace tsl {

class Project;
class ViewState;

class TMapViewOptionsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapViewOptionsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapViewOptionsBox() override;

    // Refills both lists from the project and shows the dialog modally. The
    // caller redraws the map afterwards. The "Show game graphics" check box
    // shows the picture mode of `view` (enabled when the game has pictures,
    // with why not as its hint) and writes it there when clicked; without a
    // view state the box is hidden.
    void ShowMapViewOptions(Project& project, ViewState* view = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
