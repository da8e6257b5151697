#pragma once
// "Plane Manager": the planes' names and display flags, written to the
// structure's settings as soon as they change, and the number of planes of
// every map, which the caller changes through the editing session.

#include "core/IniFile.h"
#include "core/Prompter.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace tsl {

class TPlaneBox : public QDialog {
    Q_OBJECT
public:
    struct Actions {
        // Changes the plane count once the user agreed to the autosave (the
        // window asks to save changes, runs EditorSession::ChangePlaneCount
        // with its save progress, and shows any failure); returns the set's
        // plane count afterwards.
        std::function<int(int count)> changePlaneCount;
        // A plane name was edited and its field left: the main window
        // refills its plane selector and selects the first plane.
        std::function<void()> planeNamesChanged;
    };

    TPlaneBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TPlaneBox() override;

    // Shows the dialog modally for a project of `numPlanes` planes whose
    // structure settings are `settings`. The caller refreshes its byte modes
    // and redraws the map once it returns.
    void ShowPlaneManager(IniFile& settings, int numPlanes, const Actions& actions);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
