#pragma once
// The picture of the episode board: a band per episode, its floors as cards
// (a small picture of the map, its number and name, par and walk times, the
// kills, treasure and secrets of each skill level analysed), and arrows from
// each floor to where its exits lead: white for the elevator, gold for the
// secret elevator, blue for the Spear, an end mark where the episode ends.
// A floor with a warning wears a red corner, a walk slower than par is
// written in red, a floor that differs from the set compared with has an
// amber frame. A click on a card tells which map was chosen.

#include "mod/EpisodeBoard.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <map>
#include <set>

namespace tsl {

class EpisodeBoardView : public QWidget {
    Q_OBJECT
public:
    explicit EpisodeBoardView(QWidget* parent = nullptr);

    // The board, the small pictures by map index (from 0) and the maps
    // (from 0) that differ from the set compared with.
    void SetBoard(const EpisodeBoard& board, std::map<int, QImage> pictures, std::set<int> changed);
    const EpisodeBoard& Board() const { return board_; }
    // Where the card of map `index` (from 0) stands; empty when it has none.
    QRect CardOf(int index) const;

signals:
    void mapChosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Layout();
    void PaintCard(QPainter& painter, const BoardFloor& floor, const QRect& card) const;
    void PaintExits(QPainter& painter, const BoardFloor& floor) const;
    const BoardFloor* FloorAt(QPoint point) const;

    EpisodeBoard board_;
    std::map<int, QImage> pictures_;
    std::set<int> changed_;
    std::set<int> warned_;              // maps with a warning
    std::map<int, QRect> cards_;        // by map index
    std::vector<std::pair<int, QString>> titles_; // the y of each band's title, and the title
};

} // namespace tsl
