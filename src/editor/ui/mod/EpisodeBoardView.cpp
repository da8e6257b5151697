#include "editor/ui/mod/EpisodeBoardView.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace tsl {

namespace {

constexpr int kPicture = 96;
constexpr int kCardWidth = 166;
constexpr int kCardHeight = 196;
constexpr int kGap = 40;   // between two cards: room for an arrow
constexpr int kMargin = 16;
constexpr int kTitle = 26; // the band's title line
constexpr int kPerRow = 5; // two rows a Wolfenstein 3-D episode: the board fits a window

const QColor kBackground(0x24, 0x26, 0x2c);
const QColor kCard(0x36, 0x39, 0x42);
const QColor kText(0xE8, 0xE8, 0xE8);
const QColor kDim(0xA8, 0xAC, 0xB4);
const QColor kLate(0xFF, 0x60, 0x50);
const QColor kWarning(0xE0, 0x30, 0x30);
const QColor kChanged(0xFF, 0xA0, 0x00);

QColor ExitColour(ExitKind kind)
{
    switch (kind) {
    case ExitKind::SecretElevator: return {0xF0, 0xC0, 0x20};
    case ExitKind::Spear: return {0x50, 0xA0, 0xFF};
    default: return {0xF0, 0xF0, 0xF0};
    }
}

// "12/15/18/20", or one number when every skill level gives the same.
QString PerSkill(const std::vector<LevelAnalysis>& skills, int LevelAnalysis::*count)
{
    QStringList values;
    bool same = true;
    for (const LevelAnalysis& level : skills) {
        values << QString::number(level.*count);
        same = same && level.*count == skills.front().*count;
    }
    return same && !values.isEmpty() ? values.front() : values.join('/');
}

QString Minutes(const std::optional<double>& seconds)
{
    return seconds ? QString::fromStdString(MinutesText(*seconds)) : QString("-");
}

void Arrowhead(QPainter& painter, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1)
        return;
    const QPointF u = d / length, n(-u.y(), u.x());
    painter.drawPolygon(QPolygonF({tip, tip - 9 * u + 5 * n, tip - 9 * u - 5 * n}));
}

} // namespace

EpisodeBoardView::EpisodeBoardView(QWidget* parent) : QWidget(parent)
{
    setObjectName("episodeBoardView");
    setMouseTracking(true);
}

void EpisodeBoardView::SetBoard(const EpisodeBoard& board, std::map<int, QImage> pictures, std::set<int> changed)
{
    board_ = board;
    pictures_ = std::move(pictures);
    changed_ = std::move(changed);
    warned_.clear();
    for (const BoardEpisode& episode : board_.episodes)
        for (const BoardWarning& warning : episode.warnings)
            warned_.insert(warning.map - 1);
    Layout();
    update();
}

void EpisodeBoardView::Layout()
{
    cards_.clear();
    titles_.clear();
    int y = kMargin, widest = 0;
    for (const BoardEpisode& episode : board_.episodes) {
        titles_.emplace_back(y, episode.number ? QString("Episode %1").arg(episode.number) : QString("Other maps"));
        y += kTitle;
        for (std::size_t i = 0; i < episode.floors.size(); ++i) {
            const int column = static_cast<int>(i) % kPerRow, row = static_cast<int>(i) / kPerRow;
            const QRect card(kMargin + column * (kCardWidth + kGap), y + row * (kCardHeight + kGap), kCardWidth,
                             kCardHeight);
            cards_[episode.floors[i].map - 1] = card;
            widest = std::max(widest, card.right());
        }
        const int rows = (static_cast<int>(episode.floors.size()) + kPerRow - 1) / kPerRow;
        y += rows * (kCardHeight + kGap) + kMargin;
    }
    setMinimumSize(widest + kMargin + kGap, y);
}

QRect EpisodeBoardView::CardOf(int index) const
{
    const auto found = cards_.find(index);
    return found == cards_.end() ? QRect() : found->second;
}

void EpisodeBoardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QFont title = font();
    title.setBold(true);
    for (const auto& [y, text] : titles_) {
        painter.setFont(title);
        painter.setPen(kText);
        painter.drawText(QRect(kMargin, y, width(), kTitle), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.setFont(font());
    for (const BoardEpisode& episode : board_.episodes)
        for (const BoardFloor& floor : episode.floors)
            PaintCard(painter, floor, cards_.at(floor.map - 1));
    for (const BoardEpisode& episode : board_.episodes)
        for (const BoardFloor& floor : episode.floors)
            PaintExits(painter, floor);
}

void EpisodeBoardView::PaintCard(QPainter& painter, const BoardFloor& floor, const QRect& card) const
{
    const int index = floor.map - 1;
    painter.setPen(changed_.contains(index) ? QPen(kChanged, 3) : QPen(Qt::NoPen));
    painter.setBrush(kCard);
    painter.drawRoundedRect(card, 6, 6);
    if (warned_.contains(index)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kWarning);
        painter.drawPolygon(QPolygon({card.topRight() + QPoint(-22, 0), card.topRight(), card.topRight() + QPoint(0, 22)}));
    }
    const QRect picture(card.left() + (kCardWidth - kPicture) / 2, card.top() + 8, kPicture, kPicture);
    if (const auto found = pictures_.find(index); found != pictures_.end())
        painter.drawImage(picture, found->second);
    else
        painter.fillRect(picture, Qt::black);

    const QFontMetrics metrics(font());
    const int line = metrics.height();
    QRect text(card.left() + 6, picture.bottom() + 4, kCardWidth - 12, line);
    painter.setPen(kText);
    const QString name = QString("%1 %2").arg(floor.map).arg(QString::fromStdString(floor.name));
    painter.drawText(text, Qt::AlignLeft, metrics.elidedText(name, Qt::ElideRight, text.width()));
    text.translate(0, line);
    const QString tags = floor.boss ? "boss floor" : floor.secret ? "secret floor" : "";
    painter.setPen(floor.ParBeatable() ? kDim : kLate);
    painter.drawText(text, Qt::AlignLeft,
                     QString("Par %1  Walk %2").arg(floor.parSeconds ? Minutes(double(*floor.parSeconds)) : "-",
                                                   Minutes(floor.walkSeconds)));
    painter.setPen(kDim);
    text.translate(0, line);
    painter.drawText(text, Qt::AlignLeft, "Kills " + PerSkill(floor.skills, &LevelAnalysis::kills));
    text.translate(0, line);
    painter.drawText(text, Qt::AlignLeft,
                     QString("Treasure %1  Secrets %2")
                         .arg(PerSkill(floor.skills, &LevelAnalysis::treasure), PerSkill(floor.skills, &LevelAnalysis::secrets)));
    if (!tags.isEmpty()) {
        text.translate(0, line);
        painter.drawText(text, Qt::AlignLeft, tags);
    }
}

void EpisodeBoardView::PaintExits(QPainter& painter, const BoardFloor& floor) const
{
    const QRect from = cards_.at(floor.map - 1);
    int endMarks = 0;
    for (const BoardExit& exit : floor.exits) {
        if (!exit.to)
            continue; // the flow does not say where it leads
        const QColor colour = ExitColour(exit.kind);
        painter.setPen(QPen(colour, 2));
        painter.setBrush(colour);
        if (*exit.to == kFlowEnd) {
            // A short arrow to a bar: the episode ends here.
            const QPointF start(from.right() + 4, from.top() + 30 + 14 * endMarks++);
            const QPointF tip = start + QPointF(kGap - 14, 0);
            painter.drawLine(start, tip);
            painter.drawLine(tip + QPointF(2, -7), tip + QPointF(2, 7));
            continue;
        }
        const auto target = cards_.find(*exit.to - 1);
        if (target == cards_.end())
            continue;
        const QRect to = target->second;
        const bool secret = exit.kind != ExitKind::Elevator;
        QPointF start, end;
        QPainterPath path;
        if (to.top() == from.top() && to.left() == from.right() + kGap + 1 && !secret) {
            start = QPointF(from.right() + 1, from.center().y());
            end = QPointF(to.left() - 1, to.center().y());
            path.moveTo(start);
            path.lineTo(end);
        } else if (to.top() != from.top()) {
            // To another row: out of the bottom into the top going down,
            // out of the top into the bottom going back up.
            const bool down = to.top() > from.top();
            const double shift = secret ? 14 : -14;
            start = QPointF(from.center().x() + shift, down ? from.bottom() + 1 : from.top() - 1);
            end = QPointF(to.center().x() + shift, down ? to.top() - 1 : to.bottom() + 1);
            const QPointF reach(0, (down ? 1 : -1) * (kGap - 8));
            path.moveTo(start);
            path.cubicTo(start + reach, end - reach, end);
        } else {
            // Above the cards for the elevator, below them for the others,
            // bowed by the distance so that arrows of one band stay apart.
            const bool above = !secret;
            start = QPointF(from.center().x() + (secret ? 12 : -12), above ? from.top() - 1 : from.bottom() + 1);
            end = QPointF(to.center().x() + (secret ? -12 : 12), above ? to.top() - 1 : to.bottom() + 1);
            const double bow = std::min(kGap - 6.0, 10 + std::abs(end.x() - start.x()) / 20.0) * (above ? -1 : 1);
            path.moveTo(start);
            path.cubicTo(start + QPointF(0, bow), end + QPointF(0, bow), end);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        Arrowhead(painter, end, path.pointAtPercent(0.97));
    }
}

const BoardFloor* EpisodeBoardView::FloorAt(QPoint point) const
{
    for (const BoardEpisode& episode : board_.episodes)
        for (const BoardFloor& floor : episode.floors)
            if (cards_.at(floor.map - 1).contains(point))
                return &floor;
    return nullptr;
}

void EpisodeBoardView::mousePressEvent(QMouseEvent* event)
{
    if (const BoardFloor* floor = event->button() == Qt::LeftButton ? FloorAt(event->pos()) : nullptr)
        emit mapChosen(floor->map - 1);
}

bool EpisodeBoardView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const BoardFloor* floor = FloorAt(help->pos());
    if (!floor) {
        QToolTip::hideText();
        return true;
    }
    QStringList lines{QString("Map %1 (%2)").arg(floor->map).arg(QString::fromStdString(floor->name))};
    for (const BoardExit& exit : floor->exits)
        lines << QString::fromStdString(ExitKindText(exit.kind)) +
                     (!exit.to ? "" : *exit.to == kFlowEnd ? ": the episode ends" : QString(" to map %1").arg(*exit.to));
    for (const BoardEpisode& episode : board_.episodes)
        for (const BoardWarning& warning : episode.warnings)
            if (warning.map == floor->map)
                lines << QString::fromStdString(warning.text);
    QToolTip::showText(help->globalPos(), lines.join('\n'), this);
    return true;
}

} // namespace tsl
