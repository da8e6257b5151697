#include "editor/ui/play/AnalysisController.h"

#include "editor/render/GameGraphics.h"
#include "editor/session/EditorSession.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/views/PreviewController.h"
#include "editor/ui/play/TLevelStatisticsBox.h"
#include "editor/ui/play/TMapInformationBox.h"
#include "engine/StructureRules.h"

#include <QComboBox>
#include <QLabel>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace tsl {

namespace {

// What the player cannot reach, laid over the map.
constexpr QRgb kUnreachedTint = qRgba(0x30, 0x00, 0x40, 150);

QPoint PointOf(const MapTile& tile)
{
    return {tile.x, tile.y};
}

std::vector<QPoint> PointsOf(const std::vector<MapTile>& tiles)
{
    std::vector<QPoint> points;
    points.reserve(tiles.size());
    for (const MapTile& tile : tiles)
        points.push_back(PointOf(tile));
    return points;
}

} // namespace

std::string WhichRulesQuestion(std::string_view wolf, std::string_view spear)
{
    return "Whose rules of play?\nYes: Wolfenstein 3-D (\"" + std::string(wolf) + "\").\nNo: Spear of Destiny (\"" +
           std::string(spear) + "\").";
}

AnalysisController::AnalysisController(QWidget* window, Prompter& prompter, std::filesystem::path mapDefsRoot,
                                       MapViewController* viewer, PreviewController* previewer, QToolBar* toolBar)
    : QObject(window), window_(window), prompter_(prompter), mapDefsRoot_(std::move(mapDefsRoot)), viewer_(viewer),
      previewer_(previewer), chooser_(new QComboBox(toolBar)), statisticsBox_(new TLevelStatisticsBox(window)),
      informationBox_(new TMapInformationBox(window))
{
    refresh_.setSingleShot(true);
    refresh_.setInterval(0);
    connect(&refresh_, &QTimer::timeout, this, &AnalysisController::Refresh);

    chooser_->setObjectName("skillChooser");
    chooser_->addItems({"All", "1", "2", "3", "4"});
    chooser_->setToolTip("Skill level: the view and the 3D preview show the actors the game places on it");
    chooser_->setFocusPolicy(Qt::NoFocus); // the keys stay with the map view
    toolBar->addSeparator();
    auto* label = new QLabel(" Skill: ", toolBar);
    label->setBuddy(chooser_);
    toolBar->addWidget(label);
    toolBar->addWidget(chooser_);
    connect(chooser_, &QComboBox::activated, this, [this](int index) { SetSkill(index); });
    connect(previewer_, &PreviewController::SkillChosen, this, [this](int skill) { SetSkill(skill); });
}

AnalysisController::~AnalysisController()
{
    following_.Reset();
}

void AnalysisController::Attach(EditorSession* session)
{
    following_.Reset();
    session_ = session;
    finish_.Reset();
    if (session_) {
        const RulesLoad& rules = session_->CurrentProject().Rules;
        overlay_.SetRules(rules.Rules, rules.Status == RulesStatus::Loaded);
        if (overlay_.ReachableShown() && !overlay_.Analysable())
            viewer_->SetStatus(
                QString::fromStdString(NoRulesNote(session_->CurrentProject().StructureFolder.filename().string())));
        following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });
    } else {
        overlay_.SetRules(nullptr, false);
    }
    viewer_->View()->PaintArea()->SetPlayPicture({});
    Schedule();
}

void AnalysisController::Follow(const DocumentChange& change)
{
    if (change.What == DocumentChange::Kind::SavedState)
        return;
    if (change.What == DocumentChange::Kind::Words && change.Map != session_->Maps().CurrentMap)
        return;
    edited_ = edited_ || change.What == DocumentChange::Kind::Words;
    Schedule();
}

void AnalysisController::Schedule()
{
    overlay_.Invalidate();
    // Nothing shown, and no rules to tell whether the level can be
    // finished by: nothing to work out until something is.
    if (overlay_.ReachableShown() || overlay_.PatrolsShown() || overlay_.Analysable() ||
        !(viewer_->View()->PaintArea()->CurrentPlayPicture() == PlayPicture{}))
        refresh_.start();
}

void AnalysisController::Refresh()
{
    refresh_.stop();
    MapPaintArea* area = viewer_->View()->PaintArea();
    if (!session_) {
        area->SetPlayPicture({});
        return;
    }
    const bool edited = std::exchange(edited_, false);
    if (overlay_.Analysable() && overlay_.Stale())
        if (const auto said = finish_.Update(session_->Maps().Current(), *overlay_.Rules(), edited))
            viewer_->SetStatus(QString::fromStdString(*said));
    if (!overlay_.Refresh(session_->Maps().Current()))
        return;
    area->SetPlayPicture(Picture());
}

PlayPicture AnalysisController::Picture() const
{
    PlayPicture picture;
    const std::vector<std::uint8_t>& unreached = overlay_.Unreached();
    const MapList& map = session_->Maps().Current();
    if (!unreached.empty() && unreached.size() == map.WordCount()) {
        picture.tint = QImage(map.Width, map.Height, QImage::Format_ARGB32);
        picture.tint.fill(Qt::transparent);
        for (int y = 0; y < map.Height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.tint.scanLine(y));
            for (int x = 0; x < map.Width; ++x)
                if (unreached[static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x)])
                    row[x] = kUnreachedTint;
        }
    }
    for (const PlayMark& mark : overlay_.Marks())
        (mark.kind == PlayMark::Kind::ShutDoor ? picture.shutDoors : picture.unreachable).push_back(PointOf(mark.tile));
    picture.route = PointsOf(overlay_.Route());
    picture.secretRoute = PointsOf(overlay_.SecretRoute());
    for (const PatrolRoute& route : overlay_.Patrols())
        picture.patrols.push_back({PointsOf(route.path), route.blocked, route.blockedAtOnce});
    return picture;
}

// --- the commands ---

void AnalysisController::SetSkill(int skill)
{
    overlay_.SetSkill(skill);
    chooser_->setCurrentIndex(overlay_.Skill());
    viewer_->SetSkill(overlay_.Skill());
    previewer_->SetSkill(overlay_.Skill());
    Schedule();
    emit changed();
}

void AnalysisController::ShowReachable(bool on)
{
    overlay_.ShowReachable(on && (!session_ || EnsureRules()));
    Schedule();
    emit changed();
}

void AnalysisController::ShowPatrols(bool on)
{
    overlay_.ShowPatrols(on);
    Schedule();
    emit changed();
}

void AnalysisController::ShowStatistics()
{
    if (!session_)
        return;
    const Project& project = session_->CurrentProject();
    std::vector<LevelAnalysis> levels;
    QString note;
    if (EnsureRules()) {
        levels = AnalyseEverySkill(session_->Maps().Current(), *project.Rules.Rules);
        for (const LevelAnalysis& level : levels)
            if (const std::string pushed = PushWallNote(level); !pushed.empty()) {
                note = QString::fromStdString(pushed);
                break;
            }
    } else {
        note = QString::fromStdString(NoRulesNote(project.StructureFolder.filename().string()));
    }
    if (const auto tiles = statisticsBox_->ShowStatistics(levels, note))
        viewer_->ShowTiles(*tiles);
}

void AnalysisController::ShowMapInformation()
{
    if (!session_)
        return;
    const std::shared_ptr<const GameGraphics> graphics = viewer_->Graphics();
    const std::optional<QPoint> tile = informationBox_->ShowMapInformation(
        session_->CurrentMapStatistics(), session_->CheckCurrentMap(graphics ? &graphics->Pages : nullptr));
    if (tile)
        viewer_->ShowTile(*tile);
}

// --- rules of play ---

bool AnalysisController::EnsureRules()
{
    Project& project = session_->CurrentProject();
    if (project.Rules.Status == RulesStatus::Loaded)
        return true;
    const std::string name = project.StructureFolder.filename().string();
    if (project.Rules.Status == RulesStatus::Failed)
        prompter_.Show(project.Rules.Problem);
    if (prompter_.Ask({NoRulesQuestion(name), kNoRulesCaption}) != Answer::Yes) {
        viewer_->SetStatus(QString::fromStdString(NoRulesNote(name)));
        return false;
    }
    // A structure of each game, its full game's first: the user picks the game.
    std::vector<std::string> sources = StructuresWithRules(mapDefsRoot_);
    std::erase(sources, name);
    auto first = [&](const std::string& preferred, char letter) {
        if (std::find(sources.begin(), sources.end(), preferred) != sources.end())
            return preferred;
        const auto found = std::find_if(sources.begin(), sources.end(),
                                        [&](const std::string& s) { return !s.empty() && s.front() == letter; });
        return found != sources.end() ? *found : std::string();
    };
    const std::string wolf = first("WL6", 'W'), spear = first("SOD", 'S');
    std::string source = !wolf.empty() ? wolf : !spear.empty() ? spear : sources.empty() ? "WL6" : sources.front();
    if (!wolf.empty() && !spear.empty()) {
        const Answer which = prompter_.Message(WhichRulesQuestion(wolf, spear), kNoRulesCaption,
                                               MessageIcon::Question, Buttons::YesNoCancel);
        if (which == Answer::Cancel) {
            viewer_->SetStatus(QString::fromStdString(NoRulesNote(name)));
            return false;
        }
        source = which == Answer::Yes ? wolf : spear;
    }
    if (auto failure = TakeRules(mapDefsRoot_, source, project.StructureFolder, *project.Settings)) {
        prompter_.Show(*failure);
        return false;
    }
    project.Rules = LoadEngineRules(project.StructureFolder, *project.Settings, project.Symbols);
    finish_.Reset();
    overlay_.SetRules(project.Rules.Rules, project.Rules.Status == RulesStatus::Loaded);
    // The status said "No analysis" until now.
    viewer_->SetStatus(QString::fromStdString(RulesTakenText(name, source)));
    prompter_.Message(RulesTakenText(name, source), kNoRulesCaption, MessageIcon::Information, Buttons::Ok);
    emit rulesChanged();
    return project.Rules.Status == RulesStatus::Loaded;
}

} // namespace tsl
