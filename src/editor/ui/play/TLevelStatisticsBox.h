#pragma once
// "Level Statistics": the current map analysed on the four skill levels,
// side by side: the kills, treasure and secrets the game counts when the
// level starts, the exits reached and the counts of what cannot be reached.
// The dialog changes nothing; a click on a count of tiles (exits, what is
// out of reach) closes it and hands those tiles back, for the window to
// show. A note below says what the numbers took for granted (push walls
// taken together), or stands in place of them (a structure without rules of
// play).

#include "engine/LevelAnalysis.h"

#include <QDialog>
#include <QPoint>

#include <memory>
#include <optional>
#include <vector>

class QTableWidget;

namespace tsl {

class TLevelStatisticsBox : public QDialog {
    Q_OBJECT
public:
    explicit TLevelStatisticsBox(QWidget* parent = nullptr);
    ~TLevelStatisticsBox() override;

    // Shows the analyses (one per skill level, 1 to 4; none: only `note`)
    // modally until "OK" (nothing) or a click on a count with tiles.
    std::optional<std::vector<QPoint>> ShowStatistics(const std::vector<LevelAnalysis>& levels, const QString& note);

    QTableWidget* Table() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
