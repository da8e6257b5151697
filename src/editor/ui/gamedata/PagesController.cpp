#include "editor/ui/gamedata/PagesController.h"

#include "core/FileSystem.h"
#include "editor/operations/WallNumbers.h"
#include "editor/session/EditorSession.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/PageWords.h"
#include "graphics/PageExport.h"
#include "graphics/PageFileSaving.h"
#include "graphics/PagePictureExchange.h"
#include "graphics/SoundFiles.h"

#include <QAction>
#include <QWidget>

namespace tsl {

namespace {

const FileFilter kPictureFilter{"Pictures (*.png;*.bmp)|*.png;*.bmp|All Files (*.*)|*.*", 0};
// Pictures go out as indexed PNG only: the palette indices and the
// transparency of sprites come back in unchanged from it.
const FileFilter kPictureExportFilter{"PNG Pictures (*.png)|*.png", 0};
const FileFilter kSoundFilter{"WAV Files (*.wav)|*.wav|All Files (*.*)|*.*", 0};

using Item = TPageBrowserBox::Item;
using Tab = TPageBrowserBox::Tab;

// "wall 12", "sprite 106", "sound 3": what an item is called in titles.
std::string NameOf(const Item& item)
{
    if (item.tab == Tab::Sounds)
        return "sound " + std::to_string(item.sound);
    return (item.tab == Tab::Walls ? "wall " : "sprite ") + std::to_string(item.chunk);
}

} // namespace

PagesController::PagesController(QWidget* window, Prompter& prompter, ViewState& state)
    : QObject(window), window_(window), prompter_(prompter), state_(state), output_(MakeSystemSoundOutput())
{
}

PagesController::~PagesController()
{
    following_.Reset();
}

void PagesController::Attach(EditorSession* session)
{
    Leave();
    session_ = session;
    if (session_ && state_.Graphics()) {
        const MapHandler& maps = session_->Maps();
        if (const auto path = FindPageFile(maps.Path, maps.Extension)) {
            document_ = std::make_unique<PageDocument>(PageSet::From(state_.Graphics()->Pages), *path);
            kept_ = std::make_unique<KeptPages>(*document_);
            following_ = document_->Listen([this](const PageChange& change) { Follow(change); });
        }
    }
    if (browser_ && !document_)
        browser_->hide();
    ShowInBrowser();
}

void PagesController::Leave()
{
    if (output_)
        output_->Stop();
    following_.Reset();
    kept_.reset();
    document_.reset();
    session_ = nullptr;
}

bool PagesController::Save(const BackupPolicy& backups, std::string* tidied)
{
    if (!Changed())
        return true;
    std::string kept;
    if (auto failure = document_->Save(backups, &kept, tidied)) {
        prompter_.Show(*failure);
        return false;
    }
    if (!kept.empty())
        prompter_.Message(kept, kPageSaveCaption, MessageIcon::Warning, Buttons::Ok);
    return true;
}

TPageBrowserBox& PagesController::Show()
{
    if (!browser_) {
        browser_ = new TPageBrowserBox(window_);
        connect(browser_, &TPageBrowserBox::exportAsked, this, &PagesController::onExport);
        connect(browser_, &TPageBrowserBox::exportAllAsked, this, &PagesController::onExportAll);
        connect(browser_, &TPageBrowserBox::replaceAsked, this, &PagesController::onReplace);
        connect(browser_, &TPageBrowserBox::fileDropped, this,
                [this](Item item, const QString& path) { ReplaceFrom(item, path.toStdString()); });
        connect(browser_, &TPageBrowserBox::addAsked, this, &PagesController::onAdd);
        connect(browser_, &TPageBrowserBox::insertAsked, this, &PagesController::onInsert);
        connect(browser_, &TPageBrowserBox::removeAsked, this, &PagesController::onRemove);
        connect(browser_, &TPageBrowserBox::playAsked, this, &PagesController::onPlay);
        connect(browser_, &TPageBrowserBox::undoAsked, this, [this] {
            if (document_)
                Done(document_->Undo());
        });
        connect(browser_, &TPageBrowserBox::redoAsked, this, [this] {
            if (document_)
                Done(document_->Redo());
        });
        // Ctrl+S saves the maps and the pictures from this window as from the map's.
        if (auto* save = window_->findChild<QAction*>("saveProjectAction"))
            browser_->addAction(save);
        ShowInBrowser();
    }
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
    return *browser_;
}

void PagesController::Follow(const PageChange& change)
{
    switch (change.kind) {
    case PageChange::Kind::SavedState:
        if (browser_)
            browser_->setWindowModified(change.changed);
        emit savedStateChanged();
        return;
    case PageChange::Kind::Replaced:
        ShowPictures(change.chunk);
        break;
    case PageChange::Kind::Added:
    case PageChange::Kind::Removed:
    case PageChange::Kind::Whole:
        ShowPictures(std::nullopt);
        break;
    case PageChange::Kind::Sound:
    case PageChange::Kind::SoundAdded:
    case PageChange::Kind::SoundRemoved:
        break; // no picture moved: sounds come after the sprites
    }
    ShowInBrowser();
}

void PagesController::ShowPictures(std::optional<int> chunk)
{
    auto file = document_->AsPageFile();
    if (!file) {
        prompter_.Show(file.failure());
        return;
    }
    const GameGraphics& before = *state_.Graphics();
    auto after = std::make_shared<const GameGraphics>(
        GameGraphics{std::move(*file), before.Colours, before.Pictures, before.Settings, before.Sounds});
    state_.ReplacePages(std::move(after), chunk);
}

void PagesController::ShowInBrowser()
{
    if (!browser_ || !document_ || !session_)
        return;
    const PageSet& pages = document_->Pages();
    const auto words = WordsByChunk(state_.Graphics()->Pictures, pages.FirstSpriteChunk(), &session_->CurrentProject().Symbols);
    browser_->ShowPages(pages, state_.Graphics()->Colours, words, state_.Graphics()->Sounds);
    browser_->ShowHistory(QString::fromStdString(document_->UndoName()),
                          QString::fromStdString(document_->RedoName()));
    browser_->setWindowTitle(QString("Game Pictures and Sounds - %1[*]")
                                 .arg(QString::fromStdString(document_->Path().filename().string())));
    browser_->setWindowModified(document_->Changed());
}

void PagesController::Done(const std::optional<Failure>& failure)
{
    if (failure)
        prompter_.Show(*failure);
}

void PagesController::onExport(Item item)
{
    if (!document_)
        return;
    const PageSet& pages = document_->Pages();
    const bool sound = item.tab == Tab::Sounds;
    const PageSet::Chunk chunk = pages.ChunkAt(item.chunk);
    if (!sound && !chunk) {
        prompter_.Show({"Chunk " + std::to_string(item.chunk) + " is empty: it has no picture to export.",
                        kPageExportCaption, MessageIcon::Warning});
        return;
    }
    const std::string proposed = sound                     ? SoundFileName(item.sound)
                                 : item.tab == Tab::Walls ? WallFileName(item.chunk)
                                                          : SpriteFileName(item.chunk);
    const auto path = prompter_.ChooseSaveFile("Export " + NameOf(item), sound ? kSoundFilter : kPictureExportFilter,
                                               sound ? "wav" : "png", proposed);
    if (!path)
        return;
    if (!sound && !EqualsNoCase(path->extension().string(), ".png")) {
        prompter_.Show({"Pictures are exported as PNG files, which keep the game's colours and the sprites' "
                        "transparency: name the file with .png.",
                        kPageExportCaption, MessageIcon::Warning});
        return;
    }
    Bytes bytes;
    if (sound) {
        bytes = EncodeWav(pages.SoundSamples(item.sound));
    } else if (item.tab == Tab::Walls) {
        bytes = WallPng(std::span(*chunk).first(kPicturePixels), state_.Graphics()->Colours);
    } else {
        Sprite sprite;
        DecodeSprite(*chunk, sprite); // the document holds sprites that decode
        bytes = SpritePng(sprite, state_.Graphics()->Colours);
    }
    if (auto error = WriteFiles({{*path, std::move(bytes)}}))
        prompter_.Show({"Couldn't write " + error->Describe() + "!", kPageExportCaption, MessageIcon::Error});
}

void PagesController::onExportAll()
{
    if (!document_)
        return;
    const auto folder = prompter_.ChooseDirectory("Select the folder to write the pictures and sounds into.",
                                                  document_->Path().parent_path());
    if (!folder)
        return;
    const auto plan = PlanPagesExport(document_->Pages());
    if (!plan)
        return prompter_.Show(plan.failure());
    const auto written = WritePagesExport(document_->Pages(), state_.Graphics()->Colours, *plan, *folder);
    if (!written)
        return prompter_.Show(written.failure());
    std::string text = std::to_string(written->size()) + " files were written into " + folder->string() + ".";
    for (const std::string& shared : plan->Shared())
        text += "\n" + shared;
    prompter_.Message(text, kPageExportCaption, MessageIcon::Information, Buttons::Ok);
}

void PagesController::onReplace(Item item)
{
    const bool sound = item.tab == Tab::Sounds;
    if (const auto path = prompter_.ChooseOpenFile("Replace " + NameOf(item), sound ? kSoundFilter : kPictureFilter))
        ReplaceFrom(item, *path);
}

void PagesController::ReplaceFrom(Item item, const std::filesystem::path& file)
{
    if (!document_)
        return;
    if (item.tab == Tab::Sounds) {
        auto samples = LoadSound(file);
        if (!samples)
            return prompter_.Show(samples.failure());
        Done(document_->ReplaceSound(item.sound, *samples));
        return;
    }
    auto picture = LoadPictureFile(file);
    if (!picture)
        return prompter_.Show(picture.failure());
    Done(document_->ReplacePicture(item.chunk, *picture, state_.Graphics()->Colours));
}

void PagesController::onAdd(Tab tab)
{
    if (!document_ || !browser_)
        return;
    const char* what = tab == Tab::Walls ? "Add a wall" : tab == Tab::Sprites ? "Add a sprite" : "Add a sound";
    const auto path = prompter_.ChooseOpenFile(what, tab == Tab::Sounds ? kSoundFilter : kPictureFilter);
    if (!path)
        return;
    if (tab == Tab::Sounds) {
        auto samples = LoadSound(*path);
        if (!samples)
            return prompter_.Show(samples.failure());
        auto number = document_->AddSound(*samples);
        if (!number)
            return prompter_.Show(number.failure());
        browser_->ChooseSound(*number);
        return;
    }
    auto picture = LoadPictureFile(*path);
    if (!picture)
        return prompter_.Show(picture.failure());
    auto chunk = tab == Tab::Walls ? document_->AddWall(*picture, state_.Graphics()->Colours)
                                   : document_->AddSprite(*picture, state_.Graphics()->Colours);
    if (!chunk)
        return prompter_.Show(chunk.failure());
    browser_->ChooseChunk(*chunk);
}

void PagesController::onInsert(Item item)
{
    if (!document_ || !browser_ || !session_ || item.tab != Tab::Walls)
        return;
    const int wall = WallOfChunk(item.chunk);
    MapDocument& maps = session_->Document();
    const WallMovePlan plan = PlanWallMove(document_->Pages(), maps.Maps(), wall, WallMove::Add);
    if (plan.refusal)
        return prompter_.Show(*plan.refusal);
    if (!AgreeToRenumber(plan.question))
        return;
    const auto path = prompter_.ChooseOpenFile("Add a wall as wall " + std::to_string(wall), kPictureFilter);
    if (!path)
        return;
    auto picture = LoadPictureFile(*path);
    if (!picture)
        return prompter_.Show(picture.failure());
    auto chunk = AddWallAt(*document_, maps, wall, *picture, state_.Graphics()->Colours);
    if (!chunk)
        return prompter_.Show(chunk.failure());
    browser_->ChooseChunk(*chunk);
}

void PagesController::onRemove(Item item)
{
    if (!document_)
        return;
    if (item.tab == Tab::Walls && item.chunk < document_->Pages().FirstDoorChunk())
        return RemoveWallAsked(WallOfChunk(item.chunk));
    Done(item.tab == Tab::Sounds ? document_->RemoveSound(item.sound) : document_->Remove(item.chunk));
}

void PagesController::RemoveWallAsked(int wall)
{
    if (!session_)
        return;
    MapDocument& maps = session_->Document();
    const WallMovePlan plan = PlanWallMove(document_->Pages(), maps.Maps(), wall, WallMove::Remove);
    if (plan.refusal && plan.offerFindReplace) {
        const Failure& used = *plan.refusal;
        if (prompter_.Choose(used.text, used.caption, used.icon, {kFindReplaceButton, kOkButton}) == 0)
            emit findWallAsked(wall);
        return;
    }
    if (plan.refusal)
        return prompter_.Show(*plan.refusal);
    if (AgreeToRenumber(plan.question))
        Done(RemoveWall(*document_, maps, wall));
}

bool PagesController::AgreeToRenumber(const std::optional<std::string>& question)
{
    return !question ||
           prompter_.Choose(*question, kPageEditCaption, MessageIcon::Question, {kRenumberButton, kCancelButton}) == 0;
}

void PagesController::onPlay(int sound)
{
    if (!document_ || !output_)
        return;
    Done(output_->Play(document_->Pages().SoundSamples(sound)));
}

} // namespace tsl
