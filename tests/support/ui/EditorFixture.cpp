#include "EditorFixture.h"

#include "editor/ui/views/SidePanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace tsl::test {

void OpenedEditor::SetUp()
{
    EditorFixture::SetUp();
    OpenSample();
}

QImage Painted(QWidget* widget, const QRect& area)
{
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(Qt::magenta);
    widget->render(&out, QPoint(), QRegion(area));
    return out;
}

bool PaintRecorder::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        painted += static_cast<QPaintEvent*>(event)->region();
    return false;
}

void ZoomedEditor::SetUp()
{
    OpenedEditor::SetUp();
    Editor().resize(900, 700);
    Editor().Panel()->ZoomSlider()->setValue(GetParam());
    QApplication::processEvents();
}

void ZoomedEditor::Mouse(QEvent::Type type, QPoint tile, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF at = Centre(tile);
    QMouseEvent event(type, at, Area()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(Area(), &event);
}

void ZoomedEditor::Drag(std::initializer_list<QPoint> tiles, Qt::MouseButton button)
{
    Press(*tiles.begin(), button);
    for (QPoint tile : tiles)
        MoveTo(tile, button);
    Release(*(tiles.end() - 1), button);
}

void EditorFixture::EditWord(int map, int plane, int x, int y, std::uint16_t word)
{
    auto change = Editor().Session()->Document().Begin();
    change.SetWord(map, plane, x, y, word);
    change.Commit();
}

void EditorFixture::TearDown()
{
    editor_.reset();
    EXPECT_TRUE(prompts_.Finished()) << prompts_.Unfinished();
}

void EditorFixture::Recreate()
{
    Close();
    prompts_.Clear();
    EditorEnvironment environment{app_.SettingsFile(), app_.MapDefs(), {}, {}};
    if (userFolders_) {
        environment.backupsRoot = BackupsRoot();
        environment.recoveryRoot = RecoveryRoot();
    }
    editor_ = std::make_unique<TEditorBox>(prompts_, environment);
    // Shown and active, so that the pointer and the keys reach it.
    editor_->show();
    editor_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor_.get()));
}

void EditorFixture::UseUserFolders()
{
    userFolders_ = true;
    Recreate();
}

fs::path EditorFixture::SampleCopy()
{
    if (sample_.empty())
        sample_ = app_.CopySampleGame("sample");
    return sample_;
}

void EditorFixture::OpenSample()
{
    ASSERT_TRUE(editor_->OpenProject(true, SampleCopy()));
    ASSERT_NE(editor_->CurrentProject(), nullptr);
}

fs::path EditorFixture::GameWithExtension(const std::string& extension)
{
    const fs::path dir = app_.CopySampleGame("game-" + extension);
    fs::rename(dir / "MAPHEAD.WL6", dir / ("MAPHEAD." + extension));
    fs::rename(dir / "GAMEMAPS.WL6", dir / ("GAMEMAPS." + extension));
    return dir;
}

std::string EditorFixture::ShownTitle()
{
    QString title = editor_->windowTitle();
    title.replace(QStringLiteral("[*][*]"), QStringLiteral("\x01"));
    title.replace(QStringLiteral("[*]"), editor_->isWindowModified() ? QStringLiteral("*") : QString());
    title.replace(QStringLiteral("\x01"), QStringLiteral("[*]"));
    return title.toStdString();
}

std::string EditorFixture::PanelText(const char* name)
{
    const auto* label = editor_->Panel()->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label ? label->text().toStdString() : std::string();
}

void EditorFixture::ExpectMessage(std::size_t index, const std::string& text, const std::string& caption,
                                  MessageIcon icon, Buttons buttons)
{
    ASSERT_LT(index, prompts_.Records().size());
    const PromptRecord& r = prompts_.Records()[index];
    EXPECT_EQ(r.kind, PromptRecord::Kind::Message);
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(r.caption, caption);
    EXPECT_EQ(r.icon, icon);
    EXPECT_EQ(r.buttons, buttons);
}

void EditorFixture::ClickClose(QWidget* dialog, std::function<void(QWidget*)> before)
{
    QPushButton* close = Find<QPushButton>(dialog, "closeButton");
    if (!close)
        return;
    auto* poller = new QTimer(dialog);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(poller, &QTimer::timeout, dialog, [=]() {
        if (!close->isEnabled() && elapsed->elapsed() < 20000)
            return;
        poller->stop();
        poller->deleteLater();
        const bool enabled = close->isEnabled();
        EXPECT_TRUE(enabled) << "the save did not end";
        if (before)
            before(dialog);
        if (enabled)
            close->click();
        else
            dialog->hide();
    });
    poller->start(5);
}

} // namespace tsl::test
