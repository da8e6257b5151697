#include "app/ui/HelpMenu.h"

#include "app/ui/TAboutBox.h"
#include "editor/ui/window/TEditorBox.h"
#include "editor/ui/play/TMarksLegendBox.h"

#include <QAction>

namespace tsl {

HelpMenu::HelpMenu(TEditorBox& editor, Prompter& prompter, const EditorEnvironment& environment,
                   HelpMenuOptions options)
    : QObject(&editor),
      editor_(editor),
      check_(prompter, options.version, options.open),
      help_(prompter, options.manual, options.open),
      about_(new TAboutBox(environment, &editor)),
      legend_(new TMarksLegendBox(&editor))
{
    check_.SetTimeout(options.updateTimeoutMs);
    connect(editor.Action("checkForUpdateAction"), &QAction::triggered, this, [this] { RunCheck(false); });
    connect(editor.Action("helpAction"), &QAction::triggered, this, [this] { help_.Show(); });
    connect(editor.Action("aboutAction"), &QAction::triggered, about_, &QDialog::exec);
    connect(editor.Action("mapLegendAction"), &QAction::triggered, legend_, &QDialog::exec);
}

void HelpMenu::StartupCheck()
{
    if (editor_.Settings().CheckAtStartup)
        RunCheck(true);
}

void HelpMenu::RunCheck(bool silent)
{
    const AppSettings& settings = editor_.Settings();
    check_.Run(settings.CheckFileURL, settings.DownloadURL, silent);
}

} // namespace tsl
