#include "editor/keeping/KeptGameData.h"

#include "editor/keeping/Recovery.h"

#include <span>

namespace tsl {

namespace {

// The files one after another, each after its length (4 bytes).
Bytes Joined(std::initializer_list<const Bytes*> files)
{
    Bytes out;
    for (const Bytes* file : files) {
        out.resize(out.size() + 4);
        PutU32(out.data() + out.size() - 4, static_cast<std::uint32_t>(file->size()));
        out.insert(out.end(), file->begin(), file->end());
    }
    return out;
}

// The files of a joined recovery file; false when its lengths do not fit it.
bool Split(std::span<const std::uint8_t> bytes, std::initializer_list<Bytes*> files)
{
    for (Bytes* file : files) {
        if (bytes.size() < 4 || GetU32(bytes.data()) > bytes.size() - 4)
            return false;
        const std::size_t length = GetU32(bytes.data());
        file->assign(bytes.begin() + 4, bytes.begin() + 4 + static_cast<std::ptrdiff_t>(length));
        bytes = bytes.subspan(4 + length);
    }
    return bytes.empty();
}

// (The recovery names the file in its own message around this.)
Failure Unreadable(const char* files)
{
    return {std::string("The lengths it gives ") + files + " do not fit its size.", kRecoverCaption,
            MessageIcon::Warning};
}

} // namespace

KeptGraphics::KeptGraphics(DataDocument<GraphicsSet>& document, GraphicsPaths paths, std::optional<ChunkNames> names)
    : document_(document), paths_(std::move(paths)), names_(std::move(names))
{
    following_ = document_.Listen([this] { Tell(); });
}

KeptDocument::Keeping KeptGraphics::Keep() const
{
    // The chunks are shared and never change: the copy is a list of pointers.
    return [set = document_.Current()]() -> Outcome<Bytes> {
        const GraphicsFiles files = set.Encode();
        return Joined({&files.head, &files.dictionary, &files.graph});
    };
}

Outcome<KeptDocument::Taking> KeptGraphics::Read(Bytes bytes) const
{
    GraphicsFiles files;
    if (!Split(bytes, {&files.head, &files.dictionary, &files.graph}))
        return Unreadable("VGAHEAD, VGADICT and VGAGRAPH");
    auto set = GraphicsSet::Read(std::move(files), names_ ? &*names_ : nullptr, paths_);
    if (!set)
        return set.failure();
    return Taking([&document = document_, recovered = std::move(*set)] { document.TakeRecovered(recovered); });
}

KeptAudio::KeptAudio(DataDocument<AudioSet>& document, AudioPaths paths, std::optional<ChunkNames> names)
    : document_(document), paths_(std::move(paths)), names_(std::move(names))
{
    following_ = document_.Listen([this] { Tell(); });
}

KeptDocument::Keeping KeptAudio::Keep() const
{
    return [set = document_.Current()]() -> Outcome<Bytes> {
        const AudioFiles files = set.Encode();
        return Joined({&files.head, &files.audio});
    };
}

Outcome<KeptDocument::Taking> KeptAudio::Read(Bytes bytes) const
{
    AudioFiles files;
    if (!Split(bytes, {&files.head, &files.audio}))
        return Unreadable("AUDIOHED and AUDIOT");
    auto set = AudioSet::Read(std::move(files), names_ ? &*names_ : nullptr, paths_);
    if (!set)
        return set.failure();
    return Taking([&document = document_, recovered = std::move(*set)] { document.TakeRecovered(recovered); });
}

} // namespace tsl
