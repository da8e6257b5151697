#include "engine/LevelAnalysis.h"

#include <algorithm>
#include <array>
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
    void FindRoute();

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
    std::vector<int> queue_;
    std::size_t head_ = 0;
    std::vector<int> goals_; // where the player stands to take an exit
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
    if (start >= 0)
        FindRoute();
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
    goals_.push_back(stand); // a switch may be used from both sides: either is a way out
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
        } else if (!reached && object.PresentOn(skill_)) {
            out_.unreachableEnemies.push_back(tile);
        }
        const WordMeaning& floor = rules_.Tile(tiles_[at]);
        if (floor.kind == WordKind::Door && floor.lock != 0 && (floor.lock > kMaxKeys || !rules_.KeyExists(floor.lock)))
            out_.doorsNeverOpen.push_back(tile);
        if ((touched_[at] & 3) == 2)
            out_.switchesFromSideOnly.push_back(tile);
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
}

// The shortest walk over the reached tiles to the nearest exit, keys in
// hand before their doors: a search over the tile and the keys held.
void Walk::FindRoute()
{
    if (out_.exits.empty())
        return;
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
    for (const int stand : goals_)
        goal[static_cast<std::size_t>(stand)] = 1;

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
    for (std::int32_t s = found; s >= 0; s = parent[static_cast<std::size_t>(s)])
        out_.route.push_back(TileOf(static_cast<int>(static_cast<std::size_t>(s) >> keyCount)));
    std::reverse(out_.route.begin(), out_.route.end());
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
