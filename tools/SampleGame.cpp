#include "SampleGame.h"

#include "core/FileSystem.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tsl::sample {
namespace {

// Tile values of the Wolfenstein 3-D engine.
namespace tile {
constexpr std::uint16_t kGreyStone = 1, kGreyFlag = 3, kBlueCell = 5, kBlueStone = 8, kWoodEagle = 10, kWood = 12;
constexpr std::uint16_t kRedBrick = 17, kPurple = 19, kRedBrickEagle = 20, kElevatorSwitch = 21, kGreyMoss = 24;
constexpr std::uint16_t kDoorVertical = 90, kDoorHorizontal = 91, kGoldDoorVertical = 92, kGoldDoorHorizontal = 93;
constexpr std::uint16_t kElevatorDoorVertical = 100, kElevatorDoorHorizontal = 101;
constexpr std::uint16_t kAmbush = 106, kFirstArea = 108, kLastArea = 143;
} // namespace tile

namespace object {
constexpr std::uint16_t kStartNorth = 19, kStartEast = 20, kStartSouth = 21, kStartWest = 22;
constexpr std::uint16_t kPuddle = 23, kGreenBarrel = 24, kTableChairs = 25, kFloorLamp = 26, kChandelier = 27;
constexpr std::uint16_t kDogFood = 29, kPillar = 30, kPlant = 31, kSkeleton = 32, kVase = 35, kTable = 36;
constexpr std::uint16_t kCeilingLight = 37, kArmor = 39, kCage = 40, kGoldKey = 43, kBed = 45, kFood = 47;
constexpr std::uint16_t kFirstAid = 48, kClip = 49, kMachineGun = 50, kCross = 52, kChalice = 53, kChest = 54;
constexpr std::uint16_t kCrown = 55, kExtraLife = 56, kBarrel = 58, kWell = 59, kFlag = 62;
constexpr std::uint16_t kTurnEast = 90, kTurnNorth = 92, kTurnWest = 94, kTurnSouth = 96;
constexpr std::uint16_t kPushwall = 98, kEndTrigger = 99;
// Actors: a base value plus the direction (0 east, 1 north, 2 west, 3 south);
// standing from the base, moving from the base + 4; medium and hard skill
// levels 36 and 72 above easy.
constexpr std::uint16_t kGuard = 108, kOfficer = 116, kSS = 126, kDog = 134;
constexpr std::uint16_t kMedium = 36, kHard = 72, kMoving = 4;
constexpr std::uint16_t kHansGrosse = 214;
} // namespace object

struct Rect {
    int x0, y0, x1, y1; // inclusive
    int Width() const { return x1 - x0 + 1; }
    int Height() const { return y1 - y0 + 1; }
};

struct Door {
    int x, y;
    bool vertical; // in a vertical wall line: passed from east to west
};

// Deterministic: std::mt19937 gives the same sequence everywhere, and the
// mapping to ranges is done here rather than by the library's distributions.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    int Range(int lo, int hi) { return lo + static_cast<int>(engine_() % static_cast<std::uint32_t>(hi - lo + 1)); }
    bool Chance(int percent) { return Range(1, 100) <= percent; }

private:
    std::mt19937 engine_;
};

class LevelBuilder {
public:
    LevelBuilder(MapList& map, std::uint32_t seed, std::uint16_t wall, std::uint16_t accent)
        : map_(map), random_(seed), wall_(wall), accent_(accent)
    {
    }

    void Build(int skill, bool finalLevel)
    {
        Fill(Rect{0, 0, map_.Width - 1, map_.Height - 1}, 0, wall_);
        Split(Rect{1, 1, map_.Width - 2, map_.Height - 2}, 0);
        PaintRooms();
        Decorate();
        PlaceStart();
        PlaceLockedDoorAndKey();
        PlaceSecret();
        PlaceGuards(skill);
        PlaceExit(finalLevel);
    }

private:
    std::uint16_t& At(std::size_t plane, int x, int y)
    {
        return map_.Planes[plane][static_cast<std::size_t>(y) * map_.Width + static_cast<std::size_t>(x)];
    }

    void Fill(const Rect& r, std::size_t plane, std::uint16_t value)
    {
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                At(plane, x, y) = value;
    }

    bool DoorAt(int x, int y) const
    {
        return std::any_of(doors_.begin(), doors_.end(), [&](const Door& d) { return d.x == x && d.y == y; });
    }

    // Splits a region with a wall line and a door through it, until the
    // pieces are room sized.
    void Split(const Rect& r, int depth)
    {
        const bool wide = r.Width() >= r.Height();
        const int span = wide ? r.Width() : r.Height();
        if (span < 11 || depth > 8 || (span < 18 && random_.Chance(40))) {
            rooms_.push_back(r);
            return;
        }
        for (int attempt = 0; attempt < 12; ++attempt) {
            if (wide) {
                const int c = random_.Range(r.x0 + 5, r.x1 - 5);
                // A wall line must not end in front of a door of the region's border.
                if (DoorAt(c, r.y0 - 1) || DoorAt(c, r.y1 + 1))
                    continue;
                Fill(Rect{c, r.y0, c, r.y1}, 0, wall_);
                const int dy = random_.Range(r.y0 + 1, r.y1 - 1);
                doors_.push_back({c, dy, true});
                Split(Rect{r.x0, r.y0, c - 1, r.y1}, depth + 1);
                Split(Rect{c + 1, r.y0, r.x1, r.y1}, depth + 1);
                return;
            }
            const int c = random_.Range(r.y0 + 5, r.y1 - 5);
            if (DoorAt(r.x0 - 1, c) || DoorAt(r.x1 + 1, c))
                continue;
            Fill(Rect{r.x0, c, r.x1, c}, 0, wall_);
            const int dx = random_.Range(r.x0 + 1, r.x1 - 1);
            doors_.push_back({dx, c, false});
            Split(Rect{r.x0, r.y0, r.x1, c - 1}, depth + 1);
            Split(Rect{r.x0, c + 1, r.x1, r.y1}, depth + 1);
            return;
        }
        rooms_.push_back(r);
    }

    void PaintRooms()
    {
        for (std::size_t i = 0; i < rooms_.size(); ++i) {
            const auto area = static_cast<std::uint16_t>(
                std::min<std::size_t>(tile::kFirstArea + i, tile::kLastArea));
            Fill(rooms_[i], 0, area);
        }
        for (const Door& d : doors_)
            At(0, d.x, d.y) = d.vertical ? tile::kDoorVertical : tile::kDoorHorizontal;
        // Accent walls: decorated wall tiles here and there along the rooms.
        for (const Rect& r : rooms_) {
            for (int x = r.x0 + 2; x < r.x1 - 1; x += 4) {
                if (At(0, x, r.y0 - 1) == wall_ && x > 0)
                    At(0, x, r.y0 - 1) = accent_;
            }
        }
    }

    bool Free(int x, int y)
    {
        const std::uint16_t floor = At(0, x, y);
        return floor >= tile::kFirstArea && floor <= tile::kLastArea && At(1, x, y) == 0 && !NextToDoor(x, y);
    }

    bool NextToDoor(int x, int y) const
    {
        for (const Door& d : doors_)
            if (std::abs(d.x - x) + std::abs(d.y - y) <= 1)
                return true;
        return false;
    }

    void Put(const Rect& r, std::uint16_t value, int margin = 1)
    {
        for (int attempt = 0; attempt < 30; ++attempt) {
            const int x = random_.Range(r.x0 + std::min(margin, r.Width() / 2), r.x1 - std::min(margin, r.Width() / 2));
            const int y = random_.Range(r.y0 + std::min(margin, r.Height() / 2), r.y1 - std::min(margin, r.Height() / 2));
            if (Free(x, y)) {
                At(1, x, y) = value;
                return;
            }
        }
    }

    void Decorate()
    {
        static constexpr std::array kCorners = {object::kBarrel, object::kPlant, object::kVase, object::kArmor,
                                                object::kFlag, object::kGreenBarrel, object::kPillar};
        static constexpr std::array kLoot = {object::kClip, object::kFood, object::kCross, object::kChalice,
                                             object::kDogFood, object::kFirstAid};
        for (const Rect& r : rooms_) {
            // Lights down the middle of the room.
            const int cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
            if (r.Width() >= 5 && r.Height() >= 5) {
                const std::uint16_t light = random_.Chance(30) ? object::kChandelier : object::kCeilingLight;
                if (Free(cx, cy))
                    At(1, cx, cy) = r.Width() * r.Height() > 60 && random_.Chance(50) ? object::kTableChairs : light;
            }
            // Something in the corners.
            const std::uint16_t corner = kCorners[static_cast<std::size_t>(random_.Range(0, kCorners.size() - 1))];
            for (auto [x, y] : {std::pair{r.x0, r.y0}, {r.x1, r.y0}, {r.x0, r.y1}, {r.x1, r.y1}})
                if (random_.Chance(55) && Free(x, y))
                    At(1, x, y) = corner;
            // A few pickups.
            for (int n = random_.Range(0, 2); n > 0; --n)
                Put(r, kLoot[static_cast<std::size_t>(random_.Range(0, kLoot.size() - 1))]);
            if (random_.Chance(15))
                Put(r, random_.Chance(50) ? object::kSkeleton : object::kPuddle);
        }
    }

    void PlaceStart()
    {
        const Rect& r = rooms_.front();
        const int x = (r.x0 + r.x1) / 2, y = r.y1;
        At(1, x, y) = object::kStartNorth;
    }

    void PlaceLockedDoorAndKey()
    {
        if (doors_.size() < 3)
            return;
        Door& d = doors_.back();
        At(0, d.x, d.y) = d.vertical ? tile::kGoldDoorVertical : tile::kGoldDoorHorizontal;
        Put(rooms_[rooms_.size() / 3], object::kGoldKey);
    }

    void PlaceSecret()
    {
        // A pushwall in the outer wall opens onto a treasure niche cut into the
        // border ring of the map.
        for (const Rect& r : rooms_) {
            if (r.y0 != 1 || r.Width() < 6)
                continue;
            const int x = (r.x0 + r.x1) / 2;
            At(1, x, 0) = 0;
            // Two walls deep: the pushwall slides into the niche behind it.
            if (map_.Height < 8)
                return;
            At(1, x, 1) = 0;
            At(0, x, 1) = wall_;
            At(1, x, 1) = object::kPushwall;
            if (At(0, x, 2) >= tile::kFirstArea && At(1, x, 2) == 0) {
                // The tile in front stays free so the wall can be pushed.
                Put(r, object::kCrown);
                Put(r, object::kChest);
            }
            return;
        }
    }

    void PlaceGuards(int skill)
    {
        const std::array kinds = {object::kGuard, object::kGuard, object::kOfficer, object::kSS, object::kDog};
        for (std::size_t i = 1; i < rooms_.size(); ++i) {
            const Rect& r = rooms_[i];
            const int count = std::min(1 + r.Width() * r.Height() / 40, 4);
            for (int n = 0; n < count; ++n) {
                const std::uint16_t kind = kinds[static_cast<std::size_t>(random_.Range(0, kinds.size() - 1))];
                const int level = random_.Range(0, std::min(skill, 2));
                const auto direction = static_cast<std::uint16_t>(random_.Range(0, 3));
                const auto value = static_cast<std::uint16_t>(
                    kind + direction + (level == 1 ? object::kMedium : level == 2 ? object::kHard : 0));
                for (int attempt = 0; attempt < 20; ++attempt) {
                    const int x = random_.Range(r.x0, r.x1), y = random_.Range(r.y0, r.y1);
                    if (!Free(x, y))
                        continue;
                    At(1, x, y) = value;
                    if (random_.Chance(20))
                        At(0, x, y) = tile::kAmbush;
                    break;
                }
            }
        }
        PlacePatrol();
    }

    // A guard walking a loop marked by turning points in the largest room.
    void PlacePatrol()
    {
        const auto largest = std::max_element(rooms_.begin() + 1, rooms_.end(), [](const Rect& a, const Rect& b) {
            return a.Width() * a.Height() < b.Width() * b.Height();
        });
        if (largest == rooms_.end() || largest->Width() < 6 || largest->Height() < 6)
            return;
        const Rect loop{largest->x0 + 1, largest->y0 + 1, largest->x1 - 1, largest->y1 - 1};
        for (int x = loop.x0; x <= loop.x1; ++x)
            for (int y : {loop.y0, loop.y1})
                At(1, x, y) = 0;
        for (int y = loop.y0; y <= loop.y1; ++y)
            for (int x : {loop.x0, loop.x1})
                At(1, x, y) = 0;
        At(1, loop.x0, loop.y1) = object::kTurnNorth;
        At(1, loop.x0, loop.y0) = object::kTurnEast;
        At(1, loop.x1, loop.y0) = object::kTurnSouth;
        At(1, loop.x1, loop.y1) = object::kTurnWest;
        At(1, loop.x0 + 1, loop.y0) = object::kGuard + object::kMoving; // moving east
    }

    void PlaceExit(bool finalLevel)
    {
        const Rect& r = rooms_.back();
        if (finalLevel) {
            Put(r, object::kHansGrosse, 2);
            At(1, r.x1, r.y1) = 0;
            At(1, r.x1, r.y1) = object::kEndTrigger;
            return;
        }
        // An elevator: the switch in the east wall of the last room.
        const int y = (r.y0 + r.y1) / 2;
        if (r.x1 + 1 < map_.Width - 1 || r.x1 + 1 == map_.Width - 1)
            At(0, r.x1 + 1, y) = tile::kElevatorSwitch;
        Put(r, object::kExtraLife);
    }

    MapList& map_;
    Random random_;
    std::uint16_t wall_;
    std::uint16_t accent_;
    std::vector<Rect> rooms_;
    std::vector<Door> doors_;
};

struct LevelPlan {
    const char* name;
    std::uint16_t width, height;
    std::uint16_t wall, accent;
    int skill;
    bool final;
};

constexpr std::array kLevels = {
    LevelPlan{"Gatehouse", 64, 64, tile::kGreyStone, tile::kGreyFlag, 0, false},
    LevelPlan{"Cell Block", 64, 64, tile::kBlueStone, tile::kBlueCell, 1, false},
    LevelPlan{"Officers Wing", 64, 64, tile::kWood, tile::kWoodEagle, 1, false},
    LevelPlan{"Red Halls", 64, 64, tile::kRedBrick, tile::kRedBrickEagle, 2, false},
    LevelPlan{"Bunker", 40, 28, tile::kGreyMoss, tile::kGreyStone, 2, false},
    LevelPlan{"Catacombs", 128, 96, tile::kPurple, tile::kGreyMoss, 2, false},
    LevelPlan{"Boss Keep", 64, 64, tile::kGreyStone, tile::kRedBrickEagle, 2, true},
};

} // namespace

void BuildSampleGame(MapHandler& maps)
{
    maps.Clear();
    maps.Extension = "WL6";
    maps.FileVersion = DataFileVersion::GameMaps;
    maps.Compression = 1;
    maps.NumPlanes = 3;
    maps.NameLength = 16;
    maps.RLEWTag = 0xABCD;
    maps.NearTag = 0xA7;
    maps.FarTag = 0xA8;
    maps.HeaderInExecutable = false;
    maps.WDCCompatibleMaps = false;
    maps.ExtendedMapNames = false;
    std::uint32_t seed = 1992;
    for (const LevelPlan& plan : kLevels) {
        MapList map = maps.CreateMap(plan.width, plan.height, plan.name);
        LevelBuilder(map, seed++, plan.wall, plan.accent).Build(plan.skill, plan.final);
        map.Index = maps.NumMaps();
        maps.Headers.push_back(MapHandler::HeaderFor(map));
        maps.AddMap(std::move(map));
    }
    maps.CurrentMap = 0;
}

void AddGeneratedLevels(MapHandler& maps, int count, std::uint32_t seed)
{
    static constexpr std::array kWalls = {tile::kGreyStone, tile::kBlueStone, tile::kWood, tile::kRedBrick,
                                          tile::kPurple, tile::kGreyMoss};
    for (int i = 0; i < count; ++i) {
        const std::uint16_t wall = kWalls[static_cast<std::size_t>(i) % kWalls.size()];
        MapList map = maps.CreateMap(64, 64, "Level " + std::to_string(maps.NumMaps() + 1));
        LevelBuilder(map, seed + static_cast<std::uint32_t>(i), wall, tile::kGreyFlag).Build(i % 3, i + 1 == count);
        map.Index = maps.NumMaps();
        maps.Headers.push_back(MapHandler::HeaderFor(map));
        maps.AddMap(std::move(map));
    }
}

std::optional<Failure> WriteSampleGame(const std::filesystem::path& dir)
{
    MapHandler maps;
    BuildSampleGame(maps);
    maps.Path = dir;
    if (auto failure = maps.Save())
        return failure;
    std::error_code ignored;
    std::filesystem::remove(dir / "MAPHEAD.WL6.BAK", ignored);
    std::filesystem::remove(dir / "GAMEMAPS.WL6.BAK", ignored);
    return std::nullopt;
}

} // namespace tsl::sample
