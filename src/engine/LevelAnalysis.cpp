#include "engine/LevelAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace tsl {

namespace {

// The four steps, as the engine turns: north, east, south, west.
constexpr std::array<int, 4> kStepX = {0, 1, 0, -1};
constexpr std::array<int, 4> kStepY = {-1, 0, 1, 0};
constexpr int kEast = 1;
constexpr int kWest = 3;

std::uint8_t KeyBit(int key)
{
    return static_cast<std::uint8_t>(1u << (key - 1));
}

class Walk {
public:
    Walk(const MapList& map, const EngineRules& rules, int skill, LevelAnalysis& out)
        : rules_(rules), skill_(skill), out_(out), w_(map.Width), h_(map.Height),
          n_(map.WordCount()), tiles_(map.Planes[0].data()), objects_(map.Planes[1].data())
    {
    }

    void Run();

private:
    struct Push {
        int wall; // the push wall's tile
        int step; // the way it is pushed
    };
    struct Goal {
        int stand;   // where the player stands to take an exit
        bool secret; // the secret elevator
    };

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    int Index(int x, int y) const { return y * w_ + x; }
    MapTile TileOf(int at) const { return {at % w_, at / w_}; }
    const WordMeaning& TileAt(int at) const { return rules_.Tile(tiles_[at]); }
    const WordMeaning& ObjectAt(int at) const { return rules_.Object(objects_[at]); }
    // Where a step from `at` leads; -1 off the map.
    int Next(int at, int step) const
    {
        const int x = at % w_ + kStepX[static_cast<std::size_t>(step)];
        const int y = at / w_ + kStepY[static_cast<std::size_t>(step)];
        return Inside(x, y) ? Index(x, y) : -1;
    }

    void Prepare();
    void Reach(int at);
    void Touch(int from, int at, int step);
    void TryPush(const Push& push);
    void Freed(int at);
    void GainKey(int key);
    void AddExit(ExitKind kind, int tile, int stand);
    bool StandsOnSecretFloor(int at) const;
    void CountTotals();
    void Collect();
    void CollectElevators();
    void CollectEnemies();
    bool InSight(int enemy, const std::vector<int>& sources) const;
    bool ClearLine(double ax, double ay, double bx, double by) const;
    std::vector<MapTile> FindRoute(bool secret) const;

    const EngineRules& rules_;
    int skill_;
    LevelAnalysis& out_;
    int w_, h_;
    std::size_t n_;
    const std::uint16_t* tiles_;
    const std::uint16_t* objects_;

    std::vector<std::uint8_t> open_;      // the player can stand there (once reached)
    std::vector<std::uint8_t> stopsPush_; // a push wall stops before it
    std::vector<std::uint8_t> pushed_;    // a push wall that has moved
    std::vector<std::uint8_t> touched_;   // bit 0: a switch touched from east or west, bit 1: from north or south
    std::vector<std::pair<int, int>> switchTouches_; // a reached tile and a switch beside it
    std::vector<int> queue_;
    std::size_t head_ = 0;
    std::vector<Goal> goals_;
    std::uint8_t keys_ = 0;
    std::array<std::vector<int>, kMaxKeys> lockedDoors_; // touched, waiting for their key
    std::unordered_map<int, std::vector<Push>> blockedPushes_; // by the tile that stopped them
};

void Walk::Prepare()
{
    out_.reached.assign(n_, 0);
    out_.width = w_;
    open_.assign(n_, 0);
    stopsPush_.assign(n_, 0);
    pushed_.assign(n_, 0);
    touched_.assign(n_, 0);
    for (std::size_t at = 0; at < n_; ++at) {
        const WordMeaning& tile = rules_.Tile(tiles_[at]);
        const WordMeaning& object = rules_.Object(objects_[at]);
        const bool solid = tile.kind == WordKind::Wall || tile.kind == WordKind::Door;
        open_[at] = !solid && !(object.kind == WordKind::Static && object.blocks);
        stopsPush_[at] = StopsPushWall(tile, object);
    }
}

void Walk::Run()
{
    CountTotals();
    int start = -1;
    for (std::size_t at = 0; at < n_; ++at)
        if (rules_.Object(objects_[at]).kind == WordKind::PlayerStart)
            start = static_cast<int>(at); // the engine places the player at every start: the last one stays
    out_.hasStart = start >= 0;
    Prepare();
    if (start >= 0) {
        Reach(start);
        while (head_ < queue_.size()) {
            const int at = queue_[head_++];
            const int x = at % w_, y = at / w_;
            for (int step = 0; step < 4; ++step) {
                const int nx = x + kStepX[static_cast<std::size_t>(step)];
                const int ny = y + kStepY[static_cast<std::size_t>(step)];
                if (Inside(nx, ny))
                    Touch(at, Index(nx, ny), step);
            }
        }
    }
    Collect();
    if (start >= 0 && !out_.exits.empty()) {
        out_.route = FindRoute(false);
        std::vector<MapTile> secret = FindRoute(true);
        if (out_.route.empty())
            out_.route = std::move(secret);
        else
            out_.secretRoute = std::move(secret);
    }
}

void Walk::Reach(int at)
{
    auto& reached = out_.reached[static_cast<std::size_t>(at)];
    if (reached)
        return;
    reached = 1;
    queue_.push_back(at);
    const WordMeaning& object = ObjectAt(at);
    if (object.kind == WordKind::Static && object.bonus == Bonus::Key && object.key > 0)
        GainKey(object.key);
    else if (object.kind == WordKind::Static && object.bonus == Bonus::Spear)
        AddExit(ExitKind::Spear, at, at);
    else if (object.kind == WordKind::Boss && object.PresentOn(skill_)) {
        if (object.key > 0)
            GainKey(object.key);
        if (object.endsLevel)
            AddExit(ExitKind::Boss, at, at);
    } else if (object.kind == WordKind::Victory) {
        AddExit(ExitKind::Victory, at, at);
    }
}

void Walk::Touch(int from, int at, int step)
{
    const auto index = static_cast<std::size_t>(at);
    if (out_.reached[index])
        return;
    if (open_[index]) {
        Reach(at);
        return;
    }
    const WordMeaning& tile = TileAt(at);
    if (tile.kind == WordKind::Door) {
        if (tile.lock == 0 || (tile.lock <= kMaxKeys && (keys_ & KeyBit(tile.lock))))
            Reach(at);
        else if (tile.lock <= kMaxKeys)
            lockedDoors_[static_cast<std::size_t>(tile.lock - 1)].push_back(at);
        return;
    }
    if (tile.kind != WordKind::Wall || stopsPush_[index] == 0)
        return; // a floor under a blocking static, or where a push wall came to rest
    if (ObjectAt(at).kind == WordKind::PushWall && !pushed_[index])
        TryPush({at, step});
    if (tile.elevatorSwitch && !pushed_[index]) {
        const bool side = step == kEast || step == kWest;
        touched_[index] |= side ? 1 : 2;
        switchTouches_.emplace_back(from, at);
        if (side)
            AddExit(StandsOnSecretFloor(from) ? ExitKind::SecretElevator : ExitKind::Elevator, at, from);
    }
}

void Walk::TryPush(const Push& push)
{
    const auto wall = static_cast<std::size_t>(push.wall);
    if (pushed_[wall])
        return;
    const int first = Next(push.wall, push.step);
    if (first < 0 || stopsPush_[static_cast<std::size_t>(first)]) {
        if (first >= 0)
            blockedPushes_[first].push_back(push);
        return;
    }
    pushed_[wall] = 1;
    ++out_.pushWallsMoved;
    // The wall leaves its tile and moves on while the tile after next is free.
    int rest = first;
    const int second = Next(first, push.step);
    if (second >= 0 && !stopsPush_[static_cast<std::size_t>(second)])
        rest = second;
    stopsPush_[wall] = 0;
    open_[wall] = 1;
    if (rest == second) {
        stopsPush_[static_cast<std::size_t>(first)] = 0;
        open_[static_cast<std::size_t>(first)] = 1;
    }
    stopsPush_[static_cast<std::size_t>(rest)] = 1;
    open_[static_cast<std::size_t>(rest)] = 0;
    Reach(push.wall);
    Freed(push.wall);
    if (rest == second)
        Freed(first);
}

// Push walls that a wall, now gone from `at`, had stopped.
void Walk::Freed(int at)
{
    const auto waiting = blockedPushes_.find(at);
    if (waiting == blockedPushes_.end())
        return;
    const std::vector<Push> pushes = std::move(waiting->second);
    blockedPushes_.erase(waiting);
    for (const Push& push : pushes)
        TryPush(push);
}

void Walk::GainKey(int key)
{
    if (key < 1 || key > kMaxKeys || (keys_ & KeyBit(key)))
        return;
    keys_ |= KeyBit(key);
    auto& doors = lockedDoors_[static_cast<std::size_t>(key - 1)];
    const std::vector<int> waiting = std::move(doors);
    doors.clear();
    for (const int door : waiting)
        Reach(door);
}

void Walk::AddExit(ExitKind kind, int tile, int stand)
{
    goals_.push_back({stand, kind == ExitKind::SecretElevator}); // a switch used from both sides: either is a way out
    const LevelExit exit{kind, TileOf(tile), TileOf(stand)};
    for (const LevelExit& known : out_.exits)
        if (known.kind == exit.kind && known.tile == exit.tile)
            return;
    out_.exits.push_back(exit);
}

// The floor code the engine reads under the player: an ambush floor takes
// the code of its last area neighbour of east, north, south, west.
bool Walk::StandsOnSecretFloor(int at) const
{
    const WordMeaning& floor = TileAt(at);
    if (!floor.ambush)
        return floor.secret;
    bool secret = false;
    for (const int step : {1, 0, 2, 3}) {
        const int next = Next(at, step);
        if (next < 0)
            continue;
        const WordMeaning& beside = TileAt(next);
        if (beside.kind == WordKind::Floor && !beside.ambush)
            secret = beside.secret;
    }
    return secret;
}

void Walk::CountTotals()
{
    for (std::size_t at = 0; at < n_; ++at) {
        const WordMeaning& object = rules_.Object(objects_[at]);
        if (object.kill && object.PresentOn(skill_))
            ++out_.kills;
        else if (object.kind == WordKind::Static && object.bonus == Bonus::Treasure)
            ++out_.treasure;
        else if (object.kind == WordKind::PushWall)
            ++out_.secrets;
    }
}

// What stays out of reach, and the findings about doors, switches and edges.
void Walk::Collect()
{
    for (std::size_t at = 0; at < n_; ++at) {
        const MapTile tile = TileOf(static_cast<int>(at));
        const bool reached = out_.reached[at] != 0;
        const WordMeaning& object = rules_.Object(objects_[at]);
        if (!reached && object.kind == WordKind::Static) {
            if (object.bonus == Bonus::Treasure)
                out_.unreachableTreasure.push_back(tile);
            else if (object.bonus == Bonus::Key)
                out_.unreachableKeys.push_back(tile);
            else if (object.bonus == Bonus::Weapon)
                out_.unreachableWeapons.push_back(tile);
        }
        const WordMeaning& floor = rules_.Tile(tiles_[at]);
        if (floor.kind == WordKind::Door && floor.lock != 0 && (floor.lock > kMaxKeys || !rules_.KeyExists(floor.lock)))
            out_.doorsNeverOpen.push_back(tile);
        if (reached && (tile.x == 0 || tile.y == 0 || tile.x == w_ - 1 || tile.y == h_ - 1))
            out_.openEdges.push_back(tile);
    }
    std::vector<int> missing;
    for (std::size_t key = 0; key < lockedDoors_.size(); ++key)
        if (rules_.KeyExists(static_cast<int>(key) + 1))
            for (const int door : lockedDoors_[key])
                if (!out_.reached[static_cast<std::size_t>(door)])
                    missing.push_back(door);
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    for (const int door : missing)
        out_.missingKeyDoors.push_back(TileOf(door));
    CollectElevators();
    CollectEnemies();
}

// The switches touched, joined into elevators: those beside one reached
// tile, and those beside each other.
void Walk::CollectElevators()
{
    std::unordered_map<int, int> group; // switch -> its representative (a union-find)
    auto find = [&](int at) {
        while (group[at] != at)
            at = group[at] = group[group[at]];
        return at;
    };
    auto join = [&](int a, int b) { group[find(a)] = find(b); };
    for (const auto& [from, at] : switchTouches_)
        group.emplace(at, at);
    std::unordered_map<int, int> firstBeside; // a reached tile -> a switch touched from it
    for (const auto& [from, at] : switchTouches_) {
        if (const auto [known, fresh] = firstBeside.emplace(from, at); !fresh)
            join(at, known->second);
        const int x = at % w_, y = at / w_;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Inside(x + dx, y + dy) && group.count(Index(x + dx, y + dy)))
                    join(at, Index(x + dx, y + dy));
    }
    std::unordered_map<int, int> first;  // representative -> its first switch in row order
    std::unordered_map<int, bool> usable; // representative -> some switch used from the east or west
    // The elevator the player starts in is where the level is entered, not left.
    const int start = queue_.empty() ? -1 : queue_.front();
    for (const auto& [from, at] : switchTouches_)
        if (from == start)
            usable[find(at)] = true;
    for (auto& [at, parent] : group) {
        const int root = find(at);
        const auto [known, fresh] = first.emplace(root, at);
        if (!fresh)
            known->second = std::min(known->second, at);
        usable[root] = usable[root] || (touched_[static_cast<std::size_t>(at)] & 1) != 0;
    }
    std::vector<int> unusable;
    for (const auto& [root, at] : first)
        if (!usable[root])
            unusable.push_back(at);
    std::sort(unusable.begin(), unusable.end());
    for (const int at : unusable)
        out_.unusableElevators.push_back(TileOf(at));
}

// The enemies present on this skill level that stand where the player never
// comes and no reached tile has a clear line to. A line can only leave the
// reached tiles into the open ground around the enemy, so the reached tiles
// beside that ground are the ones looked from.
void Walk::CollectEnemies()
{
    std::vector<int> region(n_, -1); // the open unreached ground an enemy stands in, by number
    std::vector<std::vector<int>> sources;
    auto sightPasses = [&](int at) { // ground a line of sight crosses that the walk never reached
        const WordKind kind = TileAt(at).kind;
        return !out_.reached[static_cast<std::size_t>(at)] && kind != WordKind::Wall && kind != WordKind::Door;
    };
    for (std::size_t at = 0; at < n_; ++at) {
        if (out_.reached[at] || !ObjectAt(static_cast<int>(at)).PresentOn(skill_))
            continue;
        if (region[at] < 0 && sightPasses(static_cast<int>(at))) {
            // Flood the open ground around the enemy and note the reached tiles beside it.
            const int number = static_cast<int>(sources.size());
            std::vector<int>& beside = sources.emplace_back();
            std::vector<int> stack{static_cast<int>(at)};
            region[at] = number;
            while (!stack.empty()) {
                const int here = stack.back();
                stack.pop_back();
                const int x = here % w_, y = here / w_;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (!Inside(x + dx, y + dy))
                            continue;
                        const int next = Index(x + dx, y + dy);
                        auto& mark = region[static_cast<std::size_t>(next)];
                        if (mark == number)
                            continue;
                        if (out_.reached[static_cast<std::size_t>(next)]) {
                            mark = number;
                            beside.push_back(next);
                        } else if (sightPasses(next)) {
                            mark = number;
                            stack.push_back(next);
                        }
                    }
            }
        }
        const bool seen = region[at] >= 0 && InSight(static_cast<int>(at), sources[static_cast<std::size_t>(region[at])]);
        if (!seen)
            out_.unreachableEnemies.push_back(TileOf(static_cast<int>(at)));
    }
}

// Whether some point of one of the `sources` sees the centre of the enemy's
// tile, where the engine places an actor. The player stands anywhere in a
// tile: its centre and four points around it are tried.
bool Walk::InSight(int enemy, const std::vector<int>& sources) const
{
    const double ex = enemy % w_ + 0.5, ey = enemy / w_ + 0.5;
    static constexpr std::array<std::pair<double, double>, 5> kPoints = {
        {{0.5, 0.5}, {0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}}};
    for (const int source : sources)
        for (const auto& [px, py] : kPoints)
            if (ClearLine(ex, ey, source % w_ + px, source / w_ + py))
                return true;
    return false;
}

// Whether the line from (ax, ay) to (bx, by), in tiles, crosses no wall and
// no door, tile by tile as the engine's CheckLine steps over the tile edges
// it crosses; a line through a corner is stopped by either tile beside it.
bool Walk::ClearLine(double ax, double ay, double bx, double by) const
{
    const auto blocks = [&](int x, int y) {
        if (!Inside(x, y))
            return true;
        const int at = Index(x, y);
        const WordKind kind = TileAt(at).kind;
        return (kind == WordKind::Wall || kind == WordKind::Door) && !out_.reached[static_cast<std::size_t>(at)];
    };
    int x = static_cast<int>(ax), y = static_cast<int>(ay);
    const int endX = static_cast<int>(bx), endY = static_cast<int>(by);
    const double dx = bx - ax, dy = by - ay;
    const int stepX = dx > 0 ? 1 : -1, stepY = dy > 0 ? 1 : -1;
    constexpr double kNever = 1e30;
    const double unitX = dx != 0 ? std::abs(1 / dx) : kNever, unitY = dy != 0 ? std::abs(1 / dy) : kNever;
    double nextX = dx != 0 ? (stepX > 0 ? x + 1 - ax : ax - x) * unitX : kNever;
    double nextY = dy != 0 ? (stepY > 0 ? y + 1 - ay : ay - y) * unitY : kNever;
    constexpr double kTie = 1e-9;
    // Every step moves one tile nearer the end; the budget only guards against rounding.
    for (int budget = std::abs(endX - x) + std::abs(endY - y) + 2; (x != endX || y != endY) && budget > 0; --budget) {
        if (std::abs(nextX - nextY) < kTie) {
            if (blocks(x + stepX, y) || blocks(x, y + stepY))
                return false;
            x += stepX;
            y += stepY;
            nextX += unitX;
            nextY += unitY;
        } else if (nextX < nextY) {
            x += stepX;
            nextX += unitX;
        } else {
            y += stepY;
            nextY += unitY;
        }
        if (x == endX && y == endY)
            return true;
        if (blocks(x, y))
            return false;
    }
    return x == endX && y == endY;
}

// The shortest walk over the reached tiles to the nearest exit of the
// secret elevator (`secret`) or of another kind, keys in hand before their
// doors: a search over the tile and the keys held. Empty when none is reached.
std::vector<MapTile> Walk::FindRoute(bool secret) const
{
    // Only keys that open a reached door matter; each doubles the states.
    std::array<int, kMaxKeys> slot{-1, -1, -1, -1};
    int keyCount = 0;
    std::vector<std::int8_t> needs(n_, -1), gives(n_, -1); // the slot of the key a door needs, a tile gives
    for (std::size_t at = 0; at < n_; ++at) {
        const WordMeaning& tile = rules_.Tile(tiles_[at]);
        if (out_.reached[at] && tile.kind == WordKind::Door && tile.lock >= 1 && tile.lock <= kMaxKeys) {
            if (slot[tile.lock - 1u] < 0)
                slot[tile.lock - 1u] = keyCount++;
            needs[at] = static_cast<std::int8_t>(slot[tile.lock - 1u]);
        }
    }
    for (std::size_t at = 0; at < n_; ++at) {
        const WordMeaning& object = rules_.Object(objects_[at]);
        const bool givesKey = (object.kind == WordKind::Static && object.bonus == Bonus::Key) ||
                            (object.kind == WordKind::Boss && object.PresentOn(skill_));
        if (out_.reached[at] && givesKey && object.key >= 1 && object.key <= kMaxKeys)
            gives[at] = static_cast<std::int8_t>(slot[object.key - 1u]);
    }
    std::vector<std::uint8_t> goal(n_, 0);
    bool any = false;
    for (const Goal& g : goals_)
        if (g.secret == secret) {
            goal[static_cast<std::size_t>(g.stand)] = 1;
            any = true;
        }
    if (!any)
        return {};

    const std::size_t states = n_ << keyCount;
    std::vector<std::int32_t> parent(states, -2); // -2 unseen, -1 the start
    std::vector<std::int32_t> frontier;
    auto state = [&](std::size_t at, unsigned held) { return static_cast<std::int32_t>((at << keyCount) | held); };
    auto take = [&](std::size_t at, unsigned held) { return gives[at] >= 0 ? held | (1u << gives[at]) : held; };
    const auto start = static_cast<std::size_t>(queue_.front());
    const std::int32_t first = state(start, take(start, 0));
    parent[static_cast<std::size_t>(first)] = -1;
    frontier.push_back(first);
    std::int32_t found = -1;
    for (std::size_t head = 0; head < frontier.size(); ++head) {
        const std::int32_t current = frontier[head];
        const auto at = static_cast<std::size_t>(current) >> keyCount;
        const unsigned held = static_cast<unsigned>(current) & ((1u << keyCount) - 1);
        if (goal[at]) {
            found = current;
            break;
        }
        const int x = static_cast<int>(at) % w_, y = static_cast<int>(at) / w_;
        for (int step = 0; step < 4; ++step) {
            const int nx = x + kStepX[static_cast<std::size_t>(step)];
            const int ny = y + kStepY[static_cast<std::size_t>(step)];
            if (!Inside(nx, ny))
                continue;
            const auto next = static_cast<std::size_t>(Index(nx, ny));
            if (!out_.reached[next] || (needs[next] >= 0 && !(held & (1u << needs[next]))))
                continue;
            const std::int32_t s = state(next, take(next, held));
            if (parent[static_cast<std::size_t>(s)] != -2)
                continue;
            parent[static_cast<std::size_t>(s)] = current;
            frontier.push_back(s);
        }
    }
    std::vector<MapTile> route;
    for (std::int32_t s = found; s >= 0; s = parent[static_cast<std::size_t>(s)])
        route.push_back(TileOf(static_cast<int>(static_cast<std::size_t>(s) >> keyCount)));
    std::reverse(route.begin(), route.end());
    return route;
}

} // namespace

LevelAnalysis AnalyseLevel(const MapList& map, const EngineRules& rules, int skill)
{
    LevelAnalysis out;
    out.skill = skill;
    if (map.Width <= 0 || map.Height <= 0 || map.Planes.size() < 2 || map.Planes[0].size() < map.WordCount() ||
        map.Planes[1].size() < map.WordCount()) {
        out.width = map.Width;
        out.reached.assign(map.WordCount(), 0);
        return out;
    }
    Walk(map, rules, skill, out).Run();
    return out;
}

std::string KeyPhrase(int key)
{
    switch (key) {
    case 1: return "the gold key";
    case 2: return "the silver key";
    default: return "key " + std::to_string(key);
    }
}

std::string_view ExitKindName(ExitKind kind)
{
    switch (kind) {
    case ExitKind::Elevator: return "elevator";
    case ExitKind::SecretElevator: return "secret_elevator";
    case ExitKind::Victory: return "victory";
    case ExitKind::Boss: return "boss";
    case ExitKind::Spear: return "spear";
    }
    return "";
}

std::string PushWallNote(const LevelAnalysis& analysis)
{
    if (analysis.pushWallsMoved < 2)
        return {};
    return std::to_string(analysis.pushWallsMoved) +
           " push walls were taken together: each is pushed from the side first reached, as soon as it can be, "
           "whatever order the game would need.";
}

unsigned PushWallWays(const MapList& map, const EngineRules& rules, int x, int y)
{
    if (map.Planes.size() < 2 || x < 0 || y < 0 || x >= map.Width || y >= map.Height)
        return 0;
    auto at = [&](int tx, int ty) { return static_cast<std::size_t>(ty) * map.Width + static_cast<std::size_t>(tx); };
    auto inside = [&](int tx, int ty) { return tx >= 0 && ty >= 0 && tx < map.Width && ty < map.Height; };
    unsigned ways = 0;
    for (std::size_t step = 0; step < 4; ++step) {
        const int ax = x + kStepX[step], ay = y + kStepY[step]; // where it would go
        const int bx = x - kStepX[step], by = y - kStepY[step]; // where the player would stand
        if (!inside(ax, ay) || !inside(bx, by))
            continue;
        const WordMeaning& ahead = rules.Tile(map.Planes[0][at(ax, ay)]);
        if (StopsPushWall(ahead, rules.Object(map.Planes[1][at(ax, ay)])))
            continue;
        const WordMeaning& stand = rules.Tile(map.Planes[0][at(bx, by)]);
        const WordMeaning& standObject = rules.Object(map.Planes[1][at(bx, by)]);
        if (stand.kind == WordKind::Wall || (standObject.kind == WordKind::Static && standObject.blocks))
            continue;
        ways |= 1u << step;
    }
    return ways;
}

} // namespace tsl
