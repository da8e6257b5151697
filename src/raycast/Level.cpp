#include "raycast/Level.h"

#include <algorithm>

namespace tsl {

Level::Level(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      doorOpening_(cells_.size(), 0.0)
{
}

void Level::SetWall(int x, int y, int light, int dark)
{
    if (Inside(x, y))
        cells_[IndexOf(x, y)] = Cell{CellKind::Wall, light, dark};
}

void Level::SetDoor(int x, int y, int light, int dark)
{
    if (Inside(x, y))
        cells_[IndexOf(x, y)] = Cell{CellKind::Door, light, dark};
}

void Level::SetEmpty(int x, int y)
{
    if (Inside(x, y))
        cells_[IndexOf(x, y)] = Cell{};
}

void Level::SetDoorOpening(int x, int y, double opening)
{
    if (Inside(x, y))
        doorOpening_[IndexOf(x, y)] = std::clamp(opening, 0.0, 1.0);
}

void Level::SetBlocking(int x, int y)
{
    if (!Inside(x, y))
        return;
    if (blocking_.empty())
        blocking_.assign(cells_.size(), 0);
    blocking_[IndexOf(x, y)] = 1;
}

bool Level::Solid(int x, int y) const
{
    if (!Inside(x, y) || (pushWall && pushWall->Covers(x, y)))
        return true;
    const std::size_t index = IndexOf(x, y);
    if (!blocking_.empty() && blocking_[index])
        return true;
    switch (cells_[index].kind) {
    case CellKind::Wall:
        return true;
    case CellKind::Door:
        return doorOpening_[index] < 1.0;
    case CellKind::Empty:
        break;
    }
    return false;
}

} // namespace tsl
