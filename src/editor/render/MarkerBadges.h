#pragma once
// What the map view draws for a marker in the game's pictures, so that the
// floor or the wall under it stays in sight: a small round badge with a
// letter (or an arrow) instead of the marker's symbol, and for a push wall
// arrows at the tile's edges for the ways it can be pushed. The badges of
// plane-0 markers (the ambush and the secret-elevator floor) sit in the
// bottom-left corner, where an actor standing there has no skill mark; those
// of plane-1 markers in the middle.

#include "engine/EngineRules.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tsl {

enum class BadgeKind : std::uint8_t {
    None,
    Ambush,         // "A": actors standing here do not hear
    SecretElevator, // "S": the elevator switch used from here leads to the secret level
    PushWall,       // "P": the wall under it moves when pushed
    Victory,        // "V": walking onto it ends the episode
    TurningPoint,   // an arrow: a patrol turns here
};

// The badge a word of `plane` gets by what the rules say it is; None for
// every word that is no marker.
BadgeKind BadgeOf(int plane, const WordMeaning& meaning);

// What the legend calls a badge ("Ambush floor: ...").
std::string_view BadgeName(BadgeKind kind);

// A badge on a side x side tile, pixels 0xAARRGGBB, transparent (alpha 0)
// around it; a turning point's arrow points to `facing`.
std::vector<std::uint32_t> DrawBadge(BadgeKind kind, Facing facing, int side);

// A push wall's arrows: bit 0 north, 1 east, 2 south, 3 west (PushWallWays).
std::vector<std::uint32_t> DrawPushArrows(unsigned ways, int side);

// One number per badge, and one per set of push arrows, for keeping them
// drawn (apart from each other and from MarksKey's).
int BadgeKey(BadgeKind kind, Facing facing);
int PushArrowsKey(unsigned ways);

} // namespace tsl
