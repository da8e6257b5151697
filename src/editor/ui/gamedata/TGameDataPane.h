#pragma once
// One tab of the game's other data in "Game Pictures and Sounds": the
// pictures, the fonts, the texts, the PC speaker sounds, the AdLib sounds or
// the music, a row a chunk with its number, name and what it holds (a
// picture's thumbnail and size, a font's characters, a sound's length), a
// changed chunk marked. The texts show the chosen text beside the list.
//
// Its buttons are named "pane...Button" ("paneReplaceButton"), apart from the
// page file's in the same window.
//
// The pane only shows what it is given and hands the user's requests on
// (GameDataController does them): export, replace (a file chosen, or one
// dropped on a row), play, undo and redo.

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tsl {

class TGameDataPane : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pictures, Fonts, Texts, PcSpeaker, AdLib, Music };
    struct Row {
        int chunk = -1;
        QString name;
        QString holds; // "320 x 200", "1.25 s", "13531 bytes"
        QImage picture; // a thumbnail, or null
        QString text;   // for texts
        bool changed = false;
    };

    TGameDataPane(Kind kind, QWidget* parent = nullptr);
    Kind PaneKind() const { return kind_; }
    // Lists the rows anew, keeping the chosen row and the scroll position.
    void ShowRows(const std::vector<Row>& rows);
    // What Undo and Redo would do; empty: nothing.
    void ShowHistory(const QString& undo, const QString& redo);
    std::optional<int> CurrentChunk() const;
    void ChooseChunk(int chunk);

signals:
    void exportAsked(int chunk);
    void exportAllAsked();
    void replaceAsked(int chunk);
    void fileDropped(int chunk, const QString& path);
    void playAsked(int chunk);
    void undoAsked();
    void redoAsked();

private:
    void ShowCurrent();
    void RefreshButtons();

    Kind kind_;
    QTreeWidget* list_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* export_;
    QPushButton* replace_;
    QPushButton* play_ = nullptr;
    QPushButton* undo_;
    QPushButton* redo_;
    std::vector<Row> rows_;
};

} // namespace tsl
