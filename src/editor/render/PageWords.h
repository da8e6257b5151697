#pragma once
// What the page file's browser says beside each picture: the map words that
// show it, from the structure's picture table as the engine reads it (see
// EntryChunks): a wall word its light and dark side, a door word the pair of
// door chunks among the eight that end the walls, an object word its sprite,
// an actor word every side of each of its frames; a word's name comes from
// the symbols of its plane.

#include "graphics/PictureTable.h"
#include "symbols/SymbolTables.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tsl {

struct PageWord {
    int plane = 0;
    std::uint16_t value = 0;
    std::string name; // the first symbol of the value on its plane; empty when none
    friend bool operator==(const PageWord&, const PageWord&) = default;
};

// The words that show each chunk of a page file whose first sprite chunk is
// `firstSprite`, by chunk, in the order of the table. `symbols` may hold
// fewer planes than the table names (a word of another plane has no name).
std::map<int, std::vector<PageWord>> WordsByChunk(const PictureTable& table, int firstSprite,
                                                  const SymbolTables* symbols);

// "1 Grey stone 1, 2 Grey stone 2": the words as the browser lists them.
std::string WordList(const std::vector<PageWord>& words);

// A length of samples at the game's rate in seconds, as "0.53 s".
std::string SoundSeconds(std::size_t samples);

} // namespace tsl
