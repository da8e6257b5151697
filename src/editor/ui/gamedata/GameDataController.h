#pragma once
// The game's other data as the main window edits it: its pictures, fonts
// and texts (VGAHEAD, VGADICT, VGAGRAPH) and its sounds and music (AUDIOHED,
// AUDIOT), each with an undo history of its own (SnapshotHistory), in six
// tabs of "Game Pictures and Sounds" beside the page file's. The tabs' requests
// (export, replace, play, undo, redo) are done here, every question and
// message through the Prompter; the window's title and the question before
// closing count these changes with the maps', and Save writes only the files
// that changed, with backups.

#include "audio/AudioSet.h"
#include "core/BackupGenerations.h"
#include "core/Prompter.h"
#include "editor/document/DataDocument.h"
#include "editor/keeping/KeptGameData.h"
#include "editor/ui/gamedata/TGameDataPane.h"
#include "graphics/Palette.h"
#include "vgagraph/GraphicsSet.h"

#include <QObject>

#include <map>
#include <memory>
#include <optional>

class QWidget;

namespace tsl {

class EditorSession;
class SoundOutput;
class TPageBrowserBox;
class ViewState;

class GameDataController : public QObject {
    Q_OBJECT
public:
    GameDataController(QWidget* window, Prompter& prompter, ViewState& state);

    // A new session: its game's files are read (a file that is missing
    // leaves its tabs out; a damaged one is said when the tabs are shown).
    void Attach(EditorSession* session);
    void Leave();

    bool HasPictures() const { return graphics_.has_value(); }
    bool HasSounds() const { return audio_.has_value(); }
    const GraphicsSet* Pictures() const { return graphics_ ? &graphics_->document->Current() : nullptr; }
    const AudioSet* Sounds() const { return audio_ ? &audio_->document->Current() : nullptr; }
    // The documents the autosave keeps and a recovery gives back.
    std::vector<KeptDocument*> Kept() const;
    // The pictures or the sounds differ from their files.
    bool Changed() const;
    // Writes what changed, with backups under `backups`; a failure is shown
    // here. True when saved (or nothing was to save).
    bool Save(const BackupPolicy& backups);

    // The tabs in `browser` (added at the first call) with what they show.
    void ShowIn(TPageBrowserBox& browser);
    TGameDataPane* Pane(TGameDataPane::Kind kind) const;
    // Where sounds play; none: the panes say there is no output.
    void SetSoundOutput(SoundOutput* output) { output_ = output; }
    // Replaces a chunk from a file, as a drop on its row does.
    void ReplaceFrom(TGameDataPane::Kind kind, int chunk, const std::filesystem::path& file);

signals:
    // Changed() turned.
    void savedStateChanged();

private:
    struct PictureData {
        GraphicsPaths paths;
        std::unique_ptr<DataDocument<GraphicsSet>> document;
        std::unique_ptr<KeptGraphics> kept;
        DataDocument<GraphicsSet>::Token following;
    };
    struct SoundData {
        AudioPaths paths;
        std::unique_ptr<DataDocument<AudioSet>> document;
        std::unique_ptr<KeptAudio> kept;
        DataDocument<AudioSet>::Token following;
    };
    static bool OfPictures(TGameDataPane::Kind kind);
    void Refresh();
    std::vector<TGameDataPane::Row> RowsOf(TGameDataPane::Kind kind) const;
    std::string ChunkTitle(TGameDataPane::Kind kind, int chunk) const;
    void onExport(TGameDataPane::Kind kind, int chunk);
    void onExportAll(TGameDataPane::Kind kind);
    void onReplace(TGameDataPane::Kind kind, int chunk);
    void onPlay(int chunk);
    void Undo(TGameDataPane::Kind kind, bool redo);
    // After a change: the panes, and the saved state when it turned.
    void Follow();

    QWidget* window_;
    Prompter& prompter_;
    ViewState& state_;
    Palette palette_;
    std::optional<PictureData> graphics_;
    std::optional<SoundData> audio_;
    std::vector<Failure> unread_; // files that did not read, said once when the tabs show
    std::map<TGameDataPane::Kind, TGameDataPane*> panes_;
    SoundOutput* output_ = nullptr;
    bool changed_ = false; // Changed() at the last notice
};

} // namespace tsl
