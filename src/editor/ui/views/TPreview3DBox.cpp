#include "editor/ui/views/TPreview3DBox.h"

#include "editor/render/GameGraphics.h"
#include "editor/document/Project.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
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
constexpr double kLongestCatchUp = 0.5; // in a walk
constexpr int kTickMs = 15;
constexpr int kEditFrameMs = 16; // 60 frames a second at most while a stroke draws
// How long the note of a locked door stays, in tics.
constexpr int kNoteTics = 2 * kTicsPerSecond;
constexpr int kTextMargin = 8;

const char* const kSkillNames[] = {"&Every Skill Level", "Skill Level &1", "Skill Level &2", "Skill Level &3",
                                   "Skill Level &4"};
const char* const kKeyNames[] = {"&Gold Key", "&Silver Key", "Key &3", "Key &4"};

// Text in a dark box, readable over any picture; `box` is where it goes.
void DrawTextBox(QPainter& painter, const QRect& box, int flags, const QString& text)
{
    painter.fillRect(box.adjusted(-4, -2, 4, 2), QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(box, flags, text);
}

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
    BuildMenu();
}

void TPreview3DBox::BuildMenu()
{
    menu_ = new QMenu(this);
    menu_->setObjectName("previewMenu");
    walkFromStart_ = menu_->addAction("Walk From the &Start");
    connect(walkFromStart_, &QAction::triggered, this, [this] { StartWalk(true); });
    walkFromStart_->setObjectName("walkFromStartAction");
    walkFromStart_->setShortcut(Qt::Key_F5);
    walkFromHere_ = menu_->addAction("Walk From &Here");
    connect(walkFromHere_, &QAction::triggered, this, [this] { StartWalk(false); });
    walkFromHere_->setObjectName("walkFromHereAction");
    walkFromHere_->setShortcut(Qt::Key_F6);
    stopWalk_ = menu_->addAction("S&top Walking");
    connect(stopWalk_, &QAction::triggered, this, &TPreview3DBox::StopWalk);
    stopWalk_->setObjectName("stopWalkAction");
    addActions({walkFromStart_, walkFromHere_});
    menu_->addSeparator();
    keysMenu_ = menu_->addMenu("Give &Key");
    keysMenu_->setObjectName("giveKeyMenu");
    for (int key = 1; key <= kMaxKeys; ++key) {
        QAction* give = keysMenu_->addAction(kKeyNames[key - 1]);
        connect(give, &QAction::triggered, this, [this, key] {
            if (walk_) {
                walk_->GiveKey(key);
                Redraw();
            }
        });
        give->setObjectName(QString("giveKey%1Action").arg(key));
    }
    QMenu* skills = menu_->addMenu("S&kill Level");
    skills->setObjectName("skillMenu");
    skills_ = new QActionGroup(this);
    for (int skill = 0; skill <= 4; ++skill) {
        QAction* choice = skills->addAction(kSkillNames[skill]);
        connect(choice, &QAction::triggered, this, [this, skill] {
            SetSkill(skill);
            emit SkillChosen(skill);
        });
        choice->setObjectName(QString("skill%1Action").arg(skill));
        choice->setCheckable(true);
        choice->setChecked(skill == skill_);
        skills_->addAction(choice);
    }
    menu_->addSeparator();
    otherSide_ = menu_->addAction("Show the &Other Side");
    otherSide_->setObjectName("otherSideAction");
    otherSide_->setCheckable(true);
    otherSide_->setShortcut(Qt::Key_O);
    otherSide_->setEnabled(false);
    connect(otherSide_, &QAction::toggled, this, &TPreview3DBox::ShowOtherSide);
    addAction(otherSide_);
    UpdateWalkActions();
}

void TPreview3DBox::SetOtherSide(const MapHandler* other)
{
    const bool shown = ShowingOtherSide();
    other_ = other;
    otherSide_->setEnabled(other_ != nullptr);
    if (!other_)
        otherSide_->setChecked(false); // back to this side, through ShowOtherSide
    else if (shown)
        ShowOtherSide(true);
}

void TPreview3DBox::ShowOtherSide(bool on)
{
    showOther_ = on && other_;
    if (otherSide_->isChecked() != showOther_)
        otherSide_->setChecked(showOther_);
    if (!project_ || !pictures_ || mapIndex_ >= project_->Maps().NumMaps())
        return;
    StopWalk();
    // The same place on the other map: only the level changes.
    level_ = BuildLevel(ShownMap(), mapIndex_, pictures_->words, skill_);
    levelStale_ = false;
    Redraw();
}

bool TPreview3DBox::ShowingOtherSide() const
{
    return showOther_ && other_ && mapIndex_ < other_->NumMaps();
}

const MapList& TPreview3DBox::ShownMap() const
{
    const MapHandler& maps = ShowingOtherSide() ? *other_ : project_->Maps();
    return maps.Maps[static_cast<std::size_t>(mapIndex_)];
}

void TPreview3DBox::UpdateWalkActions()
{
    const bool shown = project_ && pictures_;
    walkFromStart_->setEnabled(shown);
    walkFromHere_->setEnabled(shown);
    stopWalk_->setEnabled(walk_ != nullptr);
    keysMenu_->setEnabled(walk_ && !walk_->Ended());
}

void TPreview3DBox::contextMenuEvent(QContextMenuEvent* event)
{
    menu_->exec(event->globalPos());
}

void TPreview3DBox::SetProject(const Project* project, std::shared_ptr<const GameGraphics> graphics)
{
    StopWalk();
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
        UpdateWalkActions();
        return;
    }
    level_ = Level();
    UpdateWalkActions();
    Redraw();
}

const EngineRules& TPreview3DBox::ProjectRules() const
{
    static const EngineRules kNoRules;
    return project_ && project_->Rules.Rules ? *project_->Rules.Rules : kNoRules;
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
    StopWalk();
    mapIndex_ = index;
    const MapList& map = ShownMap();
    level_ = BuildLevel(map, index, pictures_->words, skill_);
    levelStale_ = false;
    camera_ = StartCamera(map, ProjectRules());
    CameraChanged();
}

void TPreview3DBox::MapEdited(const std::optional<TileRect>& region)
{
    if (!project_ || mapIndex_ >= project_->Maps().NumMaps())
        return;
    if (ShowingOtherSide())
        return; // what is shown did not change; the level is built anew when this side comes back
    // A hidden window costs an edit nothing: it catches up when shown.
    if (!isVisible() || !region || levelStale_) {
        levelStale_ = true;
        if (isVisible())
            CatchUp();
        return;
    }
    RebuildRegion(level_, ShownMap(), mapIndex_, pictures_->words,
                  *region, skill_);
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
    RebuildLevel(level_, ShownMap(), mapIndex_, pictures_->words,
                 skill_);
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
    // Closed, the window ends its walk; minimized, the walk goes on.
    if (!isVisible())
        StopWalk();
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
        raycaster_.Render(walk_ ? walk_->CurrentLevel() : level_, pictures_->pages, camera_, frame_);
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
    if (ShowingOtherSide()) {
        const QRect inside = rect().adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin);
        const QString text = "The other side (O: this side)";
        DrawTextBox(painter, painter.fontMetrics().boundingRect(inside, Qt::AlignTop | Qt::AlignRight, text),
                    Qt::AlignTop | Qt::AlignRight, text);
    }
    PaintWalk(painter);
}

void TPreview3DBox::PaintWalk(QPainter& painter) const
{
    const QRect inside = rect().adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin);
    if (!walk_) {
        if (project_ && pictures_ && pictureProblem_.empty()) {
            const QString hint = "F5: walk by the game's rules from the start, F6: from here";
            const QRect box = painter.fontMetrics().boundingRect(inside, Qt::AlignBottom | Qt::AlignLeft, hint);
            DrawTextBox(painter, box, Qt::AlignLeft, hint);
        }
        return;
    }
    QString status = QString::fromStdString(WalkStatusLine(*walk_));
    if (walk_->MissingKey() && walk_->TicsPlayed() - usedAt_ < kNoteTics)
        status += "\nLocked: the " + QString::fromStdString(KeyName(walk_->MissingKey())).toLower() +
                  " opens this door";
    const QRect top = painter.fontMetrics().boundingRect(inside, Qt::AlignTop | Qt::AlignLeft, status);
    DrawTextBox(painter, top, Qt::AlignLeft, status);
    if (!walk_->Ended())
        return;
    QStringList lines;
    for (const std::string& line : WalkEndLines(*walk_))
        lines << QString::fromStdString(line);
    lines << "" << "F5: walk again from the start, F6: from here, Escape: stop walking";
    const QString text = lines.join('\n');
    const QRect middle = painter.fontMetrics().boundingRect(inside, Qt::AlignCenter, text);
    DrawTextBox(painter, middle, Qt::AlignCenter, text);
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
        if (walk_)
            StopWalk();
        else
            close();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    held_[event->key()] = *motion;
    if (!walk_)
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
    if (held_.empty() && !walk_)
        ticker_.stop();
}

void TPreview3DBox::focusOutEvent(QFocusEvent* event)
{
    // Keys released elsewhere never reach this window; a walk goes on (its
    // doors and push walls move by themselves).
    held_.clear();
    if (!walk_)
        ticker_.stop();
    QWidget::focusOutEvent(event);
}

void TPreview3DBox::onTick()
{
    const double elapsed = static_cast<double>(clock_.restart()) / 1000.0;
    if (!walk_) {
        Step(std::min(elapsed, kLongestTick));
        return;
    }
    // Every tic the clock ran, so that a slow or busy machine plays at the
    // game's speed too, only not a stall of seconds all at once.
    ticsDue_ += std::min(elapsed, kLongestCatchUp) * kTicsPerSecond;
    const int tics = static_cast<int>(ticsDue_);
    ticsDue_ -= tics;
    AdvanceWalk(tics);
}

WalkControl TPreview3DBox::HeldControl() const
{
    WalkControl control;
    control.run = running_;
    for (const auto& [key, motion] : held_) {
        switch (motion) {
        case Motion::Forward: control.forward += 1; break;
        case Motion::Back: control.forward -= 1; break;
        case Motion::TurnLeft: control.turn += 1; break;
        case Motion::TurnRight: control.turn -= 1; break;
        case Motion::StrafeLeft: control.right -= 1; break;
        case Motion::StrafeRight: control.right += 1; break;
        }
    }
    return control;
}

void TPreview3DBox::StartWalk(bool fromStart)
{
    if (!project_ || !pictures_ || mapIndex_ >= project_->Maps().NumMaps())
        return;
    // The map as the document holds it now, copied: edits from here on wait
    // for the next walk.
    const MapList& map = ShownMap();
    walk_ = std::make_unique<Walk>(map, mapIndex_, pictures_->words, skill_, 
                                   fromStart ? StartCamera(map, ProjectRules()) : camera_);
    ticsDue_ = 0;
    usedAt_ = 0;
    clock_.start();
    ticker_.start();
    camera_ = walk_->CurrentCamera();
    UpdateWalkActions();
    CameraChanged();
    emit WalkChanged();
}

void TPreview3DBox::StopWalk()
{
    if (!walk_)
        return;
    walk_.reset();
    if (held_.empty())
        ticker_.stop();
    UpdateWalkActions();
    Redraw();
    emit WalkChanged();
}

void TPreview3DBox::AdvanceWalk(int tics)
{
    if (!walk_ || walk_->Ended())
        return;
    const WalkControl control = HeldControl();
    const std::size_t marks = walk_->Marks().size();
    bool changed = false;
    for (int tic = 0; tic < tics && !walk_->Ended(); ++tic)
        changed = walk_->Tic(control) || changed;
    if (walk_->Ended()) {
        ticker_.stop();
        UpdateWalkActions();
    }
    if (changed) {
        const bool moved = !(walk_->CurrentCamera() == camera_);
        camera_ = walk_->CurrentCamera();
        if (moved)
            CameraChanged();
        else
            Redraw();
    }
    if (walk_->Marks().size() != marks || walk_->Ended())
        emit WalkChanged();
}

void TPreview3DBox::SetSkill(int skill)
{
    skill = std::clamp(skill, 0, 4);
    if (skill == skill_)
        return;
    skill_ = skill;
    skills_->actions()[skill]->setChecked(true);
    if (project_ && mapIndex_ < project_->Maps().NumMaps())
        RebuildLevel(level_, ShownMap(), mapIndex_,
                     pictures_->words, skill_);
    if (walk_)
        StartWalk(false);
    else
        Redraw();
}

void TPreview3DBox::Step(double seconds)
{
    if (held_.empty())
        return;
    const WalkControl control = HeldControl();
    const double factor = control.run ? kRunFactor : 1.0;
    const Camera before = camera_;
    TurnCamera(camera_, std::clamp(control.turn, -1.0, 1.0) * kTurnSpeed * factor * seconds);
    const double distance = kWalkSpeed * factor * seconds;
    MoveCamera(level_, camera_, std::clamp(control.forward, -1.0, 1.0) * distance,
               std::clamp(control.right, -1.0, 1.0) * distance);
    if (!(camera_ == before))
        CameraChanged();
}

void TPreview3DBox::ToggleDoorAhead()
{
    if (walk_) {
        const std::size_t marks = walk_->Marks().size();
        if (walk_->Use())
            Redraw();
        usedAt_ = walk_->TicsPlayed();
        if (walk_->MissingKey())
            Redraw();
        if (walk_->Marks().size() != marks || walk_->Ended()) {
            if (walk_->Ended())
                ticker_.stop();
            UpdateWalkActions();
            emit WalkChanged();
        }
        return;
    }
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
