#include "editor/render/PictureMarks.h"

#include <algorithm>
#include <cmath>

namespace tsl {

namespace {

constexpr std::uint32_t kOutline = 0xFF000000u;

using Point = MarkPoint;

} // namespace

MarkPoint FacingStep(Facing facing)
{
    const double d = std::sqrt(0.5);
    switch (facing) {
    case Facing::East: return {1, 0};
    case Facing::NorthEast: return {d, -d};
    case Facing::North: return {0, -1};
    case Facing::NorthWest: return {-d, -d};
    case Facing::West: return {-1, 0};
    case Facing::SouthWest: return {-d, d};
    case Facing::South: return {0, 1};
    case Facing::SouthEast: return {d, d};
    case Facing::None: break;
    }
    return {0, 0};
}

namespace {

double Cross(Point a, Point b, Point p)
{
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// How far `p` lies on the side of the edge from `a` to `b` that `sign`
// says is inside (negative: outside).
double Inside(Point a, Point b, Point p, double sign)
{
    return sign * Cross(a, b, p) / std::hypot(b.x - a.x, b.y - a.y);
}

} // namespace

int MarksKey(Facing facing, int skill, bool patrol)
{
    return (static_cast<int>(facing) * 8 + skill) * 2 + (patrol ? 1 : 0);
}

std::vector<std::uint32_t> DrawMarks(Facing facing, int skill, bool patrol, int side)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0);
    const double s = side;
    const double outline = std::max(1.0, s / 40.0);

    const int corners = skill == 1 ? 1 : skill == 3 ? 2 : skill == 4 ? 3 : 0;
    const std::uint32_t cornerColour = skill == 1 ? 0xFF00FF00u : skill == 3 ? 0xFFFFFF00u : 0xFFFF0000u;
    const double leg = std::max(2.0, s / 6.0);

    const Point d = FacingStep(facing);
    const Point centre{s / 2, s / 2};
    const Point tip{centre.x + d.x * 0.46 * s, centre.y + d.y * 0.46 * s};
    const Point base{centre.x + d.x * 0.20 * s, centre.y + d.y * 0.20 * s};
    const double half = 0.17 * s;
    // The tip, then the base's two ends.
    const Point left{base.x + d.y * half, base.y - d.x * half};
    const Point right{base.x - d.y * half, base.y + d.x * half};
    const double sign = Cross(tip, left, right) > 0 ? 1 : -1;
    const std::uint32_t arrowColour = patrol ? 0xFF00FFFFu : 0xFFFFFFFFu;

    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Point p{x + 0.5, y + 0.5};
            std::uint32_t& pixel = out[static_cast<std::size_t>(y * side + x)];
            // Corners: top left, top right, bottom right.
            for (int k = 0; k < corners; ++k) {
                const double dx = k == 0 ? p.x : s - p.x;
                const double dy = k == 2 ? s - p.y : p.y;
                if (dx + dy < leg)
                    pixel = cornerColour;
                else if (dx + dy < leg + outline && pixel == 0)
                    pixel = kOutline;
            }
            if (facing == Facing::None)
                continue;
            const double inside =
                std::min({Inside(tip, left, p, sign), Inside(left, right, p, sign), Inside(right, tip, p, sign)});
            if (inside >= 0)
                pixel = arrowColour;
            else if (inside >= -outline)
                pixel = kOutline;
        }
    return out;
}

} // namespace tsl
