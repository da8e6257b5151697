#pragma once
// Section "Graphics" of a structure's settings file: what the game's own
// pictures are drawn with. Every key is read and written here, so that no
// other code spells a section or key name.
//
//     [Graphics]
//     Palette=palette.txt        the palette file of the structure folder
//     Pictures=pictures.txt      the table of which word shows which picture
//     Chunks=chunks.txt          which chunk of VGAGRAPH and AUDIOT is which (ChunkNames.h)
//     Sounds=sounds.txt          the names of the digitised sounds (may be left out)
//     CeilingColours=29,29,...   the ceiling's palette index by map number
//     FloorColour=25             the floor's palette index
//     GameGraphics=1             the map view's "Game Graphics" toggle as left
//
// A structure without Palette and Pictures has no game graphics. A mod may
// name palette and table files of its own.

#include "core/IniFile.h"

#include <optional>
#include <string>
#include <vector>

namespace tsl {

inline constexpr int kDefaultFloorColour = 0x19; // the engine's floor grey

struct GraphicsSettings {
    std::string Palette;             // file names in the structure folder; empty when not given
    std::string Pictures;
    std::string Chunks;              // empty: the chunks are browsed by number
    std::string Sounds;
    std::vector<int> CeilingColours; // palette index by map number (from 0)
    int FloorColour = kDefaultFloorColour;
    std::optional<bool> GameGraphics; // the toggle's remembered state; none when never set

    // Whether the structure names what game graphics need.
    bool Configured() const { return !Palette.empty() && !Pictures.empty(); }
    // The ceiling of map `map` (from 0); `fallback` for a map the list does not reach.
    int CeilingColour(int map, int fallback = 0) const;
    friend bool operator==(const GraphicsSettings&, const GraphicsSettings&) = default;
};

// Every key of the section. CeilingColours holds numbers 0 to 255 separated
// by commas; a list with anything else is taken as empty. A FloorColour
// outside 0 to 255 is the default.
GraphicsSettings ReadGraphicsSettings(const IniFile& settings);
// Writes Palette, Pictures, CeilingColours and FloorColour (Sounds and
// GameGraphics only when set); false when the file cannot be written.
bool WriteGraphicsSettings(IniFile& settings, const GraphicsSettings& graphics);

// Whether the map view starts with the game's pictures: the remembered
// toggle, or, when it was never set, whether the game has a page file.
bool GameGraphicsWanted(const IniFile& settings, bool gameHasPageFile);
// Remembers the toggle; false when the file cannot be written.
bool WriteGameGraphics(IniFile& settings, bool on);

} // namespace tsl
