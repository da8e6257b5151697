#include "editor/ui/mod/ModController.h"

#include "editor/session/EditorSession.h"
#include "editor/ui/mod/TEpisodeBoardBox.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/MapViewController.h"
#include "editor/ui/views/PreviewController.h"
#include "engine/LevelAnalysis.h"
#include "engine/LevelFlow.h"
#include "graphics/PageFile.h"
#include "mod/EpisodeBoard.h"
#include "mod/Release.h"

#include <QWidget>

#include <algorithm>
#include <array>

namespace tsl {

namespace {

constexpr int kPicture = 96;
constexpr std::array<int, 4> kSkills = {1, 2, 3, 4};

// "maps 1, 3 and 5".
std::string Numbers(const std::set<int>& maps)
{
    std::string text = maps.size() == 1 ? "map " : "maps ";
    int i = 0;
    for (const int map : maps) {
        text += (i == 0 ? "" : i + 1 == static_cast<int>(maps.size()) ? " and " : ", ") + std::to_string(map + 1);
        ++i;
    }
    return text;
}

std::optional<PageFile> PagesIn(const std::filesystem::path& dir, const std::string& extension)
{
    const auto path = FindPageFile(dir, extension);
    auto pages = path ? PageFile::Load(*path) : Outcome<PageFile>(Failure{});
    return pages ? std::make_optional(std::move(*pages)) : std::nullopt;
}

} // namespace

ModController::ModController(QWidget* window, Prompter& prompter, MapViewController* viewer,
                             PreviewController* previewer)
    : QObject(window), window_(window), prompter_(prompter), viewer_(viewer), previewer_(previewer),
      board_(new TEpisodeBoardBox(window))
{
    refresh_.setSingleShot(true);
    refresh_.setInterval(0);
    connect(&refresh_, &QTimer::timeout, this, &ModController::Refresh);
    connect(board_, &TEpisodeBoardBox::mapChosen, this, &ModController::openMap);
}

ModController::~ModController()
{
    following_.Reset();
}

void ModController::Attach(EditorSession* session)
{
    following_.Reset();
    StopComparing();
    session_ = session;
    pictures_.clear();
    if (session_)
        following_ = session_->Document().Listen([this](const DocumentChange& change) { Follow(change); });
    if (board_->isVisible()) {
        if (session_)
            RefreshBoard();
        else
            board_->close();
    }
}

void ModController::Follow(const DocumentChange& change)
{
    switch (change.What) {
    case DocumentChange::Kind::SavedState:
    case DocumentChange::Kind::Storage:
        return;
    case DocumentChange::Kind::Words:
        staleMaps_.insert(change.Map);
        pictures_.erase(change.Map);
        break;
    case DocumentChange::Kind::Renamed:
        staleMaps_.insert(change.Map);
        break;
    case DocumentChange::Kind::MapList:
        allMaps_ = true;
        pictures_.clear();
        break;
    case DocumentChange::Kind::Symbols:
        pictures_.clear(); // the small pictures are drawn with them
        break;
    case DocumentChange::Kind::CurrentMap:
    case DocumentChange::Kind::Rules:
        break;
    }
    refresh_.start();
}

void ModController::Refresh()
{
    refresh_.stop();
    if (!session_)
        return;
    if (other_) {
        const MapHandler& maps = session_->Maps();
        if (allMaps_) {
            changedMaps_.clear();
            for (const MapDifference& d : CompareMaps(maps, *other_))
                if (d.changes.front() != MapChange::Removed)
                    changedMaps_.insert(d.map - 1);
        } else {
            for (const int map : staleMaps_) {
                if (map < 0 || map >= maps.NumMaps())
                    continue;
                const bool differs = map >= other_->NumMaps() ||
                                     !CompareMap(maps.Maps[static_cast<std::size_t>(map)],
                                                 other_->Maps[static_cast<std::size_t>(map)]).changes.empty();
                if (differs)
                    changedMaps_.insert(map);
                else
                    changedMaps_.erase(map);
            }
        }
        ShowChangedTiles();
    }
    allMaps_ = false;
    staleMaps_.clear();
    if (board_->isVisible())
        RefreshBoard();
}

// --- the board ---

QImage ModController::Picture(int index)
{
    if (const auto found = pictures_.find(index); found != pictures_.end())
        return found->second;
    const Image image = viewer_->LevelPreview(session_->Maps().Maps[static_cast<std::size_t>(index)]);
    const QImage wrapped(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         image.width * 4, QImage::Format_RGB32);
    QImage small = wrapped.scaled(kPicture, kPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pictures_[index] = small;
}

void ModController::ShowBoard()
{
    if (!session_)
        return;
    const RulesLoad& rules = session_->CurrentProject().Rules;
    if (rules.Status != RulesStatus::Loaded) {
        prompter_.Message(NoRulesNote(session_->CurrentProject().StructureFolder.filename().string()),
                          "Episode Board", MessageIcon::Information, Buttons::Ok);
        return;
    }
    RefreshBoard();
    board_->show();
    board_->raise();
    board_->activateWindow();
}

void ModController::RefreshBoard()
{
    const Project& project = session_->CurrentProject();
    if (project.Rules.Status != RulesStatus::Loaded)
        return;
    const FlowLoad flow = LoadLevelFlow(project.StructureFolder, *project.Settings);
    const EpisodeBoard board = BuildEpisodeBoard(session_->Maps(), *project.Rules.Rules, flow.Flow.get(), kSkills,
                                                 NoFlowNote(flow.Problem.text));
    std::map<int, QImage> pictures;
    for (int index = 0; index < session_->Maps().NumMaps(); ++index)
        pictures[index] = Picture(index);
    board_->ShowBoard(board, std::move(pictures), changedMaps_);
}

// --- comparing ---

void ModController::CompareWith()
{
    if (!session_)
        return;
    const auto dir = prompter_.ChooseDirectory(kChooseOtherPrompt, session_->Maps().Path.parent_path());
    if (dir)
        CompareWithFolder(*dir);
}

bool ModController::CompareWithFolder(const std::filesystem::path& dir)
{
    SetLoad load = LoadSetLike(session_->Maps(), dir);
    if (!load.report.ok()) {
        prompter_.Show(*load.report.failure);
        return false;
    }
    StopComparing();
    other_ = std::move(load.maps);
    otherDir_ = dir;
    const auto ours = PagesIn(session_->Maps().Path, session_->Maps().Extension);
    const auto theirs = PagesIn(dir, session_->Maps().Extension);
    changedPages_ = ComparePages(ours ? &*ours : nullptr, theirs ? &*theirs : nullptr);
    // Chunks compared by number: both sides are read by the same layout.
    GameDataDifference data = CompareGameData(session_->Maps().Path, dir, session_->Maps().Extension, nullptr);
    changedGraphics_ = std::move(data.graphics);
    changedAudio_ = std::move(data.audio);
    allMaps_ = true;
    Refresh();
    previewer_->SetOtherSide(&*other_);
    emit changed();
    prompter_.Message(Summary(), kCompareCaption, MessageIcon::Information, Buttons::Ok);
    return true;
}

std::string ModController::Summary() const
{
    const int missing = other_->NumMaps() - session_->Maps().NumMaps();
    const std::string where = "Compared with " + otherDir_.string() + ": ";
    if (changedMaps_.empty() && changedPages_.empty() && changedGraphics_.empty() && changedAudio_.empty() &&
        missing <= 0)
        return where + "the maps and the page files are the same.";
    std::string text = where;
    text += changedMaps_.empty() ? "no map differs"
            : std::to_string(changedMaps_.size()) + (changedMaps_.size() == 1 ? " map differs (" : " maps differ (") +
                  Numbers(changedMaps_) + ")";
    if (missing > 0)
        text += ", and " + std::to_string(missing) + (missing == 1 ? " of its maps is" : " of its maps are") +
                " not in this set";
    text += changedPages_.empty() ? "; the page files are the same."
            : "; " + std::to_string(changedPages_.size()) +
                  (changedPages_.size() == 1 ? " page chunk differs." : " page chunks differ.");
    for (const auto& [chunks, file] : {std::pair{&changedGraphics_, "VGAGRAPH"}, std::pair{&changedAudio_, "AUDIOT"}})
        if (!chunks->empty())
            text += " " + std::to_string(chunks->size()) + " " + file +
                    (chunks->size() == 1 ? " chunk differs." : " chunks differ.");
    return text + "\nThe tiles that differ are tinted in the map view: Next Change (F8) and Previous Change "
                  "(Shift+F8) step through them, and the 3D preview shows the other side's level with O.";
}

void ModController::StopComparing()
{
    const bool was = other_.has_value();
    previewer_->SetOtherSide(nullptr);
    other_.reset();
    changedMaps_.clear();
    changedPages_.clear();
    changedGraphics_.clear();
    changedAudio_.clear();
    changedTiles_.clear();
    viewer_->View()->PaintArea()->SetChangedTiles({});
    if (was)
        emit changed();
}

void ModController::ShowChangedTiles()
{
    changedTiles_.clear();
    const MapHandler& maps = session_->Maps();
    const int current = maps.CurrentMap;
    if (other_ && current >= 0 && current < maps.NumMaps() && current < other_->NumMaps())
        for (const MapTile& tile : ChangedTiles(maps.Current(), other_->Maps[static_cast<std::size_t>(current)]))
            changedTiles_.emplace_back(tile.x, tile.y);
    viewer_->View()->PaintArea()->SetChangedTiles(changedTiles_);
}

void ModController::StepChange(int direction)
{
    if (!session_ || !other_)
        return;
    Refresh();
    const MapHandler& maps = session_->Maps();
    const std::optional<QPoint> shown = viewer_->View()->PaintArea()->ShownTile();
    const auto order = [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); };
    // On this map: the change after (or before) the one shown last.
    if (!changedTiles_.empty()) {
        std::optional<QPoint> next;
        if (!shown)
            next = direction > 0 ? changedTiles_.front() : changedTiles_.back();
        else if (direction > 0) {
            const auto after = std::upper_bound(changedTiles_.begin(), changedTiles_.end(), *shown, order);
            if (after != changedTiles_.end())
                next = *after;
        } else {
            const auto at = std::lower_bound(changedTiles_.begin(), changedTiles_.end(), *shown, order);
            if (at != changedTiles_.begin())
                next = *(at - 1);
        }
        if (next) {
            viewer_->ShowTile(*next);
            return;
        }
    }
    // Then the next map (or the one before) that has a tile that differs.
    const int count = maps.NumMaps();
    for (int step = 1; step <= count; ++step) {
        const int map = ((maps.CurrentMap + direction * step) % count + count) % count;
        if (!changedMaps_.contains(map) || map >= other_->NumMaps())
            continue;
        const auto tiles = ChangedTiles(maps.Maps[static_cast<std::size_t>(map)], other_->Maps[static_cast<std::size_t>(map)]);
        if (tiles.empty())
            continue;
        if (map != maps.CurrentMap)
            emit openMap(map);
        const MapTile tile = direction > 0 ? tiles.front() : tiles.back();
        ShowChangedTiles();
        viewer_->ShowTile(QPoint(tile.x, tile.y));
        return;
    }
    viewer_->SetStatus("No tile differs from the set compared with.");
}

// --- the release ---

void ModController::MakeRelease(bool unsaved, const std::function<bool()>& save)
{
    if (!session_)
        return;
    if (unsaved) {
        const Answer answer = prompter_.Message(kSaveBeforeReleaseText, kReleaseCaption, MessageIcon::Question,
                                                Buttons::YesNoCancel);
        if (answer == Answer::Cancel || (answer == Answer::Yes && !save()))
            return;
    }
    const MapHandler& maps = session_->Maps();
    const auto original = prompter_.ChooseDirectory(kChooseOriginalPrompt, maps.Path.parent_path());
    if (!original)
        return;
    const auto zip = prompter_.ChooseSaveFile(kReleaseCaption, {"Zip archives|*.zip", 0}, "zip");
    if (!zip)
        return;
    const Project& project = session_->CurrentProject();
    const FlowLoad flow = LoadLevelFlow(project.StructureFolder, *project.Settings);
    ReleaseRequest request;
    request.modDir = maps.Path;
    request.originalDir = *original;
    request.name = zip->stem().string();
    request.layout = &maps;
    request.rules = project.Rules.Status == RulesStatus::Loaded ? project.Rules.Rules.get() : nullptr;
    request.flow = flow.Flow.get();
    const auto plan = PlanRelease(request);
    if (!plan) {
        prompter_.Show(plan.failure());
        return;
    }
    if (!plan->findings.empty() &&
        prompter_.Message(FindingsText(*plan) + kReleaseAnywayText, kReleaseCaption, MessageIcon::Warning,
                          Buttons::YesNo, Answer::No) != Answer::Yes)
        return;
    if (auto failure = WriteRelease(*plan, *zip)) {
        prompter_.Show(*failure);
        return;
    }
    prompter_.Message(ReleaseDoneText(*plan, *zip), kReleaseCaption, MessageIcon::Information, Buttons::Ok);
}

} // namespace tsl
