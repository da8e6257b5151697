#pragma once
// One map as the raycaster sees it: a grid of cells that are empty, solid
// walls or door slabs, the sprites standing on it, the state of every door
// and the ceiling and floor colours. It is built from the map's planes (see
// LevelBuilder) or, in the tests, by hand; the raycaster only reads it.
//
// Coordinates are in tiles: x grows to the east, y to the south, and the
// middle of tile (x, y) is (x + 0.5, y + 0.5).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tsl {

// A picture of the page set a cell or sprite shows; kNoPicture draws the
// plain colour of an unknown wall (sprites without a picture are not kept).
inline constexpr int kNoPicture = -1;

enum class CellKind : std::uint8_t { Empty, Wall, Door };

struct Cell {
    CellKind kind = CellKind::Empty;
    // Walls: the light picture shows on the north and south faces, the dark
    // one on the east and west faces. Doors: the light picture is the slab
    // met across a row line, the dark one the slab met across a column line.
    int light = kNoPicture;
    int dark = kNoPicture;
};

// An actor drawn the same from every side.
inline constexpr int kNoRotation = -1;

struct LevelSprite {
    double x = 0; // where it stands, in tiles (the middle of its tile)
    double y = 0;
    int picture = kNoPicture;
    bool actor = false; // actors stand a little further forward and are seen from the tiles around them
    // An actor with eight pictures, one for each side it is seen from (the
    // first one from the front): the direction it faces, in degrees (0
    // east, 90 north ...); kNoRotation for one picture from every side.
    int facing = kNoRotation;
};

// A push wall on its way, as the engine moves it: a wall block slid
// `offset` of a tile (0 ... 1) from tile (x, y) towards its neighbour
// (x + dx, y + dy). Both tiles count as its own while it moves (their cells
// stay empty); its faces show its light and dark pictures as a wall's do.
struct PushWall {
    int x = 0;
    int y = 0;
    int dx = 1;
    int dy = 0;
    double offset = 0;
    int light = kNoPicture;
    int dark = kNoPicture;
    bool Covers(int tileX, int tileY) const
    {
        return (tileX == x && tileY == y) || (tileX == x + dx && tileY == y + dy);
    }
};

class Level {
public:
    Level() = default;
    Level(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::size_t IndexOf(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    const Cell& At(int x, int y) const { return cells_[IndexOf(x, y)]; }
    const Cell& At(std::size_t index) const { return cells_[index]; }
    void SetWall(int x, int y, int light, int dark);
    void SetDoor(int x, int y, int light, int dark);
    void SetEmpty(int x, int y);

    // How far each door is open, from 0 (closed) to 1 (open); a door covers
    // the part of its tile from that fraction on, as it slides aside.
    double DoorOpening(int x, int y) const { return doorOpening_[IndexOf(x, y)]; }
    double DoorOpening(std::size_t index) const { return doorOpening_[index]; }
    void SetDoorOpening(int x, int y, double opening);

    // What stops a walker: walls, doors that are not fully open, a moving
    // push wall's tiles, blocking statics, and everything outside the map.
    bool Solid(int x, int y) const;

    // A static object that stops a walker stands on tile (x, y): only a walk
    // by the game's rules sets them.
    void SetBlocking(int x, int y);

    std::optional<PushWall> pushWall;

    // Pictures of the door frames, shown on a wall face seen from a door tile.
    int frameLight = kNoPicture;
    int frameDark = kNoPicture;

    std::vector<LevelSprite> sprites;

    std::uint32_t ceiling = 0xFF383838u;
    std::uint32_t floor = 0xFF707070u;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Cell> cells_;
    std::vector<double> doorOpening_;
    std::vector<std::uint8_t> blocking_; // empty until one is set
};

} // namespace tsl
