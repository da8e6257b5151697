#include "raycast/Projection.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tsl {

namespace {

// The engine's value of pi (a digit off the true one), kept because its
// tables are made with it.
constexpr double kEnginePi = 3.141592657;
constexpr int kDegrees = 360;
constexpr int kFinePerDegree = kFineAngles / kDegrees;
// Half a tile at the focal length plus the minimum distance is what half the
// view's width spans.
constexpr double kFaceDistance = kFocalUnits + kMinDistUnits;
constexpr int kHalfTileUnits = kTileUnits / 2;
// Far enough outside any map that nothing is seen, near enough that the
// ray arithmetic stays within 32 bits.
constexpr double kFarthestTile = 4096;

// The engine works its angles out in single precision: the factor and the
// angles rounded to float, then truncated to whole fine units.
const float kFinePerRadian = static_cast<float>(kFineAngles / 2 / kEnginePi);

struct Tables {
    std::array<Fixed, kFineQuarter> tangent{};
    std::array<Fixed, kDegrees> degreeSine{};
};

Tables BuildTables()
{
    Tables tables;
    for (int step = 0; step < kFineQuarter / 2; ++step) {
        const double tangent = std::tan((step + 0.5) / static_cast<double>(kFinePerRadian));
        tables.tangent[static_cast<std::size_t>(step)] = static_cast<Fixed>(tangent * kTileUnits);
        tables.tangent[static_cast<std::size_t>(kFineQuarter - 1 - step)] =
            static_cast<Fixed>(1 / tangent * kTileUnits);
    }
    // The whole-degree sines come from a float angle summed a degree at a
    // time, as the engine makes its table, which may differ from the exact
    // sine in the last unit.
    const auto quarter = static_cast<std::size_t>(kDegrees / 4);
    const float degree = static_cast<float>(kEnginePi / 2 / static_cast<double>(quarter));
    float angle = 0;
    for (std::size_t d = 0; d < quarter; ++d, angle += degree) {
        const auto value = static_cast<Fixed>(kTileUnits * std::sin(static_cast<double>(angle)));
        tables.degreeSine[d] = value;
        tables.degreeSine[2 * quarter - d] = value;
        tables.degreeSine[2 * quarter + d] = -value;
        tables.degreeSine[(4 * quarter - d) % (4 * quarter)] = -value;
    }
    tables.degreeSine[quarter] = kTileUnits;
    tables.degreeSine[3 * quarter] = -kTileUnits;
    return tables;
}

const Tables& EngineTables()
{
    static const Tables tables = BuildTables();
    return tables;
}

} // namespace

Fixed ToFixed(double tiles)
{
    if (!std::isfinite(tiles))
        return 0;
    return static_cast<Fixed>(std::lround(std::clamp(tiles, -kFarthestTile, kFarthestTile) * kTileUnits));
}

int FineAngle(double degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    const double fine = std::round(std::fmod(degrees, 360.0) * kFinePerDegree);
    const int angle = static_cast<int>(fine) % kFineAngles;
    return angle < 0 ? angle + kFineAngles : angle;
}

Fixed FineTangent(int step)
{
    return EngineTables().tangent[static_cast<std::size_t>(std::clamp(step, 0, kFineQuarter - 1))];
}

Fixed FineSine(int angle)
{
    angle = ((angle % kFineAngles) + kFineAngles) % kFineAngles;
    if (angle % kFinePerDegree == 0)
        return EngineTables().degreeSine[static_cast<std::size_t>(angle / kFinePerDegree)];
    return static_cast<Fixed>(kTileUnits * std::sin(angle * 2 * kEnginePi / kFineAngles));
}

Fixed FineCosine(int angle)
{
    return FineSine(angle + kFineQuarter);
}

Projection::Projection(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixelAngle_(static_cast<std::size_t>(width_))
{
    const int half = width_ / 2;
    scale_ = static_cast<Fixed>(half * kFaceDistance / kHalfTileUnits);
    heightNumerator_ = static_cast<std::int32_t>((static_cast<std::int64_t>(kTileUnits) * scale_) >> 6);
    // Column half - 1 and column half both look straight ahead; the others
    // step out by whole pixels of the plane at the face distance (a width's
    // pixels spanning a tile there), each rounded down to a whole fine angle.
    // An odd width's last column continues the right half.
    for (int i = 0; i < half + width_ % 2; ++i) {
        const double tangent = static_cast<std::int32_t>(i * kTileUnits / width_) / kFaceDistance;
        const int fine = static_cast<int>(static_cast<float>(std::atan(tangent)) * kFinePerRadian);
        if (i < half)
            pixelAngle_[static_cast<std::size_t>(half - 1 - i)] = fine;
        pixelAngle_[static_cast<std::size_t>(half + i)] = -fine;
    }
}

int Projection::HeightAt(Fixed depth) const
{
    return heightNumerator_ / (std::max(depth, kMinDistUnits) >> 8);
}

ViewPoint MakeViewPoint(const Camera& camera)
{
    ViewPoint view;
    view.angle = FineAngle(camera.angle);
    view.sin = FineSine(view.angle);
    view.cos = FineCosine(view.angle);
    const Fixed x = ToFixed(camera.x);
    const Fixed y = ToFixed(camera.y);
    view.x = x - FixedMul(kFocalUnits, view.cos);
    view.y = y + FixedMul(kFocalUnits, view.sin);
    view.playerTileX = x >> 16;
    view.playerTileY = y >> 16;
    return view;
}

SpriteProjection ProjectSprite(const Projection& projection, const ViewPoint& view, Fixed x, Fixed y, Fixed fudge)
{
    SpriteProjection sprite;
    const Fixed gx = x - view.x;
    const Fixed gy = y - view.y;
    const Fixed depth = FixedMul(gx, view.cos) - FixedMul(gy, view.sin) - fudge;
    if (depth < kMinDistUnits)
        return sprite;
    const Fixed across = FixedMul(gy, view.cos) + FixedMul(gx, view.sin);
    sprite.visible = true;
    sprite.centreX =
        projection.CentreX() + static_cast<int>(static_cast<std::int64_t>(across) * projection.Scale() / depth);
    sprite.height = projection.HeightAt(depth);
    return sprite;
}

int RotationFrame(const Projection& projection, const ViewPoint& view, int centreX, int facing)
{
    constexpr int kRotations = 8;
    constexpr int kColumnsPerDegree = 8;
    const int seenFrom = view.angle / kFinePerDegree + (projection.CentreX() - centreX) / kColumnsPerDegree;
    // Seen from straight ahead of its face, an actor shows picture 0; each
    // picture spans an eighth of the turn around that side (whole degrees,
    // as the engine counts them: 22 either way).
    const int angle = seenFrom - kDegrees / 2 - facing + kDegrees / (2 * kRotations);
    return ((angle % kDegrees) + kDegrees) % kDegrees / (kDegrees / kRotations);
}

} // namespace tsl
