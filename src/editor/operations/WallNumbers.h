#pragma once
// The engine knows walls by their numbers: wall word w of plane 0 shows
// page chunks 2w - 2 and 2w - 1, and the elevator switch is word 21, which
// the engine turns into 22 when the switch is used. So a wall removed from
// the page file, or added in the middle, moves every later wall one place,
// and the maps keep their walls only when their words move with them.
//
// These are the rules of such a move: a wall the maps use is not removed
// (the refusal names its tiles), walls 1 to 22 never move, and the page
// file and every map's words change together, in one step of the page
// document that its Undo takes back whole. The maps change through one
// transaction of the whole set, so their undo histories start anew, as
// after the other commands that change every map at once.

#include "core/Failure.h"
#include "core/MapHandler.h"
#include "editor/document/MapDocument.h"
#include "graphics/PageDocument.h"

#include <optional>
#include <string>
#include <vector>

namespace tsl {

inline constexpr int kElevatorSwitchWall = 21; // once used, the wall after it
inline constexpr int kLastWallWord = 63;       // the engine has pictures for wall words 1 to 63 only
inline constexpr const char* kRenumberButton = "Renumber";
inline constexpr const char* kCancelButton = "Cancel";
inline constexpr const char* kFindReplaceButton = "Find and Replace";
inline constexpr const char* kOkButton = "OK";

// The walls of the page file, the doors left out.
int WallCount(const PageSet& pages);

struct WallTile {
    int Map = 0; // from 0
    int X = 0;
    int Y = 0;
    friend bool operator==(const WallTile&, const WallTile&) = default;
};
// The tiles of plane 0 holding `wall`, map by map, row by row.
std::vector<WallTile> WallTiles(const MapHandler& maps, int wall);

// Words of plane 0 from `first` to `last` one place up (`delta` 1) or down
// (-1), in every map; true when any word changed.
bool ShiftWallWords(MapHandler& maps, int first, int last, int delta);

enum class WallMove { Remove, Add };

// What removing wall `wall`, or adding a new wall as `wall` (before the one
// that has that number now), needs before it is done.
struct WallMovePlan {
    std::optional<Failure> refusal;
    bool offerFindReplace = false;       // the refusal names tiles that Find and Replace can change
    std::optional<std::string> question; // later walls move: ask (kRenumberButton, kCancelButton)
};
WallMovePlan PlanWallMove(const PageSet& pages, const MapHandler& maps, int wall, WallMove move);

// The move itself, after the plan allowed it and the user agreed: the page
// file and the maps' words in one step of `pages`. `maps` must outlive
// that step (the page document goes with its project).
std::optional<Failure> RemoveWall(PageDocument& pages, MapDocument& maps, int wall);
Outcome<int> AddWallAt(PageDocument& pages, MapDocument& maps, int wall, const PictureFile& picture,
                       const Palette& palette);

} // namespace tsl
