// The layout of a generated level: rooms and corridors grown as a tree from
// the start room, each through one door in a one-tile wall, so that every
// door stands in its frame; dead-end corridors cut back; the elevator beside
// the room farthest from the start; locked doors on the way to it with each
// key's room before its door; a few more doors that join rooms of the same
// section into loops; push walls into secret rooms.

#include "generator/LevelPlan.h"

#include <algorithm>
#include <deque>

namespace tsl {

namespace {

bool Along(Way way) { return way == Way::North || way == Way::South; } // a wall line running east-west

class Layout {
public:
    Layout(LevelPlan& plan, LevelRandom& random) : p_(plan), r_(random) {}

    bool Grow(int targetRooms, int suitedRooms, int doorBudget);
    void CutDeadEnds();
    void MeasureDistances();
    bool PlaceElevator();
    bool LockSections(const std::vector<int>& keys);
    void AddLoops(int doorBudget);
    bool AddSecrets(int count, bool secretElevator);
    void KeepDoorStepsFree();

private:
    // Whether `box` and the wall around it lie inside the map's border on rock.
    bool Free(const TileBox& box) const
    {
        if (box.x0 < 1 || box.y0 < 1 || box.x1 > p_.w - 2 || box.y1 > p_.h - 2)
            return false;
        for (int y = box.y0 - 1; y <= box.y1 + 1; ++y)
            for (int x = box.x0 - 1; x <= box.x1 + 1; ++x)
                if (p_.cells[static_cast<std::size_t>(p_.At(x, y))] != Cell::Rock)
                    return false;
        return true;
    }
    // No door, switch or push wall on the tile or beside it, corners included.
    bool Quiet(int at) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Cell c = p_.CellAt(p_.X(at) + dx, p_.Y(at) + dy);
                if (c == Cell::Door || c == Cell::Switch || c == Cell::PushWall)
                    return false;
            }
        return true;
    }
    Cell& CellOf(int at) { return p_.cells[static_cast<std::size_t>(at)]; }
    int Owner(int at) const { return p_.owner[static_cast<std::size_t>(at)]; }

    // A tile in the wall on side `way` of `box`, at random.
    int EntryOn(const TileBox& box, Way way)
    {
        switch (way) {
        case Way::North: return p_.At(r_.Between(box.x0, box.x1), box.y0 - 1);
        case Way::South: return p_.At(r_.Between(box.x0, box.x1), box.y1 + 1);
        case Way::East: return p_.At(box.x1 + 1, r_.Between(box.y0, box.y1));
        case Way::West: return p_.At(box.x0 - 1, r_.Between(box.y0, box.y1));
        }
        return 0;
    }
    // A box of `width` x `height` beyond `entry` in `way`, holding the tile next to it.
    TileBox BoxBeyond(int entry, Way way, int width, int height)
    {
        const int ex = p_.X(entry), ey = p_.Y(entry);
        TileBox box;
        if (Along(way)) {
            box.x0 = ex - r_.Below(width);
            box.y0 = way == Way::North ? ey - height : ey + 1;
        } else {
            box.y0 = ey - r_.Below(height);
            box.x0 = way == Way::West ? ex - width : ex + 1;
        }
        box.x1 = box.x0 + width - 1;
        box.y1 = box.y0 + height - 1;
        return box;
    }
    int Add(PieceKind kind, const TileBox& box, int parent, int entry, Way from)
    {
        const int index = static_cast<int>(p_.pieces.size());
        p_.pieces.push_back({kind, box, parent, entry, from});
        Fill(box, Cell::Floor, index);
        return index;
    }
    void Fill(const TileBox& box, Cell cell, int owner)
    {
        for (int y = box.y0; y <= box.y1; ++y)
            for (int x = box.x0; x <= box.x1; ++x) {
                CellOf(p_.At(x, y)) = cell;
                p_.owner[static_cast<std::size_t>(p_.At(x, y))] = owner;
            }
    }
    void AddDoor(int tile, Way way, int a, int b, bool elevator = false)
    {
        CellOf(tile) = Cell::Door;
        p_.doors.push_back({tile, !Along(way), 0, elevator, a, b});
    }
    std::pair<int, int> RoomSize();
    bool AttachElevator(int host, bool secret, const std::vector<int>& avoid = {});
    std::vector<int> Subtree(int root) const;

    LevelPlan& p_;
    LevelRandom& r_;
    int crowding_ = 100; // percent: the rooms the size and the doors suit over the rooms asked, at most 100
};

std::pair<int, int> Layout::RoomSize()
{
    // More rooms than the size suits are smaller ones.
    const int largest = std::clamp(std::min(p_.w, p_.h) / 5 * crowding_ / 100, 4, 12);
    const int kind = r_.Weighted({30, 45, 25});
    const int base = kind == 0   ? r_.Between(3, 4)
                     : kind == 1 ? r_.Between(4, std::min(7, largest))
                                 : r_.Between(std::min(7, largest), largest);
    const int other = std::clamp(base + r_.Between(-2, 3), 3, largest);
    return r_.Percent(50) ? std::pair{base, other} : std::pair{other, base};
}

bool Layout::Grow(int targetRooms, int suitedRooms, int doorBudget)
{
    crowding_ = std::clamp(100 * suitedRooms / targetRooms, 40, 100);
    // The start room in one corner of the map, so that the level runs across it.
    const auto [sw, sh] = RoomSize();
    const int corner = r_.Below(4);
    const int qx = std::max(1, p_.w / 3 - sw), qy = std::max(1, p_.h / 3 - sh);
    TileBox start;
    start.x0 = corner % 2 == 0 ? 1 + r_.Below(qx) : p_.w - 1 - sw - r_.Below(qx);
    start.y0 = corner / 2 == 0 ? 1 + r_.Below(qy) : p_.h - 1 - sh - r_.Below(qy);
    start.x1 = start.x0 + sw - 1;
    start.y1 = start.y0 + sh - 1;
    if (!Free(start))
        return false;
    Add(PieceKind::Room, start, -1, -1, Way::North);
    p_.rooms = 1;

    for (int attempt = 0; p_.rooms < targetRooms && attempt < targetRooms * 60; ++attempt) {
        if (static_cast<int>(p_.doors.size()) >= doorBudget)
            break;
        // Mostly from the pieces added last, so that the level spreads
        // across the map rather than crowding round the start.
        const int count = static_cast<int>(p_.pieces.size());
        const int parent = r_.Percent(60) ? std::max(0, count - 1 - r_.Below(4)) : r_.Below(count);
        const Piece from = p_.pieces[static_cast<std::size_t>(parent)];
        const Way way = kWays[static_cast<std::size_t>(r_.Below(4))];
        const bool corridor = r_.Percent((from.kind == PieceKind::Corridor ? 40 : 55) * crowding_ / 100);
        int width = 1, height = 1;
        if (corridor) {
            (Along(way) ? height : width) = r_.Between(3, std::clamp(std::min(p_.w, p_.h) / 5, 4, 12));
            if (r_.Percent(20))
                (Along(way) ? width : height) = 2; // a hall
        } else {
            std::tie(width, height) = RoomSize();
        }
        const int entry = EntryOn(from.box, way);
        if (!Quiet(entry))
            continue;
        const TileBox box = BoxBeyond(entry, way, width, height);
        if (!Free(box))
            continue;
        const int piece = Add(corridor ? PieceKind::Corridor : PieceKind::Room, box, parent, entry, way);
        AddDoor(entry, way, parent, piece);
        if (!corridor)
            ++p_.rooms;
    }
    return true;
}

void Layout::CutDeadEnds()
{
    std::vector<int> children(p_.pieces.size(), 0);
    for (const Piece& piece : p_.pieces)
        if (piece.parent >= 0)
            ++children[static_cast<std::size_t>(piece.parent)];
    std::vector<bool> cut(p_.pieces.size(), false);
    for (int i = static_cast<int>(p_.pieces.size()) - 1; i >= 0; --i) {
        const Piece& piece = p_.pieces[static_cast<std::size_t>(i)];
        if (piece.kind != PieceKind::Corridor || children[static_cast<std::size_t>(i)] > 0)
            continue;
        cut[static_cast<std::size_t>(i)] = true;
        --children[static_cast<std::size_t>(piece.parent)];
        Fill(piece.box, Cell::Rock, -1);
        CellOf(piece.entry) = Cell::Rock;
    }
    // A corridor ends at its last door: no stub runs on past it.
    for (std::size_t i = 0; i < p_.pieces.size(); ++i) {
        Piece& corridor = p_.pieces[i];
        if (cut[i] || corridor.kind != PieceKind::Corridor)
            continue;
        const bool along = corridor.box.Width() >= corridor.box.Height(); // runs east-west
        auto position = [&](int tile) { return along ? p_.X(tile) : p_.Y(tile); };
        int low = position(p_.Step(corridor.entry, corridor.from));
        int high = low;
        for (std::size_t c = i + 1; c < p_.pieces.size(); ++c)
            if (!cut[c] && p_.pieces[c].parent == static_cast<int>(i)) {
                const int at = position(p_.Step(p_.pieces[c].entry, Opposite(p_.pieces[c].from)));
                low = std::min(low, at);
                high = std::max(high, at);
            }
        TileBox kept = corridor.box;
        (along ? kept.x0 : kept.y0) = std::max(along ? kept.x0 : kept.y0, low);
        (along ? kept.x1 : kept.y1) = std::min(along ? kept.x1 : kept.y1, high);
        Fill(corridor.box, Cell::Rock, -1);
        Fill(kept, Cell::Floor, static_cast<int>(i));
        corridor.box = kept;
    }
    // Number the pieces kept anew; a parent always comes before its children.
    std::vector<int> renumbered(p_.pieces.size(), -1);
    std::vector<Piece> kept;
    for (std::size_t i = 0; i < p_.pieces.size(); ++i)
        if (!cut[i]) {
            renumbered[i] = static_cast<int>(kept.size());
            kept.push_back(p_.pieces[i]);
        }
    for (Piece& piece : kept)
        if (piece.parent >= 0)
            piece.parent = renumbered[static_cast<std::size_t>(piece.parent)];
    p_.pieces = std::move(kept);
    for (int& owner : p_.owner)
        if (owner >= 0)
            owner = renumbered[static_cast<std::size_t>(owner)];
    std::erase_if(p_.doors, [&](const DoorPlan& d) { return CellOf(d.tile) != Cell::Door; });
    for (DoorPlan& door : p_.doors) {
        door.a = renumbered[static_cast<std::size_t>(door.a)];
        door.b = renumbered[static_cast<std::size_t>(door.b)];
    }
}

void Layout::MeasureDistances()
{
    std::vector<int> walked(p_.cells.size(), -1);
    std::deque<int> queue;
    const TileBox& start = p_.pieces.front().box;
    const int first = p_.At((start.x0 + start.x1) / 2, (start.y0 + start.y1) / 2);
    walked[static_cast<std::size_t>(first)] = 0;
    queue.push_back(first);
    for (Piece& piece : p_.pieces)
        piece.distance = -1;
    while (!queue.empty()) {
        const int at = queue.front();
        queue.pop_front();
        const int owner = Owner(at);
        if (owner >= 0 && p_.pieces[static_cast<std::size_t>(owner)].distance < 0)
            p_.pieces[static_cast<std::size_t>(owner)].distance = walked[static_cast<std::size_t>(at)];
        for (const Way way : kWays) {
            const int next = p_.Step(at, way);
            const Cell c = CellOf(next);
            if ((c == Cell::Floor || c == Cell::Door) && walked[static_cast<std::size_t>(next)] < 0) {
                walked[static_cast<std::size_t>(next)] = walked[static_cast<std::size_t>(at)] + 1;
                queue.push_back(next);
            }
        }
    }
}

// An elevator cell beside `host`: one tile behind an elevator door, the
// switch on its east or west wall (the far wall when the door is in the
// west or east), rock all round so that nothing else touches the switch;
// its door not beside a tile of `avoid` (where a push wall comes to rest).
bool Layout::AttachElevator(int host, bool secret, const std::vector<int>& avoid)
{
    std::vector<Way> ways(kWays.begin(), kWays.end());
    r_.Shuffle(ways);
    const TileBox hostBox = p_.pieces[static_cast<std::size_t>(host)].box;
    for (const Way way : ways) {
        if (secret && way == Opposite(p_.pieces[static_cast<std::size_t>(host)].from))
            continue; // not back beside the push wall
        for (int tries = 0; tries < 6; ++tries) {
            const int entry = EntryOn(hostBox, way);
            const int cell = p_.Step(entry, way);
            const Way side = Along(way) ? (r_.Percent(50) ? Way::East : Way::West) : way;
            const int button = p_.Step(cell, side);
            const TileBox box{p_.X(cell), p_.Y(cell), p_.X(cell), p_.Y(cell)};
            const int step = p_.Step(entry, Opposite(way));
            if (!Quiet(entry) || !Free(box) || std::find(avoid.begin(), avoid.end(), step) != avoid.end())
                continue;
            bool enclosed = true;
            for (const Way out : kWays) {
                const int x = p_.X(button) + kWayX[Index(out)], y = p_.Y(button) + kWayY[Index(out)];
                if (out != Opposite(side) && p_.Inside(x, y) && p_.CellAt(x, y) != Cell::Rock)
                    enclosed = false;
            }
            if (!enclosed)
                continue;
            const int piece = Add(secret ? PieceKind::SecretElevator : PieceKind::Elevator, box, host, entry, way);
            AddDoor(entry, way, host, piece, true);
            CellOf(button) = Cell::Switch;
            (secret ? p_.secretSwitch : p_.elevatorSwitch) = button;
            (secret ? p_.secretElevator : p_.elevator) = piece;
            return true;
        }
    }
    return false;
}

bool Layout::PlaceElevator()
{
    std::vector<int> rooms;
    for (std::size_t i = 1; i < p_.pieces.size(); ++i)
        if (p_.pieces[i].kind == PieceKind::Room)
            rooms.push_back(static_cast<int>(i));
    std::stable_sort(rooms.begin(), rooms.end(), [&](int a, int b) {
        return p_.pieces[static_cast<std::size_t>(a)].distance > p_.pieces[static_cast<std::size_t>(b)].distance;
    });
    for (const int room : rooms)
        if (AttachElevator(room, false))
            return true;
    return false;
}

std::vector<int> Layout::Subtree(int root) const
{
    std::vector<bool> in(p_.pieces.size(), false);
    in[static_cast<std::size_t>(root)] = true;
    std::vector<int> pieces{root};
    for (std::size_t i = static_cast<std::size_t>(root) + 1; i < p_.pieces.size(); ++i) {
        const int parent = p_.pieces[i].parent;
        if (parent >= 0 && in[static_cast<std::size_t>(parent)]) {
            in[i] = true;
            pieces.push_back(static_cast<int>(i));
        }
    }
    return pieces;
}

bool Layout::LockSections(const std::vector<int>& keys)
{
    if (keys.empty())
        return true;
    // The pieces on the way from the start to the elevator's room, start first.
    std::vector<int> way;
    for (int piece = p_.pieces[static_cast<std::size_t>(p_.elevator)].parent; piece > 0;
         piece = p_.pieces[static_cast<std::size_t>(piece)].parent)
        way.push_back(piece);
    std::reverse(way.begin(), way.end());
    const int n = static_cast<int>(way.size());
    const int k = static_cast<int>(keys.size());
    if (n < k)
        return false;
    std::vector<bool> onWay(p_.pieces.size(), false);
    for (const int piece : way)
        onWay[static_cast<std::size_t>(piece)] = true;
    onWay[0] = true;

    std::vector<int> region = Subtree(0);
    for (int i = 0; i < k; ++i) {
        const int locked = way[static_cast<std::size_t>(std::min(n - 1, std::max(i, (i + 1) * n / (k + 1))))];
        const std::vector<int> behind = Subtree(locked);
        std::vector<bool> isBehind(p_.pieces.size(), false);
        for (const int piece : behind)
            isBehind[static_cast<std::size_t>(piece)] = true;
        // The key's room: before this door and after the last one; off the way
        // to the elevator and far from the start when there is one.
        int best = -1;
        for (const int piece : region) {
            const Piece& candidate = p_.pieces[static_cast<std::size_t>(piece)];
            if (isBehind[static_cast<std::size_t>(piece)] || candidate.kind != PieceKind::Room)
                continue;
            auto score = [&](int index) {
                const Piece& c = p_.pieces[static_cast<std::size_t>(index)];
                return (onWay[static_cast<std::size_t>(index)] ? 0 : 100000) + (index == 0 ? -50000 : 0) + c.distance;
            };
            if (best < 0 || score(piece) > score(best))
                best = piece;
        }
        if (best < 0)
            return false;
        p_.keyRooms.push_back(best);
        p_.keys.push_back(keys[static_cast<std::size_t>(i)]);
        const int entry = p_.pieces[static_cast<std::size_t>(locked)].entry;
        for (DoorPlan& door : p_.doors)
            if (door.tile == entry) {
                if (door.lock != 0)
                    return false; // two locks on one door: the way is too short
                door.lock = keys[static_cast<std::size_t>(i)];
            }
        region = behind;
    }
    for (std::size_t i = 1; i < p_.pieces.size(); ++i) {
        Piece& piece = p_.pieces[i];
        const Piece& parent = p_.pieces[static_cast<std::size_t>(piece.parent)];
        const bool locked = std::any_of(p_.doors.begin(), p_.doors.end(),
                                        [&](const DoorPlan& d) { return d.tile == piece.entry && d.lock != 0; });
        piece.section = parent.section + (locked ? 1 : 0);
    }
    return true;
}

void Layout::AddLoops(int doorBudget)
{
    std::vector<std::pair<int, Way>> candidates; // the tile, and the way its wall line runs across
    for (int y = 1; y < p_.h - 1; ++y)
        for (int x = 1; x < p_.w - 1; ++x)
            for (const Way way : {Way::East, Way::South})
                if (CellOf(p_.At(x, y)) == Cell::Rock)
                    candidates.emplace_back(p_.At(x, y), way);
    r_.Shuffle(candidates);
    int loops = std::max(1, p_.rooms / 4);
    for (const auto& [tile, way] : candidates) {
        if (loops == 0 || static_cast<int>(p_.doors.size()) >= doorBudget)
            return;
        const int a = p_.Step(tile, Opposite(way)), b = p_.Step(tile, way);
        const Way across = way == Way::East ? Way::North : Way::East;
        if (CellOf(a) != Cell::Floor || CellOf(b) != Cell::Floor || CellOf(p_.Step(tile, across)) != Cell::Rock ||
            CellOf(p_.Step(tile, Opposite(across))) != Cell::Rock || !Quiet(tile))
            continue;
        const int pa = Owner(a), pb = Owner(b);
        const Piece &A = p_.pieces[static_cast<std::size_t>(pa)], &B = p_.pieces[static_cast<std::size_t>(pb)];
        auto joinable = [](const Piece& piece) {
            return piece.kind == PieceKind::Room || piece.kind == PieceKind::Corridor;
        };
        if (pa == pb || !joinable(A) || !joinable(B) || A.section != B.section || A.parent == pb || B.parent == pa)
            continue;
        if (std::any_of(p_.doors.begin(), p_.doors.end(), [&](const DoorPlan& d) {
                return (d.a == pa && d.b == pb) || (d.a == pb && d.b == pa);
            }))
            continue;
        AddDoor(tile, way, pa, pb);
        --loops;
    }
}

bool Layout::AddSecrets(int count, bool secretElevator)
{
    std::vector<int> hosts;
    for (std::size_t i = 0; i < p_.pieces.size(); ++i)
        if (p_.pieces[i].kind == PieceKind::Room)
            hosts.push_back(static_cast<int>(i));
    for (int s = 0; s < count; ++s) {
        const bool withElevator = secretElevator && s == count - 1;
        bool placed = false;
        for (int tries = 0; tries < 80 && !placed; ++tries) {
            const int host = r_.Pick(hosts);
            const Way way = kWays[static_cast<std::size_t>(r_.Below(4))];
            const int wall = EntryOn(p_.pieces[static_cast<std::size_t>(host)].box, way);
            const int depth = r_.Between(2, 4), across = r_.Between(2, 4);
            const TileBox box = BoxBeyond(wall, way, Along(way) ? across : depth, Along(way) ? depth : across);
            if (!Quiet(wall) || !Free(box))
                continue;
            const int piece = Add(PieceKind::Secret, box, host, wall, way);
            p_.pieces[static_cast<std::size_t>(piece)].section = p_.pieces[static_cast<std::size_t>(host)].section;
            CellOf(wall) = Cell::PushWall;
            const int first = p_.Step(wall, way), second = p_.Step(first, way);
            if (withElevator && !AttachElevator(piece, true, {first, second})) {
                Fill(box, Cell::Rock, -1);
                CellOf(wall) = Cell::Rock;
                p_.pieces.pop_back();
                continue;
            }
            if (withElevator)
                p_.pieces.back().section = p_.pieces[static_cast<std::size_t>(piece)].section;
            const int stand = p_.Step(wall, Opposite(way));
            p_.secrets.push_back({wall, stand, way, piece});
            for (const int keep : {stand, first, second})
                p_.keepFree[static_cast<std::size_t>(keep)] = 1;
            placed = true;
        }
        if (!placed)
            return false;
    }
    return true;
}

void Layout::KeepDoorStepsFree()
{
    for (const DoorPlan& door : p_.doors) {
        const Way way = door.vertical ? Way::East : Way::South;
        p_.keepFree[static_cast<std::size_t>(p_.Step(door.tile, way))] = 1;
        p_.keepFree[static_cast<std::size_t>(p_.Step(door.tile, Opposite(way)))] = 1;
    }
    for (const int cell : {p_.elevator, p_.secretElevator})
        if (cell >= 0) {
            const TileBox& box = p_.pieces[static_cast<std::size_t>(cell)].box;
            p_.keepFree[static_cast<std::size_t>(p_.At(box.x0, box.y0))] = 1;
        }
}

} // namespace

bool LayOutLevel(LevelPlan& plan, const GeneratorOptions& options, int targetRooms, bool secretElevator,
                 int maxDoors, const std::vector<int>& keys, LevelRandom& random)
{
    plan.w = options.width;
    plan.h = options.height;
    const auto tiles = static_cast<std::size_t>(plan.w) * static_cast<std::size_t>(plan.h);
    plan.cells.assign(tiles, Cell::Rock);
    plan.owner.assign(tiles, -1);
    plan.keepFree.assign(tiles, 0);
    const int budget = maxDoors > 0 ? maxDoors : 1 << 20;
    const int reserved = 1 + (secretElevator ? 1 : 0); // the elevators' doors
    Layout layout(plan, random);
    if (!layout.Grow(targetRooms, DefaultRooms(plan.w, plan.h, maxDoors), budget - reserved))
        return false;
    layout.CutDeadEnds();
    if (plan.rooms < std::max(3, options.rooms))
        return false;
    layout.MeasureDistances();
    if (!layout.PlaceElevator() || !layout.LockSections(keys))
        return false;
    layout.AddLoops(budget - (secretElevator ? 1 : 0));
    if (!layout.AddSecrets(options.secrets, secretElevator))
        return false;
    layout.KeepDoorStepsFree();
    return true;
}

} // namespace tsl
