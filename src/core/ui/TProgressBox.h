#pragma once
// "Progress": the modal dialog that saves the map set, map by map, showing
// "Maps (3 / 60)" while it goes, and "Maps saved!" when done.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

#include <functional>

namespace tsl {

class MapHandler;

class TProgressBox : public QDialog {
    Q_OBJECT
public:
    explicit TProgressBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TProgressBox() override;

    // Shows the dialog modally; the save starts when it is shown, and
    // `saved` runs once the maps were saved (the main window clears its
    // changed flag and shows "Maps saved!"). The dialog stays open until
    // the user closes it, or, with `closeWhenSaved`, until a save that has
    // nothing more to say is done. True when the maps were saved.
    bool RunSave(const MapHandler& maps, std::function<void()> saved, bool closeWhenSaved = false);

public slots:
    // Refused while the maps are being written; afterwards it closes and
    // makes the dialog ready for the next save.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
