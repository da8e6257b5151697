// The readers of the game's other data on arbitrary bytes: the input is a
// VGAHEAD, VGADICT and VGAGRAPH (and an AUDIOHED and AUDIOT) in turn, each
// after a 16-bit length, the last taking the rest. What the readers accept
// must expand within what its code can give, show its pictures at the sizes
// the table gives, write back byte for byte, take a picture replaced and read
// again; every sound and song must come back from its file, and short ones
// render at the engine's rates.

#include "audio/AudioExchange.h"
#include "audio/AudioRender.h"
#include "audio/AudioSet.h"
#include "vgagraph/GraphicsExchange.h"
#include "vgagraph/GraphicsSet.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The next part of the input: a 16-bit length, then that many bytes (or the
// rest when `last`).
tsl::Bytes Part(std::span<const std::uint8_t>& input, bool last = false)
{
    std::size_t length = input.size();
    if (!last) {
        if (input.size() < 2)
            return {};
        length = std::min<std::size_t>(tsl::GetU16(input.data()), input.size() - 2);
        input = input.subspan(2);
    }
    tsl::Bytes part(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(length));
    input = input.subspan(length);
    return part;
}

void FuzzGraphics(const tsl::GraphicsFiles& files)
{
    auto set = tsl::GraphicsSet::Read(files, nullptr);
    if (!set) {
        Check(!set.failure().text.empty());
        return;
    }
    Check(set->Encode().head == files.head && set->Encode().graph == files.graph);
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk) {
        const auto stored = set->Stored(chunk);
        Check(set->Expanded(chunk).size() <= (stored ? stored->size() * 8 : 0));
        if (const auto picture = set->Picture(chunk)) {
            Check(picture->indices.size() == static_cast<std::size_t>(picture->width) * picture->height);
            tsl::IndexedPicture changed = *picture;
            if (!changed.indices.empty())
                changed.indices[0] ^= 0x55;
            tsl::GraphicsSet copy = *set;
            if (!copy.ReplacePicture(chunk, changed)) {
                auto again = tsl::GraphicsSet::Read(copy.Encode(), nullptr);
                Check(bool(again));
                Check(again->Picture(chunk)->indices == changed.indices || set->KindOf(chunk) == tsl::GraphicsKind::Tile8);
            }
        }
        if (set->KindOf(chunk) == tsl::GraphicsKind::Font)
            tsl::FontSheet(set->Expanded(chunk));
    }
}

void FuzzAudio(const tsl::AudioFiles& files)
{
    auto set = tsl::AudioSet::Read(files, nullptr);
    if (!set) {
        Check(!set.failure().text.empty());
        return;
    }
    Check(set->Encode() == files);
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk) {
        const tsl::AudioKind kind = set->KindOf(chunk);
        const auto bytes = set->ChunkBytes(chunk);
        if (tsl::AudioFileName(kind, chunk).empty())
            continue;
        // A song of no commands whose next word is zero reads as a
        // header-less IMF file that starts with a null command (the usual
        // start of one): no file tells the two apart, and the import takes
        // the IMF reading.
        if (kind == tsl::AudioKind::Music && bytes.size() >= 4 && tsl::GetU16(bytes.data()) == 0 &&
            tsl::GetU16(bytes.data() + 2) == 0)
            continue;
        const auto back = tsl::AudioChunkFromFile(kind, tsl::Bytes(bytes.begin(), bytes.end()), "fuzz");
        Check(back && std::equal(back->begin(), back->end(), bytes.begin(), bytes.end()));
        // A second of sound at most, so that the fuzzer keeps its pace.
        const auto song = tsl::ReadMusic(bytes);
        if (bytes.size() < 200 && (kind != tsl::AudioKind::Music || (song && tsl::MusicSeconds(*song) < 1)))
            Check(tsl::RenderChunk(kind, bytes).size() <= tsl::kMaxRenderSamples);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> input(data, size);
    tsl::GraphicsFiles graphics;
    graphics.head = Part(input);
    graphics.dictionary = Part(input);
    graphics.graph = Part(input);
    tsl::AudioFiles audio;
    audio.head = Part(input);
    audio.audio = Part(input, true);
    FuzzGraphics(graphics);
    FuzzAudio(audio);
    // The whole input as a song and as sounds of either kind.
    const tsl::Bytes whole(data, data + size);
    for (const auto kind : {tsl::AudioKind::Music, tsl::AudioKind::AdLib, tsl::AudioKind::PcSpeaker})
        if (const auto chunk = tsl::AudioChunkFromFile(kind, whole, "fuzz"))
            Check(!tsl::AudioChunkFault(kind, *chunk).size());
    return 0;
}
