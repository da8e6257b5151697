#include "vgagraph/GraphicsLayout.h"

#include "mapdefs/ChunkNames.h"

#include <array>
#include <utility>

namespace tsl {

namespace {

constexpr std::array<std::pair<GraphicsKind, std::string_view>, 6> kKinds = {{
    {GraphicsKind::Table, "table"},
    {GraphicsKind::Font, "font"},
    {GraphicsKind::Picture, "picture"},
    {GraphicsKind::MaskedPicture, "masked_picture"},
    {GraphicsKind::Tile8, "tile8"},
    {GraphicsKind::Data, "data"},
}};

constexpr int kSharedFirstPicture = 3; // STARTPICS: after the table and the two fonts

const std::string kNoName;

} // namespace

std::string_view GraphicsKindName(GraphicsKind kind)
{
    for (const auto& [k, name] : kKinds)
        if (k == kind)
            return name;
    return "data";
}

GraphicsLayout GraphicsLayout::For(int count, const ChunkNames* names, int pictures)
{
    GraphicsLayout layout;
    if (const ChunkLayout* named = names ? names->Layout("graphics", count) : nullptr) {
        layout.named_ = true;
        layout.firstPicture_ = -1;
        for (const NamedChunk& chunk : named->chunks) {
            GraphicsKind kind = GraphicsKind::Data;
            for (const auto& [k, name] : kKinds)
                if (name == chunk.kind)
                    kind = k;
            if (kind == GraphicsKind::Picture && layout.firstPicture_ < 0)
                layout.firstPicture_ = chunk.chunk;
            layout.kinds_.push_back(kind);
            layout.names_.push_back(chunk.name);
        }
        if (layout.firstPicture_ < 0)
            layout.firstPicture_ = kSharedFirstPicture;
        return layout;
    }
    layout.names_.assign(static_cast<std::size_t>(count), std::string());
    for (int chunk = 0; chunk < count; ++chunk) {
        GraphicsKind kind = GraphicsKind::Data;
        if (chunk == 0)
            kind = GraphicsKind::Table;
        else if (chunk < kSharedFirstPicture)
            kind = GraphicsKind::Font;
        else if (chunk < kSharedFirstPicture + pictures)
            kind = GraphicsKind::Picture;
        else if (chunk == kSharedFirstPicture + pictures)
            kind = GraphicsKind::Tile8;
        layout.kinds_.push_back(kind);
    }
    return layout;
}

GraphicsKind GraphicsLayout::KindOf(int chunk) const
{
    if (chunk < 0 || static_cast<std::size_t>(chunk) >= kinds_.size())
        return GraphicsKind::Data;
    return kinds_[static_cast<std::size_t>(chunk)];
}

const std::string& GraphicsLayout::NameOf(int chunk) const
{
    if (chunk < 0 || static_cast<std::size_t>(chunk) >= names_.size())
        return kNoName;
    return names_[static_cast<std::size_t>(chunk)];
}

int GraphicsLayout::Find(std::string_view name) const
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (!name.empty() && names_[i] == name)
            return static_cast<int>(i);
    return -1;
}

} // namespace tsl
