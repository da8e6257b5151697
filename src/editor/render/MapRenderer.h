#pragma once
// Draws a map into a picture at 8 pixels per tile: every tile of every shown
// plane is an 8 x 8 block from the plane's pattern sheet, plane 0 opaque and
// the planes above it with black transparent (AND with the plane's mask,
// then OR with its sheet). The view enlarges the picture by the zoom factor
// only when it paints, so the picture never grows with the zoom.
//
// The caller reads the plane display flags from the structure's settings
// once per render (ReadPlaneDisplay) and passes them in.

#include "core/Image.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "symbols/SymbolTables.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tsl {

// ValueMode: how a word is shown and edited.
inline constexpr int kIntMode = 0;      // whole words
inline constexpr int kHighByteMode = 1; // the high byte of split planes
inline constexpr int kLowByteMode = 2;  // the low byte of split planes

// ShowPlanes and SplitPlanes of one plane.
struct PlaneDisplay {
    bool Show = false;
    bool Split = false;
    friend bool operator==(const PlaneDisplay&, const PlaneDisplay&) = default;
};

// The flags of planes 0 ... numPlanes - 1 (both false when missing).
std::vector<PlaneDisplay> ReadPlaneDisplay(const IniFile& settings, int numPlanes);

// The actors a view shows: every one (skill 0), or only those the rules
// place on skill level 1 to 4, as the game spawns them.
struct SkillFilter {
    const EngineRules* Rules = nullptr;
    int Skill = 0;
    // Whether word `word` of `plane` is an actor the game does not place on the skill level.
    bool Hides(int plane, std::uint16_t word) const
    {
        if (!Rules || Skill <= 0)
            return false;
        const WordMeaning& meaning = Rules->Meaning(plane, word);
        return meaning.IsActor() && !meaning.PresentOn(Skill);
    }
};

// The zoom factor of a track-bar position: 1, 2, 4, 6, 8 for 0 ... 4
// (positions outside are taken as the nearest end).
int ZoomFactorOf(int position);

// The value whose symbol shows word `word`: the word itself, except on a
// shown split plane, where a non-zero word shows 0 in whole-word mode and the
// high or low byte in the byte modes.
std::uint16_t DisplayedValue(std::uint16_t word, PlaneDisplay display, int valueMode);

// The value the type filter looks up for a displayed value: the value in
// whole-word mode, its high byte still in place (value AND 0xFF00) in High
// Byte Mode and its low byte (value AND 0xFF) in Low Byte Mode.
std::uint16_t FilterValue(std::uint16_t displayed, int valueMode);

// Whether the type filter hides a tile of `plane` that displays `displayed`:
// the looked-up value is not 0, the plane has a symbol with it, and the
// type of its first such symbol is switched off.
bool IsTileHidden(const SymbolTables& tables, int plane, std::uint16_t displayed, int valueMode);

// The whole map into `view`, which becomes Width x 8 by Height x 8 pixels;
// the actors `skill` hides are left out.
void RedrawMap(Image& view, const MapList& map, const SymbolTables& tables, const std::vector<PlaneDisplay>& display,
               int valueMode, const SkillFilter& skill = {});

// Tile (x, y) alone: `view` takes the map's size first (keeping its
// pixels), then the tile's block is drawn as RedrawMap draws it.
void RedrawTile(Image& view, const MapList& map, const SymbolTables& tables, const std::vector<PlaneDisplay>& display,
                int valueMode, int x, int y, const SkillFilter& skill = {});

// The preview of a stored block of `width` x `height` words per plane: every
// plane drawn (display flags, value mode and type filter do not apply), then
// enlarged `factor` times. `preview` becomes width x 8 x factor by
// height x 8 x factor pixels.
void RenderBlockPreview(Image& preview, std::span<const std::vector<std::uint16_t>> planes, int width, int height,
                        int factor, const SymbolTables& tables);

// What the "Tile Information" row of a plane says about tile (x, y): the
// text, and the value whose picture the row shows ("0 - Nothing" style; the
// byte of the value mode on a split plane). Empty for a plane or tile that
// does not exist: the row then keeps its picture.
struct TileInfo {
    std::string Text;
    int PictureValue = 0;
    friend bool operator==(const TileInfo&, const TileInfo&) = default;
};
TileInfo TileInfoText(const MapList& map, const SymbolTables& tables, int plane, int x, int y, bool split,
                      int valueMode);

} // namespace tsl
