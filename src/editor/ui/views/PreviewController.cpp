#include "editor/ui/views/PreviewController.h"

#include "editor/session/EditorSession.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/TPreview3DBox.h"

#include <QAction>
#include <QScreen>
#include <QWidget>

namespace tsl {

PreviewController::PreviewController(QWidget* window, MapPaintArea* area, ViewState& state)
    : QObject(window), window_(window), area_(area), state_(state)
{
    viewing_ = state_.Listen([this](const ViewChange& change) { Follow(change); });
}

PreviewController::~PreviewController()
{
    following_.Reset();
}

void PreviewController::Attach(EditorSession* session)
{
    following_.Reset();
    session_ = session;
    if (session_)
        following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });
    if (preview_)
        preview_->SetProject(session_ ? &session_->CurrentProject() : nullptr, state_.Graphics());
    SyncCameraMark();
}

void PreviewController::SetOtherSide(const MapHandler* other)
{
    other_ = other;
    if (preview_)
        preview_->SetOtherSide(other_);
}

void PreviewController::Leave()
{
    following_.Reset();
    if (preview_ && preview_->ShownProject())
        preview_->SetProject(nullptr);
    session_ = nullptr;
}

void PreviewController::Follow(const DocumentChange& change)
{
    if (!preview_ || !session_)
        return;
    switch (change.What) {
    case DocumentChange::Kind::Words:
        if (change.Map == preview_->MapIndex())
            preview_->MapEdited(change.Region);
        return;
    case DocumentChange::Kind::CurrentMap:
    case DocumentChange::Kind::MapList:
        // Another map, or maps added or deleted (the same number may now
        // stand for another map): from the player start.
        preview_->ShowMap(session_->Maps().CurrentMap);
        return;
    default: // a name, the storage, the rules (through the view state), the symbols, the saved state
        return;
    }
}

void PreviewController::Follow(const ViewChange& change)
{
    if (!preview_)
        return;
    switch (change.What) {
    case ViewChange::Kind::Skill:
        preview_->SetSkill(state_.Skill());
        return;
    case ViewChange::Kind::Pages:
        if (state_.Graphics())
            preview_->ReplacePages(*state_.Graphics(), change.Chunk);
        return;
    case ViewChange::Kind::Rules:
        // The level is built anew by the rules taken, from the player start.
        if (session_) {
            preview_->SetProject(&session_->CurrentProject(), state_.Graphics());
            SyncCameraMark();
        }
        return;
    default:
        return;
    }
}

TPreview3DBox& PreviewController::Show(bool activate)
{
    if (!preview_) {
        // Made at its first use: a project that is never looked at from
        // inside never has its pictures read for it.
        preview_ = new TPreview3DBox(window_);
        preview_->SetOtherSide(other_);
        connect(preview_, &TPreview3DBox::CameraMoved, this, &PreviewController::SyncCameraMark);
        connect(preview_, &TPreview3DBox::VisibilityChanged, this, &PreviewController::SyncCameraMark);
        connect(preview_, &TPreview3DBox::VisibilityChanged, this, &PreviewController::SyncWalkMarks);
        connect(preview_, &TPreview3DBox::WalkChanged, this, &PreviewController::SyncWalkMarks);
        connect(preview_, &TPreview3DBox::SkillChosen, this, [this](int skill) { state_.SetSkill(skill); });
        preview_->addActions(shared_);
        preview_->SetSkill(state_.Skill());
        preview_->SetProject(session_ ? &session_->CurrentProject() : nullptr, state_.Graphics());
        // Beside the main window when the screen has room for it there, so
        // that the map and the view from inside are seen together.
        const QRect room = window_->screen()->availableGeometry();
        const QRect beside(window_->frameGeometry().topRight() + QPoint(1, 0), preview_->size());
        if (room.contains(beside))
            preview_->move(beside.topLeft());
    }
    preview_->show();
    preview_->raise();
    if (activate)
        preview_->activateWindow();
    return *preview_;
}

void PreviewController::ShareActions(std::initializer_list<QAction*> actions)
{
    shared_ = QList<QAction*>(actions);
}

void PreviewController::SyncWalkMarks()
{
    const Walk* walk = preview_ && preview_->isVisible() ? preview_->CurrentWalk() : nullptr;
    area_->SetWalkMarks(walk && !walk->Ended() ? walk->Marks() : std::vector<WalkMark>{});
}

void PreviewController::ViewFromHere(QPoint tile)
{
    if (!session_)
        return;
    const MapList& map = session_->Maps().Current();
    if (tile.x() < 0 || tile.y() < 0 || tile.x() >= map.Width || tile.y() >= map.Height)
        return;
    Show(false).PutCameraAt(tile.x(), tile.y());
}

void PreviewController::SyncCameraMark()
{
    std::optional<CameraMark> mark;
    if (preview_ && preview_->isVisible() && preview_->ShownProject()) {
        const Camera& camera = preview_->CurrentCamera();
        mark = CameraMark{QPointF(camera.x, camera.y), camera.angle};
    }
    area_->SetCameraMark(mark);
}

} // namespace tsl
