#pragma once
// "Map Configurations": the compression, tags and name and header options
// of the open project.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

namespace tsl {

class Project;

class TMapConfigurationsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapConfigurationsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapConfigurationsBox() override;

    // Fills the dialog from the project, shows it modally and, on a valid
    // OK, applies the settings to the map set and the structure's settings
    // file. True when they were applied.
    bool ShowMapConfigurations(Project& project);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
