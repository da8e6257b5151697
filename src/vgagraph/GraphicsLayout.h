#pragma once
// What each chunk of VGAGRAPH is. The structure's chunk names (ChunkNames.h)
// say it for the versions of a game that the released engine's headers
// describe, by the chunk count the header gives. For any other file the
// layout that every game of this engine shares is taken: chunk 0 the picture
// table, chunks 1 and 2 the fonts, then as many pictures as the table lists,
// then the tiles, then data; such chunks have no names.

#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class ChunkNames;

enum class GraphicsKind { Table, Font, Picture, MaskedPicture, Tile8, Data };

// "table", "font", "picture", "masked_picture", "tile8", "data".
std::string_view GraphicsKindName(GraphicsKind kind);

inline constexpr int kTile8Count = 72; // NUMTILE8 of every game's header
inline constexpr int kTile8Bytes = 64;

class GraphicsLayout {
public:
    // The structure's layout for `count` chunks, or the shared one, whose
    // pictures are the `pictures` the table lists.
    static GraphicsLayout For(int count, const ChunkNames* names, int pictures);

    GraphicsKind KindOf(int chunk) const;
    // The header's name of the chunk; empty when it has none.
    const std::string& NameOf(int chunk) const;
    // The first picture chunk: picture p of the table is chunk FirstPicture() + p.
    int FirstPicture() const { return firstPicture_; }
    // Whether the names came from the structure.
    bool Named() const { return named_; }
    // The chunk named `name`, or -1.
    int Find(std::string_view name) const;

private:
    std::vector<GraphicsKind> kinds_;
    std::vector<std::string> names_;
    int firstPicture_ = 3;
    bool named_ = false;
};

} // namespace tsl
