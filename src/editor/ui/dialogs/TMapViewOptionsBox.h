#pragma once
// "Map View Options": which symbol types and which planes the map view
// draws, and whether it draws the game's own graphics. Every check takes
// effect at once; the types are written back to "mapsymboltypes.txt" when
// the dialog has closed.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

class QAction;

namespace tsl {

class Project;

class TMapViewOptionsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapViewOptionsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapViewOptionsBox() override;

    // Refills both lists from the project and shows the dialog modally. The
    // caller redraws the map afterwards. The "Game Graphics" check box
    // mirrors `gameGraphics` (checked, enabled, hint) and triggers it when
    // clicked; without it the box is hidden.
    void ShowMapViewOptions(Project& project, QAction* gameGraphics = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
