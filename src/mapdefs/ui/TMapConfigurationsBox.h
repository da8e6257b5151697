#pragma once
// "Map Configurations": the compression, tags and name and header options
// of the open project. The dialog only gathers the choices;
// ApplyMapConfiguration puts them into the map set and the settings file.

#include "core/Prompter.h"
#include "mapdefs/StructureStore.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace tsl {

class TMapConfigurationsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapConfigurationsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapConfigurationsBox() override;

    // Fills the dialog from `current` and shows it modally: the choices on a
    // valid OK, nothing on Cancel. The compression is shown, not chosen: the
    // data file dictates it and it is handed back as it came.
    std::optional<MapConfiguration> ShowMapConfigurations(const MapConfiguration& current);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
