#include "ScriptedPrompter.h"

#include <algorithm>

namespace tsl::test {

ScriptedPrompter& ScriptedPrompter::Answer(tsl::Answer answer)
{
    answers_.push_back(answer);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::Directory(std::optional<std::filesystem::path> directory)
{
    paths_.push_back(std::move(directory));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::File(std::optional<std::filesystem::path> file)
{
    paths_.push_back(std::move(file));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::Press(std::string button)
{
    presses_.push_back(std::move(button));
    return *this;
}

tsl::Answer ScriptedPrompter::Message(const std::string& text, const std::string& caption, MessageIcon icon,
                                      Buttons buttons, std::optional<tsl::Answer> defaultButton)
{
    PromptRecord r;
    r.kind = PromptRecord::Kind::Message;
    r.text = text;
    r.caption = caption;
    r.icon = icon;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    records_.push_back(r);
    if (buttons == Buttons::Ok)
        return tsl::Answer::Ok; // a plain message needs no script
    if (answers_.empty()) {
        unexpected_.push_back("unscripted question: " + text);
        return buttons == Buttons::YesNo ? tsl::Answer::No : tsl::Answer::Cancel;
    }
    const tsl::Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::filesystem::path> ScriptedPrompter::NextPath(PromptRecord record,
                                                                const std::string& chooser)
{
    records_.push_back(record);
    if (paths_.empty()) {
        unexpected_.push_back("unscripted " + chooser + " chooser: " + record.text);
        return std::nullopt;
    }
    auto p = paths_.front();
    paths_.pop_front();
    return p;
}

std::optional<std::filesystem::path> ScriptedPrompter::ChooseDirectory(const std::string& prompt,
                                                                       const std::filesystem::path& start)
{
    PromptRecord r;
    r.kind = PromptRecord::Kind::Directory;
    r.text = prompt;
    r.start = start;
    return NextPath(r, "directory");
}

std::optional<std::filesystem::path> ScriptedPrompter::ChooseOpenFile(const std::string& title,
                                                                      const FileFilter& filter)
{
    PromptRecord r;
    r.kind = PromptRecord::Kind::OpenFile;
    r.text = title;
    r.filter = filter.filters;
    r.selectedFilter = filter.selected;
    return NextPath(r, "open");
}

std::optional<std::filesystem::path> ScriptedPrompter::ChooseSaveFile(const std::string& title,
                                                                      const FileFilter& filter,
                                                                      const std::string& defaultExtension,
                                                                      const std::string& proposedName)
{
    PromptRecord r;
    r.kind = PromptRecord::Kind::SaveFile;
    r.text = title;
    r.filter = filter.filters;
    r.selectedFilter = filter.selected;
    r.defaultExtension = defaultExtension;
    r.proposedName = proposedName;
    return NextPath(r, "save");
}

int ScriptedPrompter::Choose(const std::string& text, const std::string& caption, MessageIcon icon,
                             const std::vector<std::string>& buttons)
{
    PromptRecord r;
    r.kind = PromptRecord::Kind::Message;
    r.text = text;
    r.caption = caption;
    r.icon = icon;
    r.choices = buttons;
    records_.push_back(r);
    const int last = static_cast<int>(buttons.size()) - 1;
    if (presses_.empty()) {
        unexpected_.push_back("unscripted box of buttons: " + text);
        return last;
    }
    const std::string pressed = presses_.front();
    presses_.pop_front();
    const auto found = std::find(buttons.begin(), buttons.end(), pressed);
    if (found == buttons.end()) {
        unexpected_.push_back("no button \"" + pressed + "\" in: " + text);
        return last;
    }
    return static_cast<int>(found - buttons.begin());
}

std::vector<std::string> ScriptedPrompter::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const PromptRecord& r : records_)
        if (r.kind == PromptRecord::Kind::Message)
            texts.push_back(r.text);
    return texts;
}

bool ScriptedPrompter::Finished() const
{
    return answers_.empty() && paths_.empty() && presses_.empty() && unexpected_.empty();
}

std::string ScriptedPrompter::Unfinished() const
{
    std::string s;
    for (const std::string& u : unexpected_)
        s += u + "\n";
    if (!answers_.empty())
        s += std::to_string(answers_.size()) + " scripted answers unused\n";
    if (!paths_.empty())
        s += std::to_string(paths_.size()) + " scripted paths unused\n";
    if (!presses_.empty())
        s += std::to_string(presses_.size()) + " scripted presses unused\n";
    return s;
}

} // namespace tsl::test
