#pragma once
// Facing objects: words that stand for one object looking different ways (a
// player start, a guard, a turning point). When a map is turned or mirrored,
// each such word gives way to its group's word for the direction the object
// faces afterwards, so that it keeps facing the same way relative to the map.
//
// The structure lists its groups in section Facing of its settings file, one
// key per group (the key only names it) whose value is PLANE,WORDS,DIRECTIONS:
// the plane from 0; the words, either as many as there are directions or only
// the first of words that follow on by one; the directions as the codes e,
// ne, n, nw, w, sw, s, se. Lists are separated by blanks, for example
// "PlayerStart=1,19,n e s w". An entry that does not read is passed over; a
// structure without the section turns nothing.

#include "core/IniFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tsl {

// Directions as the engine counts them: anticlockwise in steps of 45 degrees
// from east (0 east, 2 north, 4 west, 6 south). Map row 0 is north.
inline constexpr int kFacingDirections = 8;

struct FacingGroup {
    int Plane = 0;
    // The group's word for each direction; none where the group has no word.
    std::array<std::optional<std::uint16_t>, kFacingDirections> Words;
    friend bool operator==(const FacingGroup&, const FacingGroup&) = default;
};
using FacingGroups = std::vector<FacingGroup>;

inline constexpr const char* kFacingSection = "Facing";

// One entry's value; none when it does not read (a bad number, an unknown or
// repeated direction, word and direction lists that do not match).
std::optional<FacingGroup> ParseFacingGroup(std::string_view text);
// Every entry of section Facing that reads, in the file's order.
FacingGroups ReadFacingGroups(const IniFile& settings);

} // namespace tsl
