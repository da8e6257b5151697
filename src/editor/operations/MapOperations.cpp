#include "editor/operations/MapOperations.h"

#include "editor/render/MapRenderer.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <unordered_map>
#include <utility>

namespace tsl {

namespace {

std::size_t At(int x, int y, int width)
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

// One clockwise quarter turn: (x, y) goes to column height - 1 - y, row x.
void RotateQuarter(PlaneSet& planes, int& width, int& height)
{
    for (auto& plane : planes) {
        std::vector<std::uint16_t> turned(plane.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                turned[At(height - 1 - y, x, height)] = plane[At(x, y, width)];
        plane = std::move(turned);
    }
    std::swap(width, height);
}

void Mirror(PlaneSet& planes, int width, int height, bool horizontal)
{
    for (auto& plane : planes) {
        if (horizontal) {
            for (int y = 0; y < height; ++y)
                std::reverse(plane.begin() + static_cast<std::ptrdiff_t>(At(0, y, width)),
                             plane.begin() + static_cast<std::ptrdiff_t>(At(0, y + 1, width)));
        } else {
            for (int y = 0; y < height / 2; ++y)
                std::swap_ranges(plane.begin() + static_cast<std::ptrdiff_t>(At(0, y, width)),
                                 plane.begin() + static_cast<std::ptrdiff_t>(At(0, y + 1, width)),
                                 plane.begin() + static_cast<std::ptrdiff_t>(At(0, height - 1 - y, width)));
        }
    }
}

int Quarters(MapTransform transform)
{
    switch (transform) {
    case MapTransform::Rotate90:
        return 1;
    case MapTransform::Rotate180:
        return 2;
    case MapTransform::Rotate270:
        return 3;
    default:
        return 0;
    }
}

// The refusal of a width or height field: `side` is "width" or "height".
std::optional<Failure> CheckMapSize(std::optional<int> size, const std::string& side)
{
    std::string text;
    if (!size || *size < 1)
        text = "The minimum map " + side + " is 1!";
    else if (*size > kMaxMapSize)
        text = "The maximum map " + side + " is 256!";
    else
        return std::nullopt;
    return Failure{std::move(text), "Map " + side + " error", MessageIcon::Error};
}

} // namespace

std::uint16_t CombineWord(std::uint16_t value, std::uint16_t word, int valueMode)
{
    switch (valueMode) {
    case kHighByteMode:
        return static_cast<std::uint16_t>(((value & 0xFF) << 8) | (word & 0xFF));
    case kLowByteMode:
        return static_cast<std::uint16_t>((word & 0xFF00) | (value & 0xFF));
    default:
        return value;
    }
}

std::size_t FloodFill(std::span<std::uint16_t> plane, int width, int height, int x, int y, std::uint16_t word)
{
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x >= width || y >= height ||
        plane.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return 0;
    auto at = [&](int cx, int cy) -> std::uint16_t& {
        return plane[static_cast<std::size_t>(cy) * static_cast<std::size_t>(width) + static_cast<std::size_t>(cx)];
    };
    const std::uint16_t old = at(x, y);
    if (old == word)
        return 0;
    // Column spans: each span is scanned once and pushes a tile of a
    // neighbouring column only where a run of equal words starts, so the
    // stack grows with the region, never to a fixed worst case.
    std::vector<std::uint32_t> stack;
    stack.push_back(static_cast<std::uint32_t>(x * height + y));
    std::size_t filled = 0;
    while (!stack.empty()) {
        const std::uint32_t entry = stack.back();
        stack.pop_back();
        const int cx = static_cast<int>(entry / static_cast<std::uint32_t>(height));
        int cy = static_cast<int>(entry % static_cast<std::uint32_t>(height));
        while (cy >= 0 && at(cx, cy) == old)
            --cy;
        ++cy;
        bool spanLeft = false;
        bool spanRight = false;
        for (; cy < height && at(cx, cy) == old; ++cy) {
            at(cx, cy) = word;
            ++filled;
            if (cx > 0) {
                const bool same = at(cx - 1, cy) == old;
                if (!spanLeft && same)
                    stack.push_back(static_cast<std::uint32_t>((cx - 1) * height + cy));
                spanLeft = same;
            }
            if (cx < width - 1) {
                const bool same = at(cx + 1, cy) == old;
                if (!spanRight && same)
                    stack.push_back(static_cast<std::uint32_t>((cx + 1) * height + cy));
                spanRight = same;
            }
        }
    }
    return filled;
}

void TransformPlanes(PlaneSet& planes, int& width, int& height, MapTransform transform)
{
    const auto words = static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
    if (std::any_of(planes.begin(), planes.end(), [&](const auto& plane) { return plane.size() != words; }))
        return;
    if (transform == MapTransform::FlipHorizontal || transform == MapTransform::FlipVertical) {
        Mirror(planes, width, height, transform == MapTransform::FlipHorizontal);
        return;
    }
    for (int i = Quarters(transform); i > 0; --i)
        RotateQuarter(planes, width, height);
}

bool CanTransformMap(const MapList& map)
{
    return std::all_of(map.Planes.begin(), map.Planes.end(),
                       [&](const auto& plane) { return plane.size() == map.WordCount(); });
}

void TransformMap(MapList& map, MapTransform transform, const FacingGroups& facing, bool turnFacing)
{
    if (!CanTransformMap(map))
        return;
    int width = map.Width;
    int height = map.Height;
    TransformPlanes(map.Planes, width, height, transform);
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
    if (turnFacing)
        TurnFacingObjects(map.Planes, facing, transform);
}

BlockRect TransformBlockRect(BlockRect rect, int bufferWidth, int bufferHeight, MapTransform transform)
{
    switch (transform) {
    case MapTransform::FlipHorizontal:
        return {bufferWidth - rect.X2, rect.Y1, bufferWidth - rect.X1, rect.Y2};
    case MapTransform::FlipVertical:
        return {rect.X1, bufferHeight - rect.Y2, rect.X2, bufferHeight - rect.Y1};
    default:
        for (int i = Quarters(transform); i > 0; --i) {
            rect = {bufferHeight - rect.Y2, rect.X1, bufferHeight - rect.Y1, rect.X2};
            std::swap(bufferWidth, bufferHeight);
        }
        return rect;
    }
}

void TransformPasteBuffer(CP_Manager& buffer, MapTransform transform, const FacingGroups& facing, bool turnFacing)
{
    const BlockRect moved = TransformBlockRect({buffer.X1, buffer.Y1, buffer.X2, buffer.Y2}, buffer.BufferWidth,
                                               buffer.BufferHeight, transform);
    TransformPlanes(buffer.Planes, buffer.BufferWidth, buffer.BufferHeight, transform);
    buffer.X1 = moved.X1;
    buffer.Y1 = moved.Y1;
    buffer.X2 = moved.X2;
    buffer.Y2 = moved.Y2;
    if (turnFacing)
        TurnFacingObjects(buffer.Planes, facing, transform);
}

int TransformedDirection(int direction, MapTransform transform)
{
    // Directions count anticlockwise; a clockwise turn counts back.
    int turned = direction;
    switch (transform) {
    case MapTransform::Rotate90: turned = direction - 2; break;
    case MapTransform::Rotate180: turned = direction + 4; break;
    case MapTransform::Rotate270: turned = direction + 2; break;
    case MapTransform::FlipHorizontal: turned = 4 - direction; break; // east and west change places
    case MapTransform::FlipVertical: turned = -direction; break;      // north and south change places
    }
    return ((turned % kFacingDirections) + kFacingDirections) % kFacingDirections;
}

int TurnFacingObjects(PlaneSet& planes, const FacingGroups& groups, MapTransform transform)
{
    // Per plane, what each facing word becomes; a word listed in two groups
    // follows the first.
    std::vector<std::unordered_map<std::uint16_t, std::uint16_t>> becomes(planes.size());
    for (const FacingGroup& group : groups) {
        if (group.Plane < 0 || static_cast<std::size_t>(group.Plane) >= planes.size())
            continue;
        for (int d = 0; d < kFacingDirections; ++d) {
            const auto& word = group.Words[static_cast<std::size_t>(d)];
            const auto& turned = group.Words[static_cast<std::size_t>(TransformedDirection(d, transform))];
            if (word)
                becomes[static_cast<std::size_t>(group.Plane)].try_emplace(*word, turned ? *turned : *word);
        }
    }
    int changed = 0;
    for (std::size_t p = 0; p < planes.size(); ++p) {
        if (becomes[p].empty())
            continue;
        for (std::uint16_t& word : planes[p]) {
            const auto found = becomes[p].find(word);
            if (found != becomes[p].end() && found->second != word) {
                word = found->second;
                ++changed;
            }
        }
    }
    return changed;
}

bool CanResizeMap(int width, int height)
{
    return width >= 1 && height >= 1 && width <= kMaxMapSize && height <= kMaxMapSize;
}

std::optional<Failure> CheckMapWidth(std::optional<int> width)
{
    return CheckMapSize(width, "width");
}

std::optional<Failure> CheckMapHeight(std::optional<int> height)
{
    return CheckMapSize(height, "height");
}

void ResizeMap(MapList& map, int width, int height)
{
    if (!CanResizeMap(width, height))
        return;
    const auto keptWidth = static_cast<std::size_t>(std::min<int>(width, map.Width));
    const auto keptHeight = static_cast<std::size_t>(std::min<int>(height, map.Height));
    for (auto& plane : map.Planes) {
        std::vector<std::uint16_t> resized(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        // A plane shorter than the map (a damaged one) gives what it has.
        for (std::size_t y = 0; y < keptHeight; ++y) {
            const std::size_t from = y * map.Width;
            if (from + keptWidth <= plane.size())
                std::copy_n(plane.begin() + static_cast<std::ptrdiff_t>(from), keptWidth,
                            resized.begin() + static_cast<std::ptrdiff_t>(y * static_cast<std::size_t>(width)));
        }
        plane = std::move(resized);
    }
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
}

FloorRange FindFloorRange(const std::vector<MapSymbols>& plane0Symbols)
{
    FloorRange range;
    for (const MapSymbols& symbol : plane0Symbols) {
        if (symbol.SymbolType != "f" || symbol.Value < 0 || symbol.Value > 0xFFFF)
            continue;
        const auto value = static_cast<std::uint16_t>(symbol.Value);
        if (range.Lo == 0 || value < range.Lo)
            range.Lo = value;
        range.Hi = std::max(range.Hi, value);
    }
    return range;
}

bool CanAutofloor(const MapList& map)
{
    return !map.Planes.empty() && map.Planes[0].size() == map.WordCount();
}

void Autofloor(MapList& map, FloorRange range)
{
    if (!CanAutofloor(map))
        return;
    auto& plane = map.Planes[0];
    for (auto& word : plane)
        if (word >= range.Lo && word <= range.Hi)
            word = 0;
    // The value is checked against hi after every tile, as the areas are
    // handed out: hi itself is only ever given when lo = hi.
    int next = range.Lo;
    for (std::size_t at = 0; at < plane.size(); ++at) {
        if (plane[at] == 0) {
            FloodFill(plane, map.Width, map.Height, static_cast<int>(at % map.Width), static_cast<int>(at / map.Width),
                      static_cast<std::uint16_t>(next));
            ++next;
        }
        if (next >= range.Hi)
            next = range.Lo;
    }
}

std::optional<std::uint16_t> ClearMapWallValue(const SymbolTables& symbols, int currentPlane,
                                               std::uint16_t leftValue)
{
    auto isWall = [](const MapSymbols& s) { return s.SymbolType == "w" && s.Value >= 0 && s.Value <= 0xFFFF; };
    if (currentPlane >= 0 && currentPlane < symbols.NumPlanes()) {
        const auto& own = symbols.PlaneSymbols(currentPlane);
        if (std::any_of(own.begin(), own.end(), [&](const MapSymbols& s) { return isWall(s) && s.Value == leftValue; }))
            return leftValue;
    }
    std::vector<std::uint16_t> walls;
    for (int p = 0; p < symbols.NumPlanes() && walls.size() < 2; ++p)
        for (const MapSymbols& s : symbols.PlaneSymbols(p))
            if (isWall(s) && walls.size() < 2)
                walls.push_back(static_cast<std::uint16_t>(s.Value));
    if (walls.empty())
        return std::nullopt;
    return walls.back();
}

void ClearMapSolid(MapList& map, std::uint16_t wall)
{
    for (std::size_t p = 0; p < map.Planes.size(); ++p)
        std::fill(map.Planes[p].begin(), map.Planes[p].end(), p == 0 ? wall : std::uint16_t{0});
}

void ClearMapRandom(MapList& map, std::uint16_t wall, std::mt19937& random)
{
    ClearMapSolid(map, 0);
    if (map.Planes.empty())
        return;
    for (auto& word : map.Planes[0])
        word = (random() & 1u) != 0 ? wall : std::uint16_t{0};
}

std::mt19937& ProgramRandom()
{
    static std::mt19937 random(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return random;
}

bool CanFlipPlanes(const MapList& map, int first, int second)
{
    const auto count = static_cast<int>(map.Planes.size());
    return first != second && first >= 0 && second >= 0 && first < count && second < count;
}

void FlipPlanes(MapList& map, int first, int second)
{
    if (CanFlipPlanes(map, first, second))
        std::swap(map.Planes[static_cast<std::size_t>(first)], map.Planes[static_cast<std::size_t>(second)]);
}

Failure NoWallTilesFailure()
{
    return {"Can't perform map clearing: There are no wall tiles defined!", "Error clearing map", MessageIcon::Error};
}

Failure FlipPlaneWithItselfFailure()
{
    return {"You can't flip a plane with itself!", "Error flipping planes", MessageIcon::Warning};
}

} // namespace tsl
