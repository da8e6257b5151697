#include "editor/tools/BlockClipboard.h"

#include "editor/render/MapRenderer.h"

#include <algorithm>

namespace tsl {

void BlockClipboard::Reset(int planes, int width, int height)
{
    buffer_.Reset(planes, width, height);
    hasBlock_ = false;
    if (manager_ && !manager_->Entries.empty() && manager_->Entries.front().PlaneCount() != planes)
        manager_.reset();
}

void BlockClipboard::CopyBlock(const MapList& map, int planes, const TileRect& selection)
{
    if (buffer_.BufferWidth != map.Width || buffer_.BufferHeight != map.Height || buffer_.PlaneCount() != planes)
        buffer_.Reset(planes, map.Width, map.Height);
    for (std::vector<std::uint16_t>& plane : buffer_.Planes)
        std::fill(plane.begin(), plane.end(), 0);
    // A selection dragged on a larger map keeps to this map's words.
    buffer_.X1 = std::clamp(selection.Left(), 0, static_cast<int>(map.Width));
    buffer_.X2 = std::clamp(selection.Right() + 1, buffer_.X1, static_cast<int>(map.Width));
    buffer_.Y1 = std::clamp(selection.Top(), 0, static_cast<int>(map.Height));
    buffer_.Y2 = std::clamp(selection.Bottom() + 1, buffer_.Y1, static_cast<int>(map.Height));
    for (std::size_t p = 0; p < buffer_.Planes.size() && p < map.Planes.size(); ++p)
        for (int y = buffer_.Y1; y < buffer_.Y2; ++y)
            for (int x = buffer_.X1; x < buffer_.X2; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
                buffer_.Planes[p][at] = map.Planes[p][at];
            }
    MakePreview();
    hasBlock_ = true;
}

TileRect BlockClipboard::BlockTiles() const
{
    return {buffer_.X1, buffer_.Y1, buffer_.X2 - 1, buffer_.Y2 - 1};
}

void BlockClipboard::MakePreview()
{
    const int width = buffer_.BlockWidth();
    const int height = buffer_.BlockHeight();
    PlaneSet block(buffer_.Planes.size());
    for (std::size_t p = 0; p < buffer_.Planes.size(); ++p) {
        block[p].reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = buffer_.Y1; y < buffer_.Y2; ++y)
            for (int x = buffer_.X1; x < buffer_.X2; ++x)
                block[p].push_back(
                    buffer_.Planes[p][static_cast<std::size_t>(y) * static_cast<std::size_t>(buffer_.BufferWidth) +
                                      static_cast<std::size_t>(x)]);
    }
    RenderBlockPreview(buffer_.Preview, block, width, height, 1, symbols_);
}

void BlockClipboard::Transform(MapTransform transform, const FacingGroups& facing, bool turnFacing)
{
    TransformPasteBuffer(buffer_, transform, facing, turnFacing);
    MakePreview();
}

void BlockClipboard::PasteInto(MapList& map, int x, int y) const
{
    PasteBlock(map, buffer_.Planes, x, y, buffer_.X1, buffer_.Y1, buffer_.X2, buffer_.Y2, buffer_.BufferWidth);
}

CB_Manager& BlockClipboard::CreateClipboardManager()
{
    manager_.emplace();
    return *manager_;
}

CB_Object BlockClipboard::MakeClipboardEntry(int width, int height, PlaneSet planes) const
{
    CB_Object entry;
    entry.Width = width;
    entry.Height = height;
    entry.Planes = std::move(planes);
    RenderBlockPreview(entry.Preview, entry.Planes, width, height, 1, symbols_);
    return entry;
}

bool BlockClipboard::TakeEntry(int index, int planes)
{
    if (!manager_ || index < 0 || index >= static_cast<int>(manager_->Entries.size()))
        return false;
    const CB_Object& entry = manager_->Entries[static_cast<std::size_t>(index)];
    if (entry.Width > buffer_.BufferWidth || entry.Height > buffer_.BufferHeight || buffer_.PlaneCount() != planes)
        buffer_.Reset(planes, std::max(entry.Width, buffer_.BufferWidth), std::max(entry.Height, buffer_.BufferHeight));
    for (std::vector<std::uint16_t>& plane : buffer_.Planes)
        std::fill(plane.begin(), plane.end(), 0);
    buffer_.X1 = buffer_.Y1 = 0;
    buffer_.X2 = entry.Width;
    buffer_.Y2 = entry.Height;
    const auto width = static_cast<std::size_t>(entry.Width);
    for (std::size_t p = 0; p < buffer_.Planes.size() && p < entry.Planes.size(); ++p)
        for (std::size_t y = 0; y < static_cast<std::size_t>(entry.Height); ++y)
            std::copy_n(entry.Planes[p].begin() + static_cast<std::ptrdiff_t>(y * width), width,
                        buffer_.Planes[p].begin() +
                            static_cast<std::ptrdiff_t>(y * static_cast<std::size_t>(buffer_.BufferWidth)));
    buffer_.Preview = entry.Preview;
    hasBlock_ = true;
    return true;
}

} // namespace tsl
