#pragma once
// The open map set as a document: it owns the maps (through its project),
// one undo history per map, the marks of the last save and the changed
// state, and it is the only way to change a word of the set.
//
// Every change of words is a Transaction: opened by Begin, changed through
// the transaction (the only place that hands out the maps' words for
// writing), then committed, which records one undo step on each map it
// touched; an abandon, or an exception that leaves the transaction's scope,
// puts every word back as it was. Begin first ends a gesture still held in
// the map view, exactly as its release at the last tile reached would, so no
// command can cut into a stroke; a transaction opened while another one is
// open is refused (std::logic_error): they never nest.
//
// A pointer gesture registers itself with HoldGesture from its press to its
// release; meanwhile Undo and Redo are refused, and a change of the current
// map ends it first as well.
//
// Listeners hear what changed (DocumentChange), each kind a notice of its
// own: the words of a map in a region of one plane or all, another current
// map, the list of maps, a map's name, the set's storage settings, the rules
// of play, the symbol tables, the saved state. Each listener follows the
// kinds it needs: the map view redraws the region, the 3D preview rebuilds
// its cells (and a rename leaves it and its walk alone), the autosave marks
// work to save, the title follows the names and the saved state; nobody
// calls them one by one after a command. A listener is told while a
// transaction may still be open (a stroke's words as they come): it reads
// the maps, and opens no transaction of its own from the notice.
//
// A command is written the same way whoever adds it:
//
//     auto change = document.Begin();     // a gesture still held ends here
//     Autofloor(change.Current(), range); // the words, for writing
//     change.Commit();                    // one undo step; the listeners hear it

#include "core/MapHandler.h"
#include "core/Notifier.h"
#include "core/Prompter.h"
#include "core/TileRect.h"
#include "engine/StructureRules.h"
#include "editor/document/UndoHistory.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tsl {

class Project;

// One notice of the document.
struct DocumentChange {
    enum class Kind {
        Words,      // the words of map `Map` changed: plane `Plane` (or kAllPlanes) in `Region`
        CurrentMap, // map `Map` is the current one now
        MapList,    // maps added, removed or replaced, or the set read anew: anything may differ
        Renamed,    // map `Map` has another name; no word moved
        Storage,    // the set's settings beside its words changed (the name length: names show cut)
        Rules,      // the project's rules of play were taken anew
        Symbols,    // the project's symbol tables were read anew (new symbols, or new planes)
        SavedState, // Changed() is `Changed` now
    };
    Kind What = Kind::Words;
    int Map = -1;
    int Plane = kAllPlanes;
    // The tiles that changed; nothing: the whole map, whose size may have changed too.
    std::optional<TileRect> Region;
    bool Changed = false;
};

using DocumentNotifier = Notifier<DocumentChange>;
using DocumentToken = DocumentNotifier::Token;

class MapDocument {
public:
    class Transaction;

    // The maps of `project`, which must outlive the document; as opened,
    // they are as their files hold them.
    explicit MapDocument(Project& project);
    ~MapDocument();
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // --- reading ---
    const MapHandler& Maps() const;
    int NumMaps() const { return Maps().NumMaps(); }
    int CurrentMap() const { return Maps().CurrentMap; }
    const MapList& Current() const { return Maps().Current(); }

    // --- the saved state ---
    // True while the maps differ from their files: a history away from
    // where the last save left it, a change no history holds (the map
    // list, a name, recovered maps), or words of an open transaction already
    // told (a stroke before its release).
    bool Changed() const;
    // The maps are as their files hold them now (after a save).
    void MarkSaved();

    // --- gestures held in the map view ---
    // A pointer button went down: `end` is how the gesture ends early (its
    // release at the last tile reached). Replaces a gesture still held.
    void HoldGesture(std::function<void()> end);
    // The button came up (the gesture ends itself).
    void ReleaseGesture();
    bool GestureHeld() const { return static_cast<bool>(endGesture_); }
    // Ends a held gesture as its release would; false when none was held.
    bool EndGesture();

    // --- changing words ---
    // Ends a held gesture, then opens the one transaction. Throws
    // std::logic_error while another transaction is open.
    Transaction Begin();
    bool TransactionOpen() const { return open_ != nullptr; }

    // --- undo and redo, on the current map ---
    // Never while a gesture is held or a transaction is open.
    bool CanStep(HistoryStep direction) const;
    // False when refused or when there was nothing to take back or do again.
    bool Step(HistoryStep direction);
    const UR_Manager& History(int map) const { return histories_.at(static_cast<std::size_t>(map)); }
    // Every history starts anew (new symbols, new planes); a change not yet
    // saved stays a change.
    void RebuildHistories();

    // --- the current map (no word changes) ---
    // Ends a held gesture first; false for a map that is not there.
    bool SetCurrentMap(int map);

    // --- the set's storage, beside its words ---
    // Settings of the set that are no words (tags, compression, name
    // length, whether it loaded damaged and the agreement to save it so):
    // `change` works on a copy of the set without its maps, of which only
    // those settings are taken back.
    void ChangeStorage(const std::function<void(MapHandler&)>& change);

    // --- what the project says about the words ---
    // The project plays by `rules` from now on.
    void TakeRules(RulesLoad rules);
    // The project's symbol tables were read anew (and the session's tools
    // started anew for them).
    void SymbolsReloaded();

    // --- notices ---
    [[nodiscard]] DocumentToken Listen(std::function<void(const DocumentChange&)> listener)
    {
        return notifier_.Listen(std::move(listener));
    }

private:
    friend class Transaction;
    MapHandler& Words();
    void Notify(const DocumentChange& change) const { notifier_.Notify(change); }
    // Sends SavedState when Changed() turned since it was last told.
    void TellSavedState();

    Project& project_;
    std::vector<UR_Manager> histories_;
    bool unhistoried_ = false; // a change no history holds
    bool toldChanged_ = false;
    std::function<void()> endGesture_;
    Transaction* open_ = nullptr;
    DocumentNotifier notifier_;
};

// One plane of one map that a transaction declared (Transaction::Plane): it
// writes that plane's words and nothing else, and cannot change their number.
class PlaneWriter {
public:
    int Width() const { return map_->Width; }
    int Height() const { return map_->Height; }
    std::uint16_t Word(int x, int y) const { return map_->Word(plane_, x, y); }
    void SetWord(int x, int y, std::uint16_t word) { map_->SetWord(plane_, x, y, word); }
    // Every word of the plane, row by row (a flood fill, a replacement).
    std::span<std::uint16_t> Words() { return map_->Planes[plane_]; }

private:
    friend class MapDocument;
    PlaneWriter(MapList& map, std::size_t plane) : map_(&map), plane_(plane) {}
    MapList* map_;
    std::size_t plane_;
};

// One change of the document's words (see MapDocument). Moves, never copies;
// abandoned when it goes uncommitted.
//
// It writes only what it declared: a plane of a map (Plane, SetWord) or a
// whole map (Map, Current). Each plane's words are kept the first time it is
// declared, before anything can change them, so a transaction that goes on
// to other planes of a map, or to the whole map, records every plane it may
// have written and no other: its undo step never puts back words it did not
// record.
class MapDocument::Transaction {
public:
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;
    ~Transaction();

    // Map `map` to change, every plane and its size: its state is kept from
    // the first call on, for the undo step and for an abandon. The notice
    // names `region`, or the whole map.
    MapList& Map(int map, std::optional<TileRect> region = std::nullopt);
    MapList& Current(std::optional<TileRect> region = std::nullopt) { return Map(document_->CurrentMap(), region); }
    // Plane `plane` of map `map` to change, and nothing else of it.
    PlaneWriter Plane(int map, int plane, std::optional<TileRect> region = std::nullopt);
    // One word of plane `plane`, the tile joining the notice's region: the
    // pencil's way.
    void SetWord(int map, int plane, int x, int y, std::uint16_t word);
    // A new name for map `map`: no history holds a name, so this records no
    // step (the set counts as changed), and an abandon puts the old one back.
    void Rename(int map, std::vector<std::uint8_t> name);
    // The whole set: maps added, removed or replaced, names and the current
    // map. At the commit every history starts anew and the set counts as
    // changed; an abandon puts the whole set back.
    MapHandler& Set();

    // Tells the listeners what changed so far (the words of a gesture as they
    // come); the commit tells the rest.
    void Publish();
    // Records one undo step per map touched and closes the transaction.
    void Commit();
    // Puts every word back and closes the transaction.
    void Abandon();
    bool Open() const { return document_ != nullptr; }
    // Whether it touched anything yet, and whether listeners heard of it.
    bool Touched() const { return !maps_.empty() || set_ != nullptr; }
    bool Told() const
    {
        return std::any_of(maps_.begin(), maps_.end(), [](const Kept& kept) { return kept.told; });
    }

private:
    friend class MapDocument;
    explicit Transaction(MapDocument& document);

    struct Kept {
        int map = 0;
        MapList before;            // size and name; the planes declared (others left empty)
        std::vector<bool> planes;  // which planes `before` holds
        std::optional<TileRect> pending; // tiles not yet told
        bool pendingWhole = false;
        int pendingPlane = kAllPlanes;
        bool told = false;         // something of this map was told
        bool words = false;        // kept for its words, not only its name
    };
    // Keeps the planes of `map` in `scope` (a plane, or kAllPlanes) not kept yet.
    Kept& Keep(int map, int scope);
    Kept& KeepName(int map);
    // `plane`, when map `map` has it (std::out_of_range otherwise).
    int PlaneOf(int map, int plane);
    // The notice of `kept` joins `region` (nothing: the whole map) of `plane`.
    static void Pend(Kept& kept, int plane, const std::optional<TileRect>& region);
    void Close();

    MapDocument* document_;
    std::vector<Kept> maps_;
    std::unique_ptr<MapHandler> set_; // the whole set before Set()
};

} // namespace tsl
