#include "editor/ui/run/RunController.h"

#include "editor/run/RunPresets.h"
#include "editor/ui/run/TRunCommandBox.h"

#include <QSocketNotifier>
#include <QWidget>

#include <cstdlib>

namespace tsl {

RunController::RunController(QWidget* window, Prompter& prompter, IniFile& settings)
    : QObject(window), window_(window), prompter_(prompter), settings_(settings), box_(new TRunCommandBox(window))
{
}

RunController::~RunController()
{
    StopFollowing();
}

std::optional<std::string> RunController::AskForCommand(const MapHandler* maps, const std::string& current)
{
    // The presets for the open game (without one, those that need no game
    // folder) and the run options of TSL.ini; the skill level and debug
    // switch chosen are kept there.
    const char* path = std::getenv("PATH");
    const std::filesystem::path folder =
        maps ? std::filesystem::absolute(maps->Path).lexically_normal() : std::filesystem::path();
    auto command = box_->AskCommand(current, RunPresets(folder, maps ? maps->Extension : "", path ? path : ""),
                                    RunOptions::Read(settings_));
    if (command)
        box_->Options().Write(settings_);
    return command;
}

void RunController::RunMap(const MapHandler& maps, bool changed, const std::function<bool()>& save)
{
    RunMapHooks hooks;
    hooks.save = save;
    hooks.askCommand = [this, &maps] { return AskForCommand(&maps, {}); };
    hooks.launch = launcher_;
    hooks.hasAudio = audio_;
    hooks.started = [this](std::unique_ptr<GameWatch> watch, const std::string& label) {
        Follow(std::move(watch), label);
    };
    tsl::RunMap(maps, changed, settings_, prompter_, hooks);
}

void RunController::AskCommand(const MapHandler* maps)
{
    const std::string current = settings_.ReadString(kGameSection, kRunCommandKey, "");
    if (const auto command = AskForCommand(maps, current))
        settings_.WriteString(kGameSection, kRunCommandKey, *command);
}

void RunController::Follow(std::unique_ptr<GameWatch> watch, const std::string& label)
{
    // A program started earlier is left to itself: only the newest is told.
    StopFollowing();
    emit statusMessage(QString::fromStdString(label + " started."));
    if (!watch || watch->Done())
        return;
    watch_ = std::move(watch);
    label_ = label;
    notifier_ = new QSocketNotifier(watch_->Descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &RunController::CheckWatch);
}

void RunController::CheckWatch()
{
    if (!watch_)
        return;
    const std::optional<GameEnd> end = watch_->Poll();
    if (!watch_->Done())
        return;
    const std::string label = label_;
    StopFollowing();
    if (!end)
        return; // its watcher went without a word: nothing to tell
    const std::optional<std::string> text = GameEndText(label, *end);
    const std::string firstLine = text ? text->substr(0, text->find(':')) : label + " ended.";
    emit statusMessage(QString::fromStdString(firstLine));
    if (text)
        prompter_.Message(*text, kRunMapCaption, MessageIcon::Warning, Buttons::Ok);
}

void RunController::StopFollowing()
{
    delete notifier_; // before the descriptor it watches is closed
    notifier_ = nullptr;
    watch_.reset();
}

} // namespace tsl
