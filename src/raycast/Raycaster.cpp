#include "raycast/Raycaster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tsl {

namespace {

constexpr int kColumnMask = kPageSide - 1;
constexpr Fixed kFractionMask = kTileUnits - 1;
// A texel of a post is `half` / 32 pixels high: a post of 2 * half pixels
// shows the picture's 64 rows.
constexpr int kTexelUnitsPerPixel = kPageSide / 2;
// The engine works its height out again only every fourth column when the
// next column shows the same picture column of the same face.
constexpr int kHeightRun = 4;

// How far a door has slid aside, in units of its tile (0xFFFF: open).
Fixed DoorUnits(double opening)
{
    return static_cast<Fixed>(std::clamp(std::lround(opening * kTileUnits), 0L, static_cast<long>(kFractionMask)));
}

// The lines of one kind a ray crosses: column lines (x constant) or row
// lines (y constant), with the tile entered at the next one (along the
// crossing axis) and the other coordinate where the ray crosses it.
struct Lines {
    bool columns;
    int tile;
    int tileStep;
    Fixed intercept;
    Fixed interceptStep;
};

// True when the ray, crossing the current kind of line at `intercept`, has
// already reached the next line of the other kind: that one comes first.
bool Reached(Fixed intercept, const Lines& other)
{
    const int at = intercept >> 16;
    return other.tileStep < 0 ? at <= other.tile : at >= other.tile;
}

Face FaceMet(bool columns, int tileStep)
{
    if (columns)
        return tileStep > 0 ? Face::West : Face::East;
    return tileStep > 0 ? Face::North : Face::South;
}

enum class Crossing { Pass, Hit, Left };

// The line the ray crosses into the next tile of `lines`.
Fixed EntryLine(const Lines& lines)
{
    return (lines.tile << 16) + (lines.tileStep < 0 ? kTileUnits : 0);
}

// Whether the ray, at `from` on the axis it crosses lines of (x for column
// lines) and at `intercept` on the other, meets the near face of the moving
// push wall's block within a tile of travel; `hit` then says where. The
// picture moves with the block.
bool MeetsPushWall(const PushWall& wall, const Lines& lines, Fixed from, Fixed intercept, RayHit& hit)
{
    const Fixed offset = static_cast<Fixed>(std::clamp(std::lround(wall.offset * kTileUnits), 0L, long{kTileUnits}));
    const bool columns = lines.columns;
    const Fixed start = ((columns ? wall.x : wall.y) << 16) + (columns ? wall.dx : wall.dy) * offset;
    const Fixed across = ((columns ? wall.y : wall.x) << 16) + (columns ? wall.dy : wall.dx) * offset;
    const Fixed face = lines.tileStep > 0 ? start : start + kTileUnits;
    const Fixed distance = lines.tileStep > 0 ? face - from : from - face;
    if (distance < 0 || distance > kTileUnits)
        return false;
    const Fixed at = intercept + FixedMul(lines.interceptStep, distance);
    if (at < across || at >= across + kTileUnits)
        return false;
    int column = ((at - across) >> kUnitsToColumnShift) & kColumnMask;
    if (columns ? lines.tileStep < 0 : lines.tileStep > 0)
        column = kColumnMask - column;
    hit = RayHit{CellKind::Wall, wall.x, wall.y, FaceMet(columns, lines.tileStep), columns ? face : at,
                 columns ? at : face, column, columns ? wall.dark : wall.light, false};
    return true;
}

// The ray crosses the next line of `lines`: into a wall, onto a door's slab,
// or on through the tile.
Crossing Cross(const Level& level, Lines& lines, RayHit& hit, std::uint32_t* visited, std::uint32_t stamp)
{
    const int along = lines.intercept >> 16;
    const int x = lines.columns ? lines.tile : along;
    const int y = lines.columns ? along : lines.tile;
    if (lines.intercept < 0 || !level.Inside(x, y))
        return Crossing::Left;
    const std::size_t index = level.IndexOf(x, y);
    const Cell& cell = level.At(index);
    if (level.pushWall && level.pushWall->Covers(x, y)) {
        if (MeetsPushWall(*level.pushWall, lines, EntryLine(lines), lines.intercept, hit))
            return Crossing::Hit;
    } else if (cell.kind == CellKind::Door) {
        // The slab stands on the tile's middle line; the ray meets it there
        // unless it leaves the tile sideways first, or passes the open part.
        const Fixed middle = lines.intercept + (lines.interceptStep >> 1);
        const Fixed opening = DoorUnits(level.DoorOpening(index));
        if ((middle >> 16) == along && (middle & kFractionMask) >= opening) {
            const Fixed line = (lines.tile << 16) | (kTileUnits / 2);
            hit = RayHit{CellKind::Door, x, y, FaceMet(lines.columns, lines.tileStep),
                         lines.columns ? line : middle, lines.columns ? middle : line,
                         ((middle - opening) >> kUnitsToColumnShift) & kColumnMask,
                         lines.columns ? cell.dark : cell.light, false};
            return Crossing::Hit;
        }
    } else if (cell.kind == CellKind::Wall) {
        const Fixed line = EntryLine(lines);
        int column = (lines.intercept >> kUnitsToColumnShift) & kColumnMask;
        // A face's columns run left to right as it is seen.
        if (lines.columns ? lines.tileStep < 0 : lines.tileStep > 0)
            column = kColumnMask - column;
        const int fromX = lines.columns ? x - lines.tileStep : x;
        const int fromY = lines.columns ? y : y - lines.tileStep;
        const bool frame = level.Inside(fromX, fromY) && level.At(fromX, fromY).kind == CellKind::Door;
        const int picture = lines.columns ? (frame ? level.frameDark : cell.dark) : (frame ? level.frameLight : cell.light);
        hit = RayHit{CellKind::Wall, x, y, FaceMet(lines.columns, lines.tileStep),
                     lines.columns ? line : lines.intercept, lines.columns ? lines.intercept : line,
                     column, picture, frame};
        return Crossing::Hit;
    }
    if (visited)
        visited[index] = stamp;
    lines.tile += lines.tileStep;
    lines.intercept += lines.interceptStep;
    return Crossing::Pass;
}

bool BesideADoor(const Level& level, int x, int y)
{
    constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : kSteps) {
        const int nx = x + step[0];
        const int ny = y + step[1];
        if (level.Inside(nx, ny) && level.At(nx, ny).kind == CellKind::Door)
            return true;
    }
    return false;
}

// Whether column `column` takes the height of the column before it, as the
// engine does inside a run of four columns that show the same picture
// column of the same face; walls beside a door always get their own.
bool SamePost(const Level& level, const RayHit& hit, const RayHit& before, int column)
{
    if (column % kHeightRun == 0 || hit.kind == CellKind::Empty || hit.kind != before.kind ||
        hit.tileX != before.tileX || hit.tileY != before.tileY || hit.column != before.column)
        return false;
    if (hit.kind == CellKind::Door)
        return true;
    const bool columns = hit.face == Face::West || hit.face == Face::East;
    const bool beforeColumns = before.face == Face::West || before.face == Face::East;
    return columns == beforeColumns && !BesideADoor(level, hit.tileX, hit.tileY);
}

// A wall post: `height` / 8 pixels above and below the middle row, the
// picture's 64 rows spread over it; drawn from the bottom up as the engine
// steps its texels, clipped to the picture.
void DrawPost(std::uint32_t* top, std::size_t stride, int rows, int middle, int height, const std::uint32_t* texels,
              std::uint32_t plain)
{
    const int half = height >> 3;
    if (half <= 0)
        return;
    const int first = std::max(0, middle - half);
    const int bottom = middle + half - 1;
    const int last = std::min(rows - 1, bottom);
    // Pixel k from the post's bottom shows texel 63 - 32 k / half.
    const int skipped = bottom - last;
    int texel = kColumnMask - kTexelUnitsPerPixel * skipped / half;
    int remainder = kTexelUnitsPerPixel * skipped % half;
    std::uint32_t* pixel = top + static_cast<std::size_t>(last) * stride;
    for (int row = last; row >= first; --row, pixel -= stride) {
        *pixel = texels ? texels[texel] | kOpaque : plain;
        remainder += kTexelUnitsPerPixel;
        while (remainder >= half) {
            remainder -= half;
            --texel;
        }
    }
}

// The check drawn where a picture is missing, column by column as a wall's.
const std::uint32_t* MissingPicture()
{
    static const std::vector<std::uint32_t> texels = [] {
        std::vector<std::uint32_t> out(static_cast<std::size_t>(kPageSide) * kPageSide);
        for (int column = 0; column < kPageSide; ++column)
            for (int row = 0; row < kPageSide; ++row)
                out[static_cast<std::size_t>(column * kPageSide + row)] =
                    (column / 8 + row / 8) % 2 == 0 ? kMissingPicture : kMissingPictureDark;
        return out;
    }();
    return texels.data();
}

} // namespace

RayHit CastRay(const Level& level, const ViewPoint& view, int angle, std::uint32_t* visited, std::uint32_t stamp)
{
    angle = ((angle % kFineAngles) + kFineAngles) % kFineAngles;
    const int quadrant = angle / kFineQuarter;
    const int within = angle % kFineQuarter;
    const int stepX = quadrant == 0 || quadrant == 3 ? 1 : -1;
    const int stepY = quadrant < 2 ? -1 : 1;
    // The table's tangent of the angle from the nearer axis: in the first
    // and third quadrants that axis is x, so it gives y's change per unit
    // of x; in the others x's change per unit of y.
    const bool fromX = quadrant % 2 == 0;
    const Fixed tangent = FineTangent(within);
    const Fixed cotangent = FineTangent(kFineQuarter - 1 - within);
    const Fixed xPerRow = stepX * (fromX ? cotangent : tangent);
    const Fixed yPerColumn = stepY * (fromX ? tangent : cotangent);
    // How far the eye stands from the first line of each kind.
    const Fixed xFraction = view.x & kFractionMask;
    const Fixed yFraction = view.y & kFractionMask;
    const Fixed toColumn = stepX > 0 ? kTileUnits - xFraction : xFraction;
    const Fixed toRow = stepY > 0 ? kTileUnits - yFraction : yFraction;

    Lines columns{true, (view.x >> 16) + stepX, stepX, view.y + FixedMul(yPerColumn, toColumn), yPerColumn};
    Lines rows{false, (view.y >> 16) + stepY, stepY, view.x + FixedMul(xPerRow, toRow), xPerRow};
    Lines* current = &columns;
    Lines* other = &rows;
    RayHit hit;
    // An eye inside a push wall's tiles may see the block's face before the
    // ray crosses any line.
    if (const auto& wall = level.pushWall; wall && wall->Covers(view.x >> 16, view.y >> 16)) {
        const bool columnsMove = wall->dx != 0;
        if (MeetsPushWall(*wall, columnsMove ? columns : rows, columnsMove ? view.x : view.y,
                          columnsMove ? view.y : view.x, hit))
            return hit;
    }
    while (true) {
        if (Reached(current->intercept, *other))
            std::swap(current, other);
        switch (Cross(level, *current, hit, visited, stamp)) {
        case Crossing::Pass:
            break;
        case Crossing::Hit:
            return hit;
        case Crossing::Left:
            return RayHit{};
        }
    }
}

void Raycaster::Render(const Level& level, const PagePictures& pictures, const Camera& camera, Image& picture)
{
    if (picture.empty())
        return;
    if (!projection_ || projection_->Width() != picture.width || projection_->Height() != picture.height)
        projection_.emplace(picture.width, picture.height);
    const ViewPoint view = MakeViewPoint(camera);
    const std::size_t tiles = static_cast<std::size_t>(level.Width()) * static_cast<std::size_t>(level.Height());
    if (visited_.size() != tiles) {
        visited_.assign(tiles, 0);
        stamp_ = 0;
    }
    if (++stamp_ == 0) { // wrapped: old stamps could match again
        std::fill(visited_.begin(), visited_.end(), 0);
        stamp_ = 1;
    }
    // The player's own tile counts as seen, so that what stands on it shows.
    if (level.Inside(view.playerTileX, view.playerTileY))
        visited_[level.IndexOf(view.playerTileX, view.playerTileY)] = stamp_;
    heights_.assign(static_cast<std::size_t>(picture.width), 0);

    DrawWalls(level, pictures, view, picture);
    CollectSprites(level, view);
    for (const Visible& sprite : visible_)
        DrawSprite(pictures, sprite, picture);
}

void Raycaster::DrawWalls(const Level& level, const PagePictures& pictures, const ViewPoint& view, Image& picture)
{
    const Projection& projection = *projection_;
    const int rows = picture.height;
    const int middle = projection.MiddleRow();
    const auto stride = static_cast<std::size_t>(picture.width);
    const auto split = picture.pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(middle) * stride);
    std::fill(picture.pixels.begin(), split, level.ceiling);
    std::fill(split, picture.pixels.end(), level.floor);

    std::uint32_t* const visited = visited_.empty() ? nullptr : visited_.data();
    RayHit before;
    for (int column = 0; column < picture.width; ++column) {
        const RayHit hit = CastRay(level, view, view.angle + projection.PixelAngle(column), visited, stamp_);
        const auto at = static_cast<std::size_t>(column);
        if (hit.kind != CellKind::Empty) {
            heights_[at] = SamePost(level, hit, before, column) ? heights_[at - 1]
                                                                : projection.HeightAt(DepthOf(view, hit.x, hit.y));
            const std::uint32_t* texels = pictures.Pixels(hit.picture);
            if (!texels && hit.picture != kNoPicture)
                texels = MissingPicture();
            if (texels)
                texels += static_cast<std::size_t>(hit.column) * kPageSide;
            const bool light = hit.face == Face::North || hit.face == Face::South;
            DrawPost(picture.pixels.data() + column, stride, rows, middle, heights_[at], texels,
                     light ? kPlainLight : kPlainDark);
        }
        before = hit;
    }
}

bool Raycaster::SeenAround(const Level& level, const LevelSprite& sprite) const
{
    const int tileX = static_cast<int>(std::floor(sprite.x));
    const int tileY = static_cast<int>(std::floor(sprite.y));
    if (visited_[level.IndexOf(tileX, tileY)] == stamp_)
        return true;
    for (int y = tileY - 1; y <= tileY + 1; ++y)
        for (int x = tileX - 1; x <= tileX + 1; ++x) {
            if (!level.Inside(x, y))
                continue;
            const std::size_t index = level.IndexOf(x, y);
            if (visited_[index] == stamp_ && level.At(index).kind == CellKind::Empty)
                return true;
        }
    return false;
}

void Raycaster::CollectSprites(const Level& level, const ViewPoint& view)
{
    visible_.clear();
    for (const LevelSprite& sprite : level.sprites) {
        const int tileX = static_cast<int>(std::floor(sprite.x));
        const int tileY = static_cast<int>(std::floor(sprite.y));
        if (!level.Inside(tileX, tileY))
            continue;
        const bool seen = sprite.actor ? SeenAround(level, sprite) : visited_[level.IndexOf(tileX, tileY)] == stamp_;
        if (!seen)
            continue;
        const SpriteProjection projection = ProjectSprite(*projection_, view, ToFixed(sprite.x), ToFixed(sprite.y),
                                                          sprite.actor ? kActorFudgeUnits : kStaticFudgeUnits);
        if (!projection.visible)
            continue;
        const int frame = sprite.facing == kNoRotation
                              ? 0
                              : RotationFrame(*projection_, view, projection.centreX, sprite.facing);
        visible_.push_back({projection.height, projection.centreX, sprite.picture + frame});
    }
    // Far to near; of sprites as far, the one listed first is drawn first.
    std::stable_sort(visible_.begin(), visible_.end(),
                     [](const Visible& a, const Visible& b) { return a.height < b.height; });
}

void Raycaster::DrawSprite(const PagePictures& pictures, const Visible& sprite, Image& picture) const
{
    const std::uint32_t* source = pictures.Pixels(sprite.picture);
    const int half = sprite.height >> 3;
    if (!source || half <= 0)
        return;
    // The picture's 64 columns and rows spread over 2 * half pixels, each
    // texel from its own start to the next one's, in whole pixels.
    const int size = 2 * half;
    const int left = sprite.centreX - half;
    const int top = projection_->MiddleRow() - half;
    const int rows = picture.height;
    const auto stride = static_cast<std::size_t>(picture.width);
    for (int column = 0; column < kPageSide; ++column) {
        const int firstOpaque = pictures.FirstOpaqueRow(sprite.picture, column);
        const int lastOpaque = pictures.LastOpaqueRow(sprite.picture, column);
        if (firstOpaque > lastOpaque)
            continue;
        const int from = std::max(0, left + column * size / kPageSide);
        const int to = std::min(picture.width, left + (column + 1) * size / kPageSide);
        const std::uint32_t* texels = source + static_cast<std::size_t>(column) * kPageSide;
        for (int x = from; x < to; ++x) {
            if (heights_[static_cast<std::size_t>(x)] > sprite.height)
                continue; // a nearer wall hides this column
            for (int row = firstOpaque; row <= lastOpaque; ++row) {
                const std::uint32_t colour = texels[row];
                if ((colour & 0xFF000000u) == 0)
                    continue;
                const int y0 = std::max(0, top + row * size / kPageSide);
                const int y1 = std::min(rows, top + (row + 1) * size / kPageSide);
                std::uint32_t* pixel = picture.pixels.data() + static_cast<std::size_t>(y0) * stride + static_cast<std::size_t>(x);
                for (int y = y0; y < y1; ++y, pixel += stride)
                    *pixel = colour;
            }
        }
    }
}

} // namespace tsl
