#include "UiTestUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <set>


namespace tsl::test {

AppFolder::AppFolder()
{
    fs::copy(SourceDir() / "data" / "MapDefs", MapDefs(), fs::copy_options::recursive);
}

fs::path AppFolder::CopySampleGame(const std::string& name) const
{
    const fs::path target = dir_.path() / name;
    fs::create_directories(target);
    for (const auto& entry : fs::directory_iterator(SampleGameDir()))
        fs::copy_file(entry.path(), target / entry.path().filename());
    return target;
}

namespace {

// The pollers of WhenModal still waiting for their dialog.
std::set<QTimer*> pendingPollers;

} // namespace

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    // The poller belongs to the application and deletes itself when done.
    auto* poller = new QTimer(qApp);
    pendingPollers.insert(poller);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    poller->setInterval(5);
    QObject::connect(poller, &QTimer::timeout, poller, [=]() {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal && modal->isVisible();
        if (!shown && elapsed->elapsed() <= timeoutMs)
            return;
        pendingPollers.erase(poller);
        poller->stop();
        poller->deleteLater();
        if (shown)
            action(modal);
        else
            ADD_FAILURE() << "no modal dialog was shown";
    });
    poller->start();
}

void FailPendingModals()
{
    for (QTimer* poller : pendingPollers) {
        ADD_FAILURE() << "no modal dialog was shown";
        delete poller;
    }
    pendingPollers.clear();
}

std::unique_ptr<Project> AppFolder::OpenSampleProject(ScriptedPrompter& prompter) const
{
    OpenRequest request;
    request.directory = CopySampleGame();
    request.mapDefsRoot = MapDefs();
    OpenOutcome outcome = OpenProject(request, prompter, {});
    EXPECT_EQ(outcome.result, OpenResult::Opened);
    prompter.Clear();
    return std::move(outcome.project);
}

void Click(QWidget* dialog, const char* name)
{
    if (auto* button = Find<QAbstractButton>(dialog, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

void TypeAndLeave(QWidget* field, const QString& text)
{
    if (!field)
        return;
    // A spin box's text is in a line edit of its own.
    auto* edit = qobject_cast<QLineEdit*>(field);
    (edit ? edit : field->findChild<QLineEdit*>())->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80) {
            QTest::keyClick(field, text[i].toLatin1());
            continue;
        }
        // QTest types ASCII only; other characters come as the text of a key
        // press, as a keyboard layout or an input method sends them.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(field, &press);
        i += length - 1;
    }
    // Leaving the edit: sent directly, since which window has the focus
    // depends on what else runs (tests run side by side).
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &leave);
}

QString Text(QWidget* dialog, const char* name)
{
    auto* edit = Find<QLineEdit>(dialog, name);
    return edit ? edit->text() : QString();
}

bool Checked(QWidget* dialog, const char* name)
{
    auto* button = Find<QAbstractButton>(dialog, name);
    return button && button->isChecked();
}

std::vector<std::string> Items(QComboBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; box && i < box->count(); ++i)
        items.push_back(S(box->itemText(i)));
    return items;
}

std::vector<std::string> Items(QListWidget* list)
{
    std::vector<std::string> items;
    for (int i = 0; list && i < list->count(); ++i)
        items.push_back(S(list->item(i)->text()));
    return items;
}

bool ShowsText(QWidget* dialog, const QString& text)
{
    for (auto* label : dialog->findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    for (auto* group : dialog->findChildren<QGroupBox*>())
        if (group->title() == text)
            return true;
    for (auto* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return true;
    return false;
}

void Finish(QWidget* dialog)
{
    if (dialog->isVisible())
        Click(dialog, "cancelButton");
    if (auto* box = qobject_cast<QDialog*>(dialog); box && box->isVisible())
        box->reject();
}

} // namespace tsl::test
