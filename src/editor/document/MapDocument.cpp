#include "editor/document/MapDocument.h"

#include "editor/document/Project.h"

#include <algorithm>
#include <stdexcept>

namespace tsl {

namespace {

TileRect Joined(const std::optional<TileRect>& region, int x, int y)
{
    if (!region)
        return {x, y, x, y};
    return {std::min(region->Left(), x), std::min(region->Top(), y), std::max(region->Right(), x),
            std::max(region->Bottom(), y)};
}

TileRect Joined(const std::optional<TileRect>& region, const TileRect& more)
{
    const TileRect first = Joined(region, more.Left(), more.Top());
    return Joined(first, more.Right(), more.Bottom());
}

} // namespace

MapDocument::MapDocument(Project& project) : project_(project)
{
    histories_.resize(static_cast<std::size_t>(Maps().NumMaps()));
}

MapDocument::~MapDocument()
{
    // A gesture's transaction that outlives the document must not reach it.
    if (open_)
        open_->document_ = nullptr;
}

const MapHandler& MapDocument::Maps() const
{
    return project_.maps_;
}

MapHandler& MapDocument::Words()
{
    return project_.maps_;
}

// --- the saved state ---

bool MapDocument::Changed() const
{
    // A stroke's words are on the map before its release records them.
    return unhistoried_ || (open_ && open_->Told()) ||
           std::any_of(histories_.begin(), histories_.end(), [](const UR_Manager& h) { return !h.AtSaved(); });
}

void MapDocument::MarkSaved()
{
    unhistoried_ = false;
    for (UR_Manager& history : histories_)
        history.MarkSaved();
    TellSavedState();
}

void MapDocument::TellSavedState()
{
    const bool changed = Changed();
    if (changed == toldChanged_)
        return;
    toldChanged_ = changed;
    DocumentChange notice;
    notice.What = DocumentChange::Kind::SavedState;
    notice.Changed = changed;
    Notify(notice);
}

// --- gestures ---

void MapDocument::HoldGesture(std::function<void()> end)
{
    endGesture_ = std::move(end);
}

void MapDocument::ReleaseGesture()
{
    endGesture_ = nullptr;
}

bool MapDocument::EndGesture()
{
    if (!endGesture_)
        return false;
    const std::function<void()> end = std::exchange(endGesture_, nullptr);
    end();
    return true;
}

// --- transactions ---

MapDocument::Transaction MapDocument::Begin()
{
    EndGesture();
    if (open_)
        throw std::logic_error("A change of the maps was started while another one is open.");
    return Transaction(*this);
}

// --- undo and redo ---

bool MapDocument::CanStep(HistoryStep direction) const
{
    if (GestureHeld() || open_ || NumMaps() == 0)
        return false;
    return History(CurrentMap()).CanStep(direction);
}

bool MapDocument::Step(HistoryStep direction)
{
    if (!CanStep(direction))
        return false;
    const int map = CurrentMap();
    if (!histories_.at(static_cast<std::size_t>(map)).Step(direction, Words().Current()))
        return false;
    DocumentChange notice;
    notice.Map = map;
    Notify(notice);
    TellSavedState();
    return true;
}

void MapDocument::RebuildHistories()
{
    if (Changed())
        unhistoried_ = true;
    histories_.clear();
    histories_.resize(static_cast<std::size_t>(NumMaps()));
    TellSavedState();
}

// --- the current map ---

bool MapDocument::SetCurrentMap(int map)
{
    EndGesture();
    if (map < 0 || map >= NumMaps() || open_)
        return false;
    Words().CurrentMap = map;
    DocumentChange notice;
    notice.What = DocumentChange::Kind::CurrentMap;
    notice.Map = map;
    Notify(notice);
    return true;
}

// --- storage ---

void MapDocument::ChangeStorage(const std::function<void(MapHandler&)>& change)
{
    // The settings alone are copied: the maps step aside meanwhile.
    MapHandler& maps = Words();
    MapHandler copy;
    {
        std::vector<MapList> kept = std::move(maps.Maps);
        std::vector<MapType> headers = std::move(maps.Headers);
        struct PutBack {
            MapHandler& maps;
            std::vector<MapList>& kept;
            std::vector<MapType>& headers;
            ~PutBack()
            {
                maps.Maps = std::move(kept);
                maps.Headers = std::move(headers);
            }
        } putBack{maps, kept, headers};
        copy = maps;
    }
    const std::int32_t before = copy.NameLength;
    change(copy);
    maps.RLEWTag = copy.RLEWTag;
    maps.NearTag = copy.NearTag;
    maps.FarTag = copy.FarTag;
    maps.Compression = copy.Compression;
    maps.ExtendedMapNames = copy.ExtendedMapNames;
    maps.NameLength = copy.NameLength;
    maps.WDCCompatibleMaps = copy.WDCCompatibleMaps;
    maps.LoadedWithDamage = copy.LoadedWithDamage;
    maps.DamagedSaveAgreed = copy.DamagedSaveAgreed;
    if (copy.NameLength == before)
        return;
    DocumentChange notice;
    notice.What = DocumentChange::Kind::Storage; // a name is shown cut to the name length
    Notify(notice);
}

// --- the project ---

void MapDocument::TakeRules(RulesLoad rules)
{
    project_.Rules = std::move(rules);
    DocumentChange notice;
    notice.What = DocumentChange::Kind::Rules;
    Notify(notice);
}

void MapDocument::SymbolsReloaded()
{
    DocumentChange notice;
    notice.What = DocumentChange::Kind::Symbols;
    Notify(notice);
}

// --- the transaction ---

MapDocument::Transaction::Transaction(MapDocument& document) : document_(&document)
{
    document.open_ = this;
}

MapDocument::Transaction::Transaction(Transaction&& other) noexcept
    : document_(std::exchange(other.document_, nullptr)), maps_(std::move(other.maps_)), set_(std::move(other.set_))
{
    if (document_)
        document_->open_ = this;
}

MapDocument::Transaction::~Transaction()
{
    if (document_)
        Abandon();
}

void MapDocument::Transaction::Close()
{
    if (document_ && document_->open_ == this)
        document_->open_ = nullptr;
    document_ = nullptr;
    maps_.clear();
    set_.reset();
}

MapDocument::Transaction::Kept& MapDocument::Transaction::KeepName(int map)
{
    if (!document_)
        throw std::logic_error("The change of the maps is closed.");
    const MapHandler& maps = document_->Maps();
    if (map < 0 || map >= maps.NumMaps())
        throw std::out_of_range("There is no map " + std::to_string(map) + ".");
    auto found = std::find_if(maps_.begin(), maps_.end(), [map](const Kept& k) { return k.map == map; });
    if (found != maps_.end())
        return *found;
    const MapList& words = maps.Maps[static_cast<std::size_t>(map)];
    Kept kept;
    kept.map = map;
    kept.before.Width = words.Width;
    kept.before.Height = words.Height;
    kept.before.Name = words.Name;
    kept.before.Planes.resize(words.Planes.size());
    kept.planes.assign(words.Planes.size(), false);
    maps_.push_back(std::move(kept));
    return maps_.back();
}

void MapDocument::Transaction::Rename(int map, std::vector<std::uint8_t> name)
{
    KeepName(map);
    document_->Words().Maps[static_cast<std::size_t>(map)].Name = std::move(name);
}

int MapDocument::Transaction::PlaneOf(int map, int plane)
{
    KeepName(map); // the map is there
    const MapList& words = document_->Maps().Maps[static_cast<std::size_t>(map)];
    if (plane < 0 || static_cast<std::size_t>(plane) >= words.Planes.size())
        throw std::out_of_range("Map " + std::to_string(map) + " has no plane " + std::to_string(plane) + ".");
    return plane;
}

MapDocument::Transaction::Kept& MapDocument::Transaction::Keep(int map, int scope)
{
    Kept& found = KeepName(map);
    const MapList& words = document_->Maps().Maps[static_cast<std::size_t>(map)];
    found.words = true;
    // A plane not declared before cannot have changed: its words now are
    // the words before the transaction.
    for (std::size_t p = 0; p < words.Planes.size() && p < found.planes.size(); ++p)
        if ((scope == kAllPlanes || static_cast<int>(p) == scope) && !found.planes[p]) {
            found.before.Planes[p] = words.Planes[p];
            found.planes[p] = true;
        }
    return found;
}

void MapDocument::Transaction::Pend(Kept& kept, int plane, const std::optional<TileRect>& region)
{
    const bool first = !kept.pending && !kept.pendingWhole;
    if (region && !kept.pendingWhole) {
        kept.pending = Joined(kept.pending, *region);
    } else {
        kept.pendingWhole = true;
        kept.pending.reset();
    }
    kept.pendingPlane = first || kept.pendingPlane == plane ? plane : kAllPlanes;
}

MapList& MapDocument::Transaction::Map(int map, std::optional<TileRect> region)
{
    Pend(Keep(map, kAllPlanes), kAllPlanes, region);
    return document_->Words().Maps[static_cast<std::size_t>(map)];
}

PlaneWriter MapDocument::Transaction::Plane(int map, int plane, std::optional<TileRect> region)
{
    Kept& kept = Keep(map, PlaneOf(map, plane));
    Pend(kept, plane, region);
    return PlaneWriter(document_->Words().Maps[static_cast<std::size_t>(map)], static_cast<std::size_t>(plane));
}

void MapDocument::Transaction::SetWord(int map, int plane, int x, int y, std::uint16_t word)
{
    Kept& kept = Keep(map, PlaneOf(map, plane));
    MapList& words = document_->Words().Maps[static_cast<std::size_t>(map)];
    if (x < 0 || y < 0 || x >= words.Width || y >= words.Height)
        return;
    words.SetWord(static_cast<std::size_t>(plane), x, y, word);
    Pend(kept, plane, TileRect{x, y, x, y});
}

MapHandler& MapDocument::Transaction::Set()
{
    if (!document_)
        throw std::logic_error("The change of the maps is closed.");
    if (!set_)
        set_ = std::make_unique<MapHandler>(document_->Maps());
    return document_->Words();
}

void MapDocument::Transaction::Publish()
{
    if (!document_ || set_)
        return; // a change of the set is told whole at its commit
    for (Kept& kept : maps_) {
        if (!kept.pending && !kept.pendingWhole)
            continue;
        DocumentChange notice;
        notice.Map = kept.map;
        notice.Plane = kept.pendingPlane;
        if (!kept.pendingWhole)
            notice.Region = kept.pending;
        kept.pending.reset();
        kept.pendingWhole = false;
        kept.pendingPlane = kAllPlanes;
        kept.told = true;
        document_->Notify(notice);
    }
    document_->TellSavedState();
}

void MapDocument::Transaction::Commit()
{
    if (!document_)
        return;
    MapDocument& document = *document_;
    if (set_) {
        // A new list of maps: no step of the old histories fits it.
        Close();
        document.unhistoried_ = true;
        document.histories_.clear();
        document.histories_.resize(static_cast<std::size_t>(document.NumMaps()));
        DocumentChange notice;
        notice.What = DocumentChange::Kind::MapList;
        document.Notify(notice);
        document.TellSavedState();
        return;
    }
    Publish();
    std::vector<int> renamed;
    for (Kept& kept : maps_) {
        const MapList& after = document.Maps().Maps[static_cast<std::size_t>(kept.map)];
        if (kept.words) {
            UR_Manager& history = document.histories_.at(static_cast<std::size_t>(kept.map));
            std::vector<int> planes;
            for (std::size_t p = 0; p < kept.planes.size(); ++p)
                if (kept.planes[p])
                    planes.push_back(static_cast<int>(p));
            history.PushUndoStep(kept.before, planes);
            history.PushRedoStep(after);
        }
        // No history holds a name.
        if (after.Name != kept.before.Name) {
            renamed.push_back(kept.map);
            document.unhistoried_ = true;
        }
    }
    Close();
    for (int map : renamed) {
        DocumentChange notice;
        notice.What = DocumentChange::Kind::Renamed;
        notice.Map = map;
        document.Notify(notice);
    }
    document.TellSavedState();
}

void MapDocument::Transaction::Abandon()
{
    if (!document_)
        return;
    MapDocument& document = *document_;
    const bool listChanged = set_ != nullptr;
    std::vector<int> told;
    // The set as Set() found it, then the maps changed before that as they
    // were (the list was the same then).
    if (set_)
        document.Words() = std::move(*set_);
    for (Kept& kept : maps_) {
        MapList& words = document.Words().Maps[static_cast<std::size_t>(kept.map)];
        words.Width = kept.before.Width;
        words.Height = kept.before.Height;
        words.Name = kept.before.Name;
        for (std::size_t p = 0; p < kept.planes.size() && p < words.Planes.size(); ++p)
            if (kept.planes[p])
                words.Planes[p] = std::move(kept.before.Planes[p]);
        if (kept.told)
            told.push_back(kept.map);
    }
    Close();
    // Listeners saw words (or a list) that are gone again.
    if (listChanged) {
        DocumentChange notice;
        notice.What = DocumentChange::Kind::MapList;
        document.Notify(notice);
    } else {
        for (int map : told) {
            DocumentChange notice;
            notice.Map = map;
            document.Notify(notice);
        }
    }
    document.TellSavedState();
}

} // namespace tsl
