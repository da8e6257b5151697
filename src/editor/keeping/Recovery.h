#pragma once
// Autosave and recovery. While the maps have unsaved changes the editor now
// and then writes the whole set to a recovery file in the user's state
// folder, one per game folder: a TSL map file (it keeps every map's name,
// size and planes, and opens through Import Map too), with where the user
// was beside it (the map, the zoom and the buttons' values). The other
// documents of the game's data that are kept (KeptDocument: the page file)
// write their unsaved state beside it, "<key>.<extension>" next to
// "<key>.tsl"; these files are one recovery. When the game is opened again
// and a recovery newer than the files it stands for is there, the user is
// offered all of it back, and the editor returns to that place; a file of
// it that does not read refuses the whole recovery. Its files go after a
// save and when the user closes without saving; a recovery the user does
// not want is put aside under its time, never thrown away unasked, and
// put-aside files go after 30 days.
//
// AutosavePolicy decides when: it follows the documents' notices, so that
// every change, however it came, is work to save.

#include "core/FileSystem.h"
#include "core/MapHandler.h"
#include "core/Prompter.h"
#include "editor/document/MapDocument.h"
#include "editor/keeping/KeptDocument.h"

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tsl {

inline constexpr const char* kRecoverCaption = "Recover unsaved changes";
inline constexpr const char* kAutosaveCaption = "Autosave";
inline constexpr int kSetAsideDays = 30;

// <root>/<GameFolderKey(gameDir)>.tsl
std::filesystem::path RecoveryFilePath(const std::filesystem::path& root, const std::filesystem::path& gameDir);
// The recovery file of a kept document beside the maps' `recoveryFile`.
std::filesystem::path KeptFilePath(const std::filesystem::path& recoveryFile, const std::string& extension);

// Where the user was in the set: the map shown, the zoom position (0 ... 4)
// and each plane's left and right values.
struct EditorPlace {
    int Map = 0;
    int Zoom = 0;
    std::vector<std::uint16_t> Left;
    std::vector<std::uint16_t> Right;
    friend bool operator==(const EditorPlace&, const EditorPlace&) = default;
};
// The place kept beside a recovery file ("<key>.place" for "<key>.tsl").
std::filesystem::path PlaceFilePath(const std::filesystem::path& recoveryFile);
std::optional<Failure> WritePlaceFile(const std::filesystem::path& file, const EditorPlace& place);
// Nothing when the file is missing or not a place file.
std::optional<EditorPlace> ReadPlaceFile(const std::filesystem::path& file);

// What a recovery file holds (every map's name, size and planes, and the
// set's plane count and name length), copied: cheap enough for the editor's
// own thread, while the file is written on another.
MapHandler RecoverySnapshot(const MapHandler& maps);
// The same into an earlier snapshot, reusing its memory: the autosave's
// usual case, which spares the editor the allocation of a whole set.
void UpdateRecoverySnapshot(MapHandler& snapshot, const MapHandler& maps);
// Writes the snapshot as the recovery file, whole or not at all.
std::optional<Failure> WriteRecoveryFile(const std::filesystem::path& file, const MapHandler& snapshot);

// The recovery file's maps for the open set: all of them, or a failure when
// the file is not a TSL map file, is damaged or cut short, or holds another
// number of planes; never some of them.
Outcome<std::vector<MapList>> ReadRecoveryFile(const std::filesystem::path& file, const MapHandler& maps);
// What a recovery gives back: the maps (nothing when only other documents
// were kept), where the user was, and the kept documents' states.
struct RecoveredWork {
    std::optional<std::vector<MapList>> Maps;
    std::optional<EditorPlace> Place;
    std::vector<KeptDocument::Taking> Documents;
};
// Everything the recovery of `file` holds for the open set and the `kept`
// documents, read before anything changes: all of it, or the failure of the
// first file that does not read (the documents then stay as they are).
Outcome<RecoveredWork> ReadRecovery(const std::filesystem::path& file, const MapHandler& maps,
                                    const std::vector<KeptDocument*>& kept);

// The recovered maps take the place of the loaded ones, with headers to
// match, in one transaction: the set counts as changed (the game files are
// not touched) and every history starts anew; the first map is current.
void UseRecoveredMaps(MapDocument& document, std::vector<MapList> recovered);
// The maps as above, then each kept document's state.
void UseRecoveredWork(MapDocument& document, RecoveredWork work);

// When the recovery was last written (its newest file); nothing when there
// is none.
std::optional<std::chrono::sys_seconds> RecoveryTime(const std::filesystem::path& file);
// True when the recovery exists and each of its files was written after
// the files it stands for (or at the same tick of the clock): the maps'
// after every map file of the set, a kept document's after its document's
// file. A file of it that no document of `kept` claims makes it false.
bool RecoveryIsNewer(const std::filesystem::path& file, const MapHandler& maps,
                     const std::vector<KeptDocument*>& kept = {});

// The question at open (Yes: recover; No: put the recovery aside), naming
// the kept documents whose files the recovery holds.
Question RecoveryQuestion(const std::filesystem::path& file, std::chrono::sys_seconds time,
                          const std::vector<KeptDocument*>& kept = {});

// "No" to the question: each file of the recovery renamed with its time
// ("wl6-1f3a09c2-20250314T101502Z.tsl"); the new path of the maps' file, or
// of the first other one when there is none. Its place goes.
Outcome<std::filesystem::path> SetRecoveryAside(const std::filesystem::path& file);
// After a save, or when the user closes without saving: every file of the
// recovery, its place with it.
std::optional<DiskError> RemoveRecoveryFile(const std::filesystem::path& file);
// Put-aside files of every game older than 30 days by the time in their
// names; how many were removed.
int RemoveOldRecoveries(const std::filesystem::path& root, std::chrono::system_clock::time_point now);

// Writes one project's recovery files on a thread of its own, so that an
// autosave costs the editor only the copy of the maps. Save takes the copy
// and returns; a copy taken while a write runs waits, and a newer one
// replaces it. A write that failed is told once through TakeFailure.
class Autosaver {
public:
    explicit Autosaver(std::filesystem::path file);
    // Finishes what is waiting to be written.
    ~Autosaver();
    Autosaver(const Autosaver&) = delete;
    Autosaver& operator=(const Autosaver&) = delete;

    const std::filesystem::path& File() const { return file_; }
    void Save(const MapHandler& maps, const std::optional<EditorPlace>& place = std::nullopt);
    // The place alone, beside maps written before.
    void SavePlace(const EditorPlace& place);
    // A kept document's state (`name` says whose in a failure), written
    // as "<key>.<extension>"; a newer one replaces one still waiting.
    void Keep(const std::string& extension, const std::string& name, KeptDocument::Keeping keeping);
    // Removes one file of the recovery ("tsl": the maps'), after whatever
    // was asked before.
    void Drop(const std::string& extension);
    // Returns once nothing is waiting or being written.
    void Wait();
    std::optional<Failure> TakeFailure();
    // Drops what waits, lets a running write end, and removes the file.
    std::optional<DiskError> Discard();

private:
    void Run();

    std::filesystem::path file_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<MapHandler> waiting_;
    std::optional<EditorPlace> place_; // written with the waiting snapshot
    struct KeptJob {
        std::string name;              // the document's, for a failure
        KeptDocument::Keeping keeping; // none: remove the file
    };
    std::map<std::string, KeptJob> kept_; // by extension
    MapHandler spare_; // the last snapshot written, to be filled again
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<Failure> failure_;
    std::thread worker_;
};

// When the unsaved work is autosaved, driven by the documents: every notice
// of a change marks work to save, and each tick of the window's timer writes
// what is marked while its document differs from its files (the place alone
// when only it moved), or removes its file once they are as the files hold
// them again (undone, or saved); the place goes with the last of them.
class AutosavePolicy {
public:
    // Writes `file` for `document` and the kept documents' files beside it;
    // all must outlive the policy.
    AutosavePolicy(std::filesystem::path file, MapDocument& document, std::vector<KeptDocument*> kept = {});

    // The timer's tick, with where the user is now; the first failure of a
    // write, once per policy.
    std::optional<Failure> Tick(const EditorPlace& place);
    // The maps were saved or given up: the file goes, nothing is due.
    void Forget();
    // A change is waiting for the next tick.
    bool Due() const;
    Autosaver& Saver() { return saver_; }

private:
    struct Kept {
        KeptDocument* document = nullptr;
        bool due = false;
        bool written = false; // its file holds a state not saved since
        KeptDocument::Token following;
    };
    Autosaver saver_;
    MapDocument& document_;
    bool due_ = false;
    bool written_ = false; // the file holds maps not saved since
    bool placeWritten_ = false;
    EditorPlace writtenPlace_;
    bool failureTold_ = false;
    DocumentToken following_;
    std::vector<Kept> kept_;
};

} // namespace tsl
