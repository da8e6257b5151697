#pragma once
// Which picture of the page file a map word shows: the structure's
// "pictures.txt", a comma-separated table that users edit for their mods.
// Lines end in CR LF; blank lines and lines starting with "#" are notes.
// Every other line is
//
//     plane,value,kind,number[,facing[,skill]]
//
// - kind "wall": the word shows wall chunk `number` (the light side; the
//   engine draws the dark side, chunk number + 1, on walls facing east and
//   west);
// - kind "door": door chunk `number` of the eight that end the walls (chunk
//   first sprite chunk - 8 + number), so that a mod with more walls keeps
//   its doors;
// - kind "floor": floor area `number`, drawn in the floor colour with a faint
//   tint of its own;
// - kind "sprite": sprite `number` (chunk first sprite chunk + number);
// - kinds "actor" (standing) and "patrol" (moving): sprite `number`, and the
//   view marks the actor's facing and skill level, which a sprite shows
//   neither of.
// facing: 0 (none), e, ne, n, nw, w, sw, s, se. skill: 0 (every level), or
// 1, 3, 4: the lowest difficulty on which the word places its actor, as the
// symbol types sg1, sg3 and sg4 count them.
// A word the table does not list, or whose chunk is empty, keeps its symbol.

#include "core/Failure.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

enum class PictureKind { Wall, Door, Floor, Sprite, Actor, Patrol };

// Facing as the symbol files spell directions, east first, anticlockwise.
enum class Facing { None, East, NorthEast, North, NorthWest, West, SouthWest, South, SouthEast };

struct PictureEntry {
    int plane = 0;
    std::uint16_t value = 0;
    PictureKind kind = PictureKind::Wall;
    int number = 0;
    Facing facing = Facing::None;
    int skill = 0;
    friend bool operator==(const PictureEntry&, const PictureEntry&) = default;
};

class PictureTable {
public:
    // `fileName` names the text in messages.
    static Outcome<PictureTable> Parse(std::string_view text, const std::string& fileName);
    static Outcome<PictureTable> Load(const std::filesystem::path& path);

    // The entry of a word of `plane`, or nullptr.
    const PictureEntry* Find(int plane, std::uint16_t value) const;
    const std::vector<PictureEntry>& Entries() const { return entries_; }

private:
    void Index();
    std::vector<PictureEntry> entries_;
    std::vector<std::vector<std::int32_t>> index_; // by plane and value: entry, or -1
};

// The text of a kind and of a facing as the table spells them.
std::string_view KindName(PictureKind kind);
std::string_view FacingName(Facing facing);
// The facing a text names ("0", "e", "ne", ...); nothing for another text.
std::optional<Facing> FacingNamed(std::string_view name);

} // namespace tsl
