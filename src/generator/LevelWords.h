#pragma once
// The words a generated level is built from, all taken from the structure's
// rules of play (EngineRules): the wall families and their decorated
// variants, the doors and locks with their keys, the elevator's switch and
// doors, the floor areas, the ambush and secret-elevator floors, the player
// starts, turning points and the push-wall marker, the enemies per kind,
// skill level and way of standing, and the statics by what they are.

#include "core/Failure.h"
#include "engine/EngineRules.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tsl {

// The four ways a generated level knows, in the order of the analysis:
// north, east, south, west (row 0 of a map is north).
enum class Way : std::uint8_t { North, East, South, West };
inline constexpr std::array<Way, 4> kWays = {Way::North, Way::East, Way::South, Way::West};
inline constexpr std::array<int, 4> kWayX = {0, 1, 0, -1};
inline constexpr std::array<int, 4> kWayY = {-1, 0, 1, 0};
inline Way Opposite(Way way) { return static_cast<Way>((static_cast<int>(way) + 2) % 4); }
inline std::size_t Index(Way way) { return static_cast<std::size_t>(way); }

struct DoorWords {
    std::uint16_t vertical = 0;   // in a vertical wall line: passed from the east or west
    std::uint16_t horizontal = 0; // in a horizontal wall line
    bool Complete() const { return vertical != 0 && horizontal != 0; }
    std::uint16_t For(bool inVerticalLine) const { return inVerticalLine ? vertical : horizontal; }
};

struct WallTheme {
    std::string name;
    std::vector<std::uint16_t> plain;
    std::vector<std::uint16_t> decorated;
};

// Tiers of the enemies: the words placed on every skill level, from skill 3
// and on skill 4 only.
inline constexpr std::array<int, 3> kEnemyTiers = {1, 3, 4};

struct EnemyWords {
    // By tier, standing (0) or patrolling (1), and way faced; 0: none.
    std::array<std::array<std::array<std::uint16_t, 4>, 2>, 3> words{};
    bool Has(std::size_t tier, bool patrol) const { return words[tier][patrol ? 1 : 0][0] != 0; }
};

struct LevelWords {
    std::vector<WallTheme> themes;
    std::uint16_t elevatorSwitch = 0;
    DoorWords door;
    DoorWords elevatorDoor;
    std::array<DoorWords, kMaxKeys> lockedDoor{}; // by key - 1
    std::array<std::uint16_t, kMaxKeys> key{};    // the static that gives it
    std::vector<std::uint16_t> areas;             // floor words with an area of their own
    std::uint16_t ambushFloor = 0;
    std::uint16_t secretFloor = 0;
    std::array<std::uint16_t, 4> start{}; // by Way faced
    std::array<std::uint16_t, 4> turn{};  // by Way faced
    std::uint16_t pushWall = 0;
    std::array<EnemyWords, 6> enemies{}; // by Enemy
    // Bonus statics by what they give, least first: treasure that scores,
    // food and first aid (10 health or more), ammunition (8 rounds or
    // more), weapons.
    std::vector<std::uint16_t> treasure;
    std::vector<std::uint16_t> health;
    std::vector<std::uint16_t> ammo;
    std::vector<std::uint16_t> weapons;
    std::vector<std::uint16_t> lights;
    std::vector<std::uint16_t> blockingDecor;
    std::vector<std::uint16_t> floorDecor;

    // The keys (1 to kMaxKeys) that have both a key and locked doors.
    std::vector<int> Keys() const;
};

// What `rules` give a generator to build with; a failure naming what is
// missing (a structure without wall families, a switch, doors, areas, a
// player start) when a level cannot be built from them.
Outcome<LevelWords> ReadLevelWords(const EngineRules& rules);

} // namespace tsl
