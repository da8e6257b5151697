// AUDIOT read and written back: the shareware's two files byte for byte,
// every sound and song exported and imported again as it was, hand-built
// sets with songs of both IMF kinds and an empty one, a table of damaged
// files and refused imports, and the sounds rendered at the engine's rates.

#include "TestUtil.h"
#include "audio/AudioExchange.h"
#include "audio/AudioRender.h"
#include "audio/AudioSet.h"
#include "mapdefs/ChunkNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tsl;
using namespace tsl::test;

namespace {

AudioFiles FilesOf(const std::vector<Bytes>& chunks)
{
    AudioFiles files;
    for (const Bytes& chunk : chunks) {
        Put32(files.head, static_cast<std::uint32_t>(files.audio.size()));
        files.audio.insert(files.audio.end(), chunk.begin(), chunk.end());
    }
    Put32(files.head, static_cast<std::uint32_t>(files.audio.size()));
    return files;
}

Bytes PcChunk(const Bytes& tics, const std::string& after = "")
{
    Bytes chunk;
    Put32(chunk, static_cast<std::uint32_t>(tics.size()));
    Put16(chunk, 10);
    chunk.insert(chunk.end(), tics.begin(), tics.end());
    PutText(chunk, after);
    return chunk;
}

Bytes AdLibChunk(const Bytes& notes, std::uint8_t sustain = 0x77)
{
    Bytes chunk;
    Put32(chunk, static_cast<std::uint32_t>(notes.size()));
    Put16(chunk, 50);
    const Bytes instrument = {0x21, 0x21, 0x10, 0x00, 0xF0, 0xF0, sustain, sustain, 0, 0, 0, 0, 0, 0, 0, 0};
    chunk.insert(chunk.end(), instrument.begin(), instrument.end());
    chunk.push_back(4); // the octave
    chunk.insert(chunk.end(), notes.begin(), notes.end());
    chunk.push_back(0);
    PutText(chunk, "TUBA");
    return chunk;
}

// Commands: (register, value, wait).
Bytes Commands(const std::vector<std::tuple<int, int, int>>& commands)
{
    Bytes bytes;
    for (const auto& [reg, value, wait] : commands) {
        bytes.push_back(static_cast<std::uint8_t>(reg));
        bytes.push_back(static_cast<std::uint8_t>(value));
        Put16(bytes, static_cast<std::uint16_t>(wait));
    }
    return bytes;
}

Bytes Song(const Bytes& commands, const std::string& tag = "")
{
    Bytes chunk;
    Put16(chunk, static_cast<std::uint16_t>(commands.size()));
    chunk.insert(chunk.end(), commands.begin(), commands.end());
    PutText(chunk, tag);
    return chunk;
}

// A note on channel 1 held for `tics`, then released.
Bytes ANote(int tics)
{
    return Commands({{0, 0, 0}, {0x21, 0x01, 0}, {0x41, 0x10, 0}, {0x61, 0xF0, 0}, {0x81, 0x77, 0}, {0x24, 0x01, 0},
                     {0x44, 0x00, 0}, {0x64, 0xF0, 0}, {0x84, 0x77, 0}, {0xA1, 0x98, 0}, {0xB1, 0x31, tics},
                     {0xB1, 0x11, 0}});
}

// Two sounds of each kind, the digitised places empty, then two songs: one
// with its name after it, one empty but for its name.
std::vector<Bytes> HandBuilt()
{
    return {PcChunk({40, 40, 0}, std::string(1, '\0')), PcChunk({}), AdLibChunk({0x98, 0, 0x80}), AdLibChunk({0x50}),
            {}, {}, Song(ANote(70), std::string("\x01\x00SONG\0", 7)), Song({}, "EMPTY")};
}

// Sign changes per second of a stretch of samples: twice its frequency.
double Frequency(std::span<const std::int16_t> samples)
{
    int changes = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        changes += (samples[i] >= 0) != (samples[i - 1] >= 0);
    return changes * static_cast<double>(kAudioRate) / 2 / static_cast<double>(samples.size());
}

} // namespace

TEST(AudioSet, TheSharewareFilesAreWrittenBackAndEveryChunkComesBackFromItsFile)
{
    const auto dir = SharewareDir();
    if (!dir)
        GTEST_SKIP() << "The shareware game data is not there.";
    const auto paths = FindAudioFiles(*dir, "WL1");
    auto names = ChunkNames::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "chunks.txt");
    ASSERT_TRUE(names) << names.failure().text;
    auto set = AudioSet::Load(*paths, &*names);
    ASSERT_TRUE(set) << set.failure().text;
    EXPECT_EQ(set->ChunkCount(), 288);
    const AudioFiles original{ReadFile(paths->head), ReadFile(paths->audio)};
    EXPECT_TRUE(set->Encode() == original);
    EXPECT_EQ(set->Layout().Find("GETTHEM_MUS"), 264);
    EXPECT_EQ(set->KindOf(87), AudioKind::AdLib);
    EXPECT_EQ(set->Layout().NameOf(87), "HITWALLSND");

    // The layout found without names is the headers' one.
    auto unnamed = AudioSet::Load(*paths, nullptr);
    ASSERT_TRUE(unnamed);
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk)
        EXPECT_EQ(unnamed->KindOf(chunk), set->KindOf(chunk)) << chunk;

    // Every sound and song exported in its own form (ExportAudio writes
    // these bytes; the WAV files beside them are not read back), and each
    // imported into its chunk.
    int files = 0;
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk) {
        const std::string name = AudioFileName(set->KindOf(chunk), chunk);
        if (name.empty())
            continue;
        ++files;
        const auto exported = set->ChunkBytes(chunk);
        const auto bytes = AudioChunkFromFile(set->KindOf(chunk), Bytes(exported.begin(), exported.end()), name);
        ASSERT_TRUE(bytes) << name << ": " << bytes.failure().text;
        ASSERT_FALSE(set->Replace(chunk, *bytes)) << name;
    }
    EXPECT_EQ(files, 87 + 87 + 27);
    EXPECT_TRUE(set->Encode() == original);
    // Map 1's song lasts as long as its tics say.
    const auto song = ReadMusic(set->ChunkBytes(264));
    ASSERT_TRUE(song);
    EXPECT_NEAR(MusicSeconds(*song), 80.037, 0.001);
}

TEST(AudioSet, AHandBuiltSetReadsIsWrittenBackAndFindsItsLayout)
{
    const AudioFiles files = FilesOf(HandBuilt());
    auto set = AudioSet::Read(files, nullptr);
    ASSERT_TRUE(set) << set.failure().text;
    EXPECT_TRUE(set->Encode() == files);
    const AudioKind kinds[] = {AudioKind::PcSpeaker, AudioKind::PcSpeaker, AudioKind::AdLib, AudioKind::AdLib,
                               AudioKind::Digitised, AudioKind::Digitised, AudioKind::Music, AudioKind::Music};
    for (int chunk = 0; chunk < 8; ++chunk)
        EXPECT_EQ(set->KindOf(chunk), kinds[chunk]) << chunk;
    EXPECT_FALSE(ReadMusic(set->ChunkBytes(7))->size());

    // Exported into files and imported back from them, empty chunks too.
    TempDir out;
    const auto written = ExportAudio(*set, out.path());
    ASSERT_TRUE(written) << written.failure().text;
    EXPECT_EQ(*written, (std::vector<std::string>{"pcspeaker-000.pcs", "pcspeaker-000.wav", "pcspeaker-001.pcs",
                                                  "pcspeaker-001.wav", "adlib-002.adl", "adlib-002.wav", "adlib-003.adl",
                                                  "adlib-003.wav", "music-006.imf", "music-006.wav", "music-007.imf",
                                                  "music-007.wav"}));
    for (const std::string& name : *written)
        if (!name.ends_with(".wav")) {
            const int chunk = std::stoi(name.substr(name.find('-') + 1, 3));
            const auto bytes = AudioChunkFromFile(set->KindOf(chunk), ReadFile(out / name), name);
            ASSERT_TRUE(bytes) << name;
            ASSERT_FALSE(set->Replace(chunk, *bytes));
        }
    EXPECT_TRUE(set->Encode() == files);
    EXPECT_EQ(ReadFile(out / "music-006.wav").size(), 44u + 2 * 70 * 63); // 16-bit samples after the header

    // A song replaced: the chunks after it keep their bytes.
    ASSERT_FALSE(set->Replace(6, Song(ANote(7))));
    auto again = AudioSet::Read(set->Encode(), nullptr);
    ASSERT_TRUE(again);
    EXPECT_TRUE(std::ranges::equal(again->ChunkBytes(6), Song(ANote(7))));
    EXPECT_TRUE(std::ranges::equal(again->ChunkBytes(7), Song({}, "EMPTY")));
}

TEST(AudioExchange, SongsComeInFromEitherKindOfImfFile)
{
    const Bytes song = ANote(70);
    Bytes lengthPrefixed = Song(song, "SONG\0NAME");
    const struct {
        const char* what;
        Bytes file;
        Bytes chunk;
    } rows[] = {
        {"length-prefixed, with tag data", lengthPrefixed, lengthPrefixed},
        {"header-less (it starts with the null command)", song, Song(song)},
        {"a chunk without a song but its name", Song({}, "DUNGEON"), Song({}, "DUNGEON")},
        {"an empty chunk", {}, {}},
    };
    for (const auto& row : rows) {
        const auto chunk = AudioChunkFromFile(AudioKind::Music, row.file, "song.imf");
        ASSERT_TRUE(chunk) << row.what << ": " << chunk.failure().text;
        EXPECT_EQ(*chunk, row.chunk) << row.what;
    }
}

TEST(AudioExchange, FilesThatAreNoSoundOfTheirKindAreRefusedWithWhy)
{
    Bytes odd = ANote(3);
    odd.push_back(0);
    Bytes tooLong(65536, 0);
    const struct {
        AudioKind kind;
        Bytes file;
        const char* says;
    } rows[] = {
        {AudioKind::Music, {1}, "holds one byte"},
        {AudioKind::Music, odd, "is an IMF file without a length of 49 bytes"},
        {AudioKind::Music, tooLong, "is a song of 65536 bytes of commands"},
        {AudioKind::Music, Bytes{0x03, 0x00, 1, 2, 3}, "which are not whole commands of 4"},
        {AudioKind::AdLib, Bytes(10, 1), "less than an AdLib sound's length, priority, instrument and octave"},
        {AudioKind::AdLib, AdLibChunk({1, 2}, 0), "(\"Bad instrument\")"},
        {AudioKind::PcSpeaker, Bytes{9, 0, 0, 0, 1, 0, 5},
         "is a PC speaker sound of 9 tics in 7 bytes"},
        {AudioKind::Digitised, Bytes{1}, "only PC speaker sounds, AdLib sounds and songs are replaced"},
    };
    for (const auto& row : rows) {
        const auto chunk = AudioChunkFromFile(row.kind, row.file, "in.bin");
        ASSERT_FALSE(chunk) << row.says;
        EXPECT_NE(chunk.failure().text.find(row.says), std::string::npos) << chunk.failure().text;
        EXPECT_EQ(chunk.failure().caption, kAudioImportCaption);
    }
}

TEST(AudioSet, DamagedFilesAreRefusedWithWhatIsWrong)
{
    const auto withChunk = [](std::size_t at, Bytes bytes) {
        std::vector<Bytes> chunks = HandBuilt();
        chunks[at] = std::move(bytes);
        return FilesOf(chunks);
    };
    AudioFiles cut = FilesOf(HandBuilt());
    cut.head.pop_back();
    AudioFiles shortFile = FilesOf(HandBuilt());
    shortFile.audio.pop_back();
    AudioFiles backwards = FilesOf(HandBuilt());
    PutU32(backwards.head.data() + 4 * 3, 0);
    const struct {
        const char* what;
        AudioFiles files;
        const char* says;
    } rows[] = {
        {"a header of no whole offsets", cut, "AUDIOHED is damaged: it holds 35 bytes"},
        {"an end past the file", shortFile, "AUDIOHED ends the chunks at"},
        {"a chunk before the one ahead of it", backwards, "chunk 3 starts at 0, before the chunk ahead of it"},
        {"a PC speaker sound longer than its chunk", withChunk(0, Bytes{200, 0, 0, 0, 1, 0, 7}),
         "chunk 0 (A) is a PC speaker sound of 200 tics in 7 bytes"},
        {"an AdLib sound without its instrument", withChunk(2, Bytes(12, 1)),
         "chunk 2 (A) holds 12 bytes, less than an AdLib sound's length"},
        {"a song past its chunk", withChunk(6, Bytes{0x40, 0, 0, 0, 0, 0}), "chunk 6 (A_MUS) is a song of 64 bytes in 6 bytes"},
        {"a song of no whole commands", withChunk(6, Bytes{2, 0, 0, 0}), "not whole commands of 4"},
    };
    const auto names = ChunkNames::Parse("audio,8,0,pc_speaker,A\naudio,8,1,pc_speaker,B\naudio,8,2,adlib,A\n"
                                         "audio,8,3,adlib,B\naudio,8,4,digitised,A\naudio,8,5,digitised,B\n"
                                         "audio,8,6,music,A_MUS\naudio,8,7,music,B_MUS\n",
                                         "chunks.txt");
    ASSERT_TRUE(names) << names.failure().text;
    for (const auto& row : rows) {
        const auto set = AudioSet::Read(row.files, &*names);
        ASSERT_FALSE(set) << row.what;
        EXPECT_NE(set.failure().text.find(row.says), std::string::npos) << row.what << ": " << set.failure().text;
    }
}

TEST(AudioRender, SoundsAndSongsPlayAtTheEngineRates)
{
    // PC speaker: a tic of 140 Hz is 315 samples; byte 40 sounds
    // 1193180 / 2400 = 497 Hz, and 0 is silence.
    Bytes tics(20, 40);
    tics.push_back(0);
    const Bytes pcChunk = PcChunk(tics);
    const auto pc = ReadPcSpeakerSound(pcChunk);
    const std::vector<std::int16_t> speaker = RenderPcSpeaker(*pc);
    ASSERT_EQ(speaker.size(), 21u * 315);
    EXPECT_NEAR(Frequency(std::span(speaker).first(20 * 315)), 497.0, 4.0);
    EXPECT_TRUE(std::ranges::all_of(std::span(speaker).subspan(20 * 315), [](std::int16_t s) { return s == 0; }));

    // A song lasts its tics at 700 Hz (63 samples a tic), and a held note sounds.
    const Bytes note = ANote(700);
    const std::vector<std::int16_t> song = RenderMusic(note);
    EXPECT_EQ(song.size(), 700u * 63);
    EXPECT_DOUBLE_EQ(MusicSeconds(note), 1.0);
    EXPECT_GT(*std::ranges::max_element(song), 1000);
    // Without the key-on the chip stays silent.
    const std::vector<std::int16_t> quiet = RenderMusic(Commands({{0xA1, 0x98, 0}, {0xB1, 0x11, 70}}));
    EXPECT_TRUE(std::ranges::all_of(quiet, [](std::int16_t s) { return std::abs(s) < 64; }));

    // An AdLib sound: a note every fifth tic of 700 Hz, its notes and rests heard.
    const Bytes adlibChunk = AdLibChunk({0x98, 0x98, 0, 0});
    const auto adlib = ReadAdLibSound(adlibChunk);
    const std::vector<std::int16_t> effect = RenderAdLib(*adlib);
    EXPECT_EQ(effect.size(), 4u * 5 * 63 + 315); // the fourth note's tic, then a tic of 140 Hz to release
    EXPECT_GT(*std::ranges::max_element(std::span(effect).first(3 * 315)), 1000);
}
