#pragma once
// "Go To Level": one line per map of the set ("1 - Gatehouse"), the current
// map's line selected. It hands back the chosen map; the session switches.

#include <QDialog>

#include <optional>

class QComboBox;

namespace tsl {

class MapHandler;

class TGoToLevelBox : public QDialog {
    Q_OBJECT
public:
    explicit TGoToLevelBox(QWidget* parent = nullptr);

    // Shows the dialog modally: the chosen map's index after "OK", nothing
    // after "Cancel" or any other way of closing it.
    std::optional<int> ChooseLevel(const MapHandler& maps);

private:
    QComboBox* levels_;
};

} // namespace tsl
