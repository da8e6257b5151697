#pragma once
// The about box: what the program is, its version, the Qt it runs on, and
// where it keeps its settings and map definition structures.

#include "editor/settings/EditorEnvironment.h"

#include <QDialog>

namespace tsl {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const EditorEnvironment& environment, QWidget* parent = nullptr);

    // The text shown, as plain text (for the tests and for copying).
    QString Text() const;

private:
    QString text_;
};

} // namespace tsl
