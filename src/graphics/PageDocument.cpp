#include "graphics/PageDocument.h"

#include "graphics/PageFileSaving.h"
#include "graphics/PagePictureExchange.h"

#include <utility>

namespace tsl {

PageDocument::PageDocument(PageSet pages, std::filesystem::path path) : pages_(std::move(pages)), path_(std::move(path))
{
}

Outcome<PageDocument> PageDocument::Open(const std::filesystem::path& path)
{
    auto file = PageFile::Load(path);
    if (!file)
        return file.failure();
    return PageDocument(PageSet::From(*file), path);
}

Outcome<PageFile> PageDocument::AsPageFile() const
{
    auto bytes = pages_.Encode();
    if (!bytes)
        return bytes.failure();
    return PageFile::Parse(std::move(*bytes), path_.string());
}

std::string PageDocument::PictureName(int chunk) const
{
    return (chunk < pages_.FirstSpriteChunk() ? "wall " : "sprite ") + std::to_string(chunk);
}

void PageDocument::Tell(const PageChange& change, bool wasChanged)
{
    notifier_.Notify(change);
    if (Changed() != wasChanged)
        notifier_.Notify({PageChange::Kind::SavedState, -1, -1, Changed()});
}

void PageDocument::Record(std::string name, PageSet before, PageChange done, PageChange undone, Alongside alongside)
{
    const bool wasChanged = Changed();
    steps_.resize(position_);
    if (saved_ && *saved_ > position_)
        saved_.reset(); // the saved pages were undone and are now out of reach
    steps_.push_back({std::move(name), std::move(before), pages_, done, undone, std::move(alongside)});
    position_ = steps_.size();
    Tell(done, wasChanged);
}

std::optional<Failure> PageDocument::ReplacePicture(int chunk, const PictureFile& picture, const Palette& palette)
{
    const bool wall = chunk >= 0 && chunk < pages_.FirstSpriteChunk();
    if (!wall && (chunk < pages_.FirstSpriteChunk() || chunk >= pages_.FirstSoundChunk()))
        return Failure{"Chunk " + std::to_string(chunk) + " is no wall or sprite of the page file.", kPageEditCaption,
                       MessageIcon::Warning};
    auto bytes = wall ? WallFromPicture(picture, palette) : SpriteFromPicture(picture, palette);
    if (!bytes)
        return bytes.failure();
    PageSet before = pages_;
    if (auto refusal = pages_.Replace(chunk, std::move(*bytes)))
        return refusal;
    const PageChange change{PageChange::Kind::Replaced, chunk};
    Record("Replace " + PictureName(chunk), std::move(before), change, change);
    return std::nullopt;
}

Outcome<int> PageDocument::AddWall(const PictureFile& picture, const Palette& palette)
{
    return Add(true, picture, palette);
}

Outcome<int> PageDocument::AddSprite(const PictureFile& picture, const Palette& palette)
{
    return Add(false, picture, palette);
}

Outcome<int> PageDocument::Add(bool wall, const PictureFile& picture, const Palette& palette)
{
    auto bytes = wall ? WallFromPicture(picture, palette) : SpriteFromPicture(picture, palette);
    if (!bytes)
        return bytes.failure();
    PageSet before = pages_;
    auto chunk = wall ? pages_.AddWall(std::move(*bytes)) : pages_.AddSprite(std::move(*bytes));
    if (chunk)
        Record("Add " + PictureName(*chunk), std::move(before), {PageChange::Kind::Added, *chunk},
               {PageChange::Kind::Removed, *chunk});
    return chunk;
}

std::optional<Failure> PageDocument::Change(std::string name, PageSet after, PageChange done, PageChange undone,
                                            const Alongside& alongside)
{
    if (alongside)
        if (auto refusal = alongside(false))
            return refusal;
    PageSet before = std::exchange(pages_, std::move(after));
    Record(std::move(name), std::move(before), done, undone, alongside);
    return std::nullopt;
}

std::optional<Failure> PageDocument::Remove(int chunk, const Alongside& alongside)
{
    PageSet after = pages_;
    if (auto refusal = after.Remove(chunk))
        return refusal;
    return Change("Remove " + PictureName(chunk), std::move(after), {PageChange::Kind::Removed, chunk},
                  {PageChange::Kind::Added, chunk}, alongside);
}

Outcome<int> PageDocument::InsertWall(int before, const PictureFile& picture, const Palette& palette,
                                      const Alongside& alongside)
{
    auto bytes = WallFromPicture(picture, palette);
    if (!bytes)
        return bytes.failure();
    PageSet after = pages_;
    auto chunk = after.AddWall(std::move(*bytes), before);
    if (!chunk)
        return chunk;
    if (auto refusal = Change("Add " + PictureName(*chunk), std::move(after), {PageChange::Kind::Added, *chunk},
                              {PageChange::Kind::Removed, *chunk}, alongside))
        return *refusal;
    return chunk;
}

std::optional<Failure> PageDocument::ReplaceSound(int number, std::span<const std::uint8_t> samples)
{
    PageSet before = pages_;
    if (auto refusal = pages_.ReplaceSound(number, samples))
        return refusal;
    const int first = pages_.Sounds()[static_cast<std::size_t>(number)].firstChunk;
    const PageChange change{PageChange::Kind::Sound, first, number};
    Record("Replace sound " + std::to_string(number), std::move(before), change, change);
    return std::nullopt;
}

Outcome<int> PageDocument::AddSound(std::span<const std::uint8_t> samples)
{
    PageSet before = pages_;
    auto number = pages_.AddSound(samples);
    if (number) {
        const int first = pages_.Sounds()[static_cast<std::size_t>(*number)].firstChunk;
        Record("Add sound " + std::to_string(*number), std::move(before), {PageChange::Kind::SoundAdded, first, *number},
               {PageChange::Kind::SoundRemoved, first, *number});
    }
    return number;
}

std::optional<Failure> PageDocument::RemoveSound(int number)
{
    PageSet before = pages_;
    if (auto refusal = pages_.RemoveSound(number))
        return refusal;
    const int first = before.Sounds()[static_cast<std::size_t>(number)].firstChunk;
    Record("Remove sound " + std::to_string(number), std::move(before), {PageChange::Kind::SoundRemoved, first, number},
           {PageChange::Kind::SoundAdded, first, number});
    return std::nullopt;
}

std::string PageDocument::UndoName() const
{
    return CanUndo() ? steps_[position_ - 1].name : std::string();
}

std::string PageDocument::RedoName() const
{
    return CanRedo() ? steps_[position_].name : std::string();
}

std::optional<Failure> PageDocument::Undo()
{
    return CanUndo() ? Go(true) : std::nullopt;
}

std::optional<Failure> PageDocument::Redo()
{
    return CanRedo() ? Go(false) : std::nullopt;
}

std::optional<Failure> PageDocument::Go(bool undo)
{
    const bool wasChanged = Changed();
    const Step& step = steps_[undo ? position_ - 1 : position_];
    if (step.alongside)
        if (auto refusal = step.alongside(undo))
            return refusal;
    pages_ = undo ? step.before : step.after;
    position_ = undo ? position_ - 1 : position_ + 1;
    Tell(undo ? step.undone : step.done, wasChanged);
    return std::nullopt;
}

void PageDocument::TakeRecovered(PageSet pages)
{
    const bool wasChanged = Changed();
    pages_ = std::move(pages);
    steps_.clear();
    position_ = 0;
    saved_.reset(); // what the file holds is no longer in reach
    Tell({PageChange::Kind::Whole}, wasChanged);
}

std::optional<Failure> PageDocument::Save(const BackupPolicy& backups, std::string* kept, std::string* tidied)
{
    if (auto failure = SavePageFile(pages_, path_, backups, kept, tidied))
        return failure;
    const bool wasChanged = Changed();
    saved_ = position_;
    if (wasChanged)
        notifier_.Notify({PageChange::Kind::SavedState, -1, -1, false});
    return std::nullopt;
}

} // namespace tsl
