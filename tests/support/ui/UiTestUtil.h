#pragma once
// Helpers for the UI tests: an application folder of its own (MapDefs copied
// from the repository, its own TSL.ini), copies of the sample game, and a
// way to act on a modal dialog once it is shown.

#include "ScriptedPrompter.h"
#include "TestUtil.h"
#include "editor/document/Project.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tsl::test {

// A folder standing in for the folder beside the executable.
class AppFolder {
public:
    AppFolder();
    const fs::path& path() const { return dir_.path(); }
    fs::path MapDefs() const { return dir_.path() / "MapDefs"; }
    fs::path SettingsFile() const { return dir_.path() / "TSL.ini"; }
    // A writable copy of the sample game in a folder of its own, named `name`.
    fs::path CopySampleGame(const std::string& name = "sample") const;
    // A copy of the sample game opened as a project with this folder's
    // MapDefs (its WL6 structure asks no question); the prompter is cleared.
    std::unique_ptr<Project> OpenSampleProject(ScriptedPrompter& prompter) const;

private:
    TempDir dir_;
};

// Runs `action` on the next modal widget as soon as it is shown (it must
// close it), while the caller's code opens it. Fails the test when no modal
// widget shows up within the time given.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Fails the running test for every WhenModal still waiting, and drops them,
// so that a dialog that never came fails its own test and no later one.
void FailPendingModals();

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

// Driving a dialog through its widgets, found by object name.
template <typename T>
T* Find(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no widget " << name;
    return widget;
}
void Click(QWidget* dialog, const char* name);
// Types into an edit or a spin box as the user would and leaves it for the
// next control.
void TypeAndLeave(QWidget* field, const QString& text);
QString Text(QWidget* dialog, const char* name);
bool Checked(QWidget* dialog, const char* name);
// The texts of the items of a combo box or a list, in order.
std::vector<std::string> Items(QComboBox* box);
std::vector<std::string> Items(QListWidget* list);
// Whether a label, group title or button of the dialog reads `text`.
bool ShowsText(QWidget* dialog, const QString& text);
// Closes the dialog whatever happened, so that a failed check cannot hang the test.
void Finish(QWidget* dialog);

} // namespace tsl::test
