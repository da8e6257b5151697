#pragma once
// "Episode Board": the episode board of the open set in a window of its own
// (EpisodeBoardView), with what the structure lacks to show where the exits
// lead, a key to the arrows and the list of warnings. A click on a floor or
// on a warning tells which map to open; the window stays open.

#include "mod/EpisodeBoard.h"

#include <QDialog>
#include <QImage>

#include <map>
#include <set>

class QLabel;
class QListWidget;

namespace tsl {

class EpisodeBoardView;

class TEpisodeBoardBox : public QDialog {
    Q_OBJECT
public:
    explicit TEpisodeBoardBox(QWidget* parent = nullptr);

    // Shows `board` (see EpisodeBoardView::SetBoard).
    void ShowBoard(const EpisodeBoard& board, std::map<int, QImage> pictures, std::set<int> changed);
    EpisodeBoardView* View() const { return view_; }
    QListWidget* Warnings() const { return warnings_; }
    QLabel* Note() const { return note_; }

signals:
    void mapChosen(int index);

private:
    QLabel* note_;
    EpisodeBoardView* view_;
    QListWidget* warnings_;
};

} // namespace tsl
