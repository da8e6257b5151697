#include "editor/ui/run/TRunCommandBox.h"

#include "core/ui/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

namespace {

// The skill levels as the game's menu offers them, easiest first.
const char* const kSkills[] = {"1: Can I play, Daddy? (baby)", "2: Don't hurt me. (easy)",
                               "3: Bring 'em on! (normal)", "4: I am Death incarnate! (hard)"};

QString PresetCaption(const RunPreset& preset)
{
    const QString name = QString::fromStdString(preset.Name);
    if (preset.Custom)
        return name;
    if (preset.Program.empty())
        return name + " (not found in the PATH)";
    return name + " (" + QString::fromStdString(preset.Program) + ")";
}

} // namespace

TRunCommandBox::TRunCommandBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("runCommandBox");
    setWindowTitle("Run Map");
    auto* label = new QLabel(
        "Choose a ready command or enter the command that starts the game on a map, for example:\n\n"
        "    wolf4sdl --tedlevel %m --nowait --%k\n"
        "    ecwolf --data %e --tedlevel MAP%N --skill %s\n\n"
        "%d stands for the game folder, %m for the current map counted from 0, %n counted from 1, %N counted "
        "from 1 with two digits, %e for the extension of the game's files, %s for the skill level (1 to 4), "
        "%k for its name (baby, easy, normal, hard), %[text] for the text when Debug is ticked and for "
        "nothing otherwise, and %% for a %. The command runs in the game folder, without a shell; settings such as "
        "SDL_AUDIODRIVER=dummy before the program go into its environment.");
    label->setWordWrap(true);

    presets_ = new QComboBox;
    presets_->setObjectName("runPresets");
    connect(presets_, &QComboBox::activated, this, &TRunCommandBox::ChoosePreset);
    recent_ = new QComboBox;
    recent_->setObjectName("recentCommands");
    connect(recent_, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            command_->setText(recent_->itemText(index));
    });
    command_ = new QLineEdit;
    command_->setObjectName("runCommand");
    command_->setMinimumWidth(520);
    skill_ = new QComboBox;
    skill_->setObjectName("runSkill");
    for (const char* skill : kSkills)
        skill_->addItem(skill);
    debug_ = new QCheckBox("Debug (the engine's debug keys, as %[...] gives them)");
    debug_->setObjectName("runDebug");

    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    ok_ = buttons->findChild<QPushButton*>("okButton");
    connect(command_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ok_->setEnabled(!text.trimmed().isEmpty()); });

    auto* form = new QFormLayout;
    form->addRow("Ready commands:", presets_);
    form->addRow("Recent commands:", recent_);
    form->addRow("Command:", command_);
    form->addRow("Skill level:", skill_);
    form->addRow("", debug_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TRunCommandBox::ChoosePreset(int index)
{
    // Item 0 only invites the choice.
    if (index <= 0 || index > static_cast<int>(shownPresets_.size()))
        return;
    const RunPreset& preset = shownPresets_[static_cast<std::size_t>(index - 1)];
    command_->setText(QString::fromStdString(preset.Command));
    command_->setFocus();
}

std::optional<std::string> TRunCommandBox::AskCommand(const std::string& current, const std::vector<RunPreset>& presets,
                                                      const RunOptions& options)
{
    shownPresets_ = presets;
    options_ = options;
    presets_->clear();
    presets_->addItem(presets.empty() ? "None found" : "Choose one...");
    for (const RunPreset& preset : presets)
        presets_->addItem(PresetCaption(preset));
    presets_->setEnabled(!presets.empty());
    recent_->clear();
    recent_->addItem(options.RecentCommands.empty() ? "None yet" : "Choose one...");
    for (const std::string& command : options.RecentCommands)
        recent_->addItem(QString::fromStdString(command));
    recent_->setEnabled(!options.RecentCommands.empty());
    skill_->setCurrentIndex(std::clamp(options.Skill, 1, 4) - 1);
    debug_->setChecked(options.Debug);

    command_->setText(QString::fromStdString(current));
    ok_->setEnabled(!command_->text().trimmed().isEmpty());
    command_->setFocus();
    if (exec() != QDialog::Accepted || command_->text().trimmed().isEmpty())
        return std::nullopt;
    return command_->text().toStdString();
}

RunOptions TRunCommandBox::Options() const
{
    RunOptions options = options_;
    options.Skill = skill_->currentIndex() + 1;
    options.Debug = debug_->isChecked();
    return options;
}

} // namespace tsl
