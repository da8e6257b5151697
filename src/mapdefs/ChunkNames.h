#pragma once
// Which chunk of the game's VGAGRAPH and AUDIOT files is which: the
// structure's "chunks.txt", written from the released engine's headers
// (gfxv_*.h, audio*.h), which give every chunk a number and a name. Lines end
// in CR LF; blank lines and lines starting with "#" are notes. Every other
// line is
//
//     file,count,chunk,kind,name
//
// - file: "graphics" (VGAGRAPH) or "audio" (AUDIOT);
// - count: the chunks of a file this line is for. One game ships in versions
//   whose files hold different chunks (the shareware leaves the end texts of
//   the missing episodes out; the first and later editions of the six
//   episodes number their pictures differently), and the file's header says
//   which one it is: lines of one file and count make up one layout, which
//   must list every chunk from 0 to count - 1 once;
// - chunk: from 0;
// - kind: table, font, picture, masked_picture, tile8 or data for graphics;
//   pc_speaker, adlib, digitised or music for audio;
// - name: as the headers spell it (TITLEPIC, GETTHEM_MUS); empty where they
//   name none.
// A file whose chunk count no layout has is browsed by number.

#include "core/Failure.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

struct NamedChunk {
    int chunk = 0;
    std::string kind;
    std::string name;
    friend bool operator==(const NamedChunk&, const NamedChunk&) = default;
};

struct ChunkLayout {
    std::string file; // "graphics" or "audio"
    int count = 0;
    std::vector<NamedChunk> chunks; // by chunk number
};

class ChunkNames {
public:
    // `fileName` names the text in messages.
    static Outcome<ChunkNames> Parse(std::string_view text, const std::string& fileName);
    static Outcome<ChunkNames> Load(const std::filesystem::path& path);

    // The layout of `file` for a file of `count` chunks; nullptr when none.
    const ChunkLayout* Layout(std::string_view file, int count) const;
    const std::vector<ChunkLayout>& Layouts() const { return layouts_; }

private:
    std::vector<ChunkLayout> layouts_;
};

// The kinds a layout of `file` may give a chunk.
bool KnownChunkKind(std::string_view file, std::string_view kind);

} // namespace tsl
