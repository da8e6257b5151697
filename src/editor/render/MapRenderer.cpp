#include "editor/render/MapRenderer.h"

#include "editor/render/PlanePasses.h"

#include <algorithm>
#include <array>

namespace tsl {

namespace {

constexpr int kTilePixels = kBlockSize * kBlockSize;
using Block = std::array<std::uint32_t, kTilePixels>;

void LoadPattern(Block& block, const Image& sheet, int index)
{
    const int x = SheetX(index), y = SheetY(index);
    for (int row = 0; row < kBlockSize; ++row)
        std::copy_n(sheet.Row(y + row) + x, kBlockSize, block.data() + row * kBlockSize);
}

void OverlayPattern(Block& block, const Image& sheet, const Image& mask, int index)
{
    const int x = SheetX(index), y = SheetY(index);
    for (int row = 0; row < kBlockSize; ++row) {
        const std::uint32_t* s = sheet.Row(y + row) + x;
        const std::uint32_t* m = mask.Row(y + row) + x;
        std::uint32_t* b = block.data() + row * kBlockSize;
        for (int i = 0; i < kBlockSize; ++i)
            b[i] = (b[i] & m[i]) | s[i];
    }
}

// Every plane of the tile at word index `at`, in ascending order.
void ComposeTile(Block& block, const std::vector<PlanePass>& passes, std::size_t at, int valueMode)
{
    block.fill(kBlackPixel);
    for (const PlanePass& pass : passes) {
        if (!pass.display.Show || pass.skill.Hides(pass.plane, pass.words[at]))
            continue;
        const std::uint16_t u = DisplayedValue(pass.words[at], pass.display, valueMode);
        if (pass.plane > 0 && u == 0)
            continue;
        if (!pass.hidden.empty()) {
            const std::uint16_t looked = FilterValue(u, valueMode);
            if (looked != 0 && looked < pass.hidden.size() && pass.hidden[looked])
                continue; // a hidden plane-0 tile stays black
        }
        // A value without a symbol shows the first pattern of the plane's file.
        const int index = (u < pass.firstSize && pass.first[u] >= 0) ? pass.first[u] : 0;
        if (pass.plane == 0)
            LoadPattern(block, *pass.sheet, index);
        else
            OverlayPattern(block, *pass.sheet, *pass.mask, index);
    }
}

void StoreBlock(Image& image, int tx, int ty, const Block& block)
{
    for (int row = 0; row < kBlockSize; ++row)
        std::copy_n(block.data() + row * kBlockSize, kBlockSize,
                    image.Row(ty * kBlockSize + row) + static_cast<std::ptrdiff_t>(tx) * kBlockSize);
}

void RenderTiles(Image& image, int width, int height, const std::vector<PlanePass>& passes, int valueMode)
{
    Block block;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x);
            ComposeTile(block, passes, at, valueMode);
            StoreBlock(image, x, y, block);
        }
}

} // namespace

std::vector<PlaneDisplay> ReadPlaneDisplay(const IniFile& settings, int numPlanes)
{
    std::vector<PlaneDisplay> display;
    for (int p = 0; p < numPlanes; ++p) {
        const std::string key = std::to_string(p);
        display.push_back({settings.ReadBool("ShowPlanes", key, false), settings.ReadBool("SplitPlanes", key, false)});
    }
    return display;
}

int ZoomFactorOf(int position)
{
    position = std::clamp(position, 0, 4);
    return position == 0 ? 1 : 2 * position;
}

std::uint16_t DisplayedValue(std::uint16_t word, PlaneDisplay display, int valueMode)
{
    if (!display.Show || !display.Split || word == 0)
        return word;
    if (valueMode == kHighByteMode)
        return static_cast<std::uint16_t>(word >> 8);
    if (valueMode == kLowByteMode)
        return static_cast<std::uint16_t>(word & 0xFF);
    return 0;
}

std::uint16_t FilterValue(std::uint16_t displayed, int valueMode)
{
    if (valueMode == kHighByteMode)
        return static_cast<std::uint16_t>(displayed & 0xFF00);
    if (valueMode == kLowByteMode)
        return static_cast<std::uint16_t>(displayed & 0xFF);
    return displayed;
}

bool IsTileHidden(const SymbolTables& tables, int plane, std::uint16_t displayed, int valueMode)
{
    const std::uint16_t looked = FilterValue(displayed, valueMode);
    if (displayed == 0 || looked == 0)
        return false;
    const auto index = tables.FindSymbol(plane, looked);
    return index && !tables.TypeShown(tables.PlaneSymbols(plane)[static_cast<std::size_t>(*index)].SymbolType);
}

void RedrawMap(Image& view, const MapList& map, const SymbolTables& tables, const std::vector<PlaneDisplay>& display,
               int valueMode, const SkillFilter& skill)
{
    const int width = map.Width * kBlockSize, height = map.Height * kBlockSize;
    // Every pixel is drawn below, so a picture of the right size is reused as it is.
    if (view.width != width || view.height != height)
        view = Image(width, height);
    RenderTiles(view, map.Width, map.Height, MakePlanePasses(map, tables, display, true, skill), valueMode);
}

void RedrawTile(Image& view, const MapList& map, const SymbolTables& tables, const std::vector<PlaneDisplay>& display,
                int valueMode, int x, int y, const SkillFilter& skill)
{
    view.Resize(map.Width * kBlockSize, map.Height * kBlockSize);
    if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
        return;
    // One tile: the filter is asked tile by tile instead of building tables.
    std::vector<PlanePass> passes = MakePlanePasses(map, tables, display, false, skill);
    const std::size_t at = static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x);
    for (PlanePass& pass : passes) {
        const std::uint16_t u = DisplayedValue(pass.words[at], pass.display, valueMode);
        if (pass.display.Show && IsTileHidden(tables, pass.plane, u, valueMode))
            pass.display.Show = false;
    }
    Block block;
    ComposeTile(block, passes, at, valueMode);
    StoreBlock(view, x, y, block);
}

void RenderBlockPreview(Image& preview, std::span<const std::vector<std::uint16_t>> planes, int width, int height,
                        int factor, const SymbolTables& tables)
{
    width = std::clamp(width, 0, kMaxMapSize);
    height = std::clamp(height, 0, kMaxMapSize);
    factor = std::max(factor, 1);
    preview = Image(width * kBlockSize * factor, height * kBlockSize * factor);

    MapList block;
    block.Width = static_cast<std::uint16_t>(width);
    block.Height = static_cast<std::uint16_t>(height);
    block.Planes = std::vector<std::vector<std::uint16_t>>(planes.begin(), planes.end());
    const std::vector<PlaneDisplay> all(block.Planes.size(), PlaneDisplay{true, false});
    RenderTiles(preview, width, height, MakePlanePasses(block, tables, all, false), kIntMode);
    EnlargeInPlace(preview, factor);
}

TileInfo TileInfoText(const MapList& map, const SymbolTables& tables, int plane, int x, int y, bool split,
                      int valueMode)
{
    if (plane < 0 || static_cast<std::size_t>(plane) >= map.Planes.size() || x < 0 || y < 0 || x >= map.Width ||
        y >= map.Height || map.Planes[static_cast<std::size_t>(plane)].size() < map.WordCount())
        return {};
    const std::uint16_t word = map.Word(static_cast<std::size_t>(plane), x, y);
    int value = word;
    if (split && valueMode == kHighByteMode)
        value = word >> 8;
    else if (split && valueMode == kLowByteMode)
        value = word & 0xFF;
    return {tables.ValueText(plane, value), tables.FindSymbol(plane, value) ? value : 0};
}

} // namespace tsl
