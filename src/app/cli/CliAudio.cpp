// tesselar-cli audio DIR, export-audio DIR OUT and import-audio DIR FILE
// --chunk N: the game's sounds and music (AUDIOHED, AUDIOT) listed, written
// out as WAV files and in their own form, and one sound or song replaced
// from a file and saved with a backup generation.

#include "app/cli/CliGameData.h"
#include "app/cli/JsonOutput.h"
#include "audio/AudioExchange.h"
#include "audio/AudioRender.h"
#include "audio/AudioSet.h"

#include <cstdio>
#include <ostream>

namespace tsl::cli {
namespace {

struct OpenedAudio {
    GameData game;
    AudioPaths paths;
    AudioSet set;
};

std::optional<OpenedAudio> OpenAudio(const std::string& dir, const LoaderOptions& options, std::ostream& err, int& status)
{
    status = kExitUsage;
    auto game = FindGameData(dir, options, err);
    if (!game)
        return std::nullopt;
    const auto paths = FindAudioFiles(dir, game->extension);
    if (!paths) {
        err << "The game's sounds are not all in " << PrintableText(dir) << ": AUDIOHED." << game->extension
            << " and AUDIOT." << game->extension << " are needed.\n";
        return std::nullopt;
    }
    auto set = AudioSet::Load(*paths, game->names ? &*game->names : nullptr);
    if (!set) {
        Report(set.failure(), err);
        status = kExitDamaged;
        return std::nullopt;
    }
    return OpenedAudio{std::move(*game), *paths, std::move(*set)};
}

// How long a sound or song plays; nothing for other chunks.
std::optional<double> Seconds(const AudioSet& set, int chunk)
{
    const auto bytes = set.ChunkBytes(chunk);
    switch (set.KindOf(chunk)) {
    case AudioKind::PcSpeaker:
        if (const auto sound = ReadPcSpeakerSound(bytes))
            return static_cast<double>(sound->length) / kSoundTicRate;
        break;
    case AudioKind::AdLib:
        if (const auto sound = ReadAdLibSound(bytes))
            return static_cast<double>(sound->length) / kSoundTicRate;
        break;
    case AudioKind::Music:
        if (const auto song = ReadMusic(bytes))
            return MusicSeconds(*song);
        return bytes.empty() ? std::nullopt : std::optional<double>(0.0);
    case AudioKind::Digitised:
    case AudioKind::Unknown:
        break;
    }
    return std::nullopt;
}

// --- audio ---

struct AudioArguments {
    std::string dir;
    bool json = false;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Json(json, "{\"chunks\": [{\"number\", \"kind\" (pc_speaker, adlib, digitised, music or unknown),\n"
                     "\"name\" (null when the headers give none), \"bytes\", \"seconds\" (how long a sound or song\n"
                     "plays; null for other chunks)}]}");
    }
};

int RunAudio(const AudioArguments& a, std::ostream& out, std::ostream& err)
{
    int status = 0;
    const auto opened = OpenAudio(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    const AudioSet& set = opened->set;
    if (a.json) {
        Json chunks = Json::array();
        for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
            const std::string& name = set.Layout().NameOf(chunk);
            const auto seconds = Seconds(set, chunk);
            chunks.push_back({{"number", chunk},
                              {"kind", AudioKindName(set.KindOf(chunk))},
                              {"name", name.empty() ? Json() : Json(name)},
                              {"bytes", set.ChunkBytes(chunk).size()},
                              {"seconds", seconds ? Json(*seconds) : Json()}});
        }
        PrintJson({{"chunks", chunks}}, out);
        return 0;
    }
    out << opened->paths.audio.filename().string() << ": " << set.ChunkCount() << " chunks"
        << (set.Layout().Named() ? ", named by the structure's chunks.txt" : ", by number (the structure names none of this count)")
        << ".\n";
    out << "Chunk  Kind          Bytes  Seconds  Name\n";
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        const auto seconds = Seconds(set, chunk);
        char time[32] = "";
        if (seconds)
            std::snprintf(time, sizeof time, "%.2f", *seconds);
        char row[96];
        std::snprintf(row, sizeof row, "%5d  %-11s %7zu  %7s  ", chunk,
                      std::string(AudioKindName(set.KindOf(chunk))).c_str(), set.ChunkBytes(chunk).size(), time);
        out << row << set.Layout().NameOf(chunk) << "\n";
    }
    return 0;
}

// --- export-audio ---

struct ExportAudioArguments {
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

int RunExportAudio(const ExportAudioArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.outDir.empty()) {
        err << "The argument OUT is empty: name the folder to write into.\n";
        return kExitUsage;
    }
    int status = 0;
    const auto opened = OpenAudio(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    if (RefuseChunksPast(a.chunks, opened->set.ChunkCount(), "the game's sounds", err))
        return kExitUsage;
    const auto written = ExportAudio(opened->set, a.outDir, a.chunks);
    if (!written) {
        Report(written.failure(), err);
        return kExitFailed;
    }
    out << written->size() << (written->size() == 1 ? " file" : " files") << " written into " << PrintableText(a.outDir)
        << ".\n";
    return 0;
}

// --- import-audio ---

struct ImportAudioArguments {
    std::string dir;
    std::string file;
    std::optional<int> chunk;
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Number("--chunk", "N", 0, 65534, chunk, "a chunk number from 0 to 65534",
                 "the sound or song to replace, from 0");
        d.Positional("FILE", file, "a song as an IMF file, or a sound as export-audio writes it (.pcs, .adl)");
    }
};

int RunImportAudio(const ImportAudioArguments& a, std::ostream& out, std::ostream& err)
{
    if (!a.chunk) {
        err << "Name the chunk to replace (--chunk N).\n";
        return kExitUsage;
    }
    int status = 0;
    auto opened = OpenAudio(a.dir, a.loader, err, status);
    if (!opened)
        return status;
    if (*a.chunk >= opened->set.ChunkCount()) {
        err << "There is no chunk " << *a.chunk << ": the game's sounds have " << opened->set.ChunkCount() << " chunks.\n";
        return kExitUsage;
    }
    const auto bytes = ReadWholeFile(a.file);
    if (!bytes) {
        err << "Couldn't read " << PrintableText(a.file) << "!\n";
        return kExitUsage;
    }
    const auto chunk = AudioChunkFromFile(opened->set.KindOf(*a.chunk), *bytes, PrintableText(a.file));
    if (!chunk) {
        Report(chunk.failure(), err);
        return kExitUsage;
    }
    if (auto refusal = opened->set.Replace(*a.chunk, *chunk)) {
        Report(*refusal, err);
        return kExitUsage;
    }
    std::string generation;
    const auto saved = SaveAudioSet(opened->set, opened->paths, CliBackupPolicy(), &generation);
    if (!saved) {
        Report(saved.failure(), err);
        return kExitFailed;
    }
    const std::string& name = opened->set.Layout().NameOf(*a.chunk);
    out << "Chunk " << *a.chunk << (name.empty() ? "" : " (" + name + ")") << " replaced from " << PrintableText(a.file)
        << ". ";
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

Command AudioCommand()
{
    return MakeCommand(
        "audio",
        "Lists the chunks of the game's sounds and music (AUDIOHED, AUDIOT) in DIR: each chunk's\n"
        "kind, its bytes, how long a sound or song plays and the name the released engine's headers\n"
        "give it (from the structure's chunks.txt). Status 2 when the files are not there, 3 when\n"
        "they are damaged.",
        RunAudio);
}

Command ExportAudioCommand()
{
    return MakeCommand(
        "export-audio",
        "Writes every PC speaker sound, AdLib sound and song of the game in DIR into OUT, empty\n"
        "ones too, as a WAV file (16 bits, mono, 44100 Hz: as the engine plays it) and in the form\n"
        "import-audio takes back: pcspeaker-NNN.pcs, adlib-NNN.adl, music-NNN.imf (NNN the chunk).",
        RunExportAudio);
}

Command ImportAudioCommand()
{
    return MakeCommand(
        "import-audio",
        "Replaces chunk N of the game's sounds in DIR from FILE (a song from an IMF file, with its\n"
        "length or without; a sound from the file export-audio writes) and saves the files that\n"
        "changed with a .BAK and a backup generation. A file refused: status 2, and the files stay\n"
        "as they were.",
        RunImportAudio);
}

} // namespace tsl::cli
