#include "editor/render/GameMapRenderer.h"

#include "editor/render/MarkerBadges.h"
#include "editor/render/PictureMarks.h"
#include "editor/render/PlanePasses.h"
#include "engine/LevelAnalysis.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace tsl {

namespace {

using Pixels = std::vector<std::uint32_t>; // side x side, row by row, 0xAARRGGBB

constexpr std::uint32_t Alpha(std::uint32_t pixel)
{
    return pixel >> 24;
}

std::uint32_t Blend(std::uint32_t below, std::uint32_t above)
{
    const std::uint32_t a = Alpha(above);
    if (a == 255)
        return above;
    if (a == 0)
        return below;
    std::uint32_t out = kOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t s = (above >> shift) & 0xFF, d = (below >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// Which source pixels (of 64) cover output pixel o of `side`, and how much:
// both spans measured in units of 1 / (64 * side) of the picture.
struct Weight {
    int source;
    int weight;
};
std::vector<std::vector<Weight>> Weights(int side)
{
    std::vector<std::vector<Weight>> weights(static_cast<std::size_t>(side));
    for (int o = 0; o < side; ++o) {
        const int from = o * kPictureSide, to = from + kPictureSide;
        for (int i = from / side; i < kPictureSide && i * side < to; ++i) {
            const int overlap = std::min(to, (i + 1) * side) - std::max(from, i * side);
            if (overlap > 0)
                weights[static_cast<std::size_t>(o)].push_back({i, overlap});
        }
    }
    return weights;
}

// A 64 x 64 picture of palette indices (column by column; `opaque` null for
// a wall) as side x side pixels: every output pixel the average of the
// source area it covers, so that nothing is dropped; transparency averages
// into the alpha. At 64 every pixel is its source pixel.
Pixels Reduce(const std::uint8_t* indices, const std::uint8_t* opaque, const Palette& palette, int side)
{
    Pixels out(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0);
    if (side == kPictureSide) {
        for (int c = 0; c < kPictureSide; ++c)
            for (int r = 0; r < kPictureSide; ++r) {
                const std::size_t at = static_cast<std::size_t>(c * kPictureSide + r);
                if (!opaque || opaque[at])
                    out[static_cast<std::size_t>(r * side + c)] = palette[indices[at]];
            }
        return out;
    }
    const auto weights = Weights(side);
    const std::uint64_t total = static_cast<std::uint64_t>(kPictureSide) * kPictureSide; // weight of a whole pixel
    for (int oy = 0; oy < side; ++oy)
        for (int ox = 0; ox < side; ++ox) {
            std::uint64_t covered = 0, red = 0, green = 0, blue = 0;
            for (const Weight& wx : weights[static_cast<std::size_t>(ox)])
                for (const Weight& wy : weights[static_cast<std::size_t>(oy)]) {
                    const std::size_t at = static_cast<std::size_t>(wx.source * kPictureSide + wy.source);
                    if (opaque && !opaque[at])
                        continue;
                    const std::uint64_t w = static_cast<std::uint64_t>(wx.weight) * static_cast<std::uint64_t>(wy.weight);
                    const std::uint32_t colour = palette[indices[at]];
                    covered += w;
                    red += w * ((colour >> 16) & 0xFF);
                    green += w * ((colour >> 8) & 0xFF);
                    blue += w * (colour & 0xFF);
                }
            if (covered == 0)
                continue;
            const std::uint64_t alpha = (covered * 255 + total / 2) / total;
            auto channel = [&](std::uint64_t sum) { return static_cast<std::uint32_t>((sum + covered / 2) / covered); };
            out[static_cast<std::size_t>(oy * side + ox)] = static_cast<std::uint32_t>(alpha) << 24 |
                                                            channel(red) << 16 | channel(green) << 8 | channel(blue);
        }
    return out;
}

// The floor of area `area`: the floor colour with a faint tint of a hue of
// its own, neighbouring numbers far apart on the colour wheel.
std::uint32_t FloorPixel(std::uint32_t floor, int area)
{
    static constexpr std::uint32_t kHues[] = {0xFF4040, 0x40C0FF, 0xFFD040, 0x60FF60, 0xC060FF, 0xFF8040,
                                               0x40FFD0, 0xFF60C0, 0xA0FF40, 0x6080FF, 0xFFA0A0, 0x40A0A0};
    const std::uint32_t hue = kHues[static_cast<std::size_t>(area) % std::size(kHues)];
    constexpr std::uint32_t kTint = 28; // of 255
    std::uint32_t out = kOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t f = (floor >> shift) & 0xFF, h = (hue >> shift) & 0xFF;
        out |= ((f * (255 - kTint) + h * kTint + 127) / 255) << shift;
    }
    return out;
}

} // namespace

// What a word shows: a picture from the cache, a flat colour, a marker's
// badge over what lies below (on plane 0: over the floor), or its symbol.
struct GameMapRenderer::Look {
    enum Kind { Symbol, Opaque, Flat, Transparent, Marker } kind = Symbol;
    const Pixels* picture = nullptr; // Marker: its badge
    const Pixels* marks = nullptr;   // an actor's facing and skill, or null
    std::uint32_t colour = 0;
    bool pushWall = false; // Marker: arrows for the ways it can be pushed
};

// The reduced pictures of one tile size, made as they are first needed.
struct GameMapRenderer::Caches {
    struct Side {
        std::vector<Pixels> walls;   // by chunk
        std::vector<Pixels> sprites; // by sprite number
        std::map<int, Pixels> marks; // by MarksKey, BadgeKey and PushArrowsKey
        std::size_t bytes = 0;

        template <typename Draw>
        const Pixels& Mark(int key, Draw draw)
        {
            auto found = marks.find(key);
            if (found == marks.end()) {
                Pixels pixels = draw();
                bytes += pixels.size() * sizeof(std::uint32_t);
                found = marks.emplace(key, std::move(pixels)).first;
            }
            return found->second;
        }
    };
    std::map<int, Side> sides;
    std::vector<std::uint32_t> floors; // by area
    std::uint32_t plainFloor = kBlackPixel; // the floor colour without a tint
    // The size asked for last, found without a search: a paint asks for
    // one size thousands of times.
    int lastSide = 0;
    Side* last = nullptr;

    Side& Of(int side)
    {
        if (side != lastSide || !last) {
            last = &sides[side];
            lastSide = side;
        }
        return *last;
    }
};

// The part of one tile that lies in the target: (x0, y0) to (x1, y1) of the
// tile, whose top-left pixel is at (ox, oy) of the target.
struct GameMapRenderer::TileTarget {
    Image* image = nullptr;
    int ox = 0, oy = 0;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int side = 0;

    std::uint32_t* Row(int y) const { return image->Row(oy + y) + ox; }

    void Fill(std::uint32_t pixel) const
    {
        for (int y = y0; y < y1; ++y)
            std::fill(Row(y) + x0, Row(y) + x1, pixel);
    }
    void Copy(const Pixels& picture) const
    {
        for (int y = y0; y < y1; ++y)
            std::memcpy(Row(y) + x0, picture.data() + y * side + x0, static_cast<std::size_t>(x1 - x0) * 4);
    }
    void Over(const Pixels& picture) const
    {
        for (int y = y0; y < y1; ++y) {
            std::uint32_t* row = Row(y);
            const std::uint32_t* source = picture.data() + y * side;
            for (int x = x0; x < x1; ++x)
                row[x] = Blend(row[x], source[x]);
        }
    }
    // Pattern `index` of a symbol sheet enlarged to the tile, without
    // smoothing: opaquely, or (with its mask) over what lies below.
    void Symbol(const Image& sheet, const Image* mask, int index) const
    {
        const int sx = SheetX(index), sy = SheetY(index);
        for (int y = y0; y < y1; ++y) {
            const int py = sy + y * kBlockSize / side;
            const std::uint32_t* s = sheet.Row(py) + sx;
            const std::uint32_t* m = mask ? mask->Row(py) + sx : nullptr;
            std::uint32_t* row = Row(y);
            for (int x = x0; x < x1; ++x) {
                const int px = x * kBlockSize / side;
                row[x] = m ? (row[x] & m[px]) | s[px] : s[px];
            }
        }
    }
};

GameMapRenderer::GameMapRenderer() : caches_(std::make_unique<Caches>()) {}

GameMapRenderer::GameMapRenderer(std::shared_ptr<const GameGraphics> graphics) : GameMapRenderer()
{
    SetGraphics(std::move(graphics));
}

GameMapRenderer::~GameMapRenderer() = default;
GameMapRenderer::GameMapRenderer(GameMapRenderer&&) noexcept = default;
GameMapRenderer& GameMapRenderer::operator=(GameMapRenderer&&) noexcept = default;

void GameMapRenderer::SetGraphics(std::shared_ptr<const GameGraphics> graphics)
{
    graphics_ = std::move(graphics);
    caches_ = std::make_unique<Caches>();
    if (!graphics_)
        return;
    int areas = 0;
    for (const PictureEntry& entry : graphics_->Pictures.Entries())
        if (entry.kind == PictureKind::Floor)
            areas = std::max(areas, entry.number + 1);
    const std::uint32_t floor = graphics_->Colours[static_cast<std::uint8_t>(graphics_->Settings.FloorColour)];
    caches_->plainFloor = floor;
    for (int area = 0; area < areas; ++area)
        caches_->floors.push_back(FloorPixel(floor, area));
}

void GameMapRenderer::ReplacePages(std::shared_ptr<const GameGraphics> graphics, std::optional<int> chunk)
{
    if (!chunk || !graphics || !graphics_ || graphics->Pages.FirstSpriteChunk() != graphics_->Pages.FirstSpriteChunk()) {
        SetGraphics(std::move(graphics));
        return;
    }
    graphics_ = std::move(graphics);
    // A chunk that shared its bytes with others had its pictures kept under
    // the first of them, which may be this one: the others find theirs anew.
    const int first = graphics_->Pages.FirstSpriteChunk();
    const bool wall = *chunk < first;
    const auto slot = static_cast<std::size_t>(wall ? *chunk : *chunk - first);
    for (auto& [side, cache] : caches_->sides) {
        std::vector<Pixels>& pictures = wall ? cache.walls : cache.sprites;
        if (slot < pictures.size()) {
            cache.bytes -= pictures[slot].size() * sizeof(std::uint32_t);
            pictures[slot] = {};
        }
    }
}

void GameMapRenderer::SetRules(std::shared_ptr<const EngineRules> rules)
{
    rules_ = std::move(rules);
    SetGraphics(graphics_); // the marks drawn so far may be others now
}

GameMapRenderer::Look GameMapRenderer::LookOf(int plane, std::uint16_t value, int side)
{
    Look look;
    if (!graphics_)
        return look;
    const auto entry = graphics_->Pictures.Find(plane, value);
    if (!entry)
        return MarkerLook(plane, value, side);
    const PageFile& pages = graphics_->Pages;
    Caches::Side& cache = caches_->Of(side);
    auto keep = [&](Pixels pixels, Pixels& slot) -> const Pixels* {
        cache.bytes += pixels.size() * sizeof(std::uint32_t);
        slot = std::move(pixels);
        return &slot;
    };

    switch (entry->kind) {
    case PictureKind::Floor:
        look.kind = Look::Flat;
        look.colour = caches_->floors[static_cast<std::size_t>(entry->number)];
        return look;
    case PictureKind::Wall:
    case PictureKind::Door: {
        const int chunk = EntryChunk(*entry, pages.FirstSpriteChunk());
        const auto wall = chunk >= 0 ? pages.Wall(chunk) : std::span<const std::uint8_t>();
        if (wall.empty())
            return look;
        if (cache.walls.size() < static_cast<std::size_t>(pages.FirstSpriteChunk()))
            cache.walls.resize(static_cast<std::size_t>(pages.FirstSpriteChunk()));
        Pixels& slot = cache.walls[static_cast<std::size_t>(pages.FirstAlike(chunk))]; // same bytes, one picture
        look.kind = Look::Opaque;
        look.picture = slot.empty() ? keep(Reduce(wall.data(), nullptr, graphics_->Colours, side), slot) : &slot;
        return look;
    }
    case PictureKind::Sprite:
    case PictureKind::Actor:
    case PictureKind::Patrol: {
        const Sprite* sprite = pages.SpriteAt(entry->number);
        if (!sprite)
            return look;
        if (cache.sprites.size() < static_cast<std::size_t>(pages.SpriteCount()))
            cache.sprites.resize(static_cast<std::size_t>(pages.SpriteCount()));
        const int alike = pages.FirstAlike(pages.FirstSpriteChunk() + entry->number) - pages.FirstSpriteChunk();
        Pixels& slot = cache.sprites[static_cast<std::size_t>(alike)];
        look.kind = Look::Transparent;
        look.picture = slot.empty()
                           ? keep(Reduce(sprite->pixels.data(), sprite->opaque.data(), graphics_->Colours, side), slot)
                           : &slot;
        // An actor's facing and skill level, as the rules of play have them;
        // without rules, as the picture table gives them.
        Facing facing = entry->facing;
        int skill = entry->skill;
        bool patrol = entry->kind == PictureKind::Patrol;
        bool actor = entry->kind != PictureKind::Sprite;
        if (rules_) {
            const WordMeaning& meaning = rules_->Meaning(plane, value);
            facing = meaning.facing;
            skill = meaning.skill;
            patrol = meaning.patrol;
            actor = meaning.IsActor();
        }
        if (actor && (facing != Facing::None || skill != 0))
            look.marks = &cache.Mark(MarksKey(facing, skill, patrol),
                                     [&] { return DrawMarks(facing, skill, patrol, side); });
        return look;
    }
    }
    return look;
}

GameMapRenderer::Look GameMapRenderer::MarkerLook(int plane, std::uint16_t value, int side)
{
    Look look;
    if (!rules_)
        return look;
    const WordMeaning& meaning = rules_->Meaning(plane, value);
    const BadgeKind badge = BadgeOf(plane, meaning);
    if (badge == BadgeKind::None)
        return look;
    look.kind = Look::Marker;
    look.picture = &caches_->Of(side).Mark(BadgeKey(badge, meaning.facing),
                                           [&] { return DrawBadge(badge, meaning.facing, side); });
    look.pushWall = badge == BadgeKind::PushWall;
    return look;
}

std::uint32_t GameMapRenderer::MarkerFloor(const MapList& map, int x, int y, int side)
{
    // The floor the engine gives a marked floor: the area of a neighbour,
    // the west one first, then south, north and east (SetupGameLevel).
    constexpr int kNeighbours[4][2] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}};
    for (const auto& step : kNeighbours) {
        const int nx = x + step[0], ny = y + step[1];
        if (nx < 0 || ny < 0 || nx >= map.Width || ny >= map.Height)
            continue;
        const Look look = LookOf(0, map.Planes[0][static_cast<std::size_t>(ny) * map.Width + static_cast<std::size_t>(nx)], side);
        if (look.kind == Look::Flat)
            return look.colour;
    }
    return caches_->plainFloor;
}

bool GameMapRenderer::HasPicture(int plane, std::uint16_t value) const
{
    if (!graphics_)
        return false;
    const auto entry = graphics_->Pictures.Find(plane, value);
    if (!entry)
        return false;
    const PageFile& pages = graphics_->Pages;
    const int chunk = EntryChunk(*entry, pages.FirstSpriteChunk());
    switch (entry->kind) {
    case PictureKind::Floor:
        return true;
    case PictureKind::Wall:
    case PictureKind::Door:
        return chunk >= 0 && !pages.Wall(chunk).empty();
    default:
        return pages.SpriteAt(entry->number) != nullptr;
    }
}

void GameMapRenderer::DrawTile(const TileTarget& tile, const MapList& map, const std::vector<PlanePass>& passes,
                               int tx, int ty, int valueMode)
{
    const std::size_t at = static_cast<std::size_t>(ty) * map.Width + static_cast<std::size_t>(tx);
    // The tile starts black, filled only when plane 0 does not cover it.
    bool covered = false;
    // A floor marker's badge goes over everything, the actor standing there too.
    const Pixels* floorBadge = nullptr;
    for (const PlanePass& pass : passes) {
        if (!pass.display.Show || pass.skill.Hides(pass.plane, pass.words[at]))
            continue;
        const std::uint16_t word = pass.words[at];
        const std::uint16_t u = DisplayedValue(word, pass.display, valueMode);
        if (pass.plane > 0 && u == 0)
            continue;
        if (!pass.hidden.empty()) {
            const std::uint16_t looked = FilterValue(u, valueMode);
            if (looked != 0 && looked < pass.hidden.size() && pass.hidden[looked])
                continue; // a hidden plane-0 tile stays black
        }
        const Look look = pass.display.Split ? Look{} : LookOf(pass.plane, word, tile.side);
        const bool opaque = look.kind == Look::Opaque || look.kind == Look::Flat ||
                            ((look.kind == Look::Symbol || look.kind == Look::Marker) && pass.plane == 0);
        if (!covered && !opaque)
            tile.Fill(kBlackPixel);
        covered = true;
        switch (look.kind) {
        case Look::Opaque:
            tile.Copy(*look.picture);
            break;
        case Look::Flat:
            tile.Fill(look.colour);
            break;
        case Look::Transparent:
            tile.Over(*look.picture);
            if (look.marks)
                tile.Over(*look.marks);
            break;
        case Look::Symbol: {
            const int index = (u < pass.firstSize && pass.first[u] >= 0) ? pass.first[u] : 0;
            tile.Symbol(*pass.sheet, pass.plane == 0 ? nullptr : pass.mask, index);
            break;
        }
        case Look::Marker:
            if (pass.plane == 0) {
                tile.Fill(MarkerFloor(map, tx, ty, tile.side));
                floorBadge = look.picture;
                break;
            }
            tile.Over(*look.picture);
            if (look.pushWall) {
                const unsigned ways = PushWallWays(map, *rules_, tx, ty);
                tile.Over(caches_->Of(tile.side).Mark(PushArrowsKey(ways),
                                                      [&] { return DrawPushArrows(ways, tile.side); }));
            }
            break;
        }
    }
    if (!covered)
        tile.Fill(kBlackPixel);
    if (floorBadge)
        tile.Over(*floorBadge);
}

void GameMapRenderer::Paint(Image& target, int left, int top, int factor, const MapList& map,
                            const SymbolTables& tables, const std::vector<PlaneDisplay>& display, int valueMode,
                            const SkillFilter& skill)
{
    factor = std::max(factor, 1);
    const int side = kBlockSize * factor;
    const std::vector<PlanePass> passes = MakePlanePasses(map, tables, display, true, skill);
    const int right = left + target.width, bottom = top + target.height;
    const int tx0 = std::max(0, left / side), ty0 = std::max(0, top / side);
    const int tx1 = std::min<int>(map.Width, (right + side - 1) / side);
    const int ty1 = std::min<int>(map.Height, (bottom + side - 1) / side);
    // Beyond the map: black.
    const int mapRight = map.Width * side - left, mapBottom = map.Height * side - top;
    if (mapRight < target.width || mapBottom < target.height || left < 0 || top < 0) {
        for (int y = 0; y < target.height; ++y) {
            const bool inRows = y >= -top && y < mapBottom;
            std::uint32_t* row = target.Row(y);
            for (int x = 0; x < target.width; ++x)
                if (!inRows || x < -left || x >= mapRight)
                    row[x] = kBlackPixel;
        }
    }
    TileTarget tile;
    tile.image = &target;
    tile.side = side;
    for (int ty = ty0; ty < ty1; ++ty) {
        tile.oy = ty * side - top;
        tile.y0 = std::max(0, -tile.oy);
        tile.y1 = std::min(side, target.height - tile.oy);
        for (int tx = tx0; tx < tx1; ++tx) {
            tile.ox = tx * side - left;
            tile.x0 = std::max(0, -tile.ox);
            tile.x1 = std::min(side, target.width - tile.ox);
            if (tile.x0 >= tile.x1 || tile.y0 >= tile.y1)
                continue;
            DrawTile(tile, map, passes, tx, ty, valueMode);
        }
    }
}

std::optional<Failure> CheckPictureSize(long long width, long long height)
{
    if (width <= kMaxPictureSide && height <= kMaxPictureSide)
        return std::nullopt;
    return Failure{"The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels; no side may be larger than " + std::to_string(kMaxPictureSide) +
                       " pixels. Choose a smaller zoom.",
                   kPictureTooLargeCaption, MessageIcon::Warning};
}

void GameMapRenderer::RenderAll(Image& image, const MapList& map, const std::vector<PlanePass>& passes, int factor,
                                int valueMode)
{
    const int side = kBlockSize * factor;
    image = Image(map.Width * side, map.Height * side);
    TileTarget tile;
    tile.image = &image;
    tile.side = side;
    tile.x1 = tile.y1 = side;
    for (int ty = 0; ty < map.Height; ++ty)
        for (int tx = 0; tx < map.Width; ++tx) {
            tile.ox = tx * side;
            tile.oy = ty * side;
            DrawTile(tile, map, passes, tx, ty, valueMode);
        }
}

Outcome<Image> GameMapRenderer::RenderMap(const MapList& map, const SymbolTables& tables,
                                          const std::vector<PlaneDisplay>& display, int valueMode, int factor)
{
    factor = std::max(factor, 1);
    const long long side = kBlockSize * factor;
    if (auto failure = CheckPictureSize(map.Width * side, map.Height * side))
        return *failure;
    Image image;
    RenderAll(image, map, MakePlanePasses(map, tables, display, true), factor, valueMode);
    return image;
}

Outcome<Image> GameMapRenderer::RenderBlock(std::span<const std::vector<std::uint16_t>> planes, int width, int height,
                                            int factor, const SymbolTables& tables)
{
    width = std::clamp(width, 0, kMaxMapSize);
    height = std::clamp(height, 0, kMaxMapSize);
    factor = std::max(factor, 1);
    const long long side = kBlockSize * factor;
    if (auto failure = CheckPictureSize(width * side, height * side))
        return *failure;
    MapList block;
    block.Width = static_cast<std::uint16_t>(width);
    block.Height = static_cast<std::uint16_t>(height);
    block.Planes = std::vector<std::vector<std::uint16_t>>(planes.begin(), planes.end());
    const std::vector<PlaneDisplay> all(block.Planes.size(), PlaneDisplay{true, false});
    Image image;
    RenderAll(image, block, MakePlanePasses(block, tables, all, false), factor, kIntMode);
    return image;
}

Image GameMapRenderer::WordPicture(int plane, std::uint16_t value, int size, const SymbolTables& tables,
                                   std::uint32_t background, bool split)
{
    size = std::max(size, 1);
    Image picture(size, size, background);
    TileTarget tile;
    tile.image = &picture;
    tile.side = size;
    tile.x1 = tile.y1 = size;
    const Look look = split ? Look{} : LookOf(plane, value, size);
    switch (look.kind) {
    case Look::Opaque:
        tile.Copy(*look.picture);
        break;
    case Look::Flat:
        tile.Fill(look.colour);
        break;
    case Look::Transparent:
        tile.Over(*look.picture);
        if (look.marks)
            tile.Over(*look.marks);
        break;
    case Look::Marker:
        if (plane == 0)
            tile.Fill(caches_->plainFloor);
        tile.Over(*look.picture);
        break;
    case Look::Symbol:
        if (plane < 0 || plane >= tables.NumPlanes())
            break;
        const auto& first = tables.FirstSymbolByValue(plane);
        const int index = value < first.size() && first[value] >= 0 ? first[value] : 0;
        tile.Symbol(tables.PatternSheet(plane), plane == 0 ? nullptr : &tables.PatternMask(plane), index);
        break;
    }
    return picture;
}

std::size_t GameMapRenderer::CacheBytes(int factor) const
{
    const auto found = caches_->sides.find(kBlockSize * factor);
    return found == caches_->sides.end() ? 0 : found->second.bytes;
}

std::size_t GameMapRenderer::CacheBytes() const
{
    std::size_t bytes = 0;
    for (const auto& [side, cache] : caches_->sides)
        bytes += cache.bytes;
    return bytes;
}

} // namespace tsl
