// tesselar-cli graphics DIR, export-graphics DIR OUT and import-graphic DIR
// FILE --chunk N: the game's pictures, fonts and data (VGAHEAD, VGADICT,
// VGAGRAPH) listed, written out as files, and one chunk replaced from a file
// and saved with a backup generation.

#include "app/cli/CliGameData.h"
#include "app/cli/JsonOutput.h"
#include "vgagraph/GraphicsExchange.h"
#include "vgagraph/GraphicsSet.h"

#include <cstdio>
#include <ostream>

namespace tsl::cli {
namespace {

struct OpenedGraphics {
    GameData game;
    GraphicsPaths paths;
    GraphicsSet set;
};

// The set of the game in `dir`; nothing, with the status to end with: 2
// when there is none, 3 when it is damaged.
std::optional<OpenedGraphics> OpenGraphics(const std::string& dir, const LoaderOptions& options, std::ostream& err,
                                           int& status)
{
    status = kExitUsage;
    auto game = FindGameData(dir, options, err);
    if (!game)
        return std::nullopt;
    const auto paths = FindGraphicsFiles(dir, game->extension);
    if (!paths) {
        err << "The game's pictures are not all in " << PrintableText(dir) << ": VGAHEAD." << game->extension
            << ", VGADICT." << game->extension << " and VGAGRAPH." << game->extension << " are needed.\n";
        return std::nullopt;
    }
    auto set = GraphicsSet::Load(*paths, game->names ? &*game->names : nullptr);
    if (!set) {
        Report(set.failure(), err);
        status = kExitDamaged;
        return std::nullopt;
    }
    return OpenedGraphics{std::move(*game), *paths, std::move(*set)};
}

std::string ChunkLabel(const GraphicsSet& set, int chunk)
{
    const std::string& name = set.Layout().NameOf(chunk);
    return "Chunk " + std::to_string(chunk) + (name.empty() ? "" : " (" + name + ")");
}

// --- graphics ---

struct GraphicsArguments {
    std::string dir;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Json(json, "{\"chunks\": [{\"number\", \"kind\" (table, picture, masked_picture, font, tile8 or data),\n"
                     "\"name\" (null when the headers give none), \"bytes\" (in VGAGRAPH), \"length\" (expanded;\n"
                     "null for an empty chunk), \"width\" and \"height\" (pictures and tiles)}]}");
    }
};

void PrintGraphicsJson(const GraphicsSet& set, std::ostream& out)
{
    Json chunks = Json::array();
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        const std::string& name = set.Layout().NameOf(chunk);
        const GraphicsSet::Chunk stored = set.Stored(chunk);
        Json entry = {{"number", chunk},
                      {"kind", GraphicsKindName(set.KindOf(chunk))},
                      {"name", name.empty() ? Json() : Json(name)},
                      {"bytes", stored ? stored->size() : 0},
                      {"length", stored ? Json(set.Expanded(chunk).size()) : Json()}};
        if (const auto picture = set.Picture(chunk)) {
            entry["width"] = picture->width;
            entry["height"] = picture->height;
        }
        chunks.push_back(entry);
    }
    PrintJson({{"chunks", chunks}}, out);
}

void PrintGraphicsText(const OpenedGraphics& opened, std::ostream& out)
{
    const GraphicsSet& set = opened.set;
    out << opened.paths.graph.filename().string() << ": " << set.ChunkCount() << " chunks"
        << (set.Layout().Named() ? ", named by the structure's chunks.txt" : ", by number (the structure names none of this count)")
        << ".\n";
    out << "Chunk  Kind            Bytes   Length  Size       Name\n";
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        const GraphicsSet::Chunk stored = set.Stored(chunk);
        std::string size;
        if (const auto picture = set.Picture(chunk))
            size = std::to_string(picture->width) + " x " + std::to_string(picture->height);
        char row[96];
        std::snprintf(row, sizeof row, "%5d  %-14s %6zu  %7s  %-9s  ", chunk,
                      std::string(GraphicsKindName(set.KindOf(chunk))).c_str(), stored ? stored->size() : std::size_t{0},
                      stored ? std::to_string(set.Expanded(chunk).size()).c_str() : "empty", size.c_str());
        out << row << set.Layout().NameOf(chunk) << "\n";
    }
}

int RunGraphics(const GraphicsArguments& a, std::ostream& out, std::ostream& err)
{
    int status = 0;
    const auto opened = OpenGraphics(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    if (a.json)
        PrintGraphicsJson(opened->set, out);
    else
        PrintGraphicsText(*opened, out);
    return 0;
}

// --- export-graphics ---

struct ExportGraphicsArguments {
    std::string dir;
    std::string outDir;
    std::optional<std::set<int>> chunks;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Positional("OUT", outDir, "the folder to write into (made when missing)", "DIR");
        d.Value("--chunks", "LIST", "only these chunks (from 0: 0,3,5-9)",
                [this](const std::string& text) { return ReadChunkNumbers(text, chunks.emplace()); });
    }
};

int RunExportGraphics(const ExportGraphicsArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.outDir.empty()) {
        err << "The argument OUT is empty: name the folder to write into.\n";
        return kExitUsage;
    }
    int status = 0;
    const auto opened = OpenGraphics(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    if (RefuseChunksPast(a.chunks, opened->set.ChunkCount(), "the game's pictures", err))
        return kExitUsage;
    const auto palette = GameDataPalette(opened->game, err);
    if (!palette)
        return kExitUsage;
    const auto written = ExportGraphics(opened->set, *palette, a.outDir, a.chunks);
    if (!written) {
        Report(written.failure(), err);
        return kExitFailed;
    }
    out << written->size() << (written->size() == 1 ? " file" : " files") << " written into " << PrintableText(a.outDir)
        << ".\n";
    return 0;
}

// --- import-graphic ---

struct ImportGraphicArguments {
    std::string dir;
    std::string file;
    std::optional<int> chunk;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Number("--chunk", "N", 0, 65534, chunk, "a chunk number from 0 to 65534",
                 "the chunk to replace, from 0 (a picture, the tiles, a font or data)");
        d.Positional("FILE", file, "a picture (PNG or BMP), or a font's or data chunk's file as export-graphics writes it");
    }
};

int RunImportGraphic(const ImportGraphicArguments& a, std::ostream& out, std::ostream& err)
{
    if (!a.chunk) {
        err << "Name the chunk to replace (--chunk N).\n";
        return kExitUsage;
    }
    int status = 0;
    auto opened = OpenGraphics(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    if (*a.chunk >= opened->set.ChunkCount()) {
        err << "There is no chunk " << *a.chunk << ": the game's pictures have " << opened->set.ChunkCount() << " chunks.\n";
        return kExitUsage;
    }
    const auto bytes = ReadWholeFile(a.file);
    if (!bytes) {
        err << "Couldn't read " << PrintableText(a.file) << "!\n";
        return kExitUsage;
    }
    const auto palette = GameDataPalette(opened->game, err);
    if (!palette)
        return kExitUsage;
    if (auto refusal = ImportGraphic(opened->set, *a.chunk, *bytes, PrintableText(a.file), *palette)) {
        Report(*refusal, err);
        return kExitUsage;
    }
    std::string generation;
    const auto saved = SaveGraphicsSet(opened->set, opened->paths, CliBackupPolicy(), &generation);
    if (!saved) {
        Report(saved.failure(), err);
        return kExitFailed;
    }
    out << ChunkLabel(opened->set, *a.chunk) << " replaced from " << PrintableText(a.file) << ". ";
    if (saved->empty())
        out << "It held that already: nothing was saved.\n";
    else
        out << CLI::detail::join(*saved, " and ") << " saved, the previous " << (saved->size() == 1 ? "file" : "files")
            << " kept as .BAK.\n";
    if (!generation.empty())
        err << generation << "\n";
    return 0;
}

} // namespace

Command GraphicsCommand()
{
    return MakeCommand(
        "graphics",
        "Lists the chunks of the game's pictures (VGAHEAD, VGADICT, VGAGRAPH) in DIR: each chunk's\n"
        "kind, its bytes in VGAGRAPH, its expanded length, a picture's size and the name the\n"
        "released engine's headers give it (from the structure's chunks.txt). Status 2 when the\n"
        "files are not there, 3 when they are damaged.",
        RunGraphics);
}

Command ExportGraphicsCommand()
{
    return MakeCommand(
        "export-graphics",
        "Writes the chunks of the game's pictures in DIR into OUT: pictures as indexed PNG files\n"
        "in the game's palette (picture-NNN.png, NNN the chunk), the 8 x 8 tiles as one PNG\n"
        "(tile8-NNN.png), fonts as font-NNN.fnt with a PNG sheet of their characters, texts as\n"
        "text-NNN.txt and other data as data-NNN.bin, each as import-graphic takes it back.",
        RunExportGraphics);
}

Command ImportGraphicCommand()
{
    return MakeCommand(
        "import-graphic",
        "Replaces chunk N of the game's pictures in DIR from FILE (a PNG or BMP picture of any\n"
        "size the game's screen takes, whose width is a multiple of 4; the tiles from a 64 x 72\n"
        "picture; a font or data from its file) and saves the files that changed with a .BAK and\n"
        "a backup generation. A file refused: status 2, and the files stay as they were.",
        RunImportGraphic);
}

} // namespace tsl::cli
