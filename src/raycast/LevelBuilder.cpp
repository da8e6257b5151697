#include "raycast/LevelBuilder.h"

#include <algorithm>

namespace tsl {

namespace {

bool IsDoor(std::uint16_t word, const WordPictures& words)
{
    return words.rules ? words.rules->Tile(word).kind == WordKind::Door : words.doors.contains(word);
}

bool IsWall(std::uint16_t word, const WordPictures& words)
{
    return words.rules ? words.rules->Tile(word).kind == WordKind::Wall : words.walls.contains(word);
}

int Degrees(Facing facing)
{
    return (static_cast<int>(facing) - static_cast<int>(Facing::East)) * 45;
}

// The sprite standing on tile (x, y) with plane-1 word `word`, if it is drawn.
void PlaceSprite(Level& level, const WordPictures& words, std::uint16_t word, int x, int y, int skill)
{
    const auto found = words.sprites.find(word);
    if (found == words.sprites.end() || found->second.picture == kNoPicture)
        return;
    const WordPictures::Sprite& sprite = found->second;
    if (sprite.actor && !ActorPlaced(word, words, skill))
        return;
    LevelSprite placed{x + 0.5, y + 0.5, sprite.picture, sprite.actor};
    const Facing ruled = words.rules ? words.rules->Object(word).facing : Facing::None;
    if (sprite.frames > 0 && (ruled != Facing::None || sprite.facing != Facing::None))
        placed.facing = Degrees(ruled != Facing::None ? ruled : sprite.facing);
    level.sprites.push_back(placed);
}

// Cell (x, y) of `level` and the sprite standing on it, from the words of
// the tile; a door that stays a door keeps how far it was open.
void BuildCell(Level& level, const MapList& map, const WordPictures& words, int x, int y, int skill)
{
    const bool hasWalls = !map.Planes.empty() && map.Planes[0].size() >= map.WordCount();
    const bool hasObjects = map.Planes.size() > 1 && map.Planes[1].size() >= map.WordCount();
    const bool wasDoor = level.At(x, y).kind == CellKind::Door;
    const std::uint16_t word = hasWalls ? map.Word(0, x, y) : 0;
    if (IsDoor(word, words)) {
        const auto found = words.doors.find(word);
        const WordPictures::Pair pair = found != words.doors.end() ? found->second : WordPictures::Pair{};
        level.SetDoor(x, y, pair.light, pair.dark);
        if (!wasDoor)
            level.SetDoorOpening(x, y, 0);
    } else if (IsWall(word, words)) {
        const auto found = words.walls.find(word);
        const WordPictures::Pair pair = found != words.walls.end() ? found->second : WordPictures::Pair{};
        level.SetWall(x, y, pair.light, pair.dark);
    } else {
        level.SetEmpty(x, y);
    }
    if (hasObjects)
        PlaceSprite(level, words, map.Word(1, x, y), x, y, skill);
}

} // namespace

bool ActorPlaced(std::uint16_t word, const WordPictures& words, int skill)
{
    if (!words.rules)
        return true;
    const WordMeaning& meaning = words.rules->Object(word);
    if (!meaning.IsActor())
        return !words.rules->FromEngine(); // the engine's rules know every actor it places
    return skill <= 0 || meaning.PresentOn(skill);
}

Level BuildLevel(const MapList& map, int mapNumber, const WordPictures& words, int skill)
{
    Level level(map.Width, map.Height);
    RebuildLevel(level, map, mapNumber, words, skill);
    return level;
}

void RebuildLevel(Level& level, const MapList& map, int mapNumber, const WordPictures& words, int skill)
{
    if (level.Width() != map.Width || level.Height() != map.Height)
        level = Level(map.Width, map.Height);
    level.frameLight = words.frame.light;
    level.frameDark = words.frame.dark;
    level.ceiling = mapNumber >= 0 && static_cast<std::size_t>(mapNumber) < words.ceilings.size()
                        ? words.ceilings[static_cast<std::size_t>(mapNumber)]
                        : words.ceiling;
    level.floor = words.floor;
    level.sprites.clear();
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x)
            BuildCell(level, map, words, x, y, skill);
}

void RebuildRegion(Level& level, const MapList& map, int mapNumber, const WordPictures& words, const TileRect& region,
                   int skill)
{
    if (level.Width() != map.Width || level.Height() != map.Height) {
        RebuildLevel(level, map, mapNumber, words, skill);
        return;
    }
    const int left = std::max(region.Left(), 0), right = std::min(region.Right(), map.Width - 1);
    const int top = std::max(region.Top(), 0), bottom = std::min(region.Bottom(), map.Height - 1);
    std::erase_if(level.sprites, [&](const LevelSprite& sprite) {
        const int x = static_cast<int>(sprite.x), y = static_cast<int>(sprite.y);
        return x >= left && x <= right && y >= top && y <= bottom;
    });
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            BuildCell(level, map, words, x, y, skill);
}

std::optional<Camera> PlayerStart(const MapList& map, const EngineRules& rules)
{
    if (map.Planes.size() < 2 || map.Planes[1].size() < map.WordCount())
        return std::nullopt;
    std::optional<Camera> start;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            const WordMeaning& object = rules.Object(map.Word(1, x, y));
            if (object.kind != WordKind::PlayerStart)
                continue;
            // Facing counts from east anticlockwise in eighths: 45 degrees each.
            const int eighths = object.facing == Facing::None ? 0 : static_cast<int>(object.facing) - 1;
            start = CameraAtTile(x, y, 45.0 * eighths);
        }
    return start;
}

Camera StartCamera(const MapList& map, const EngineRules& rules)
{
    if (auto start = PlayerStart(map, rules))
        return *start;
    return Camera{map.Width * 0.5, map.Height * 0.5, 0};
}

} // namespace tsl
