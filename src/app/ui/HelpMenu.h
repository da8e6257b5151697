#pragma once
// What stands behind the main window's "&?" menu: the update check, the
// manual, the map legend and the about box, connected to the items the window creates.

#include "app/ui/Help.h"
#include "app/ui/UpdateCheck.h"
#include "core/Prompter.h"
#include "editor/settings/EditorEnvironment.h"

#include <QObject>

#include <filesystem>
#include <string>

namespace tsl {

class TAboutBox;
class TMarksLegendBox;
class TEditorBox;

struct HelpMenuOptions {
    std::filesystem::path manual;
    UrlOpener open;
    std::string version = TESSELAR_VERSION;
    int updateTimeoutMs = UpdateCheck::kDefaultTimeoutMs;
};

class HelpMenu : public QObject {
    Q_OBJECT
public:
    HelpMenu(TEditorBox& editor, Prompter& prompter, const EditorEnvironment& environment,
             HelpMenuOptions options);

    // Once per start: the silent check, when the settings ask for it.
    void StartupCheck();

    UpdateCheck& Check() { return check_; }
    TAboutBox* AboutBox() const { return about_; }
    TMarksLegendBox* LegendBox() const { return legend_; }

private:
    void RunCheck(bool silent);

    TEditorBox& editor_;
    UpdateCheck check_;
    Help help_;
    TAboutBox* about_;
    TMarksLegendBox* legend_;
};

} // namespace tsl
