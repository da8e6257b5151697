#include "raycast/Raycaster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tsl {

namespace {

constexpr double kFar = std::numeric_limits<double>::infinity();

int PictureColumn(double fraction)
{
    return std::clamp(static_cast<int>(fraction * kPageSide), 0, kPageSide - 1);
}

// The first row whose middle lies at or below `edge`, within [0, height].
int RowAt(double edge, int height)
{
    const double row = std::ceil(edge - 0.5);
    return static_cast<int>(std::clamp(row, 0.0, static_cast<double>(height)));
}

void FillColumn(std::uint32_t* pixel, int rows, std::size_t stride, std::uint32_t colour)
{
    for (int row = 0; row < rows; ++row, pixel += stride)
        *pixel = colour;
}

} // namespace

RayHit CastRay(const Level& level, double x, double y, double dx, double dy, std::uint32_t* visited,
               std::uint32_t stamp)
{
    RayHit hit;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0))
        return hit;
    int tileX = static_cast<int>(std::floor(x));
    int tileY = static_cast<int>(std::floor(y));
    const int stepX = dx < 0 ? -1 : 1;
    const int stepY = dy < 0 ? -1 : 1;
    const double deltaX = dx == 0 ? kFar : std::abs(1 / dx);
    const double deltaY = dy == 0 ? kFar : std::abs(1 / dy);
    double nextX = dx == 0 ? kFar : (dx < 0 ? x - tileX : tileX + 1 - x) * deltaX;
    double nextY = dy == 0 ? kFar : (dy < 0 ? y - tileY : tileY + 1 - y) * deltaY;
    bool fromDoor = level.Inside(tileX, tileY) && level.At(tileX, tileY).kind == CellKind::Door;

    while (true) {
        // Which grid line the ray crosses next: a column line (x = const)
        // or a row line (y = const); at a corner the row line goes first.
        const bool acrossColumn = nextX < nextY;
        double distance;
        if (acrossColumn) {
            distance = nextX;
            nextX += deltaX;
            tileX += stepX;
        } else {
            distance = nextY;
            nextY += deltaY;
            tileY += stepY;
        }
        if (!level.Inside(tileX, tileY))
            return hit;
        const std::size_t index = level.IndexOf(tileX, tileY);
        const Cell& cell = level.At(index);

        if (cell.kind == CellKind::Wall) {
            hit.kind = CellKind::Wall;
            hit.tileX = tileX;
            hit.tileY = tileY;
            hit.distance = distance;
            hit.frame = fromDoor;
            if (acrossColumn) {
                hit.face = stepX > 0 ? Face::West : Face::East;
                const int column = PictureColumn(y + distance * dy - tileY);
                hit.column = stepX > 0 ? column : kPageSide - 1 - column;
                hit.picture = fromDoor ? level.frameDark : cell.dark;
            } else {
                hit.face = stepY > 0 ? Face::North : Face::South;
                const int column = PictureColumn(x + distance * dx - tileX);
                hit.column = stepY > 0 ? kPageSide - 1 - column : column;
                hit.picture = fromDoor ? level.frameLight : cell.light;
            }
            return hit;
        }

        if (cell.kind == CellKind::Door) {
            // The slab stands on the tile's middle line; the ray meets it
            // there unless it leaves the tile sideways first, or passes
            // through the part that is open.
            const double middle = distance + 0.5 * (acrossColumn ? deltaX : deltaY);
            const double along = acrossColumn ? y + middle * dy : x + middle * dx;
            const int alongTile = acrossColumn ? tileY : tileX;
            const double opening = level.DoorOpening(index);
            if (static_cast<int>(std::floor(along)) == alongTile && along - alongTile >= opening) {
                hit.kind = CellKind::Door;
                hit.tileX = tileX;
                hit.tileY = tileY;
                hit.distance = middle;
                hit.face = acrossColumn ? (stepX > 0 ? Face::West : Face::East)
                                        : (stepY > 0 ? Face::North : Face::South);
                hit.column = PictureColumn(along - alongTile - opening);
                hit.picture = acrossColumn ? cell.dark : cell.light;
                return hit;
            }
        }
        if (visited)
            visited[index] = stamp;
        fromDoor = cell.kind == CellKind::Door;
    }
}

void Raycaster::Render(const Level& level, const PagePictures& pictures, const Camera& camera, Image& picture)
{
    if (picture.empty())
        return;
    const View view = MakeView(camera, picture.width, picture.height);
    const std::size_t tiles = static_cast<std::size_t>(level.Width()) * static_cast<std::size_t>(level.Height());
    if (visited_.size() != tiles) {
        visited_.assign(tiles, 0);
        stamp_ = 0;
    }
    if (++stamp_ == 0) { // wrapped: old stamps could match again
        std::fill(visited_.begin(), visited_.end(), 0);
        stamp_ = 1;
    }
    depth_.resize(static_cast<std::size_t>(picture.width));

    DrawWalls(level, pictures, view, picture);
    CollectSprites(level, view);
    for (const Visible& sprite : visible_)
        DrawSprite(pictures, sprite, picture);
}

void Raycaster::DrawWalls(const Level& level, const PagePictures& pictures, const View& view, Image& picture)
{
    const int height = picture.height;
    const auto stride = static_cast<std::size_t>(picture.width);
    std::uint32_t* const visited = visited_.empty() ? nullptr : visited_.data();
    for (int column = 0; column < picture.width; ++column) {
        double dx;
        double dy;
        view.RayThrough(column, dx, dy);
        const RayHit hit = CastRay(level, view.eyeX, view.eyeY, dx, dy, visited, stamp_);
        std::uint32_t* pixel = picture.pixels.data() + column;
        if (hit.kind == CellKind::Empty) {
            depth_[static_cast<std::size_t>(column)] = kFar;
            FillColumn(pixel, height / 2, stride, level.ceiling);
            FillColumn(pixel + static_cast<std::size_t>(height / 2) * stride, height - height / 2, stride, level.floor);
            continue;
        }
        const double depth = std::max(hit.distance, kMinDistance);
        depth_[static_cast<std::size_t>(column)] = depth;
        const double size = view.scale / depth;
        const double top = height * 0.5 - size * 0.5;
        const int first = RowAt(top, height);
        const int last = RowAt(top + size, height);
        FillColumn(pixel, first, stride, level.ceiling);
        pixel += static_cast<std::size_t>(first) * stride;

        const std::uint32_t* source = pictures.Pixels(hit.picture);
        if (source) {
            source += static_cast<std::size_t>(hit.column) * kPageSide;
            const double step = kPageSide / size;
            double row = (first + 0.5 - top) * step;
            for (int y = first; y < last; ++y, pixel += stride, row += step)
                *pixel = source[std::min(static_cast<int>(row), kPageSide - 1)] | kOpaque;
        } else {
            const bool light = hit.face == Face::North || hit.face == Face::South;
            FillColumn(pixel, last - first, stride, light ? kPlainLight : kPlainDark);
            pixel += static_cast<std::size_t>(last - first) * stride;
        }
        FillColumn(pixel, height - last, stride, level.floor);
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

void Raycaster::CollectSprites(const Level& level, const View& view)
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
        const SpriteProjection projection =
            ProjectSprite(view, sprite.x, sprite.y, sprite.actor ? kActorFudge : kStaticFudge);
        if (projection.visible)
            visible_.push_back({projection.depth, projection.centreX, projection.size, sprite.picture});
    }
    std::sort(visible_.begin(), visible_.end(), [](const Visible& a, const Visible& b) { return a.depth > b.depth; });
}

void Raycaster::DrawSprite(const PagePictures& pictures, const Visible& sprite, Image& picture) const
{
    const std::uint32_t* source = pictures.Pixels(sprite.picture);
    if (!source)
        return;
    const int height = picture.height;
    const auto stride = static_cast<std::size_t>(picture.width);
    const double left = sprite.centreX - sprite.size * 0.5;
    const double top = height * 0.5 - sprite.size * 0.5;
    const double step = kPageSide / sprite.size;
    const double rowsPerPixel = sprite.size / kPageSide;
    const int firstColumn = RowAt(left, picture.width);
    const int lastColumn = RowAt(left + sprite.size, picture.width);
    for (int x = firstColumn; x < lastColumn; ++x) {
        if (sprite.depth >= depth_[static_cast<std::size_t>(x)])
            continue; // a nearer wall hides this column
        const int column = std::min(static_cast<int>((x + 0.5 - left) * step), kPageSide - 1);
        const int firstOpaque = pictures.FirstOpaqueRow(sprite.picture, column);
        const int lastOpaque = pictures.LastOpaqueRow(sprite.picture, column);
        if (firstOpaque > lastOpaque)
            continue;
        const std::uint32_t* columnPixels = source + static_cast<std::size_t>(column) * kPageSide;
        const int firstRow = RowAt(top + firstOpaque * rowsPerPixel, height);
        const int lastRow = RowAt(top + (lastOpaque + 1) * rowsPerPixel, height);
        std::uint32_t* pixel = picture.pixels.data() + static_cast<std::size_t>(firstRow) * stride + x;
        double row = (firstRow + 0.5 - top) * step;
        for (int y = firstRow; y < lastRow; ++y, pixel += stride, row += step) {
            const std::uint32_t colour = columnPixels[std::min(static_cast<int>(row), kPageSide - 1)];
            if (colour & 0xFF000000u)
                *pixel = colour;
        }
    }
}

} // namespace tsl
