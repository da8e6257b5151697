#include "editor/ui/TPreview3DBox.h"

#include "editor/GameGraphics.h"
#include "editor/Project.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace tsl {

namespace {

// The engine's speeds at 70 tics a second: a walk moves 35 * 150 units a
// tic and turns 35 / 20 degrees a tic; running doubles both.
constexpr double kWalkSpeed = 35.0 * 150.0 / 65536.0 * 70.0; // tiles a second
constexpr double kTurnSpeed = 35.0 / 20.0 * 70.0;             // degrees a second
constexpr double kRunFactor = 2.0;
// A key press moves at once by two tics, so that a tap does something.
constexpr double kTapSeconds = 2.0 / 70.0;
// The longest time one tick accounts for, so that a stall is not a jump.
constexpr double kLongestTick = 0.1;
constexpr int kTickMs = 15;
constexpr int kEditFrameMs = 16; // 60 frames a second at most while a stroke draws

QImage Wrap(const Image& image)
{
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 4,
                  QImage::Format_RGB32);
}

} // namespace

TPreview3DBox::TPreview3DBox(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("preview3DBox");
    setWindowTitle("3D Preview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(640, 400);
    ticker_.setInterval(kTickMs);
    connect(&ticker_, &QTimer::timeout, this, &TPreview3DBox::onTick);
    editFrame_.setSingleShot(true);
    editFrame_.setInterval(kEditFrameMs);
    connect(&editFrame_, &QTimer::timeout, this, [this] {
        if (std::exchange(editWaiting_, false))
            EditRedraw();
    });
}

void TPreview3DBox::SetProject(const Project* project, std::shared_ptr<const GameGraphics> graphics)
{
    project_ = project;
    pictures_.reset();
    pictureProblem_.clear();
    if (project_) {
        if (!graphics) {
            GraphicsLoad load = LoadGameGraphics(project_->Maps().Path, project_->Maps().Extension,
                                                 project_->StructureFolder, *project_->Settings);
            graphics = load.Graphics;
            pictureProblem_ = load.Problem.text;
        }
        GamePictures pictures =
            graphics ? BuildGamePictures(graphics->Pages, graphics->Colours, graphics->Pictures, graphics->Settings)
                     : PlainGamePictures();
        pictures.words.rules = project_->Rules.Rules;
        pictures_ = std::make_shared<const GamePictures>(std::move(pictures));
        ShowMap(project_->Maps().CurrentMap);
        return;
    }
    level_ = Level();
    Redraw();
}

void TPreview3DBox::ReplacePages(const GameGraphics& graphics, std::optional<int> chunk)
{
    if (!project_ || !pictures_)
        return;
    GamePictures pictures = *pictures_; // the pictures are shared, not copied
    if (chunk) {
        RefreshPicture(pictures, graphics.Pages, graphics.Colours, *chunk);
    } else {
        const auto rules = pictures.words.rules;
        pictures = BuildGamePictures(graphics.Pages, graphics.Colours, graphics.Pictures, graphics.Settings);
        pictures.words.rules = rules;
    }
    pictures_ = std::make_shared<const GamePictures>(std::move(pictures));
    // Sprites added or removed move the chunks the level's cells name.
    levelStale_ = !chunk || levelStale_;
    if (isVisible())
        CatchUp();
    Redraw();
}

void TPreview3DBox::ShowMap(int index)
{
    if (!project_ || index < 0 || index >= project_->Maps().NumMaps())
        return;
    mapIndex_ = index;
    const MapList& map = project_->Maps().Maps[static_cast<std::size_t>(index)];
    level_ = BuildLevel(map, index, pictures_->words);
    levelStale_ = false;
    camera_ = StartCamera(map);
    CameraChanged();
}

void TPreview3DBox::MapEdited(const std::optional<TileRect>& region)
{
    if (!project_ || mapIndex_ >= project_->Maps().NumMaps())
        return;
    // A hidden window costs an edit nothing: it catches up when shown.
    if (!isVisible() || !region || levelStale_) {
        levelStale_ = true;
        if (isVisible())
            CatchUp();
        return;
    }
    RebuildRegion(level_, project_->Maps().Maps[static_cast<std::size_t>(mapIndex_)], mapIndex_, pictures_->words,
                  *region);
    EditRedraw();
}

void TPreview3DBox::EditRedraw()
{
    stale_ = true;
    if (editFrame_.isActive()) {
        editWaiting_ = true;
        return;
    }
    update();
    editFrame_.start();
}

void TPreview3DBox::CatchUp()
{
    if (!levelStale_ || !project_ || mapIndex_ >= project_->Maps().NumMaps())
        return;
    RebuildLevel(level_, project_->Maps().Maps[static_cast<std::size_t>(mapIndex_)], mapIndex_, pictures_->words);
    levelStale_ = false;
    Redraw();
}

void TPreview3DBox::showEvent(QShowEvent* event)
{
    CatchUp();
    QWidget::showEvent(event);
    emit VisibilityChanged(true);
}

void TPreview3DBox::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Minimized, the window stays visible.
    emit VisibilityChanged(isVisible());
}

void TPreview3DBox::PutCameraAt(int x, int y)
{
    SetCamera(CameraAtTile(x, y, camera_.angle));
}

void TPreview3DBox::SetCamera(const Camera& camera)
{
    camera_ = camera;
    TurnCamera(camera_, 0);
    CameraChanged();
}

void TPreview3DBox::CameraChanged()
{
    Redraw();
    emit CameraMoved(camera_);
}

void TPreview3DBox::Redraw()
{
    stale_ = true;
    update();
}

void TPreview3DBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (frame_.width != width() || frame_.height != height()) {
        frame_ = Image(width(), height());
        stale_ = true;
    }
    if (stale_ && pictures_) {
        raycaster_.Render(level_, pictures_->pages, camera_, frame_);
        stale_ = false;
    } else if (stale_) {
        frame_.Fill(kBlackPixel);
        stale_ = false;
    }
    painter.drawImage(0, 0, Wrap(frame_));
    if (!pictureProblem_.empty()) {
        const QString text = QString::fromStdString(pictureProblem_);
        const QRect box = painter.fontMetrics().boundingRect(rect().adjusted(8, 8, -8, -8), Qt::TextWordWrap, text);
        painter.fillRect(box.adjusted(-4, -2, 4, 2), QColor(0, 0, 0, 160));
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::TextWordWrap, text);
    }
}

void TPreview3DBox::keyPressEvent(QKeyEvent* event)
{
    running_ = event->modifiers() & Qt::ShiftModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    std::optional<Motion> motion;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_W:
        motion = Motion::Forward;
        break;
    case Qt::Key_Down:
    case Qt::Key_S:
        motion = Motion::Back;
        break;
    case Qt::Key_Left:
        motion = alt ? Motion::StrafeLeft : Motion::TurnLeft;
        break;
    case Qt::Key_A:
        motion = Motion::TurnLeft;
        break;
    case Qt::Key_Right:
        motion = alt ? Motion::StrafeRight : Motion::TurnRight;
        break;
    case Qt::Key_D:
        motion = Motion::TurnRight;
        break;
    case Qt::Key_Q:
        motion = Motion::StrafeLeft;
        break;
    case Qt::Key_E:
        motion = Motion::StrafeRight;
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            ToggleDoorAhead();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    held_[event->key()] = *motion;
    Step(kTapSeconds);
    if (!ticker_.isActive()) {
        clock_.start();
        ticker_.start();
    }
}

void TPreview3DBox::keyReleaseEvent(QKeyEvent* event)
{
    running_ = event->modifiers() & Qt::ShiftModifier;
    if (event->isAutoRepeat())
        return;
    held_.erase(event->key());
    if (held_.empty())
        ticker_.stop();
}

void TPreview3DBox::focusOutEvent(QFocusEvent* event)
{
    // Keys released elsewhere never reach this window.
    held_.clear();
    ticker_.stop();
    QWidget::focusOutEvent(event);
}

void TPreview3DBox::onTick()
{
    const double seconds = std::min(static_cast<double>(clock_.restart()) / 1000.0, kLongestTick);
    Step(seconds);
}

void TPreview3DBox::Step(double seconds)
{
    if (held_.empty())
        return;
    const double factor = running_ ? kRunFactor : 1.0;
    double forward = 0;
    double right = 0;
    double turn = 0;
    for (const auto& [key, motion] : held_) {
        switch (motion) {
        case Motion::Forward:
            forward += 1;
            break;
        case Motion::Back:
            forward -= 1;
            break;
        case Motion::TurnLeft:
            turn += 1;
            break;
        case Motion::TurnRight:
            turn -= 1;
            break;
        case Motion::StrafeLeft:
            right -= 1;
            break;
        case Motion::StrafeRight:
            right += 1;
            break;
        }
    }
    const Camera before = camera_;
    TurnCamera(camera_, std::clamp(turn, -1.0, 1.0) * kTurnSpeed * factor * seconds);
    const double distance = kWalkSpeed * factor * seconds;
    MoveCamera(level_, camera_, std::clamp(forward, -1.0, 1.0) * distance, std::clamp(right, -1.0, 1.0) * distance);
    if (!(camera_ == before))
        CameraChanged();
}

void TPreview3DBox::ToggleDoorAhead()
{
    const auto door = DoorAhead(level_, camera_);
    if (!door)
        return;
    const double was = level_.DoorOpening(door->x, door->y);
    level_.SetDoorOpening(door->x, door->y, was < 1 ? 1 : 0);
    // A door does not close on the player standing in it.
    if (CameraBlocked(level_, camera_.x, camera_.y))
        level_.SetDoorOpening(door->x, door->y, was);
    Redraw();
}

} // namespace tsl
