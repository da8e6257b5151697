#pragma once
// "Map Information": the ten counters of the current map and, below them,
// what the map check found, one row per finding with its text wrapped. The
// dialog changes nothing; double-clicking a finding that has a tile closes it
// and hands that tile back, for the window to show.

#include "editor/play/MapInformation.h"

#include <QDialog>
#include <QPoint>

#include <memory>
#include <optional>
#include <vector>

namespace tsl {

class TMapInformationBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapInformationBox(QWidget* parent = nullptr);
    ~TMapInformationBox() override;

    // Shows the numbers and the findings modally until "OK" (nothing) or a
    // double click on a finding with a tile (its column and row).
    std::optional<QPoint> ShowMapInformation(const MapStatistics& statistics, const std::vector<MapFinding>& findings);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
