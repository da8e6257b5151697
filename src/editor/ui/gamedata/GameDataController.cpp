#include "editor/ui/gamedata/GameDataController.h"

#include "audio/AudioExchange.h"
#include "audio/AudioRender.h"
#include "core/FileSystem.h"
#include "editor/render/GameGraphics.h"
#include "editor/session/EditorSession.h"
#include "editor/ui/gamedata/SoundOutput.h"
#include "editor/ui/gamedata/TPageBrowserBox.h"
#include "editor/view/ViewState.h"
#include "mapdefs/ChunkNames.h"
#include "mapdefs/StructureStore.h"
#include "vgagraph/GraphicsExchange.h"

#include <QWidget>

#include <cstdio>

namespace tsl {

namespace {

using Kind = TGameDataPane::Kind;

const FileFilter kPictureFilter{"Pictures (*.png;*.bmp)|*.png;*.bmp|All Files (*.*)|*.*", 0};
const FileFilter kPngFilter{"PNG Pictures (*.png)|*.png", 0};
const FileFilter kFontFilter{"Fonts (*.fnt)|*.fnt|All Files (*.*)|*.*", 0};
const FileFilter kTextFilter{"Texts (*.txt)|*.txt|Data (*.bin)|*.bin|All Files (*.*)|*.*", 0};
const FileFilter kMusicFilter{"IMF Music (*.imf;*.wlf)|*.imf;*.wlf|All Files (*.*)|*.*", 0};
const FileFilter kSoundFilter{"Sounds as Tesselar exports them (*.adl;*.pcs)|*.adl;*.pcs|All Files (*.*)|*.*", 0};

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QImage ImageOf(const IndexedPicture& picture, const Palette& palette)
{
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y, palette[picture.indices[static_cast<std::size_t>(y * picture.width + x)]]);
    return image;
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

AudioKind AudioKindOf(Kind kind)
{
    return kind == Kind::PcSpeaker ? AudioKind::PcSpeaker : kind == Kind::AdLib ? AudioKind::AdLib : AudioKind::Music;
}

} // namespace

GameDataController::GameDataController(QWidget* window, Prompter& prompter, ViewState& state)
    : QObject(window), window_(window), prompter_(prompter), state_(state)
{
}

bool GameDataController::OfPictures(Kind kind)
{
    return kind == Kind::Pictures || kind == Kind::Fonts || kind == Kind::Texts;
}

void GameDataController::Attach(EditorSession* session)
{
    Leave();
    if (!session || !state_.Graphics())
        return Refresh();
    const MapHandler& maps = session->Maps();
    palette_ = state_.Graphics()->Colours;
    std::optional<ChunkNames> names;
    const std::string& chunks = state_.Graphics()->Settings.Chunks;
    if (const auto path = chunks.empty() ? std::nullopt
                                         : ResolveStructureFile(session->CurrentProject().StructureFolder, chunks)) {
        auto read = ChunkNames::Load(*path);
        if (read)
            names = std::move(*read);
        else
            unread_.push_back(read.failure());
    }
    const ChunkNames* named = names ? &*names : nullptr;
    if (const auto paths = FindGraphicsFiles(maps.Path, maps.Extension)) {
        auto set = GraphicsSet::Load(*paths, named);
        if (set) {
            auto& data = graphics_.emplace();
            data.paths = *paths;
            data.document = std::make_unique<DataDocument<GraphicsSet>>(std::move(*set));
            data.kept = std::make_unique<KeptGraphics>(*data.document, *paths, names);
            data.following = data.document->Listen([this] { Follow(); });
        } else {
            unread_.push_back(set.failure());
        }
    }
    if (const auto paths = FindAudioFiles(maps.Path, maps.Extension)) {
        auto set = AudioSet::Load(*paths, named);
        if (set) {
            auto& data = audio_.emplace();
            data.paths = *paths;
            data.document = std::make_unique<DataDocument<AudioSet>>(std::move(*set));
            data.kept = std::make_unique<KeptAudio>(*data.document, *paths, names);
            data.following = data.document->Listen([this] { Follow(); });
        } else {
            unread_.push_back(set.failure());
        }
    }
    changed_ = false;
    Refresh();
}

void GameDataController::Leave()
{
    if (output_)
        output_->Stop();
    graphics_.reset();
    audio_.reset();
    unread_.clear();
}

bool GameDataController::Changed() const
{
    return (graphics_ && graphics_->document->Changed()) || (audio_ && audio_->document->Changed());
}

std::vector<KeptDocument*> GameDataController::Kept() const
{
    std::vector<KeptDocument*> kept;
    if (graphics_)
        kept.push_back(graphics_->kept.get());
    if (audio_)
        kept.push_back(audio_->kept.get());
    return kept;
}

bool GameDataController::Save(const BackupPolicy& backups)
{
    std::string generation;
    if (graphics_ && graphics_->document->Changed()) {
        const auto saved = SaveGraphicsSet(graphics_->document->Current(), graphics_->paths, backups, &generation);
        if (!saved) {
            prompter_.Show(saved.failure());
            return false;
        }
        graphics_->document->MarkSaved();
    }
    if (audio_ && audio_->document->Changed()) {
        const auto saved = SaveAudioSet(audio_->document->Current(), audio_->paths, backups, &generation);
        if (!saved) {
            prompter_.Show(saved.failure());
            return false;
        }
        audio_->document->MarkSaved();
    }
    if (!generation.empty())
        prompter_.Message(generation, kGraphicsSaveCaption, MessageIcon::Warning, Buttons::Ok);
    return true;
}

TGameDataPane* GameDataController::Pane(Kind kind) const
{
    const auto found = panes_.find(kind);
    return found == panes_.end() ? nullptr : found->second;
}

void GameDataController::ShowIn(TPageBrowserBox& browser)
{
    if (panes_.empty()) {
        const std::pair<Kind, const char*> tabs[] = {{Kind::Pictures, "Pictures"},       {Kind::Fonts, "Fonts"},
                                                     {Kind::Texts, "Texts"},             {Kind::PcSpeaker, "PC Speaker"},
                                                     {Kind::AdLib, "AdLib Sounds"},      {Kind::Music, "Music"}};
        for (const auto& [kind, label] : tabs) {
            auto* pane = new TGameDataPane(kind);
            panes_[kind] = pane;
            browser.AddTab(pane, label);
            connect(pane, &TGameDataPane::exportAsked, this, [this, kind](int chunk) { onExport(kind, chunk); });
            connect(pane, &TGameDataPane::exportAllAsked, this, [this, kind] { onExportAll(kind); });
            connect(pane, &TGameDataPane::replaceAsked, this, [this, kind](int chunk) { onReplace(kind, chunk); });
            connect(pane, &TGameDataPane::fileDropped, this,
                    [this, kind](int chunk, const QString& path) { ReplaceFrom(kind, chunk, path.toStdString()); });
            connect(pane, &TGameDataPane::playAsked, this, &GameDataController::onPlay);
            connect(pane, &TGameDataPane::undoAsked, this, [this, kind] { Undo(kind, false); });
            connect(pane, &TGameDataPane::redoAsked, this, [this, kind] { Undo(kind, true); });
        }
    }
    Refresh();
    for (const Failure& failure : unread_)
        prompter_.Show(failure);
    unread_.clear();
}

std::vector<TGameDataPane::Row> GameDataController::RowsOf(Kind kind) const
{
    std::vector<TGameDataPane::Row> rows;
    if (OfPictures(kind)) {
        if (!graphics_)
            return rows;
        const GraphicsSet& set = graphics_->document->Current();
        for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
            const GraphicsKind of = set.KindOf(chunk);
            const bool wanted = kind == Kind::Pictures ? of == GraphicsKind::Picture || of == GraphicsKind::Tile8
                                : kind == Kind::Fonts  ? of == GraphicsKind::Font
                                                       : of == GraphicsKind::Data;
            if (!wanted || set.IsEmpty(chunk))
                continue;
            TGameDataPane::Row row;
            row.chunk = chunk;
            row.name = Text(set.Layout().NameOf(chunk));
            const auto stored = set.Stored(chunk);
            const auto before = graphics_->document->Saved().Stored(chunk);
            row.changed = stored != before && (!before || *stored != *before);
            const Bytes contents = set.Expanded(chunk);
            if (const auto picture = set.Picture(chunk)) {
                row.picture = ImageOf(*picture, palette_);
                row.holds = QString("%1 x %2").arg(picture->width).arg(picture->height);
            } else if (of == GraphicsKind::Font) {
                if (const auto sheet = FontSheet(contents)) {
                    IndexedPicture white = *sheet;
                    for (std::uint8_t& index : white.indices)
                        index = index ? 15 : 0; // set pixels in the engine's white
                    row.picture = ImageOf(white, palette_);
                }
                row.holds = QString("%1 rows high").arg(static_cast<std::int16_t>(GetU16(contents.data())));
            } else {
                row.holds = QString("%1 bytes").arg(contents.size());
                row.text = IsText(contents) ? QString::fromLatin1(reinterpret_cast<const char*>(contents.data()),
                                                                  static_cast<qsizetype>(contents.size()))
                                            : QString("(data, not text: export it to see its bytes)");
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }
    if (!audio_)
        return rows;
    const AudioSet& set = audio_->document->Current();
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        if (set.KindOf(chunk) != AudioKindOf(kind))
            continue;
        TGameDataPane::Row row;
        row.chunk = chunk;
        row.name = Text(set.Layout().NameOf(chunk));
        const auto bytes = set.ChunkBytes(chunk);
        row.changed = !std::ranges::equal(bytes, audio_->document->Saved().ChunkBytes(chunk));
        if (kind == Kind::Music) {
            const auto song = ReadMusic(bytes);
            row.holds = Text(Seconds(song ? MusicSeconds(*song) : 0.0)) + (song && !song->empty() ? "" : " (no song)");
        } else if (const auto pc = kind == Kind::PcSpeaker ? ReadPcSpeakerSound(bytes) : std::nullopt) {
            row.holds = Text(Seconds(static_cast<double>(pc->length) / kSoundTicRate));
        } else if (const auto adlib = ReadAdLibSound(bytes)) {
            row.holds = Text(Seconds(static_cast<double>(adlib->length) / kSoundTicRate));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void GameDataController::Refresh()
{
    for (const auto& [kind, pane] : panes_) {
        pane->ShowRows(RowsOf(kind));
        if (OfPictures(kind))
            pane->ShowHistory(graphics_ ? Text(graphics_->document->UndoName()) : QString(),
                              graphics_ ? Text(graphics_->document->RedoName()) : QString());
        else
            pane->ShowHistory(audio_ ? Text(audio_->document->UndoName()) : QString(),
                              audio_ ? Text(audio_->document->RedoName()) : QString());
    }
}

void GameDataController::Follow()
{
    Refresh();
    if (Changed() != changed_) {
        changed_ = Changed();
        emit savedStateChanged();
    }
}

std::string GameDataController::ChunkTitle(Kind kind, int chunk) const
{
    const std::string name = OfPictures(kind) ? (graphics_ ? graphics_->document->Current().Layout().NameOf(chunk) : "")
                                              : (audio_ ? audio_->document->Current().Layout().NameOf(chunk) : "");
    return name.empty() ? "chunk " + std::to_string(chunk) : name;
}

void GameDataController::onExport(Kind kind, int chunk)
{
    Bytes bytes;
    std::optional<std::filesystem::path> path;
    const std::string title = "Export " + ChunkTitle(kind, chunk);
    if (OfPictures(kind)) {
        if (!graphics_)
            return;
        const GraphicsSet& set = graphics_->document->Current();
        const std::vector<std::string> names = GraphicsFileNames(set, chunk);
        if (names.empty())
            return;
        const bool picture = kind == Kind::Pictures;
        path = prompter_.ChooseSaveFile(title, picture ? kPngFilter : kind == Kind::Fonts ? kFontFilter : kTextFilter,
                                        std::filesystem::path(names.front()).extension().string().substr(1));
        if (!path)
            return;
        bytes = picture ? GraphicsPng(*set.Picture(chunk), palette_) : set.Expanded(chunk);
    } else {
        if (!audio_)
            return;
        const AudioKind audioKind = AudioKindOf(kind);
        const std::string own = AudioFileName(audioKind, chunk);
        const std::string extension = own.substr(own.size() - 3);
        path = prompter_.ChooseSaveFile(title, FileFilter{"WAV Files (*.wav)|*.wav|As the game keeps it (*." + extension +
                                                              ")|*." + extension, 0},
                                        "wav");
        if (!path)
            return;
        const auto chunkBytes = audio_->document->Current().ChunkBytes(chunk);
        bytes = EqualsNoCase(path->extension().string(), ".wav") ? AudioChunkWav(audioKind, chunkBytes)
                                                                 : Bytes(chunkBytes.begin(), chunkBytes.end());
    }
    if (auto error = WriteFiles({{*path, std::move(bytes)}}))
        prompter_.Show({"Couldn't write " + error->Describe() + "!", kGraphicsExportCaption, MessageIcon::Error});
}

void GameDataController::onExportAll(Kind kind)
{
    const auto folder = prompter_.ChooseDirectory(OfPictures(kind) ? "Select the folder to write the pictures into."
                                                                   : "Select the folder to write the sounds into.",
                                                  {});
    if (!folder)
        return;
    const auto written = OfPictures(kind) ? (graphics_ ? ExportGraphics(graphics_->document->Current(), palette_, *folder)
                                                       : Outcome<std::vector<std::string>>(std::vector<std::string>{}))
                                          : (audio_ ? ExportAudio(audio_->document->Current(), *folder)
                                                    : Outcome<std::vector<std::string>>(std::vector<std::string>{}));
    if (!written)
        return prompter_.Show(written.failure());
    prompter_.Message(std::to_string(written->size()) + " files were written into " + folder->string() + ".",
                      OfPictures(kind) ? kGraphicsExportCaption : kAudioExportCaption, MessageIcon::Information,
                      Buttons::Ok);
}

void GameDataController::onReplace(Kind kind, int chunk)
{
    const FileFilter& filter = kind == Kind::Pictures   ? kPictureFilter
                               : kind == Kind::Fonts    ? kFontFilter
                               : kind == Kind::Texts    ? kTextFilter
                               : kind == Kind::Music    ? kMusicFilter
                                                        : kSoundFilter;
    if (const auto path = prompter_.ChooseOpenFile("Replace " + ChunkTitle(kind, chunk), filter))
        ReplaceFrom(kind, chunk, *path);
}

void GameDataController::ReplaceFrom(Kind kind, int chunk, const std::filesystem::path& file)
{
    const auto bytes = ReadWholeFile(file);
    if (!bytes)
        return prompter_.Show({"Couldn't read " + file.string() + "!", kPictureImportCaption, MessageIcon::Warning});
    const std::string step = "Replace " + ChunkTitle(kind, chunk);
    std::optional<Failure> refusal;
    if (OfPictures(kind)) {
        if (!graphics_)
            return;
        refusal = graphics_->document->Apply(step, [&](GraphicsSet& set) {
            return ImportGraphic(set, chunk, *bytes, file.string(), palette_);
        });
    } else {
        if (!audio_)
            return;
        const auto taken = AudioChunkFromFile(AudioKindOf(kind), *bytes, file.string());
        if (!taken)
            return prompter_.Show(taken.failure());
        refusal = audio_->document->Apply(step, [&](AudioSet& set) { return set.Replace(chunk, *taken); });
    }
    if (refusal)
        prompter_.Show(*refusal);
}

void GameDataController::onPlay(int chunk)
{
    if (!audio_)
        return;
    const AudioSet& set = audio_->document->Current();
    const std::vector<std::int16_t> samples = RenderChunk(set.KindOf(chunk), set.ChunkBytes(chunk));
    if (!output_)
        return prompter_.Show({kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning});
    if (auto failure = output_->PlayRendered(samples, kAudioRate))
        prompter_.Show(*failure);
}

void GameDataController::Undo(Kind kind, bool redo)
{
    if (OfPictures(kind) && graphics_)
        redo ? graphics_->document->Redo() : graphics_->document->Undo();
    if (!OfPictures(kind) && audio_)
        redo ? audio_->document->Redo() : audio_->document->Undo();
}

} // namespace tsl
