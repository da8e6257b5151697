#pragma once
// A main window of its own for each test: a private application folder
// (MapDefs copy and TSL.ini), a scripted prompter, and copies of the sample
// game to open.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/window/TEditorBox.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QRegion>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

namespace tsl::test {

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override { Recreate(); }
    void TearDown() override;

    TEditorBox& Editor() { return *editor_; }
    ScriptedPrompter& Prompts() { return prompts_; }
    const AppFolder& App() const { return app_; }

    // Closes the window (its settings are saved) and makes a new one.
    void Recreate();
    // From now on the window keeps backup generations and recovery files,
    // in folders of the application folder; makes a new window.
    void UseUserFolders();
    fs::path BackupsRoot() const { return app_.path() / "Backups"; }
    fs::path RecoveryRoot() const { return app_.path() / "Recovery"; }
    // Destroys the window without making a new one (Recreate makes one).
    void Close() { editor_.reset(); }
    // Opens the copy of the sample game, as a recent project is opened.
    void OpenSample();
    fs::path SampleCopy();
    // A copy of the sample game whose files carry another extension.
    fs::path GameWithExtension(const std::string& extension);

    // A word changed as a command changes it: through the document, whose
    // listeners (the view, the title, the autosave) hear of it.
    void EditWord(int map, int plane, int x, int y, std::uint16_t word);

    // The title as the window shows it: the marker "[*]" as an asterisk
    // while there are unsaved changes, else nothing.
    std::string ShownTitle();
    // The text of a label of the side panel by its object name ("xLabel", "leftText").
    std::string PanelText(const char* name);
    void ExpectMessage(std::size_t index, const std::string& text, const std::string& caption, MessageIcon icon,
                       Buttons buttons);
    // Clicks the dialog's "Close" button once it can be clicked (the save
    // has ended), first running `before` on the dialog. It never waits inside
    // the call: the save may be running the event loop that called it.
    static void ClickClose(QWidget* dialog, std::function<void(QWidget*)> before = {});

private:
    AppFolder app_;
    ScriptedPrompter prompts_;
    std::unique_ptr<TEditorBox> editor_;
    fs::path sample_;
    bool userFolders_ = false;
};

// The same with the copy of the sample game opened.
class OpenedEditor : public EditorFixture {
protected:
    void SetUp() override;
};

// The widget's pixels in `area` (in its own coordinates), as painted over magenta.
QImage Painted(QWidget* widget, const QRect& area);

// The regions a widget repaints.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override;
};

// The opened sample at the zoom position of the test's parameter, with the
// pointer driven over the map view's tiles.
class ZoomedEditor : public OpenedEditor, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override;

    MapView* View() { return Editor().View(); }
    MapPaintArea* Area() { return View()->PaintArea(); }
    int Cell() { return 8 * Editor().ZoomFactor(); }
    QPoint Centre(QPoint tile) { return tile * Cell() + QPoint(Cell() / 2, Cell() / 2); }
    // A mouse event at the middle of a tile, sent to the paint area wherever it is scrolled.
    void Mouse(QEvent::Type type, QPoint tile, Qt::MouseButton button, Qt::MouseButtons held);
    void Press(QPoint tile, Qt::MouseButton button = Qt::LeftButton) { Mouse(QEvent::MouseButtonPress, tile, button, button); }
    void MoveTo(QPoint tile, Qt::MouseButtons held = Qt::LeftButton) { Mouse(QEvent::MouseMove, tile, Qt::NoButton, held); }
    void Release(QPoint tile, Qt::MouseButton button = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonRelease, tile, button, Qt::NoButton);
    }
    void Drag(std::initializer_list<QPoint> tiles, Qt::MouseButton button = Qt::LeftButton);
};

} // namespace tsl::test
