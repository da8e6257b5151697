#pragma once
// "Run Map" asks here for the command that starts the game: ready commands
// for the source ports and setups found (RunPresets), the last ten commands
// run, the placeholders the command may hold, and the skill level and debug
// switch they stand for. It hands the command and its choices back; the
// flow stores them in "TSL.ini".

#include "editor/settings/AppSettings.h"
#include "editor/run/RunPresets.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tsl {

class TRunCommandBox : public QDialog {
    Q_OBJECT
public:
    explicit TRunCommandBox(QWidget* parent = nullptr);

    // Shows the dialog modally with `current` in the field, `presets` and
    // the recent commands of `options` to choose from and its skill level
    // and debug switch set: the command typed after "OK" (not blank),
    // nothing after "Cancel".
    std::optional<std::string> AskCommand(const std::string& current = {}, const std::vector<RunPreset>& presets = {},
                                          const RunOptions& options = {});
    // What was chosen: the skill level and the debug switch (the recent
    // commands as they were given).
    RunOptions Options() const;

private:
    void ChoosePreset(int index);

    QComboBox* presets_;
    QComboBox* recent_;
    QLineEdit* command_;
    QComboBox* skill_;
    QCheckBox* debug_;
    QPushButton* ok_;
    std::vector<RunPreset> shownPresets_;
    RunOptions options_;
};

} // namespace tsl
