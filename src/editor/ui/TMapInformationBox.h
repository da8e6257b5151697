#pragma once
// "Map Information": the ten counters of the current map and, below them,
// what the map check found. The dialog only shows; it changes nothing.

#include "editor/MapInformation.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace tsl {

class TMapInformationBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapInformationBox(QWidget* parent = nullptr);
    ~TMapInformationBox() override;

    // Shows the numbers and the findings modally until "OK".
    void ShowMapInformation(const MapStatistics& statistics, const std::vector<MapFinding>& findings);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
