#include "editor/operations/WallNumbers.h"

#include "core/FileSystem.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr std::size_t kTilesNamed = 8; // a refusal names this many tiles, then counts the rest
constexpr int kFixedWalls = kElevatorSwitchWall + 1;

Failure Refusal(std::string text)
{
    return Failure{std::move(text), kPageEditCaption, MessageIcon::Warning};
}

// "map 1 "Wolf1 Map1" at (12,5) and (13,5), and map 4 "Wolf1 Map4" at (3,3) (and 20 more tiles)".
std::string NameTiles(const MapHandler& maps, const std::vector<WallTile>& tiles)
{
    std::vector<std::string> perMap;
    std::vector<std::string> places;
    const std::size_t named = std::min(tiles.size(), kTilesNamed);
    for (std::size_t i = 0; i < named; ++i) {
        const WallTile& tile = tiles[i];
        places.push_back("(" + std::to_string(tile.X) + "," + std::to_string(tile.Y) + ")");
        if (i + 1 == named || tiles[i + 1].Map != tile.Map) {
            perMap.push_back("map " + std::to_string(tile.Map + 1) + " \"" +
                             MapNameUtf8(maps.Maps[static_cast<std::size_t>(tile.Map)].Name) + "\" at " +
                             JoinAnd(places));
            places.clear();
        }
    }
    std::string text;
    for (std::size_t i = 0; i < perMap.size(); ++i)
        text += (i == 0 ? "" : i + 1 == perMap.size() ? ", and " : ", ") + perMap[i];
    if (tiles.size() > named) {
        const std::size_t rest = tiles.size() - named;
        text += " (and " + std::to_string(rest) + (rest == 1 ? " more tile)" : " more tiles)");
    }
    return text;
}

// `head` and where the maps use `wall`, or nothing when they do not.
std::optional<Failure> RefuseUsed(const MapHandler& maps, int wall, const std::string& head, const std::string& tail)
{
    const std::vector<WallTile> tiles = WallTiles(maps, wall);
    if (tiles.empty())
        return std::nullopt;
    return Refusal(head + ": the maps use it on " + std::to_string(tiles.size()) +
                   (tiles.size() == 1 ? " tile, " : " tiles, ") + NameTiles(maps, tiles) + ".\n\n" + tail);
}

std::string Walls(int first, int last)
{
    return first == last ? "wall " + std::to_string(first)
                         : "walls " + std::to_string(first) + " to " + std::to_string(last);
}

// Plane-0 words of every map through one transaction of the whole set;
// none when no word would change, so that the histories stay.
void Shift(MapDocument& maps, int first, int last, int delta)
{
    const MapHandler& now = maps.Maps();
    const bool any = std::any_of(now.Maps.begin(), now.Maps.end(), [&](const MapList& map) {
        return !map.Planes.empty() && std::any_of(map.Planes[0].begin(), map.Planes[0].end(), [&](std::uint16_t w) {
            return w >= first && w <= last;
        });
    });
    if (!any)
        return;
    auto change = maps.Begin();
    ShiftWallWords(change.Set(), first, last, delta);
    change.Commit();
}

// The maps' side of a wall removed (`count` walls before) or added as `wall`.
PageDocument::Alongside Renumbering(MapDocument& maps, int wall, int count, WallMove move)
{
    const int last = std::min(count, kLastWallWord);
    return [&maps, wall, last, move](bool undo) -> std::optional<Failure> {
        if (move == WallMove::Remove && !undo) {
            if (auto used = RefuseUsed(maps.Maps(), wall, "Wall " + std::to_string(wall) + " cannot be removed again",
                                       "Put another wall in its place first, then remove it."))
                return used;
            Shift(maps, wall + 1, last, -1);
        } else if (move == WallMove::Remove) {
            Shift(maps, wall, last - 1, +1);
        } else if (!undo) {
            Shift(maps, wall, last, +1);
        } else {
            if (auto used = RefuseUsed(maps.Maps(), wall,
                                       "The wall added as wall " + std::to_string(wall) + " cannot be taken out again",
                                       "Put another wall in its place first, then undo."))
                return used;
            Shift(maps, wall + 1, std::min(last + 1, kLastWallWord), -1);
        }
        return std::nullopt;
    };
}

std::string FixedWalls(int wall, WallMove move)
{
    const std::string why = "the engine finds the elevator switch by its number (wall " +
                            std::to_string(kElevatorSwitchWall) + ", which becomes wall " +
                            std::to_string(kElevatorSwitchWall + 1) + " when it is used), so walls 1 to " +
                            std::to_string(kFixedWalls) + " never move.";
    if (move == WallMove::Remove)
        return "Wall " + std::to_string(wall) + " cannot be removed: " + why + " Replace its picture instead.";
    return "No wall can be added as wall " + std::to_string(wall) + ": " + why +
           " Replace a picture instead, or add the wall after wall " + std::to_string(kFixedWalls) + ".";
}

} // namespace

int WallCount(const PageSet& pages)
{
    return (pages.FirstDoorChunk() + 1) / 2;
}

std::vector<WallTile> WallTiles(const MapHandler& maps, int wall)
{
    std::vector<WallTile> tiles;
    for (std::size_t m = 0; m < maps.Maps.size(); ++m) {
        const MapList& map = maps.Maps[m];
        if (map.Planes.empty() || map.Width == 0)
            continue;
        const std::size_t words = std::min(map.Planes[0].size(), map.WordCount());
        for (std::size_t i = 0; i < words; ++i)
            if (map.Planes[0][i] == wall)
                tiles.push_back({static_cast<int>(m), static_cast<int>(i % map.Width), static_cast<int>(i / map.Width)});
    }
    return tiles;
}

bool ShiftWallWords(MapHandler& maps, int first, int last, int delta)
{
    bool changed = false;
    for (MapList& map : maps.Maps)
        if (!map.Planes.empty())
            for (std::uint16_t& word : map.Planes[0])
                if (word >= first && word <= last) {
                    word = static_cast<std::uint16_t>(word + delta);
                    changed = true;
                }
    return changed;
}

WallMovePlan PlanWallMove(const PageSet& pages, const MapHandler& maps, int wall, WallMove move)
{
    WallMovePlan plan;
    const int count = WallCount(pages);
    if (wall <= kFixedWalls) {
        plan.refusal = Refusal(FixedWalls(wall, move));
        return plan;
    }
    if (move == WallMove::Remove) {
        plan.refusal = RefuseUsed(maps, wall, "Wall " + std::to_string(wall) + " cannot be removed",
                                  "Find and Replace can put another wall in its place first (word " +
                                      std::to_string(wall) + " of plane 0).");
        plan.offerFindReplace = plan.refusal.has_value();
        if (plan.refusal || wall >= count)
            return plan; // the last wall: nothing moves
    } else if (count >= kLastWallWord) {
        plan.refusal = Refusal("No wall can be added in the middle: the page file has " + std::to_string(count) +
                               " walls, and the engine shows walls up to word " + std::to_string(kLastWallWord) +
                               " only.");
        return plan;
    }
    const bool removing = move == WallMove::Remove;
    plan.question = std::string(removing ? "Removing" : "Adding") + " wall " + std::to_string(wall) + " moves " +
                    Walls(removing ? wall + 1 : wall, count) + " one place " + (removing ? "down" : "up") +
                    ": renumber the maps' words so that they keep their walls, or cancel?\n\nRenumbering changes "
                    "the words of every map that uses them and discards the maps' undo histories; Undo in this "
                    "window takes back the page file and the maps' words together.";
    return plan;
}

std::optional<Failure> RemoveWall(PageDocument& pages, MapDocument& maps, int wall)
{
    return pages.Remove(ChunkOfWall(wall), Renumbering(maps, wall, WallCount(pages.Pages()), WallMove::Remove));
}

Outcome<int> AddWallAt(PageDocument& pages, MapDocument& maps, int wall, const PictureFile& picture,
                       const Palette& palette)
{
    return pages.InsertWall(ChunkOfWall(wall), picture, palette,
                            Renumbering(maps, wall, WallCount(pages.Pages()), WallMove::Add));
}

} // namespace tsl
