#pragma once
// "Go To Level": one line per map of the set ("1 - Gatehouse"), the current
// map's line selected, a map that differs from a set compared with marked. It hands back the chosen map; the session switches.

#include <QDialog>

#include <optional>
#include <set>

class QComboBox;

namespace tsl {

class MapHandler;

class TGoToLevelBox : public QDialog {
    Q_OBJECT
public:
    explicit TGoToLevelBox(QWidget* parent = nullptr);

    // Shows the dialog modally: the chosen map's index after "OK", nothing
    // after "Cancel" or any other way of closing it. The maps of `changed`
    // (from 0: those that differ from the set compared with) are marked
    // "(changed)".
    std::optional<int> ChooseLevel(const MapHandler& maps, const std::set<int>& changed = {});

private:
    QComboBox* levels_;
};

} // namespace tsl
