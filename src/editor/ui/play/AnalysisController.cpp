#include "editor/ui/play/AnalysisController.h"

#include "editor/session/EditorSession.h"
#include "editor/ui/views/MapView.h"
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
                                       ViewState& state, MapPaintArea* area, QToolBar* toolBar)
    : QObject(window), window_(window), prompter_(prompter), mapDefsRoot_(std::move(mapDefsRoot)), state_(state),
      area_(area), chooser_(new QComboBox(toolBar)), statisticsBox_(new TLevelStatisticsBox(window)),
      informationBox_(new TMapInformationBox(window))
{
    viewing_ = state_.Listen([this](const ViewChange& change) { Follow(change); });
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
    chooser_->setCurrentIndex(state_.Skill());
    connect(chooser_, &QComboBox::activated, this, [this](int index) { SetSkill(index); });
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
        if (state_.ReachableShown() && !state_.Analysable())
            emit statusNote(
                QString::fromStdString(NoRulesNote(session_->CurrentProject().StructureFolder.filename().string())));
        following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });
    }
    area_->SetPlayPicture({});
    Schedule();
}

void AnalysisController::Follow(const DocumentChange& change)
{
    switch (change.What) {
    case DocumentChange::Kind::Words:
        if (change.Map == session_->Maps().CurrentMap) {
            edited_ = true;
            Schedule();
        }
        return;
    case DocumentChange::Kind::CurrentMap:
    case DocumentChange::Kind::MapList:
        Schedule();
        return;
    default: // a name, the storage, the rules (through the view state), the symbols, the saved state
        return;
    }
}

void AnalysisController::Follow(const ViewChange& change)
{
    switch (change.What) {
    case ViewChange::Kind::Skill:
        chooser_->setCurrentIndex(state_.Skill());
        Schedule();
        return;
    case ViewChange::Kind::Rules:
        finish_.Reset(); // the level was judged by other rules
        Schedule();
        return;
    case ViewChange::Kind::Overlays:
        Schedule();
        return;
    default:
        return;
    }
}

void AnalysisController::Schedule()
{
    overlay_.Invalidate();
    // Nothing shown, and no rules to tell whether the level can be
    // finished by: nothing to work out until something is.
    if (state_.ReachableShown() || state_.PatrolsShown() || state_.Analysable() ||
        !(area_->CurrentPlayPicture() == PlayPicture{}))
        refresh_.start();
}

void AnalysisController::Refresh()
{
    refresh_.stop();
    if (!session_) {
        area_->SetPlayPicture({});
        return;
    }
    const bool edited = std::exchange(edited_, false);
    if (state_.Analysable() && overlay_.Stale(state_.Play()))
        if (const auto said = finish_.Update(session_->Maps().Current(), *state_.Rules(), edited))
            emit statusNote(QString::fromStdString(*said));
    if (!overlay_.Refresh(session_->Maps().Current(), state_.Play()))
        return;
    area_->SetPlayPicture(Picture());
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
    state_.SetSkill(skill);
    chooser_->setCurrentIndex(state_.Skill());
}

void AnalysisController::ShowReachable(bool on)
{
    state_.ShowReachable(on && (!session_ || EnsureRules()));
}

void AnalysisController::ShowPatrols(bool on)
{
    state_.ShowPatrols(on);
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
        emit tilesChosen(*tiles);
}

void AnalysisController::ShowMapInformation()
{
    if (!session_)
        return;
    // With the game's page file, the walls' pictures are checked too.
    const std::shared_ptr<const GameGraphics>& graphics = state_.Graphics();
    const std::optional<QPoint> tile = informationBox_->ShowMapInformation(
        session_->CurrentMapStatistics(), session_->CheckCurrentMap(graphics ? &graphics->Pages : nullptr));
    if (tile)
        emit tilesChosen({*tile});
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
        emit statusNote(QString::fromStdString(NoRulesNote(name)));
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
            emit statusNote(QString::fromStdString(NoRulesNote(name)));
            return false;
        }
        source = which == Answer::Yes ? wolf : spear;
    }
    if (auto failure = TakeRules(mapDefsRoot_, source, project.StructureFolder, *project.Settings)) {
        prompter_.Show(*failure);
        return false;
    }
    // Whatever draws or analyses by the rules follows the document's notice.
    session_->Document().TakeRules(LoadEngineRules(project.StructureFolder, *project.Settings, project.Symbols));
    // The status said "No analysis" until now.
    emit statusNote(QString::fromStdString(RulesTakenText(name, source)));
    prompter_.Message(RulesTakenText(name, source), kNoRulesCaption, MessageIcon::Information, Buttons::Ok);
    return project.Rules.Status == RulesStatus::Loaded;
}

} // namespace tsl
