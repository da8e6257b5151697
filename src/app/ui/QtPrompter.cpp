#include "app/ui/QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace tsl {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton StandardButtonOf(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

QString ToQt(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Runs a file dialog with the filter list and preselected entry; the file
// chosen, or nothing when the dialog was cancelled.
std::optional<std::filesystem::path> RunFileDialog(QFileDialog& dialog, const FileFilter& filter)
{
    const QStringList names = QtPrompter::NameFilters(filter.filters);
    dialog.setNameFilters(names);
    if (filter.selected >= 0 && filter.selected < names.size())
        dialog.selectNameFilter(names[filter.selected]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

} // namespace

Answer QtPrompter::Message(const std::string& text, const std::string& caption, MessageIcon icon, Buttons buttons,
                           std::optional<Answer> defaultButton)
{
    QMessageBox box(IconOf(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::NoButton,
                    parent_);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (defaultButton)
        box.setDefaultButton(StandardButtonOf(*defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Closing a question's window counts as its last choice.
        return buttons == Buttons::YesNo ? Answer::No : buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<std::filesystem::path> QtPrompter::ChooseDirectory(const std::string& prompt,
                                                                 const std::filesystem::path& start)
{
    const QString dir = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(prompt), ToQt(start));
    if (dir.isEmpty())
        return std::nullopt;
    return std::filesystem::path(dir.toStdString());
}

QStringList QtPrompter::NameFilters(const std::string& filters)
{
    const QStringList parts = QString::fromStdString(filters).split('|');
    QStringList out;
    static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        out << description + " (" + patterns + ")";
    }
    return out;
}

std::optional<std::filesystem::path> QtPrompter::ChooseOpenFile(const std::string& title, const FileFilter& filter)
{
    QFileDialog dialog(parent_, QString::fromStdString(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return RunFileDialog(dialog, filter);
}

std::optional<std::filesystem::path> QtPrompter::ChooseSaveFile(const std::string& title, const FileFilter& filter,
                                                                const std::string& defaultExtension,
                                                                const std::string& proposedName)
{
    QFileDialog dialog(parent_, QString::fromStdString(title));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (!proposedName.empty())
        dialog.selectFile(QString::fromStdString(proposedName));
    // QFileDialog asks before an existing file is replaced.
    return RunFileDialog(dialog, filter);
}

int QtPrompter::Choose(const std::string& text, const std::string& caption, MessageIcon icon,
                       const std::vector<std::string>& buttons)
{
    QMessageBox box(IconOf(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::NoButton,
                    parent_);
    std::vector<QAbstractButton*> added;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // The last button changes nothing: Escape and closing the box press it.
        const bool last = i + 1 == buttons.size();
        added.push_back(box.addButton(QString::fromStdString(buttons[i]),
                                      last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!added.empty())
        box.setDefaultButton(static_cast<QPushButton*>(added.front()));
    box.exec();
    const auto pressed = std::find(added.begin(), added.end(), box.clickedButton());
    return pressed == added.end() ? static_cast<int>(buttons.size()) - 1 : static_cast<int>(pressed - added.begin());
}

} // namespace tsl
