#pragma once
// Which picture of the page file a map word shows: the structure's
// "pictures.txt", a comma-separated table that users edit for their mods.
// Lines end in CR LF; blank lines and lines starting with "#" are notes.
// Every other line is
//
//     plane,words,kind[,number[,facing[,skill[,frames]]]]
//
// `words` is one word or a range "first-last"; every word of a range shows
// the same picture, but for a wall without a number.
// - kind "wall": the word shows wall chunk `number` (the light side; the
//   engine draws the dark side, chunk number + 1, on walls facing east and
//   west). Without a number, word w shows the chunks the engine gives it,
//   2w - 2 and 2w - 1, so that walls added to the page file are shown as
//   they come. Either way only chunks that are walls of the page file (below
//   the door pictures) are shown;
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
// symbol types sg1, sg3 and sg4 count them. frames: how many pictures of
// eight rotations the actor has from its sprite on, each the eight sides it
// is seen from, the front first and then anticlockwise, as the engine draws
// its soldiers, dogs and mutants (1 standing, 4 for the steps of a patrol);
// 0 one picture from every side. Without it, an actor with a facing has 1.
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

// A wall's number that is the engine's: word w shows chunk 2w - 2.
inline constexpr int kEngineWall = -1;
// The sides an actor that rotates is drawn from: a picture for each.
inline constexpr int kRotations = 8;

struct PictureEntry {
    int plane = 0;
    std::uint16_t value = 0; // the word; a line of the table: its first word
    PictureKind kind = PictureKind::Wall;
    int number = 0; // kEngineWall on a line of walls without a number
    Facing facing = Facing::None;
    int skill = 0;
    int frames = 0;         // an actor: its pictures of kRotations sides each; 0 the same from every side
    std::uint16_t last = 0; // a line of the table: its last word
    friend bool operator==(const PictureEntry&, const PictureEntry&) = default;
};

class PictureTable {
public:
    // `fileName` names the text in messages.
    static Outcome<PictureTable> Parse(std::string_view text, const std::string& fileName);
    static Outcome<PictureTable> Load(const std::filesystem::path& path);

    // The entry of a word of `plane` (value and last the word, a wall's
    // number its chunk), or nothing.
    std::optional<PictureEntry> Find(int plane, std::uint16_t value) const;
    // The lines of the table, in their order.
    const std::vector<PictureEntry>& Entries() const { return entries_; }
    // The entry of word `value` of a line (from its first to its last word).
    static PictureEntry WordOf(const PictureEntry& line, std::uint16_t value);

private:
    struct Span {
        int first;
        int last;
        std::size_t entry;
    };
    std::vector<PictureEntry> entries_;
    std::vector<std::vector<Span>> index_; // by plane, by first word
};

// The one chunk a word's entry is drawn with flat (in the map view) in a
// page file whose sprites start at `firstSprite`: a wall's light side, the
// door chunk, the sprite (an actor's front); -1 for a floor, or a wall whose
// chunk is not a wall of the file.
int EntryChunk(const PictureEntry& entry, int firstSprite);
// Every chunk a word's entry shows in such a file: a wall's light and dark
// side (the dark one while it is a wall of the file), a door's pair of door
// chunks (the slab met across a row line, then across a column line), a
// sprite, an actor's kRotations sides of each of its frames.
std::vector<int> EntryChunks(const PictureEntry& entry, int firstSprite);

// The text of a kind and of a facing as the table spells them.
std::string_view KindName(PictureKind kind);
std::string_view FacingName(Facing facing);
// The facing a text names ("0", "e", "ne", ...); nothing for another text.
std::optional<Facing> FacingNamed(std::string_view name);

} // namespace tsl
