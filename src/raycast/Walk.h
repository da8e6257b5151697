#pragma once
// A walk through a level by the game's rules, in the engine's tics (70 a
// second) so that it plays at the game's speed whatever the frame rate:
// - doors slide open in 64 tics when used, stay open 300 tics and slide shut
//   in 64, but never onto the player or an actor standing in them; a locked
//   door opens only with its key, picked up (or given) in this walk;
// - a push wall used moves a tile every 128 tics, two tiles, or one when
//   something stands in the way of the second; one moves at a time, and
//   each push counts as a secret found;
// - walking over a bonus item takes it as the engine's GetBonus does:
//   treasure, keys and weapons always, ammunition below 99 rounds; nothing
//   hurts in a walk, so the health stays full and health items stay;
// - the elevator switch, used facing east or west, ends the walk (the
//   secret exit when the player stands on the secret elevator's floor), as
//   do the victory tile and the Spear;
// - actors stand where the map puts them, only those of the skill level; a
//   door does not close on one and a push wall stops at one, but the player,
//   who cannot shoot in a walk, walks through them as if the way had been
//   fought clear (the engine keeps the player a tile off a living actor,
//   which would leave many levels impassable here).
// The walk plays on its own copy of the map's words and its own level:
// nothing of it reaches the map.

#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "raycast/Camera.h"
#include "raycast/Level.h"
#include "raycast/LevelBuilder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tsl {

inline constexpr int kTicsPerSecond = 70;

// What the keys hold during a tic: each from -1 to 1.
struct WalkControl {
    double forward = 0;
    double right = 0;
    double turn = 0; // positive: to the left
    bool run = false;
};

enum class WalkEnd : std::uint8_t { Playing, Exit, SecretExit, Victory, Spear };

struct WalkCount {
    int found = 0;
    int total = 0;
    // As the game's end screen rounds it: down, and 0 of nothing.
    int Percent() const { return total > 0 ? found * 100 / total : 0; }
    friend bool operator==(const WalkCount&, const WalkCount&) = default;
};

// What the map view marks of a walk.
enum class WalkMarkKind : std::uint8_t {
    DoorOpened, // a door opened in this walk
    WallPushed, // where a push wall stood
    WallMoved,  // where it went
    ItemTaken,  // a bonus item taken
};

struct WalkMark {
    int x = 0;
    int y = 0;
    WalkMarkKind kind = WalkMarkKind::DoorOpened;
    friend bool operator==(const WalkMark&, const WalkMark&) = default;
};

class Walk {
public:
    // A walk of map `map` (number `mapNumber` from 0), copied: edits made
    // after it starts do not reach it. The player stands as `start` says;
    // `skill` as for BuildLevel.
    Walk(const MapList& map, int mapNumber, const WordPictures& words, int skill, const Camera& start);

    // One tic: the doors and the push wall move on, then the player turns
    // and moves as the keys say, then takes what lies near. True when
    // anything seen changed.
    bool Tic(const WalkControl& control);
    // The use key, on the tile ahead (the nearest of the four directions):
    // pushes a push wall, throws the elevator switch, opens or closes a door.
    // True when anything seen changed.
    bool Use();
    // Key 1 to 4, as if picked up.
    void GiveKey(int key);
    bool HasKey(int key) const;
    // The key that the last use lacked for the door ahead (0: none).
    int MissingKey() const { return missingKey_; }

    const Level& CurrentLevel() const { return level_; }
    const Camera& CurrentCamera() const { return camera_; }
    int Skill() const { return skill_; }
    WalkEnd End() const { return end_; }
    bool Ended() const { return end_ != WalkEnd::Playing; }
    int Ammo() const { return ammo_; }
    int TicsPlayed() const { return tics_; }
    const WalkCount& Treasure() const { return treasure_; }
    const WalkCount& Secrets() const { return secrets_; }
    // Every door opened, push wall moved and item taken, in their order.
    const std::vector<WalkMark>& Marks() const { return marks_; }

private:
    enum class DoorAction : std::uint8_t { Closed, Opening, Open, Closing };
    struct Door {
        int x = 0;
        int y = 0;
        bool vertical = false;
        std::uint8_t lock = 0;
        DoorAction action = DoorAction::Closed;
        std::int32_t position = 0; // 0 closed ... 0xFFFF open
        int openTics = 0;
    };
    struct Moving {
        int x = 0; // the tile the block is leaving
        int y = 0;
        int dx = 0;
        int dy = 0;
        int state = 1; // tics pushed, from 1
        std::uint16_t word = 0; // the wall's
    };

    void FindThings();
    bool MoveDoors();
    void OperateDoor(Door& door);
    void OpenDoor(Door& door);
    void CloseDoor(Door& door);
    void ShowDoor(const Door& door);
    bool MovePushWall();
    bool Push(int x, int y, int dx, int dy);
    void StopPushWall(int x, int y);
    bool TakeNear();
    bool Take(const WordMeaning& bonus);
    bool Grabbed(int x, int y) const;
    // Whatever the engine counts as standing in a tile (its actorat): walls,
    // doors not all open, blocking statics, actors, corpses, a moving wall.
    bool Occupied(int x, int y) const;
    bool PlayerBoxTouches(int x, int y) const;
    void Mark(int x, int y, WalkMarkKind kind);
    const WordMeaning& ObjectAt(int x, int y) const { return rules_->Object(map_.Word(1, x, y)); }
    const WordMeaning& TileAt(int x, int y) const { return rules_->Tile(map_.Word(0, x, y)); }

    MapList map_;
    std::shared_ptr<const EngineRules> rules_;
    std::unordered_map<std::uint16_t, WordPictures::Pair> walls_;
    int skill_ = 0;
    Level level_;
    Camera camera_;
    std::vector<Door> doors_;
    std::vector<std::int32_t> doorAt_;     // by tile: index into doors_, or -1
    std::vector<std::uint8_t> occupied_;   // by tile: a blocking static, an actor or a corpse stands there
    std::optional<Moving> pushWall_;
    unsigned keys_ = 0; // bit k - 1: key k
    int ammo_ = 0;
    int tics_ = 0;
    int missingKey_ = 0;
    WalkCount treasure_;
    WalkCount secrets_;
    WalkEnd end_ = WalkEnd::Playing;
    std::vector<WalkMark> marks_;
};

// "Gold key", "Silver key", "Key 3" ...
std::string KeyName(int key);
// What the preview shows of a walk under way ("Keys: gold key   Ammo 8
// Treasure 2 of 10   Secrets 1 of 3") and at its end (how it ended,
// the time and the ratios, as the game's end screen gives them).
std::string WalkStatusLine(const Walk& walk);
std::vector<std::string> WalkEndLines(const Walk& walk);

} // namespace tsl
