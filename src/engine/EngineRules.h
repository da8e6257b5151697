#pragma once
// What each map word means to the game engine: which plane-0 words are
// walls, doors (and their locks), the elevator switch and the floors; which
// plane-1 words place the player, static objects, actors (per skill level),
// bosses (and what their death does), push walls, turning points and the
// victory tile. The raycaster, the map check, the renderer's marks and the
// level analysis all ask this one model.
//
// A shipped structure carries the facts of its game as data: section
// "Engine" of its settings names a rules file (see StructureRules), written
// from the games' released engine source. A structure without one gets a
// model read from what its symbol types suggest (FromSymbols), which serves
// the drawing and the placement checks but not the analysis of play, since
// those rules may not be its game's.
//
// The rules file: CR LF or LF lines, "#" starts a note. Every other line is
//
//     plane,words,kind[,attribute...]
//
// `words` is one word or a range "first-last"; an attribute is a name or
// name=value. Kinds and their attributes:
//
//     nothing     spoils (plane 1: the engine's spawning reaches no case for
//                 the word and changes the actor placed before it, as a
//                 standing dog does)
//     wall        switch (the elevator switch, used from the east or west)
//     door        vertical | horizontal, lock=N (the key 1 to 4 that opens
//                 it), elevator
//     floor       ambush (actors standing on it do not hear), secret (the
//                 elevator switch used while standing here leads to the
//                 secret level)
//     start       facing=n|e|s|w
//     static      block (stops the player and push walls), bonus=treasure|
//                 key|weapon|health|ammo|spear, key=N (the key a bonus gives),
//                 give=N (the rounds an ammo bonus, a weapon or the extra
//                 life brings, 1 to 99)
//     actor       stand | patrol, kill (counts toward the kill ratio),
//                 skill=N (the lowest skill level that places it; none:
//                 every level), facing=..., ambush (always deaf),
//                 nodoors (opens no door: a closed door stops its patrol)
//     boss        as actor, and key=N (drops key N when it dies), ends (its
//                 death ends the level)
//     corpse      a dead body: nothing to kill, but it stops push walls
//     pushwall    the wall under it moves when pushed
//     turn        facing=...: a patrolling actor turns here
//     victory     walking onto it ends the game's episode
//
// and what the level generator builds with (no rule of play): a wall's
// family, theme=NAME, and decorated (a variant with a picture, used
// sparingly); a static's light and decor (a decoration for rooms) and
// value=N (the points of a treasure, the health of food, the rounds of
// ammunition, the weapon's number); an actor's enemy=guard|officer|ss|dog|
// mutant (what it places, named only where the game can draw it).
//
// `facing` takes one direction (0 e ne n nw w sw s se) for every word of
// the range, or one for all. Plane-0 words not listed are open floor;
// other words not listed mean nothing.

#include "core/Failure.h"
#include "graphics/PictureTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class SymbolTables;

inline constexpr const char* kRulesErrorCaption = "Error loading rules of play";

enum class WordKind : std::uint8_t {
    Nothing, // plane 0: open floor without an area
    Floor,
    Wall,
    Door,
    PlayerStart,
    Static,
    Actor,
    Boss,
    Corpse,
    PushWall,
    TurningPoint,
    Victory,
};

enum class Bonus : std::uint8_t { None, Treasure, Key, Weapon, Health, Ammo, Spear };

enum class Enemy : std::uint8_t { None, Guard, Officer, SS, Dog, Mutant };

// A lock the model knows is there but not which key opens it (a locked
// door of the symbols).
inline constexpr std::uint8_t kUnknownLock = 0xFF;
inline constexpr int kMaxKeys = 4;

struct WordMeaning {
    WordKind kind = WordKind::Nothing;
    Facing facing = Facing::None; // player start, actor, boss, turning point
    Bonus bonus = Bonus::None;    // static
    std::uint8_t lock = 0;        // door: key 1 to 4, kUnknownLock, 0 for none
    std::uint8_t key = 0;         // static: the key it gives; boss: the key it drops
    std::uint8_t skill = 0;       // actor: the lowest skill level (1 to 4) placing it; 0: every level
    std::uint8_t give = 0;        // static: the rounds a bonus brings
    bool vertical = false;        // door: in a vertical wall line, passed from east or west
    bool elevator = false;        // door: an elevator door
    bool elevatorSwitch = false;  // wall
    bool ambush = false;          // floor: the ambush floor; actor, boss: always deaf
    bool secret = false;          // floor: the secret elevator's floor
    bool blocks = false;          // static: stops walking and push walls; corpse: stops push walls
    bool patrol = false;          // actor
    bool noDoors = false;         // actor: opens no door, so a door stops its patrol (a dog)
    bool kill = false;            // actor, boss: counted toward the kills
    bool endsLevel = false;       // boss
    bool spoils = false;          // nothing: placing it changes the actor placed before it
    // For the level generator:
    std::uint8_t theme = 0;       // wall: 1 + its family's index in EngineRules::Themes(); 0: none
    bool decorated = false;       // wall: a decorated variant of its family
    bool light = false;           // static
    bool decor = false;           // static: a decoration for rooms
    std::uint16_t value = 0;      // static with a bonus: what it gives
    Enemy enemy = Enemy::None;    // actor

    bool IsActor() const { return kind == WordKind::Actor || kind == WordKind::Boss; }
    // Whether an actor word places its actor on `skill` (1 to 4).
    bool PresentOn(int skillLevel) const { return IsActor() && skill <= skillLevel; }
    // Statics, actors, bosses, corpses and player starts: what must stand on an open tile.
    bool IsObject() const
    {
        return kind == WordKind::Static || IsActor() || kind == WordKind::Corpse || kind == WordKind::PlayerStart;
    }
    friend bool operator==(const WordMeaning&, const WordMeaning&) = default;
};

// Whether an actor word placed on a tile of floor word `floor` is deaf
// (FL_AMBUSH): always for those the rules say so, and for standing actors on
// the ambush floor, as SpawnStand makes them; a patrol never hears less.
inline bool IsAmbush(const WordMeaning& actor, const WordMeaning& floor)
{
    return actor.IsActor() && (actor.ambush || (actor.kind == WordKind::Actor && !actor.patrol && floor.ambush));
}

// Whether a push wall moving towards a tile of these words stops before it,
// as the engine's actorat stops it: walls, doors, blocking statics and dead
// bodies (actors and the player move, and are left out).
inline bool StopsPushWall(const WordMeaning& tile, const WordMeaning& object)
{
    return tile.kind == WordKind::Wall || tile.kind == WordKind::Door ||
           (object.kind == WordKind::Static && object.blocks) || object.kind == WordKind::Corpse;
}

class EngineRules {
public:
    // `fileName` names the text in messages.
    static Outcome<EngineRules> Parse(std::string_view text, const std::string& fileName);
    // What the symbol types of every plane suggest ("w" walls, "d" and "ld"
    // doors, an even door word vertical, "sp" starts, "so", "to", "k"
    // statics, "sg1" ... "mg4" actors, "b" bosses, "oa" other actors, "sd"
    // push walls, "tp" turning points), the first symbol of a value with a
    // counted type deciding, else a wall symbol. Not the game's own rules.
    static EngineRules FromSymbols(const SymbolTables& symbols);

    const WordMeaning& Meaning(int plane, std::uint16_t word) const
    {
        if (plane < 0 || static_cast<std::size_t>(plane) >= planes_.size())
            return kNothing;
        const auto& words = planes_[static_cast<std::size_t>(plane)];
        return word < words.size() ? words[word] : kNothing;
    }
    // Whether a rule gives word `word` of `plane` a meaning, "nothing"
    // included: a plane-1 word no rule lists is one the engine places nothing
    // for and reads nowhere else.
    bool Listed(int plane, std::uint16_t word) const
    {
        return plane >= 0 && static_cast<std::size_t>(plane) < listed_.size() &&
               word < listed_[static_cast<std::size_t>(plane)].size() && listed_[static_cast<std::size_t>(plane)][word];
    }
    // Plane 0 and plane 1, as the engine reads them.
    const WordMeaning& Tile(std::uint16_t word) const { return Meaning(0, word); }
    const WordMeaning& Object(std::uint16_t word) const { return Meaning(1, word); }

    // Read from the game's rules (true) or made from the symbols (false):
    // only the game's rules are analysed for play.
    bool FromEngine() const { return fromEngine_; }
    // The width and height of every map the engine plays; 0: any size.
    int MapSize() const { return mapSize_; }
    void SetMapSize(int size) { mapSize_ = size; }
    // Whether some word of the game gives key `key` (1 to 4): a static or a
    // boss that drops it.
    bool KeyExists(int key) const;
    // The names of the wall families (theme=), in the order first given.
    const std::vector<std::string>& Themes() const { return themes_; }
    // The words of `plane` that have a meaning (the others mean nothing).
    int WordCount(int plane) const
    {
        return plane >= 0 && static_cast<std::size_t>(plane) < planes_.size()
                   ? static_cast<int>(planes_[static_cast<std::size_t>(plane)].size())
                   : 0;
    }

private:
    void Set(int plane, std::uint16_t word, const WordMeaning& meaning);
    // The number of family `name`, added when new.
    std::uint8_t ThemeNumber(const std::string& name);

    static constexpr WordMeaning kNothing{};
    std::vector<std::vector<WordMeaning>> planes_; // by plane and word
    std::vector<std::vector<bool>> listed_;        // by plane and word: some rule gives it
    std::vector<std::string> themes_;
    unsigned givenKeys_ = 0; // bit k - 1: some word gives key k
    bool fromEngine_ = false;
    int mapSize_ = 0;
};

} // namespace tsl
