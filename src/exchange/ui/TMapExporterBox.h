#pragma once
// "Map exporter": the maps to write into a file that holds several. The
// user moves entries from "Available maps" to "Maps to export"; the dialog
// hands back the maps they stand for, in that list's order.

#include "core/MapHandler.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

namespace tsl {

class TMapExporterBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapExporterBox(QWidget* parent = nullptr);
    ~TMapExporterBox() override;

    // The maps of "Maps to export" (possibly none), or nothing when the
    // dialog was cancelled. The set is not changed.
    std::optional<std::vector<int>> ShowMapExporter(const MapHandler& set);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
