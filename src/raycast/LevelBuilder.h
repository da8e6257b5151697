#pragma once
// From a map's words to the level the raycaster draws, by the engine's rules:
// which plane-0 words are walls and doors the rules of play say (see
// EngineRules); plane 1 words with a sprite stand as sprites in the middle
// of their tile; the player start the rules name gives the camera. Which
// picture each word shows comes from the structure's picture table.
//
// `skill` picks the actors as the game spawns them: 0 every actor of some
// skill level, 1 to 4 only those the rules place on that level (without
// rules, every actor).

#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "core/TileRect.h"
#include "raycast/Camera.h"
#include "raycast/Level.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tsl {

// What the words of a game's maps show in the first-person view.
struct WordPictures {
    struct Pair {
        int light = kNoPicture;
        int dark = kNoPicture;
    };
    struct Sprite {
        int picture = kNoPicture;
        bool actor = false;
        // The way an actor faces (the rules' facing wins), and how many
        // pictures of kRotations sides it has from `picture` on, one for
        // each side it is seen from, its front first; 0: the same picture
        // from every side.
        Facing facing = Facing::None;
        int frames = 0;
    };
    std::unordered_map<std::uint16_t, Pair> walls; // plane 0
    std::unordered_map<std::uint16_t, Pair> doors; // plane 0: the slab met across a row line, and a column line
    std::unordered_map<std::uint16_t, Sprite> sprites; // plane 1
    Pair frame;                                        // the door frame beside every door
    std::vector<std::uint32_t> ceilings;               // by map number from 0
    std::uint32_t ceiling = 0xFF383838u;               // for maps past the list
    std::uint32_t floor = 0xFF707070u;
    // Which words are walls and doors; without rules, the words the table
    // gives a wall or door picture.
    std::shared_ptr<const EngineRules> rules;
};

// The level of `map`, number `mapNumber` (from 0) of its set, every door
// closed. `skill` picks the actors by the rules: 0 every actor the engine
// places on some skill level, 1 to 4 those it places on that one (a word
// the engine never places, such as a standing dog, is left out either way).
Level BuildLevel(const MapList& map, int mapNumber, const WordPictures& words, int skill = 0);

// The same level after an edit: doors that are still doors keep how far
// they were open.
void RebuildLevel(Level& level, const MapList& map, int mapNumber, const WordPictures& words, int skill = 0);

// The same for the tiles of `region` only (kept to the map), after an edit
// there: the cost follows the region, not the map. A level of another size
// than the map is rebuilt whole.
void RebuildRegion(Level& level, const MapList& map, int mapNumber, const WordPictures& words,
                   const TileRect& region, int skill = 0);

// Whether the engine places the actor of plane-1 word `word` on `skill`
// (0: on some skill level), by the rules; every word without rules.
bool ActorPlaced(std::uint16_t word, const WordPictures& words, int skill);

// Where the player starts on `map`, looking as the start word's facing in
// `rules` says: the last start of the map, as the engine places the player
// at each in turn; nothing when the map has no player start.
std::optional<Camera> PlayerStart(const MapList& map, const EngineRules& rules);

// The player start, or the middle of the map looking east.
Camera StartCamera(const MapList& map, const EngineRules& rules);

} // namespace tsl
