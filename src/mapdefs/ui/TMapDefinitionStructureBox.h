#pragma once
// "Create map definition structure": shown by the open flow when a game has
// no structure yet; creates one as a copy of an existing structure or from
// scratch.

#include "core/Prompter.h"

#include <QDialog>

#include <memory>

#include <filesystem>
#include <string>

namespace tsl {

class TMapDefinitionStructureBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapDefinitionStructureBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapDefinitionStructureBox() override;

    // Fills the dialog for the game (extension, header executable), shows it
    // modally and returns true when a structure was created in `mapDefsRoot`
    // (the cancelled flag is then clear).
    bool ShowStructureDialog(const std::filesystem::path& mapDefsRoot, const std::string& extension,
                             const std::string& headerExecutable);
    bool Cancelled() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
