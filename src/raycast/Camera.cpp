#include "raycast/Camera.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace tsl {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Longer moves are made in steps, so that no step jumps over a wall (the
// engine caps a move below twice the player's radius for the same reason).
constexpr double kLongestStep = kMinDistance;

// Keeps a walker this much further off than the radius, so that the place
// it stops at is not itself a touch.
constexpr double kClearance = 1e-6;

// How far one axis of a step gets: all of it, or up to the player's radius
// from the wall it runs into (a step is shorter than a tile, so it meets at
// most one new column or row).
double ClipAxis(double from, double move, const std::function<bool(double)>& blocked)
{
    const double to = from + move;
    if (!blocked(to))
        return to;
    const double stop = move > 0 ? std::floor(to + kMinDistance) - kMinDistance - kClearance
                                 : std::floor(to - kMinDistance) + 1 + kMinDistance + kClearance;
    const bool forward = move > 0 ? stop > from : stop < from;
    return forward && !blocked(stop) ? stop : from;
}

// One step as the engine's ClipMove takes it: the whole move when it is
// free, otherwise each axis as far as it goes, so that a walk slides along
// the wall it meets.
void ClipStep(const Level& level, Camera& camera, double dx, double dy)
{
    if (!CameraBlocked(level, camera.x + dx, camera.y + dy)) {
        camera.x += dx;
        camera.y += dy;
        return;
    }
    camera.x = ClipAxis(camera.x, dx, [&](double x) { return CameraBlocked(level, x, camera.y); });
    camera.y = ClipAxis(camera.y, dy, [&](double y) { return CameraBlocked(level, camera.x, y); });
}

} // namespace

Camera CameraAtTile(int x, int y, double angle)
{
    Camera camera{x + 0.5, y + 0.5, 0};
    TurnCamera(camera, angle);
    return camera;
}

void TurnCamera(Camera& camera, double degrees)
{
    camera.angle = std::fmod(camera.angle + degrees, 360.0);
    if (camera.angle < 0)
        camera.angle += 360.0;
    if (camera.angle >= 360.0) // -tiny + 360 rounds to 360
        camera.angle = 0;
}

bool CameraBlocked(const Level& level, double x, double y)
{
    // Far outside any map (or not a number): outside, and kept from
    // overflowing the tile numbers below.
    constexpr double kFarOut = 1 << 20;
    if (!(std::abs(x) < kFarOut && std::abs(y) < kFarOut))
        return true;
    const int left = static_cast<int>(std::floor(x - kMinDistance));
    const int right = static_cast<int>(std::floor(x + kMinDistance));
    const int top = static_cast<int>(std::floor(y - kMinDistance));
    const int bottom = static_cast<int>(std::floor(y + kMinDistance));
    for (int ty = top; ty <= bottom; ++ty)
        for (int tx = left; tx <= right; ++tx)
            if (level.Solid(tx, ty))
                return true;
    return false;
}

void MoveCamera(const Level& level, Camera& camera, double forward, double right)
{
    // Forward is (cos, -sin) on a map whose y axis points south; right is
    // forward turned a quarter clockwise.
    const double radians = camera.angle * kRadiansPerDegree;
    const double forwardX = std::cos(radians);
    const double forwardY = -std::sin(radians);
    const double dx = forwardX * forward - forwardY * right;
    const double dy = forwardY * forward + forwardX * right;
    if (CameraBlocked(level, camera.x, camera.y)) {
        camera.x += dx;
        camera.y += dy;
        return;
    }
    const double length = std::hypot(dx, dy);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / kLongestStep)));
    for (int step = 0; step < steps; ++step)
        ClipStep(level, camera, dx / steps, dy / steps);
}

std::optional<TileSpot> DoorAhead(const Level& level, const Camera& camera)
{
    TileSpot spot{static_cast<int>(std::floor(camera.x)), static_cast<int>(std::floor(camera.y))};
    if (camera.angle < 45 || camera.angle > 315)
        ++spot.x;
    else if (camera.angle < 135)
        --spot.y;
    else if (camera.angle < 225)
        --spot.x;
    else
        ++spot.y;
    if (!level.Inside(spot.x, spot.y) || level.At(spot.x, spot.y).kind != CellKind::Door)
        return std::nullopt;
    return spot;
}

} // namespace tsl
