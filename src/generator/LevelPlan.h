#pragma once
// The shape of a generated level before it becomes words: which tiles are
// rock, floor, doors, the switches and push walls; the pieces (rooms,
// corridors, the elevators and the secret rooms) as a tree grown from the
// start room, each joined to its parent through one door or push wall. The
// layout (LevelLayout.cpp) grows it; the furnishing (LevelFurnishing.cpp)
// turns it into the words of the planes.

#include "generator/LevelGenerator.h"
#include "generator/LevelRandom.h"
#include "generator/LevelWords.h"

#include <cstdint>
#include <vector>

namespace tsl {

enum class Cell : std::uint8_t { Rock, Floor, Door, Switch, PushWall };

struct TileBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // both corners included
    int Width() const { return x1 - x0 + 1; }
    int Height() const { return y1 - y0 + 1; }
    int Tiles() const { return Width() * Height(); }
    bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

enum class PieceKind : std::uint8_t { Room, Corridor, Elevator, Secret, SecretElevator };

struct Piece {
    PieceKind kind = PieceKind::Room;
    TileBox box;
    int parent = -1;
    int entry = -1;       // the tile joining it to its parent: a door or a push wall
    Way from = Way::North; // the way from the parent through the entry
    int section = 0;      // locked doors passed on the way from the start
    int area = 0;         // index into LevelWords::areas
    int distance = 0;     // tiles walked from the start
};

struct DoorPlan {
    int tile = 0;
    bool vertical = false; // in a vertical wall line
    int lock = 0;
    bool elevator = false;
    int a = -1, b = -1;    // the pieces on either side
};

struct SecretPlan {
    int pushWall = 0; // its tile
    int stand = 0;    // the tile it is pushed from
    Way way = Way::North;
    int piece = 0;    // the room behind it
};

struct LevelPlan {
    int w = 0, h = 0;
    std::vector<Cell> cells;
    std::vector<int> owner;     // the piece of each floor tile, else -1
    std::vector<std::uint8_t> keepFree; // no object here: door steps, push paths
    std::vector<Piece> pieces;
    std::vector<DoorPlan> doors;
    std::vector<SecretPlan> secrets;
    int rooms = 0;
    int elevatorSwitch = -1, secretSwitch = -1;
    int elevator = -1, secretElevator = -1; // the cells' pieces
    std::vector<int> keyRooms; // by lock order: the room holding key keys[i]
    std::vector<int> keys;     // the keys locked, outermost first

    int At(int x, int y) const { return y * w + x; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Cell CellAt(int x, int y) const { return Inside(x, y) ? cells[static_cast<std::size_t>(At(x, y))] : Cell::Rock; }
    int X(int at) const { return at % w; }
    int Y(int at) const { return at / w; }
    int Step(int at, Way way) const { return at + kWayX[Index(way)] + kWayY[Index(way)] * w; }
};

// Grows the pieces of a level, locking one door on the way to the elevator
// for each of `keys` (outermost first); false when the options cannot be met
// with this seed (too few rooms, no place for the elevator or a secret, no
// door to lock).
bool LayOutLevel(LevelPlan& plan, const GeneratorOptions& options, int targetRooms, bool secretElevator,
                 int maxDoors, const std::vector<int>& keys, LevelRandom& random);

// Writes the words of `plan` into `map`'s planes 0 and 1; false when the
// engine's limits leave no room for what must be there.
bool FurnishLevel(const LevelPlan& plan, const LevelWords& words, const WallTheme& theme,
                  const GeneratorOptions& options, const GeneratorLimits& limits, LevelRandom& random, MapList& map);

} // namespace tsl
