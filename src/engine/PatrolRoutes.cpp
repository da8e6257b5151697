#include "engine/PatrolRoutes.h"

#include <array>
#include <unordered_map>

namespace tsl {

namespace {

// The engine's eight directions from east, anticlockwise, as Facing counts
// them from 1; the map's y axis points south.
constexpr std::array<int, 8> kDirX = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr std::array<int, 8> kDirY = {0, -1, -1, -1, 0, 1, 1, 1};

class Patrol {
public:
    Patrol(const MapList& map, const EngineRules& rules, const WordMeaning& actor)
        : map_(map), rules_(rules), actor_(actor)
    {
    }

    PatrolRoute Walk(int x, int y) const;

private:
    enum class Ahead { Free, Door, Solid };
    Ahead What(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= map_.Width || y >= map_.Height)
            return Ahead::Solid;
        const WordMeaning& tile = rules_.Tile(map_.Word(0, x, y));
        const WordMeaning& object = rules_.Object(map_.Word(1, x, y));
        if (tile.kind == WordKind::Wall || (object.kind == WordKind::Static && object.blocks))
            return Ahead::Solid;
        return tile.kind == WordKind::Door ? Ahead::Door : Ahead::Free;
    }
    // Whether the step from (x, y) in direction `dir` (0 to 7) can be taken.
    bool CanStep(int x, int y, int dir) const
    {
        const int dx = kDirX[static_cast<std::size_t>(dir)], dy = kDirY[static_cast<std::size_t>(dir)];
        if (dx != 0 && dy != 0)
            return What(x + dx, y + dy) == Ahead::Free && What(x + dx, y) == Ahead::Free &&
                   What(x, y + dy) == Ahead::Free;
        const Ahead ahead = What(x + dx, y + dy);
        return ahead == Ahead::Free || (ahead == Ahead::Door && !actor_.noDoors);
    }

    const MapList& map_;
    const EngineRules& rules_;
    const WordMeaning& actor_;
};

PatrolRoute Patrol::Walk(int x, int y) const
{
    PatrolRoute route;
    route.actor = {x, y};
    route.path.push_back(route.actor);
    int dir = static_cast<int>(actor_.facing) - 1;
    if (dir < 0 || dir > 7) {
        route.blocked = true;
        return route;
    }
    // Placed on the next tile at once, looking at nothing.
    x += kDirX[static_cast<std::size_t>(dir)];
    y += kDirY[static_cast<std::size_t>(dir)];
    if (What(x, y) == Ahead::Solid) {
        if (x >= 0 && y >= 0 && x < map_.Width && y < map_.Height)
            route.path.push_back({x, y});
        route.blocked = route.blockedAtOnce = true;
        return route;
    }
    route.path.push_back({x, y});
    // Where in the path each tile was left which way: seen twice, it goes round.
    std::unordered_map<std::size_t, int> left;
    for (;;) {
        const WordMeaning& spot = rules_.Object(map_.Word(1, x, y));
        if (spot.kind == WordKind::TurningPoint && spot.facing != Facing::None)
            dir = static_cast<int>(spot.facing) - 1;
        const std::size_t state = (static_cast<std::size_t>(y) * map_.Width + static_cast<std::size_t>(x)) * 8 +
                                  static_cast<std::size_t>(dir);
        if (const auto before = left.find(state); before != left.end()) {
            route.loops = true;
            route.loopsTo = before->second;
            return route;
        }
        if (!CanStep(x, y, dir)) {
            route.blocked = true;
            return route;
        }
        left.emplace(state, static_cast<int>(route.path.size()) - 1);
        x += kDirX[static_cast<std::size_t>(dir)];
        y += kDirY[static_cast<std::size_t>(dir)];
        route.path.push_back({x, y});
    }
}

} // namespace

std::vector<PatrolRoute> TracePatrols(const MapList& map, const EngineRules& rules, int skill)
{
    std::vector<PatrolRoute> routes;
    if (map.Width <= 0 || map.Height <= 0 || map.Planes.size() < 2 || map.Planes[0].size() < map.WordCount() ||
        map.Planes[1].size() < map.WordCount())
        return routes;
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            const WordMeaning& actor = rules.Object(map.Word(1, x, y));
            if (actor.kind != WordKind::Actor || !actor.patrol || (skill > 0 && !actor.PresentOn(skill)))
                continue;
            routes.push_back(Patrol(map, rules, actor).Walk(x, y));
        }
    return routes;
}

} // namespace tsl
