#pragma once
// A Prompter for tests: every box and chooser is recorded exactly (text,
// caption, icon, buttons) and answered from a script. A box that the script
// did not expect is answered with the default and fails the test when
// Finish() finds it.

#include "core/Prompter.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tsl::test {

struct PromptRecord {
    enum class Kind { Message, Directory, OpenFile, SaveFile } kind = Kind::Message;
    std::string text; // the message, prompt or title
    std::string caption;
    MessageIcon icon = MessageIcon::Information;
    Buttons buttons = Buttons::Ok;
    std::optional<tsl::Answer> defaultButton; // of a message; nothing: the box's own
    std::string filter;           // for file choosers
    int selectedFilter = 0;
    std::string defaultExtension; // for save choosers
    std::string proposedName;     // for save choosers
    std::filesystem::path start;  // for the directory chooser
    std::vector<std::string> choices; // the buttons of a box of named buttons (Choose)
};

class ScriptedPrompter : public Prompter {
public:
    // Answers in the order the boxes come.
    ScriptedPrompter& Answer(tsl::Answer answer);
    ScriptedPrompter& Directory(std::optional<std::filesystem::path> directory);
    ScriptedPrompter& File(std::optional<std::filesystem::path> file);
    // Presses the button of that name in the next box of named buttons.
    ScriptedPrompter& Press(std::string button);

    using Prompter::Message;
    tsl::Answer Message(const std::string& text, const std::string& caption, MessageIcon icon, Buttons buttons,
                        std::optional<tsl::Answer> defaultButton) override;
    std::optional<std::filesystem::path> ChooseDirectory(const std::string& prompt,
                                                         const std::filesystem::path& start) override;
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title, const FileFilter& filter) override;
    using Prompter::ChooseSaveFile;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title, const FileFilter& filter,
                                                        const std::string& defaultExtension,
                                                        const std::string& proposedName) override;
    int Choose(const std::string& text, const std::string& caption, MessageIcon icon,
               const std::vector<std::string>& buttons) override;

    const std::vector<PromptRecord>& Records() const { return records_; }
    // The texts of the message boxes shown so far, in order.
    std::vector<std::string> MessageTexts() const;
    void Clear() { records_.clear(); }
    // True when every scripted answer was used and nothing unscripted came.
    bool Finished() const;
    std::string Unfinished() const;

private:
    // Records a chooser and answers it with the next scripted path.
    std::optional<std::filesystem::path> NextPath(PromptRecord record, const std::string& chooser);

    std::deque<tsl::Answer> answers_;
    std::deque<std::optional<std::filesystem::path>> paths_;
    std::deque<std::string> presses_;
    std::vector<PromptRecord> records_;
    std::vector<std::string> unexpected_;
};

} // namespace tsl::test
