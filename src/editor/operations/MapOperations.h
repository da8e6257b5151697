#pragma once
// The operations on map words: the word a tool writes (CombineWord), the
// flood fill, and the commands that change a whole map at once: Autofloor,
// Clear Map, Rotate Map, Flip Map, Flip Planes and resizing. Each is a plain
// function over the words; the caller frames a whole-map command as one
// undoable step over all planes. Rotation and flips also work on a bare block
// of planes, so that the paste buffer turns with exactly the same code as a
// map.

#include "core/Failure.h"
#include "core/MapHandler.h"
#include "editor/operations/FacingGroups.h"
#include "editor/operations/PasteBuffer.h"
#include "symbols/SymbolTables.h"

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace tsl {

// The new word of a tile drawn with symbol value `value` over `word` in a
// value mode: the whole value, or its low byte into the high or the low byte.
std::uint16_t CombineWord(std::uint16_t value, std::uint16_t word, int valueMode);

// Fills the 4-connected region of equal words around (x, y) of a
// width x height plane with `word`; tiles touching only at a corner are not
// connected. Returns the number of tiles changed.
std::size_t FloodFill(std::span<std::uint16_t> plane, int width, int height, int x, int y, std::uint16_t word);

// Planes of row-major words, all of the same width and height.
using PlaneSet = std::vector<std::vector<std::uint16_t>>;

enum class MapTransform { Rotate90, Rotate180, Rotate270, FlipHorizontal, FlipVertical };

// Turns (clockwise) or mirrors every plane of a width x height block; a turn
// by 90 or 270 degrees exchanges width and height.
void TransformPlanes(PlaneSet& planes, int& width, int& height, MapTransform transform);
// The same on a map: all planes, and Width and Height. With `turnFacing`
// the words of the facing groups turn with the map (TurnFacingObjects).
void TransformMap(MapList& map, MapTransform transform, const FacingGroups& facing = {}, bool turnFacing = true);
// False when the map's planes do not hold Width x Height words each.
bool CanTransformMap(const MapList& map);

// A block inside a paste buffer: columns [X1, X2), rows [Y1, Y2).
struct BlockRect {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    friend bool operator==(const BlockRect&, const BlockRect&) = default;
};
// Where the block's tiles lie after the buffer of bufferWidth x
// bufferHeight words went through `transform`.
BlockRect TransformBlockRect(BlockRect rect, int bufferWidth, int bufferHeight, MapTransform transform);
// Turns or mirrors the paste buffer's planes and moves its block with its
// tiles, facing objects turning as on a map; the caller draws the preview again.
void TransformPasteBuffer(CP_Manager& buffer, MapTransform transform, const FacingGroups& facing = {},
                          bool turnFacing = true);

// The direction (as FacingGroups.h counts them) that an object facing
// `direction` faces once the map went through `transform`. Row 0 is north,
// so a clockwise quarter turn takes north to east.
int TransformedDirection(int direction, MapTransform transform);
// Gives each word of a facing group, in that group's plane, the group's word
// for the direction its object faces after `transform`; a word whose group
// has none for that direction stays. Returns how many words changed.
int TurnFacingObjects(PlaneSet& planes, const FacingGroups& groups, MapTransform transform);

// Gives the map width x height words per plane, keeping its top-left
// corner: cut, or extended with 0, at the right and bottom.
void ResizeMap(MapList& map, int width, int height);
bool CanResizeMap(int width, int height); // 1 ... 256 each
// The refusal of a size field's value (empty = nullopt), or nothing.
std::optional<Failure> CheckMapWidth(std::optional<int> width);
std::optional<Failure> CheckMapHeight(std::optional<int> height);

// What the "Map Properties" dialog hands back.
struct MapPropertiesChoice {
    std::string Name;
    int Width = 0;
    int Height = 0;
    bool AllMaps = false; // apply the new size to every map
};

// The values Autofloor hands out: lo, lo + 1, ..., hi - 1, then lo again.
struct FloorRange {
    std::uint16_t Lo = 0;
    std::uint16_t Hi = 0;
    friend bool operator==(const FloorRange&, const FloorRange&) = default;
};
// From the floor ("f") symbols of plane 0, in table order; a value of 0
// never stays the lowest once another floor value comes. Both 0 when there
// is no floor symbol.
FloorRange FindFloorRange(const std::vector<MapSymbols>& plane0Symbols);
// Gives every separate area of floor or 0 words of plane 0 its own floor
// value, in the order the areas first appear scanning rows from the top.
void Autofloor(MapList& map, FloorRange range);
bool CanAutofloor(const MapList& map);

// The wall value Clear Map fills with: the left value of the current plane
// when that plane has a wall ("w") symbol of that value; otherwise the second
// wall symbol of the tables (plane 0 first), or the only one. Nothing when
// there is no wall symbol at all.
std::optional<std::uint16_t> ClearMapWallValue(const SymbolTables& symbols, int currentPlane,
                                               std::uint16_t leftValue);
// Plane 0 := the wall value everywhere (solid) or on each tile with even odds
// (random, else 0); every other plane := 0.
void ClearMapSolid(MapList& map, std::uint16_t wall);
void ClearMapRandom(MapList& map, std::uint16_t wall, std::mt19937& random);
// The program's generator for Clear Map (Random), seeded from the clock when
// it is first used.
std::mt19937& ProgramRandom();

// Exchanges the contents of two planes.
void FlipPlanes(MapList& map, int first, int second);
bool CanFlipPlanes(const MapList& map, int first, int second);

// The messages of these commands.
inline constexpr const char* kEraseQuestion = "Are you sure you want to erase the current map?";
inline constexpr const char* kEraseCaption = "Erase confirmation";
Failure NoWallTilesFailure();
Failure FlipPlaneWithItselfFailure();

} // namespace tsl
