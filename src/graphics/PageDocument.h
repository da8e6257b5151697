#pragma once
// The open page file as a document beside the map set: the page set, its
// own undo history, the saved state, and notices of what changed, so that
// a browser, the map view and the 3D preview can follow an edit without
// being called one by one. Every change is one undoable step; a refused
// change leaves everything as it was and records nothing.

#include "core/BackupGenerations.h"
#include "core/Failure.h"
#include "core/Notifier.h"
#include "graphics/PageSet.h"
#include "graphics/Palette.h"
#include "graphics/PictureFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

// What one notice says.
struct PageChange {
    enum class Kind {
        Replaced,     // the picture of `chunk` is new; nothing moved
        Added,        // `chunk` is new (a wall: with its dark side); the chunks after it moved up
        Removed,      // `chunk` went (a wall: with its other side); the chunks after it moved down
        Sound,        // sound `sound` is new; from `chunk` on, chunks may have moved
        SoundAdded,   // sound `sound` is added, its chunks from `chunk`; the chunks after them moved up
        SoundRemoved, // sound `sound` went with its chunks from `chunk`; later sounds and chunks moved down
        Whole,        // the pages were replaced whole (recovered): anything may differ
        SavedState,   // the changed state is now `changed`
    };
    Kind kind = Kind::Replaced;
    int chunk = -1;
    int sound = -1;
    bool changed = false; // for SavedState
    friend bool operator==(const PageChange&, const PageChange&) = default;
};

class PageDocument {
public:
    using Token = Notifier<PageChange>::Token;
    // What a step does beyond the pages (the maps' words that follow the
    // walls it moves): called with `undo` false when the step is done or
    // redone and true when it is undone, before the pages change. A refusal
    // (the maps use a wall the step would take out) leaves the pages and
    // the history where they were.
    using Alongside = std::function<std::optional<Failure>(bool undo)>;

    PageDocument(PageSet pages, std::filesystem::path path);
    static Outcome<PageDocument> Open(const std::filesystem::path& path);

    const PageSet& Pages() const { return pages_; }
    const std::filesystem::path& Path() const { return path_; }
    // The pages as the views read them (the file the next save writes).
    Outcome<PageFile> AsPageFile() const;

    // Each is one step of the history. A picture goes into a wall or a
    // sprite chunk by the chunk's place.
    std::optional<Failure> ReplacePicture(int chunk, const PictureFile& picture, const Palette& palette);
    Outcome<int> AddWall(const PictureFile& picture, const Palette& palette);
    Outcome<int> AddSprite(const PictureFile& picture, const Palette& palette);
    std::optional<Failure> Remove(int chunk, const Alongside& alongside = {});
    // A wall whose sides take chunks `before` and `before` + 1, every later
    // wall one place up.
    Outcome<int> InsertWall(int before, const PictureFile& picture, const Palette& palette,
                            const Alongside& alongside = {});
    std::optional<Failure> ReplaceSound(int number, std::span<const std::uint8_t> samples);
    Outcome<int> AddSound(std::span<const std::uint8_t> samples);
    std::optional<Failure> RemoveSound(int number);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // What Undo and Redo would do ("Replace wall 12"); empty when nothing.
    std::string UndoName() const;
    std::string RedoName() const;
    // A refusal of the step's companion (see Alongside); nothing otherwise.
    std::optional<Failure> Undo();
    std::optional<Failure> Redo();

    // The pages of a recovery file in place of those read from the page
    // file: they count as changed (the file is not touched until a save)
    // and the history starts anew.
    void TakeRecovered(PageSet pages);

    // The pages differ from what was last saved (or opened).
    bool Changed() const { return !saved_ || *saved_ != position_; }
    // Writes the file through the safe writer, with a generation under
    // `backups`; `kept` and `tidied` as for SavePageFile.
    std::optional<Failure> Save(const BackupPolicy& backups, std::string* kept = nullptr,
                                std::string* tidied = nullptr);

    [[nodiscard]] Token Listen(std::function<void(const PageChange&)> listener)
    {
        return notifier_.Listen(std::move(listener));
    }

private:
    struct Step {
        std::string name;
        PageSet before;
        PageSet after;
        PageChange done;   // the notice when it is done or redone
        PageChange undone; // the notice when it is undone
        Alongside alongside;
    };
    Outcome<int> Add(bool wall, const PictureFile& picture, const Palette& palette);
    // Takes `after` as the pages, `alongside` done first: one step.
    std::optional<Failure> Change(std::string name, PageSet after, PageChange done, PageChange undone,
                                  const Alongside& alongside);
    void Record(std::string name, PageSet before, PageChange done, PageChange undone, Alongside alongside = {});
    std::optional<Failure> Go(bool undo);
    void Tell(const PageChange& change, bool wasChanged);
    std::string PictureName(int chunk) const;

    PageSet pages_;
    std::filesystem::path path_;
    std::vector<Step> steps_;
    std::size_t position_ = 0;             // steps done
    std::optional<std::size_t> saved_ = 0; // the position that was saved; none when no longer reachable
    Notifier<PageChange> notifier_;
};

} // namespace tsl
