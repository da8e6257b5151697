#pragma once
// The game's page file as the main window edits it: the page document of the
// open project (made from the page file the map view read), the "Game
// Pictures and Sounds" browser (made at its first use) and the sound output.
// It follows the document's notices: a picture replaced goes into the view
// state, which the map view and the 3D preview follow (only that chunk is
// read again; chunks added or removed make them read every picture), the
// browser lists the pages anew and the window's title follows the saved
// state. The browser's
// requests (export, replace, add, remove, play, undo, redo) are done here,
// every question and message through the Prompter; a wall removed or added
// in the middle takes the maps' words with it (see WallNumbers).

#include "core/BackupGenerations.h"
#include "core/Failure.h"
#include "core/Prompter.h"
#include "editor/ui/gamedata/SoundOutput.h"
#include "editor/keeping/KeptPages.h"
#include "editor/ui/gamedata/TPageBrowserBox.h"
#include "editor/view/ViewState.h"
#include "graphics/PageDocument.h"

#include <QObject>

#include <filesystem>
#include <memory>
#include <optional>

class QWidget;

namespace tsl {

class EditorSession;

class PagesController : public QObject {
    Q_OBJECT
public:
    // The browser is a window of `window`'s; the pictures the document
    // changes go into `state` (which must outlive the controller).
    PagesController(QWidget* window, Prompter& prompter, ViewState& state);
    ~PagesController() override;

    // A new session with the pictures of the view state (none: the game has
    // no page file to edit, and the browser closes).
    void Attach(EditorSession* session);
    // Before the session goes.
    void Leave();

    // The page document; nothing without a page file.
    PageDocument* Document() const { return document_.get(); }
    // The page document as the autosave keeps it; nothing without a page file.
    KeptDocument* Kept() const { return kept_.get(); }
    // The page file differs from its file.
    bool Changed() const { return document_ && document_->Changed(); }
    // Writes the page file with a backup generation under `backups`; the
    // failure is shown here. True when saved (or nothing was to save);
    // `tidied` receives the note on leftovers of interrupted saves removed.
    bool Save(const BackupPolicy& backups, std::string* tidied = nullptr);

    // The browser shown (made when there is none) and raised.
    TPageBrowserBox& Show();
    TPageBrowserBox* Browser() const { return browser_; }
    // Where the sounds play (the system's default output unless set).
    void SetSoundOutput(std::unique_ptr<SoundOutput> output) { output_ = std::move(output); }

signals:
    // Changed() turned.
    void savedStateChanged();
    // The user wants Find and Replace on the word of a wall the maps use.
    void findWallAsked(int wall);

private:
    void Follow(const PageChange& change);
    void ShowPictures(std::optional<int> chunk);
    void ShowInBrowser();
    void onExport(TPageBrowserBox::Item item);
    void onExportAll();
    void onReplace(TPageBrowserBox::Item item);
    void ReplaceFrom(TPageBrowserBox::Item item, const std::filesystem::path& file);
    void onAdd(TPageBrowserBox::Tab tab);
    void onInsert(TPageBrowserBox::Item item);
    void onRemove(TPageBrowserBox::Item item);
    void RemoveWallAsked(int wall);
    // The question before later walls move; true for "Renumber".
    bool AgreeToRenumber(const std::optional<std::string>& question);
    void onPlay(int sound);
    // Shows a refusal, when there is one.
    void Done(const std::optional<Failure>& failure);

    QWidget* window_;
    Prompter& prompter_;
    ViewState& state_;
    EditorSession* session_ = nullptr;
    std::unique_ptr<PageDocument> document_;
    std::unique_ptr<KeptPages> kept_;
    PageDocument::Token following_;
    TPageBrowserBox* browser_ = nullptr;
    std::unique_ptr<SoundOutput> output_;
};

} // namespace tsl
