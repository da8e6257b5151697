#pragma once
// The game's other pictures and its sounds as kept documents: the autosave
// keeps each changed set beside the maps' recovery file ("<key>.vgagraph":
// VGAHEAD, VGADICT and VGAGRAPH one after another, each after its length;
// "<key>.audiot": AUDIOHED and AUDIOT), and a recovery reads them back
// through the sets' own checks.

#include "audio/AudioSet.h"
#include "editor/document/DataDocument.h"
#include "editor/keeping/KeptDocument.h"
#include "mapdefs/ChunkNames.h"
#include "vgagraph/GraphicsSet.h"

#include <optional>

namespace tsl {

class KeptGraphics : public KeptDocument {
public:
    // `document` must outlive this; `names` name the recovered set's chunks.
    KeptGraphics(DataDocument<GraphicsSet>& document, GraphicsPaths paths, std::optional<ChunkNames> names);

    std::string RecoveryExtension() const override { return "vgagraph"; }
    std::filesystem::path SavedFile() const override { return paths_.graph; }
    bool Changed() const override { return document_.Changed(); }
    Keeping Keep() const override;
    Outcome<Taking> Read(Bytes bytes) const override;

private:
    DataDocument<GraphicsSet>& document_;
    GraphicsPaths paths_;
    std::optional<ChunkNames> names_;
    DataDocument<GraphicsSet>::Token following_;
};

class KeptAudio : public KeptDocument {
public:
    KeptAudio(DataDocument<AudioSet>& document, AudioPaths paths, std::optional<ChunkNames> names);

    std::string RecoveryExtension() const override { return "audiot"; }
    std::filesystem::path SavedFile() const override { return paths_.audio; }
    bool Changed() const override { return document_.Changed(); }
    Keeping Keep() const override;
    Outcome<Taking> Read(Bytes bytes) const override;

private:
    DataDocument<AudioSet>& document_;
    AudioPaths paths_;
    std::optional<ChunkNames> names_;
    DataDocument<AudioSet>::Token following_;
};

} // namespace tsl
