#pragma once
// The Prompter of the running editor: QMessageBox for messages and
// questions, QFileDialog for the file and directory choosers.

#include "core/Prompter.h"

#include <QString>

class QWidget;

namespace tsl {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    using Prompter::Message;
    Answer Message(const std::string& text, const std::string& caption, MessageIcon icon, Buttons buttons,
                   std::optional<Answer> defaultButton) override;
    std::optional<std::filesystem::path> ChooseDirectory(const std::string& prompt,
                                                         const std::filesystem::path& start) override;
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title, const FileFilter& filter) override;
    using Prompter::ChooseSaveFile;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title, const FileFilter& filter,
                                                        const std::string& defaultExtension,
                                                        const std::string& proposedName) override;
    int Choose(const std::string& text, const std::string& caption, MessageIcon icon,
               const std::vector<std::string>& buttons) override;

    // "Description (*.a, *.b)|*.a;*.b|..." as Qt's name filters:
    // "Description (*.a *.b)".
    static QStringList NameFilters(const std::string& filters);

private:
    QWidget* parent_;
};

} // namespace tsl
