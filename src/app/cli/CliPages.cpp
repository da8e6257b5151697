// tesselar-cli pages DIR, export-pages DIR OUTDIR and import-page DIR
// (--chunk N | --sound K) FILE: the game's page file (VSWAP) listed, its
// walls, sprites and sounds written out as PNG and WAV files, and one of
// them replaced from a file and saved with a backup generation.

#include "app/cli/Cli.h"
#include "app/cli/JsonOutput.h"
#include "core/IniFile.h"
#include "graphics/PageExport.h"
#include "graphics/PageFileSaving.h"
#include "graphics/PagePictureExchange.h"
#include "graphics/SoundFiles.h"
#include "mapdefs/GraphicsSettings.h"
#include "editor/render/GameGraphics.h"
#include "mapdefs/StructureStore.h"

#include <cstdio>
#include <ostream>
#include <set>

namespace tsl::cli {
namespace {

// The page file of the game in `dir`, read and checked; nothing, said on
// `err`, when it cannot be (the commands end with status 2 then: DIR is no
// game, the game has no page file, or it is damaged).
struct OpenedPages {
    std::filesystem::path path;
    PageSet pages;
    std::string extension;
    std::string headerExecutable;
};

std::optional<OpenedPages> OpenPages(const std::string& dir, std::ostream& err)
{
    auto files = LocateGameFiles(dir);
    if (!files) {
        Report(files.failure(), err);
        return std::nullopt;
    }
    if (auto interrupted = DescribeInterruptedPageSave(dir, files->Extension)) {
        Report(*interrupted, err);
        return std::nullopt;
    }
    const auto path = FindPageFile(dir, files->Extension);
    if (!path) {
        err << "There is no page file \"VSWAP." << files->Extension << "\" in " << PrintableText(dir) << ".\n";
        return std::nullopt;
    }
    auto file = PageFile::Load(*path);
    if (!file) {
        Report(file.failure(), err);
        return std::nullopt;
    }
    return OpenedPages{*path, PageSet::From(*file), files->Extension, files->HeaderExecutable};
}

// The palette the game's map definition structure names.
std::optional<Palette> StructurePalette(const OpenedPages& opened, const LoaderOptions& options, std::ostream& err)
{
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, opened.extension, opened.headerExecutable)) {
        err << "There is no map definition structure for \"" << opened.extension << "\"-files in " << PrintableText(root.string())
            << ": the palette of the pictures is missing.\n";
        return std::nullopt;
    }
    const IniFile settings(StructureSettingsPath(root, opened.extension, opened.headerExecutable));
    const GraphicsSettings graphics = ReadGraphicsSettings(settings);
    const auto path = graphics.Palette.empty()
                          ? std::nullopt
                          : ResolveStructureFile(StructureFolder(root, opened.extension, opened.headerExecutable),
                                                 graphics.Palette);
    if (!path) {
        err << "\"" << PrintableText(settings.Path().string()) << "\" names no palette file of its folder for the pictures.\n";
        return std::nullopt;
    }
    auto palette = Palette::Load(*path);
    if (!palette) {
        Report(palette.failure(), err);
        return std::nullopt;
    }
    return *palette;
}

// The names the game's map definition structure gives the sounds: none when
// there is no structure or it names none; a table that does not read is
// reported and names none.
SoundNames StructureSoundNames(const OpenedPages& opened, const LoaderOptions& options, std::ostream& err)
{
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, opened.extension, opened.headerExecutable))
        return {};
    const IniFile settings(StructureSettingsPath(root, opened.extension, opened.headerExecutable));
    auto names = LoadSoundNames(StructureFolder(root, opened.extension, opened.headerExecutable),
                                ReadGraphicsSettings(settings));
    if (!names) {
        Report(names.failure(), err);
        return {};
    }
    return std::move(*names);
}

// --- pages ---

struct PagesArguments {
    std::string dir;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Json(json, "{\"chunks\": [{\"index\", \"kind\" (wall, sprite, sound, sound_table or empty), \"length\"}],\n"
                     "\"sounds\": [{\"number\", \"first_chunk\", \"length\" (in bytes), \"name\" (from the game's\n"
                     "map definition structure; null when it names none)}]}");
    }
};

void PrintPagesJson(const PageSet& pages, const SoundNames& names, std::ostream& out)
{
    Json chunks = Json::array();
    for (int i = 0; i < pages.ChunkCount(); ++i) {
        const PageSet::Chunk bytes = pages.ChunkAt(i);
        chunks.push_back({{"index", i}, {"kind", ChunkKindName(pages.KindOf(i))}, {"length", bytes ? bytes->size() : 0}});
    }
    Json sounds = Json::array();
    for (const DigitisedSound& sound : pages.Sounds()) {
        const std::string_view name = names.Name(sound.number);
        sounds.push_back({{"number", sound.number}, {"first_chunk", sound.firstChunk}, {"length", sound.length},
                          {"name", name.empty() ? Json() : Json(std::string(name))}});
    }
    PrintJson({{"chunks", chunks}, {"sounds", sounds}}, out);
}

void PrintPagesText(const OpenedPages& opened, std::ostream& out)
{
    const PageSet& pages = opened.pages;
    out << opened.path.filename().string() << ": " << pages.ChunkCount() << " chunks; walls from 0, sprites from "
        << pages.FirstSpriteChunk() << ", sounds from " << pages.FirstSoundChunk() << ".\n";
    out << "Chunk  Kind          Bytes\n";
    for (int i = 0; i < pages.ChunkCount(); ++i) {
        const PageSet::Chunk bytes = pages.ChunkAt(i);
        char row[64];
        std::snprintf(row, sizeof row, "%5d  %-11s %7zu", i, ChunkKindName(pages.KindOf(i)),
                      bytes ? bytes->size() : std::size_t{0});
        out << row << "\n";
    }
    out << "Sound  First chunk    Bytes  Seconds\n";
    for (const DigitisedSound& sound : pages.Sounds()) {
        char row[64];
        std::snprintf(row, sizeof row, "%5d  %11d  %7zu  %7.2f", sound.number, sound.firstChunk, sound.length,
                      static_cast<double>(sound.length) / kSoundRate);
        out << row << (sound.present == 0 ? "  (not in this file)" : "") << "\n";
    }
    // Source ports load any size; the DOS engine loads a chunk into one page.
    std::vector<int> large;
    for (int i = 0; i < pages.ChunkCount(); ++i)
        if (const PageSet::Chunk bytes = pages.ChunkAt(i); bytes && bytes->size() > kPageBytes && i < pages.FirstSoundChunk())
            large.push_back(i);
    if (!large.empty())
        out << (large.size() == 1 ? "Chunk " : "Chunks ") << CLI::detail::join(large, ", ")
            << (large.size() == 1 ? " is" : " are") << " larger than a page of the game (" << kPageBytes
            << " bytes): the DOS engine cannot load " << (large.size() == 1 ? "it" : "them") << " safely.\n";
    // The engine ends the list at the first entry that starts at or past the table.
    const PageSet::Chunk table = pages.ChunkAt(pages.SoundTableChunk());
    if (const std::size_t read = pages.Sounds().size(); table && table->size() / 4 > read)
        out << "The sound table lists " << table->size() / 4 << " sounds; the game reads only the first " << read
            << ": sound " << read << " starts at or past the table, and the list ends there.\n";
}

int RunPages(const PagesArguments& a, std::ostream& out, std::ostream& err)
{
    const auto opened = OpenPages(a.dir, err);
    if (!opened)
        return kExitUsage;
    if (a.json)
        PrintPagesJson(opened->pages, StructureSoundNames(*opened, a.loader, err), out);
    else
        PrintPagesText(*opened, out);
    return 0;
}

// --- export-pages ---

// Chunk numbers from 0 and ranges: "0,3,5-9".
std::string ReadChunkList(const std::string& text, std::set<int>& chunks)
{
    const auto ranges = ReadRanges(text, 0, kMaxChunks - 1);
    if (!ranges)
        return Declarations::Takes("--chunks", "chunk numbers from 0 and ranges, such as 0,3,5-9");
    for (const auto& [first, last] : *ranges)
        for (long chunk = first; chunk <= last; ++chunk)
            chunks.insert(static_cast<int>(chunk));
    return {};
}

struct ExportPagesArguments {
    std::string dir;
    std::string outDir;
    std::optional<std::set<int>> chunks;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Positional("OUTDIR", outDir, "the folder to write into (made when missing)", "DIR");
        d.Value("--chunks", "LIST",
                "only the pictures of these chunks (from 0: 0,3,5-9) and the sounds that start in them",
                [this](const std::string& text) { return ReadChunkList(text, chunks.emplace()); });
    }
};

int RunExportPages(const ExportPagesArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.outDir.empty()) { // else the files would land in the current folder
        err << "The argument OUTDIR is empty: name the folder to write into.\n";
        return kExitUsage;
    }
    const auto opened = OpenPages(a.dir, err);
    if (!opened)
        return kExitUsage;
    if (a.chunks && !a.chunks->empty() && *a.chunks->rbegin() >= opened->pages.ChunkCount()) {
        err << "There is no chunk " << *a.chunks->rbegin() << ": the page file has " << opened->pages.ChunkCount()
            << " chunks.\n";
        return kExitUsage;
    }
    const auto palette = StructurePalette(*opened, a.loader, err);
    if (!palette)
        return kExitUsage;
    const auto plan = PlanPagesExport(opened->pages, a.chunks);
    if (!plan) {
        Report(plan.failure(), err);
        return kExitUsage;
    }
    const auto written = WritePagesExport(opened->pages, *palette, *plan, a.outDir);
    if (!written) {
        Report(written.failure(), err);
        return kExitFailed;
    }
    out << written->size() << (written->size() == 1 ? " file" : " files") << " written into " << PrintableText(a.outDir) << ".\n";
    for (const std::string& shared : plan->Shared())
        out << shared << "\n";
    return 0;
}

// --- import-page ---

struct ImportPageArguments {
    std::string dir;
    std::string file;
    std::optional<int> chunk;
    std::optional<int> sound;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Number("--chunk", "N", 0, kMaxChunks - 1, chunk, "a chunk number from 0 to " + std::to_string(kMaxChunks - 1),
                 "the wall or sprite chunk to replace from a PNG or BMP file, from 0");
        d.Number("--sound", "K", 0, kMaxSounds - 1, sound, "a sound number from 0 to " + std::to_string(kMaxSounds - 1),
                 "the digitised sound to replace from a WAV file, from 0");
        d.Exclusive("--chunk", "--sound");
        d.Positional("FILE", file, "the picture (64 x 64 PNG or BMP) or the sound (WAV)");
    }
};

// The page set with the file's picture or sound in its place; the status
// (2) when the file or the place is refused.
std::optional<std::string> ReplaceFromFile(const ImportPageArguments& a, OpenedPages& opened, std::ostream& err)
{
    const auto refuse = [&](const Failure& failure) {
        Report(failure, err);
        return std::nullopt;
    };
    if (a.sound) {
        auto samples = LoadSound(a.file);
        if (!samples)
            return refuse(samples.failure());
        if (auto refusal = opened.pages.ReplaceSound(*a.sound, *samples))
            return refuse(*refusal);
        return "Sound " + std::to_string(*a.sound) + " replaced from " + PrintableText(a.file) + ".";
    }
    // Checked before the file is read: the place decides what the file must be.
    if (*a.chunk >= opened.pages.FirstSoundChunk())
        return refuse({"Chunk " + std::to_string(*a.chunk) + " is no wall or sprite of the page file.",
                       kPageEditCaption, MessageIcon::Warning});
    auto picture = LoadPictureFile(a.file);
    if (!picture)
        return refuse(picture.failure());
    const auto palette = StructurePalette(opened, a.loader, err);
    if (!palette)
        return std::nullopt;
    const bool wall = *a.chunk < opened.pages.FirstSpriteChunk();
    auto bytes = wall ? WallFromPicture(*picture, *palette) : SpriteFromPicture(*picture, *palette);
    if (!bytes)
        return refuse(bytes.failure());
    if (auto refusal = opened.pages.Replace(*a.chunk, std::move(*bytes)))
        return refuse(*refusal);
    return std::string(wall ? "Wall " : "Sprite ") + std::to_string(*a.chunk) + " replaced from " + PrintableText(a.file) + ".";
}

int RunImportPage(const ImportPageArguments& a, std::ostream& out, std::ostream& err)
{
    if (!a.chunk && !a.sound) {
        err << "Name the chunk (--chunk N) or the sound (--sound K) to replace.\n";
        return kExitUsage;
    }
    auto opened = OpenPages(a.dir, err);
    if (!opened)
        return kExitUsage;
    const auto done = ReplaceFromFile(a, *opened, err);
    if (!done)
        return kExitUsage; // nothing was written
    std::string kept, tidied;
    if (auto failure = SavePageFile(opened->pages, opened->path, CliBackupPolicy(), &kept, &tidied)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << *done << " " << opened->path.filename().string() << " saved, the previous file kept as "
        << opened->path.filename().string() << ".BAK.\n";
    if (!tidied.empty())
        out << PrintableText(tidied) << "\n";
    if (!kept.empty())
        err << kept << "\n";
    return 0;
}

} // namespace

Command PagesCommand()
{
    return MakeCommand(
        "pages",
        "Lists the chunks of the game's page file (VSWAP) in DIR: each chunk's kind and length in\n"
        "bytes, then the digitised sounds with their first chunk and length. Status 2 when DIR\n"
        "holds no game, the game has no page file, or it is damaged.",
        RunPages);
}

Command ExportPagesCommand()
{
    return MakeCommand(
        "export-pages",
        "Writes the walls and sprites of the page file in DIR into OUTDIR as 64 x 64 indexed PNG\n"
        "files with the game's palette (wall-NNNN.png, sprite-NNNN.png: NNNN the chunk) and the\n"
        "digitised sounds as WAV files of 7042 Hz, 8 bits, mono (sound-NNN.wav: the sound number);\n"
        "sounds of the same chunks and length go into one file, and the output says which.",
        RunExportPages);
}

Command ImportPageCommand()
{
    return MakeCommand(
        "import-page",
        "Replaces one wall or sprite chunk of the page file in DIR from a 64 x 64 PNG or BMP file\n"
        "(--chunk N), or one digitised sound from a WAV file (--sound K), and saves the page file\n"
        "with a .BAK and a backup generation. A file that cannot be read or has the wrong size:\n"
        "status 2, and the page file stays as it was.",
        RunImportPage);
}

} // namespace tsl::cli
