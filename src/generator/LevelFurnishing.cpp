// The words of a generated level: walls of the theme with a few decorated
// ones on long walls away from doors, doors by their wall line and lock, a
// floor area per piece, the player start facing into the start room, keys,
// enemies per skill level (standing, some in ambush, or patrolling between
// turning points), treasure and supplies, lights, and decorations that block
// only where every tile of their room stays reachable.

#include "generator/LevelPlan.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace tsl {

namespace {

class Furnisher {
public:
    Furnisher(const LevelPlan& plan, const LevelWords& words, const WallTheme& theme, const GeneratorOptions& options,
              const GeneratorLimits& limits, LevelRandom& random, MapList& map)
        : p_(plan), w_(words), theme_(theme), o_(options), limits_(limits), r_(random),
          tiles_(map.Planes[0]), objects_(map.Planes[1]), taken_(plan.keepFree), noBlock_(plan.keepFree)
    {
    }

    bool Run()
    {
        Walls();
        Doors();
        Areas();
        if (!Start() || !Keys())
            return false;
        Enemies();
        Secrets();
        Items();
        Lights();
        Decorations();
        DecoratedWalls();
        return true;
    }

private:
    using Tiles = std::vector<int>;

    const Piece& PieceAt(int index) const { return p_.pieces[static_cast<std::size_t>(index)]; }
    std::uint16_t& Tile(int at) { return tiles_[static_cast<std::size_t>(at)]; }
    std::uint16_t& Object(int at) { return objects_[static_cast<std::size_t>(at)]; }
    bool Taken(int at) const { return taken_[static_cast<std::size_t>(at)] != 0; }
    bool RoomFor(bool actor) const
    {
        const int limit = actor ? limits_.maxActors : limits_.maxStatics;
        return limit <= 0 || (actor ? actors_ : statics_) < limit;
    }
    void Put(int at, std::uint16_t word, bool actor = false, bool counted = true)
    {
        Object(at) = word;
        taken_[static_cast<std::size_t>(at)] = 1;
        if (counted)
            ++(actor ? actors_ : statics_);
    }
    // The tiles of a piece where an object may stand.
    Tiles FreeTiles(int piece) const
    {
        Tiles free;
        const TileBox& b = PieceAt(piece).box;
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x)
                if (!Taken(p_.At(x, y)))
                    free.push_back(p_.At(x, y));
        return free;
    }
    std::vector<int> PiecesOf(PieceKind kind) const
    {
        std::vector<int> found;
        for (std::size_t i = 0; i < p_.pieces.size(); ++i)
            if (p_.pieces[i].kind == kind)
                found.push_back(static_cast<int>(i));
        return found;
    }
    std::uint16_t PlainWall()
    {
        return theme_.plain.size() > 1 && r_.Percent(20) ? r_.Pick(theme_.plain) : theme_.plain.front();
    }

    void Walls();
    void Doors();
    void Areas();
    bool Start();
    bool Keys();
    void Enemies();
    void StandingEnemy(int piece, int at);
    void Patrol(const std::vector<int>& path, const std::vector<std::pair<int, Way>>& turns, int at, Way facing);
    int EnemyTier() { return r_.Weighted({60, 25, 15}); }
    std::uint16_t EnemyWord(int tier, bool patrol, Way facing);
    void Secrets();
    void Items();
    bool PlaceItem(int piece, std::uint16_t word);
    std::uint16_t Treasure();
    void Lights();
    void Decorations();
    bool Block(int piece, int at, std::uint16_t word);
    bool Connected(int piece) const;
    void DecoratedWalls();

    const LevelPlan& p_;
    const LevelWords& w_;
    const WallTheme& theme_;
    const GeneratorOptions& o_;
    const GeneratorLimits& limits_;
    LevelRandom& r_;
    std::vector<std::uint16_t>& tiles_;
    std::vector<std::uint16_t>& objects_;
    std::vector<std::uint8_t> taken_;   // plane 1 holds a word here, or nothing may stand here
    std::vector<std::uint8_t> noBlock_; // a way that must stay open: door steps, push paths, patrols
    std::vector<std::uint8_t> blocked_; // a blocking decoration stands here
    int statics_ = 0;
    int actors_ = 0;
};

void Furnisher::Walls()
{
    for (std::size_t at = 0; at < p_.cells.size(); ++at) {
        switch (p_.cells[at]) {
        case Cell::Rock: tiles_[at] = PlainWall(); break;
        case Cell::Switch: tiles_[at] = w_.elevatorSwitch; break;
        case Cell::PushWall:
            tiles_[at] = theme_.plain.front();
            objects_[at] = w_.pushWall;
            break;
        default: break;
        }
    }
}

void Furnisher::Doors()
{
    for (const DoorPlan& door : p_.doors) {
        const DoorWords& words = door.elevator ? w_.elevatorDoor
                                 : door.lock > 0 ? w_.lockedDoor[static_cast<std::size_t>(door.lock - 1)]
                                                 : w_.door;
        Tile(door.tile) = words.For(door.vertical);
    }
}

void Furnisher::Areas()
{
    const int count = static_cast<int>(w_.areas.size());
    std::vector<int> area(p_.pieces.size(), -1);
    int next = 0;
    for (std::size_t i = 0; i < p_.pieces.size(); ++i) {
        const Piece& piece = p_.pieces[i];
        if (piece.kind == PieceKind::Elevator || piece.kind == PieceKind::SecretElevator) {
            area[i] = area[static_cast<std::size_t>(piece.parent)];
        } else {
            // The next area that no piece joined to this one by a door has yet.
            for (int tries = 0; tries < count; ++tries, ++next) {
                const int candidate = next % count;
                const bool clash = std::any_of(p_.doors.begin(), p_.doors.end(), [&](const DoorPlan& d) {
                    const int other = d.a == static_cast<int>(i) ? d.b : d.b == static_cast<int>(i) ? d.a : -1;
                    return other >= 0 && area[static_cast<std::size_t>(other)] == candidate;
                });
                if (!clash || tries + 1 == count)
                    break;
            }
            area[i] = next++ % count;
        }
        const std::uint16_t floor =
            piece.kind == PieceKind::SecretElevator ? w_.secretFloor : w_.areas[static_cast<std::size_t>(area[i])];
        for (int y = piece.box.y0; y <= piece.box.y1; ++y)
            for (int x = piece.box.x0; x <= piece.box.x1; ++x)
                Tile(p_.At(x, y)) = floor;
    }
}

// The player stands by one wall of the first room, facing across it.
bool Furnisher::Start()
{
    const TileBox& b = PieceAt(0).box;
    std::vector<Way> ways(kWays.begin(), kWays.end());
    r_.Shuffle(ways);
    // Across the longer side first: more of the room is seen.
    std::stable_sort(ways.begin(), ways.end(), [&](Way a, Way c) {
        auto across = [&](Way way) { return way == Way::North || way == Way::South ? b.Height() : b.Width(); };
        return across(a) > across(c);
    });
    for (const Way wall : ways) {
        const bool along = wall == Way::North || wall == Way::South;
        const int length = along ? b.Width() : b.Height();
        for (int offset = 0; offset < length; ++offset) {
            const int i = length / 2 + (offset % 2 == 0 ? offset / 2 : -(offset + 1) / 2);
            if (i < 0 || i >= length)
                continue;
            const int x = along ? b.x0 + i : wall == Way::West ? b.x0 : b.x1;
            const int y = along ? (wall == Way::North ? b.y0 : b.y1) : b.y0 + i;
            const int at = p_.At(x, y);
            if (Taken(at))
                continue;
            Put(at, w_.start[Index(Opposite(wall))], false, false);
            noBlock_[static_cast<std::size_t>(p_.Step(at, Opposite(wall)))] = 1;
            return true;
        }
    }
    return false;
}

bool Furnisher::Keys()
{
    for (std::size_t i = 0; i < p_.keys.size(); ++i) {
        const Tiles free = FreeTiles(p_.keyRooms[i]);
        if (free.empty() || !RoomFor(false))
            return false;
        Put(r_.Pick(free), w_.key[static_cast<std::size_t>(p_.keys[i] - 1)]);
    }
    return true;
}

std::uint16_t Furnisher::EnemyWord(int tier, bool patrol, Way facing)
{
    // Guards most, then SS, officers and (only on patrol: the engine places no
    // standing dog) dogs.
    constexpr std::array<int, 6> kWeights = {0, 50, 15, 20, 25, 0};
    std::vector<int> weights(kWeights.size(), 0);
    for (std::size_t e = 0; e < kWeights.size(); ++e)
        if (w_.enemies[e].Has(static_cast<std::size_t>(tier), patrol))
            weights[e] = kWeights[e];
    if (std::all_of(weights.begin(), weights.end(), [](int weight) { return weight == 0; }))
        return 0;
    const auto enemy = static_cast<std::size_t>(r_.Weighted(weights));
    return w_.enemies[enemy].words[static_cast<std::size_t>(tier)][patrol ? 1 : 0][Index(facing)];
}

void Furnisher::StandingEnemy(int piece, int at)
{
    const TileBox& b = PieceAt(piece).box;
    const int dx = (b.x0 + b.x1) / 2 - p_.X(at), dy = (b.y0 + b.y1) / 2 - p_.Y(at);
    Way facing = kWays[static_cast<std::size_t>(r_.Below(4))];
    if (dx != 0 || dy != 0)
        facing = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? Way::East : Way::West) : (dy > 0 ? Way::South : Way::North);
    const std::uint16_t word = EnemyWord(EnemyTier(), false, facing);
    if (word == 0)
        return;
    Put(at, word, true);
    if (w_.ambushFloor != 0 && r_.Percent(30))
        Tile(at) = w_.ambushFloor;
}

// A patrol walking `path`, starting on `at` facing `facing`, turned by the
// turning points `turns` (a tile and the way it turns a patrol to).
void Furnisher::Patrol(const std::vector<int>& path, const std::vector<std::pair<int, Way>>& turns, int at, Way facing)
{
    const std::uint16_t word = EnemyWord(EnemyTier(), true, facing);
    if (word == 0 || !RoomFor(true))
        return;
    if (Taken(at))
        return;
    for (const auto& [tile, way] : turns)
        if (Taken(tile))
            return;
    for (const int tile : path)
        noBlock_[static_cast<std::size_t>(tile)] = 1;
    for (const auto& [tile, way] : turns)
        Put(tile, w_.turn[Index(way)], false, false);
    Put(at, word, true);
}

void Furnisher::Enemies()
{
    if (o_.enemies == EnemyAmount::None)
        return;
    const int perEnemy = o_.enemies == EnemyAmount::Few ? 45 : o_.enemies == EnemyAmount::Normal ? 24 : 13;
    const int corridorPatrol = o_.enemies == EnemyAmount::Few ? 25 : o_.enemies == EnemyAmount::Normal ? 50 : 80;
    const bool turning = std::none_of(w_.turn.begin(), w_.turn.end(), [](std::uint16_t t) { return t == 0; });
    for (const int corridor : PiecesOf(PieceKind::Corridor)) {
        const TileBox& b = PieceAt(corridor).box;
        const bool along = b.Width() >= b.Height();
        const int length = std::max(b.Width(), b.Height());
        if (!turning || length < 5 || !r_.Percent(corridorPatrol))
            continue;
        // To and fro between turning points one tile in from the doors.
        std::vector<int> path;
        for (int i = 0; i < length; ++i)
            path.push_back(along ? p_.At(b.x0 + i, b.y0) : p_.At(b.x0, b.y0 + i));
        const Way forth = along ? Way::East : Way::South;
        const bool reversed = r_.Percent(50);
        const auto end = static_cast<std::size_t>(length - 2);
        Patrol(path, {{path[1], forth}, {path[end], Opposite(forth)}}, path[reversed ? end - 1 : 2],
               reversed ? Opposite(forth) : forth);
    }
    for (const int room : PiecesOf(PieceKind::Room)) {
        if (room == 0)
            continue; // the player starts in peace
        const TileBox& b = PieceAt(room).box;
        if (turning && b.Width() >= 5 && b.Height() >= 5 && r_.Percent(25)) {
            // Round the room one tile in from its walls, clockwise.
            const int x0 = b.x0 + 1, y0 = b.y0 + 1, x1 = b.x1 - 1, y1 = b.y1 - 1;
            std::vector<int> path;
            for (int x = x0; x <= x1; ++x)
                path.push_back(p_.At(x, y0)), path.push_back(p_.At(x, y1));
            for (int y = y0 + 1; y < y1; ++y)
                path.push_back(p_.At(x0, y)), path.push_back(p_.At(x1, y));
            Patrol(path,
                   {{p_.At(x0, y0), Way::East}, {p_.At(x1, y0), Way::South}, {p_.At(x1, y1), Way::West},
                    {p_.At(x0, y1), Way::North}},
                   p_.At(x0 + 1, y0), Way::East);
        }
        const int tiles = b.Tiles();
        int count = tiles / perEnemy + (r_.Below(perEnemy) < tiles % perEnemy ? 1 : 0);
        for (; count > 0 && RoomFor(true); --count) {
            const Tiles free = FreeTiles(room);
            if (free.empty())
                break;
            StandingEnemy(room, r_.Pick(free));
        }
    }
}

std::uint16_t Furnisher::Treasure()
{
    // The cheaper, the more often: each step up half as likely.
    std::vector<int> weights;
    for (std::size_t i = 0; i < w_.treasure.size(); ++i)
        weights.push_back(1 << std::min<std::size_t>(w_.treasure.size() - 1 - i, 10));
    return w_.treasure[static_cast<std::size_t>(r_.Weighted(weights))];
}

bool Furnisher::PlaceItem(int piece, std::uint16_t word)
{
    const Tiles free = FreeTiles(piece);
    if (free.empty() || word == 0 || !RoomFor(false))
        return false;
    Put(r_.Pick(free), word);
    return true;
}

void Furnisher::Secrets()
{
    for (const SecretPlan& secret : p_.secrets) {
        const int count = r_.Between(2, 4);
        for (int i = 0; i < count; ++i) {
            const int kind = r_.Weighted({w_.treasure.empty() ? 0 : 6, w_.health.empty() ? 0 : 2, w_.ammo.empty() ? 0 : 2});
            PlaceItem(secret.piece, kind == 0 ? Treasure() : kind == 1 ? w_.health.back() : w_.ammo.back());
        }
    }
}

void Furnisher::Items()
{
    const int amount = static_cast<int>(o_.enemies);
    const int health = 10 + 12 * amount, ammo = 10 + 17 * amount;
    std::vector<int> rooms = PiecesOf(PieceKind::Room);
    int farthest = 0;
    for (const int room : rooms)
        farthest = std::max(farthest, PieceAt(room).distance);
    bool weapon = w_.weapons.empty();
    for (const int room : rooms) {
        const Piece& piece = PieceAt(room);
        if (!weapon && room != 0 && piece.distance >= farthest / 4)
            weapon = PlaceItem(room, w_.weapons.front());
        if (!w_.treasure.empty() && room != 0 && r_.Percent(45))
            PlaceItem(room, Treasure());
        if (!w_.health.empty() && r_.Percent(health))
            PlaceItem(room, w_.health[static_cast<std::size_t>(r_.Below(static_cast<int>(w_.health.size())))]);
        if (!w_.ammo.empty() && r_.Percent(ammo))
            PlaceItem(room, w_.ammo.front());
    }
    // The best weapon, when there is one more, in a secret room of a level with many enemies.
    if (w_.weapons.size() > 1 && o_.enemies == EnemyAmount::Many && !p_.secrets.empty())
        PlaceItem(p_.secrets.front().piece, w_.weapons.back());
}

void Furnisher::Lights()
{
    if (w_.lights.empty())
        return;
    const std::uint16_t light = w_.lights.back();
    for (std::size_t i = 0; i < p_.pieces.size(); ++i) {
        const Piece& piece = p_.pieces[i];
        if (piece.kind != PieceKind::Room && piece.kind != PieceKind::Corridor)
            continue;
        const TileBox& b = piece.box;
        const bool along = b.Width() >= b.Height();
        const int length = std::max(b.Width(), b.Height());
        const int cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
        const int step = piece.kind == PieceKind::Corridor ? 4 : 3;
        const int first = (length - 1) % step / 2 + (piece.kind == PieceKind::Corridor ? 1 : 0);
        for (int k = first; k < length; k += step) {
            const int at = along ? p_.At(b.x0 + k, cy) : p_.At(cx, b.y0 + k);
            if (!Taken(at) && RoomFor(false))
                Put(at, light);
        }
    }
}

// Whether every tile of a room that nothing blocks can be walked to from
// every other.
bool Furnisher::Connected(int piece) const
{
    const TileBox& b = PieceAt(piece).box;
    auto open = [&](int x, int y) { return !blocked_[static_cast<std::size_t>(p_.At(x, y))]; };
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(b.Tiles()), 0);
    auto local = [&](int x, int y) { return static_cast<std::size_t>((y - b.y0) * b.Width() + (x - b.x0)); };
    std::deque<std::pair<int, int>> queue;
    int open_count = 0;
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x)
            if (open(x, y)) {
                ++open_count;
                if (queue.empty()) {
                    queue.emplace_back(x, y);
                    seen[local(x, y)] = 1;
                }
            }
    int reached = 0;
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        ++reached;
        for (const Way way : kWays) {
            const int nx = x + kWayX[Index(way)], ny = y + kWayY[Index(way)];
            if (b.Contains(nx, ny) && open(nx, ny) && !seen[local(nx, ny)]) {
                seen[local(nx, ny)] = 1;
                queue.emplace_back(nx, ny);
            }
        }
    }
    return reached == open_count;
}

bool Furnisher::Block(int piece, int at, std::uint16_t word)
{
    const auto index = static_cast<std::size_t>(at);
    if (Taken(at) || noBlock_[index] || !RoomFor(false))
        return false;
    blocked_[index] = 1;
    if (!Connected(piece)) {
        blocked_[index] = 0;
        return false;
    }
    Put(at, word);
    return true;
}

void Furnisher::Decorations()
{
    if (w_.blockingDecor.empty() && w_.floorDecor.empty())
        return;
    blocked_.assign(p_.cells.size(), 0);
    for (const int room : PiecesOf(PieceKind::Room)) {
        const TileBox& b = PieceAt(room).box;
        if (!w_.blockingDecor.empty() && b.Width() >= 4 && b.Height() >= 4) {
            // One kind of decoration per room, set symmetrically: in the
            // corners, and in a large room as four pillars.
            const std::uint16_t word = r_.Pick(w_.blockingDecor);
            if (r_.Percent(55))
                for (const auto& [x, y] : {std::pair{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}})
                    Block(room, p_.At(x, y), word);
            if (b.Width() >= 7 && b.Height() >= 7 && r_.Percent(50)) {
                const std::uint16_t pillar = r_.Pick(w_.blockingDecor);
                for (const auto& [x, y] :
                     {std::pair{b.x0 + 2, b.y0 + 2}, {b.x1 - 2, b.y0 + 2}, {b.x0 + 2, b.y1 - 2}, {b.x1 - 2, b.y1 - 2}})
                    Block(room, p_.At(x, y), pillar);
            }
        }
        if (!w_.floorDecor.empty() && r_.Percent(15))
            PlaceItem(room, r_.Pick(w_.floorDecor));
    }
}

void Furnisher::DecoratedWalls()
{
    if (theme_.decorated.empty())
        return;
    auto quiet = [&](int x, int y) {
        if (p_.CellAt(x, y) != Cell::Rock)
            return false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Cell c = p_.CellAt(x + dx, y + dy);
                if (c == Cell::Door || c == Cell::Switch || c == Cell::PushWall)
                    return false;
            }
        return true;
    };
    for (const int room : PiecesOf(PieceKind::Room)) {
        const TileBox& b = PieceAt(room).box;
        for (const Way wall : kWays) {
            const bool along = wall == Way::North || wall == Way::South;
            const int length = along ? b.Width() : b.Height();
            if (length < 5 || !r_.Percent(35))
                continue;
            std::vector<int> at;
            if (length >= 9)
                at = {length / 3, length - 1 - length / 3};
            else
                at = {length / 2};
            const std::uint16_t word = r_.Pick(theme_.decorated);
            for (const int i : at) {
                const int x = along ? b.x0 + i : wall == Way::West ? b.x0 - 1 : b.x1 + 1;
                const int y = along ? (wall == Way::North ? b.y0 - 1 : b.y1 + 1) : b.y0 + i;
                if (quiet(x, y))
                    Tile(p_.At(x, y)) = word;
            }
        }
    }
}

} // namespace

bool FurnishLevel(const LevelPlan& plan, const LevelWords& words, const WallTheme& theme,
                  const GeneratorOptions& options, const GeneratorLimits& limits, LevelRandom& random, MapList& map)
{
    return Furnisher(plan, words, theme, options, limits, random, map).Run();
}

} // namespace tsl
