#pragma once
// The one way the program speaks to the user: message boxes, questions, and
// file and directory choosers. The editor's Qt implementation shows real
// dialogs; the tests answer from a script and record every text exactly.

#include "core/Failure.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// A filter list in the "Description|pattern;pattern|Description|pattern" form.
struct FileFilter {
    std::string filters;
    int selected = 0; // index of the preselected entry
};

// A Yes/No question as the core words it, asked with the question icon.
struct Question {
    std::string text;
    std::string caption;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // `defaultButton` is the button that Enter presses when the box opens;
    // nothing leaves it to the box (the first button).
    virtual Answer Message(const std::string& text, const std::string& caption, MessageIcon icon, Buttons buttons,
                           std::optional<Answer> defaultButton) = 0;
    Answer Message(const std::string& text, const std::string& caption, MessageIcon icon, Buttons buttons)
    {
        return Message(text, caption, icon, buttons, std::nullopt);
    }
    virtual std::optional<std::filesystem::path> ChooseDirectory(const std::string& prompt,
                                                                 const std::filesystem::path& start) = 0;
    virtual std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                                const FileFilter& filter) = 0;
    // `defaultExtension` is appended when the name typed has none; an
    // existing file is only replaced after the user confirmed it.
    // `proposedName` stands in the name field when the chooser opens.
    virtual std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title, const FileFilter& filter,
                                                                const std::string& defaultExtension,
                                                                const std::string& proposedName) = 0;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title, const FileFilter& filter,
                                                        const std::string& defaultExtension)
    {
        return ChooseSaveFile(title, filter, defaultExtension, {});
    }
    // A box whose buttons say what they do ("Renumber", "Cancel"), where a
    // Yes or No would leave the user guessing: the index of the button
    // pressed. Closing the box counts as the last button, so that one must
    // be the choice that changes nothing.
    virtual int Choose(const std::string& text, const std::string& caption, MessageIcon icon,
                       const std::vector<std::string>& buttons) = 0;

    // A failure from the core, in a box with an OK button.
    void Show(const Failure& failure) { Message(failure.text, failure.caption, failure.icon, Buttons::Ok); }
    Answer Ask(const Question& question, std::optional<Answer> defaultButton = std::nullopt)
    {
        return Message(question.text, question.caption, MessageIcon::Question, Buttons::YesNo, defaultButton);
    }
};

} // namespace tsl
