#include "editor/render/MarkerBadges.h"

#include "editor/render/PictureMarks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tsl {

namespace {

constexpr std::uint32_t kOutline = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// Five by five letters, a row a string.
using Glyph = std::array<std::string_view, 5>;
constexpr Glyph kLetterA = {".###.", "#...#", "#####", "#...#", "#...#"};
constexpr Glyph kLetterS = {".####", "#....", ".###.", "....#", "####."};
constexpr Glyph kLetterP = {"####.", "#...#", "####.", "#....", "#...."};
constexpr Glyph kLetterV = {"#...#", "#...#", "#...#", ".#.#.", "..#.."};

struct Style {
    std::uint32_t disc;
    std::uint32_t mark;
    const Glyph* glyph; // none: an arrow
};

Style StyleOf(BadgeKind kind)
{
    switch (kind) {
    case BadgeKind::Ambush: return {0xFFB02020u, kWhite, &kLetterA};
    case BadgeKind::SecretElevator: return {0xFFE0B000u, kOutline, &kLetterS};
    case BadgeKind::PushWall: return {0xFFD000D0u, kWhite, &kLetterP};
    case BadgeKind::Victory: return {0xFF20A040u, kWhite, &kLetterV};
    case BadgeKind::TurningPoint: return {0xFF2070F0u, kWhite, nullptr};
    case BadgeKind::None: break;
    }
    return {0, 0, nullptr};
}

using Point = MarkPoint;

// How far `p` lies inside the triangle (negative: outside), in pixels.
double InsideTriangle(Point a, Point b, Point c, Point p)
{
    const double turn = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0 ? 1 : -1;
    auto edge = [&](Point from, Point to) {
        const double cross = (to.x - from.x) * (p.y - from.y) - (to.y - from.y) * (p.x - from.x);
        return turn * cross / std::hypot(to.x - from.x, to.y - from.y);
    };
    return std::min({edge(a, b), edge(b, c), edge(c, a)});
}

// A triangle pointing from `base` to `tip`, `half` wide on each side.
struct Arrow {
    Point tip, left, right;
};
Arrow ArrowOf(Point base, Point tip, double half)
{
    const double length = std::hypot(tip.x - base.x, tip.y - base.y);
    const Point d{(tip.x - base.x) / length, (tip.y - base.y) / length};
    return {tip, {base.x + d.y * half, base.y - d.x * half}, {base.x - d.y * half, base.y + d.x * half}};
}

void Paint(std::vector<std::uint32_t>& out, int side, const Arrow& arrow, std::uint32_t colour, double outline)
{
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double inside = InsideTriangle(arrow.tip, arrow.left, arrow.right, {x + 0.5, y + 0.5});
            std::uint32_t& pixel = out[static_cast<std::size_t>(y * side + x)];
            if (inside >= 0)
                pixel = colour;
            else if (inside >= -outline && pixel == 0)
                pixel = kOutline;
        }
}

} // namespace

BadgeKind BadgeOf(int plane, const WordMeaning& meaning)
{
    if (plane == 0 && meaning.kind == WordKind::Floor)
        return meaning.ambush ? BadgeKind::Ambush : meaning.secret ? BadgeKind::SecretElevator : BadgeKind::None;
    if (plane != 1)
        return BadgeKind::None;
    switch (meaning.kind) {
    case WordKind::PushWall: return BadgeKind::PushWall;
    case WordKind::Victory: return BadgeKind::Victory;
    case WordKind::TurningPoint: return BadgeKind::TurningPoint;
    default: return BadgeKind::None;
    }
}

std::string_view BadgeName(BadgeKind kind)
{
    switch (kind) {
    case BadgeKind::Ambush: return "Ambush floor: actors standing here do not hear the player";
    case BadgeKind::SecretElevator: return "Secret-elevator floor: the elevator switch used from here leads to the secret level";
    case BadgeKind::PushWall: return "Push wall: the wall moves when pushed, the way its arrows show";
    case BadgeKind::Victory: return "Victory tile: walking onto it ends the episode";
    case BadgeKind::TurningPoint: return "Turning point: a patrol turns here the way the arrow shows";
    case BadgeKind::None: break;
    }
    return {};
}

std::vector<std::uint32_t> DrawBadge(BadgeKind kind, Facing facing, int side)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0);
    const Style style = StyleOf(kind);
    if (kind == BadgeKind::None || side <= 0)
        return out;
    const double s = side;
    const double outline = std::max(1.0, s / 40.0);
    const bool corner = kind == BadgeKind::Ambush || kind == BadgeKind::SecretElevator;
    const double radius = std::max(1.5, s * (corner ? 0.18 : 0.2));
    const double margin = std::max(0.5, s / 32.0);
    const Point centre = corner ? Point{margin + radius, s - margin - radius} : Point{s / 2, s / 2};
    // The letter fills a square inside the disc.
    const double glyphSide = radius * 1.15;
    const Point glyphCorner{centre.x - glyphSide / 2, centre.y - glyphSide / 2};

    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Point p{x + 0.5, y + 0.5};
            const double distance = std::hypot(p.x - centre.x, p.y - centre.y);
            std::uint32_t& pixel = out[static_cast<std::size_t>(y * side + x)];
            if (distance > radius) {
                if (distance <= radius + outline)
                    pixel = kOutline;
                continue;
            }
            pixel = style.disc;
            if (!style.glyph)
                continue;
            const double gx = (p.x - glyphCorner.x) / glyphSide, gy = (p.y - glyphCorner.y) / glyphSide;
            if (gx < 0 || gy < 0 || gx >= 1 || gy >= 1)
                continue;
            const auto row = (*style.glyph)[static_cast<std::size_t>(gy * 5)];
            if (row[static_cast<std::size_t>(gx * 5)] == '#')
                pixel = style.mark;
        }
    if (kind == BadgeKind::TurningPoint && facing != Facing::None) {
        const Point d = FacingStep(facing);
        const Arrow arrow = ArrowOf({centre.x - d.x * radius * 0.55, centre.y - d.y * radius * 0.55},
                                    {centre.x + d.x * radius * 0.8, centre.y + d.y * radius * 0.8}, radius * 0.55);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (InsideTriangle(arrow.tip, arrow.left, arrow.right, {x + 0.5, y + 0.5}) >= 0)
                    out[static_cast<std::size_t>(y * side + x)] = style.mark;
    }
    return out;
}

std::vector<std::uint32_t> DrawPushArrows(unsigned ways, int side)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(std::max(side, 0)) * static_cast<std::size_t>(std::max(side, 0)), 0);
    const double s = side;
    const double outline = std::max(1.0, s / 40.0);
    const std::uint32_t colour = StyleOf(BadgeKind::PushWall).disc;
    // North, east, south, west: from a point inside the edge to the edge.
    constexpr std::array<Point, 4> kWay = {Point{0, -1}, Point{1, 0}, Point{0, 1}, Point{-1, 0}};
    for (std::size_t way = 0; way < kWay.size(); ++way) {
        if (!(ways & (1u << way)))
            continue;
        const Point d = kWay[way];
        const Point tip{s / 2 + d.x * s * 0.46, s / 2 + d.y * s * 0.46};
        const Point base{s / 2 + d.x * s * 0.3, s / 2 + d.y * s * 0.3};
        Paint(out, side, ArrowOf(base, tip, s * 0.13), colour, outline);
    }
    return out;
}

int BadgeKey(BadgeKind kind, Facing facing)
{
    return 1000 + static_cast<int>(kind) * 16 + static_cast<int>(facing);
}

int PushArrowsKey(unsigned ways)
{
    return 2000 + static_cast<int>(ways & 15u);
}

} // namespace tsl
