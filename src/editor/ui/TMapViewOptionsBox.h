#pragma once
// "Map View Options": which symbol types and which planes the map view
// draws. Every check takes effect at once; the types are written back to
// "mapsymboltypes.txt" when the dialog has closed.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

namespace tsl {

class Project;

class TMapViewOptionsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapViewOptionsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapViewOptionsBox() override;

    // Refills both lists from the project and shows the dialog modally. The
    // caller redraws the map afterwards.
    void ShowMapViewOptions(Project& project);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
