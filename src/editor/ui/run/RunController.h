#pragma once
// "&Run Map" (F9) and "Run Map &Command..." for the main window: the run
// flow (RunMapFlow) with the command dialog, and the program it started
// followed until it ends. An end at once, or one that went wrong, is told
// in a box with the program's status and the last lines it printed; the
// status bar says that the program started and how it ended. A program that
// keeps running is never waited for: its watcher's pipe is looked at only
// when it has something to say.

#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "core/Prompter.h"
#include "editor/run/RunMapFlow.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
class QWidget;

namespace tsl {

class TRunCommandBox;

class RunController : public QObject {
    Q_OBJECT
public:
    // `settings` is TSL.ini, kept by the window.
    RunController(QWidget* window, Prompter& prompter, IniFile& settings);
    ~RunController() override;

    // What Run Map starts programs with (LaunchWatched unless set) and
    // whether the machine has an audio output (HasAudioOutput unless set).
    void SetLauncher(decltype(RunMapHooks::launch) launcher) { launcher_ = std::move(launcher); }
    void SetAudioCheck(std::function<bool()> check) { audio_ = std::move(check); }

    // F9 on the current map of `maps`; `save` saves the maps (false when
    // that failed), asked first when `changed`.
    void RunMap(const MapHandler& maps, bool changed, const std::function<bool()>& save);
    // "Run Map Command...": the dialog with the stored command; the
    // presets of the open game's folder, when one is open.
    void AskCommand(const MapHandler* maps);
    // Whether a started program is still followed.
    bool Watching() const { return watch_ != nullptr; }
    // Looks at the watched program now (the notifier does it by itself).
    void CheckWatch();

signals:
    // For the status bar.
    void statusMessage(const QString& text);

private:
    std::optional<std::string> AskForCommand(const MapHandler* maps, const std::string& current);
    void Follow(std::unique_ptr<GameWatch> watch, const std::string& label);
    void StopFollowing();

    QWidget* window_;
    Prompter& prompter_;
    IniFile& settings_;
    TRunCommandBox* box_;
    decltype(RunMapHooks::launch) launcher_;
    std::function<bool()> audio_;
    std::unique_ptr<GameWatch> watch_;
    std::string label_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tsl
