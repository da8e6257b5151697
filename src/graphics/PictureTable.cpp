#include "graphics/PictureTable.h"

#include "core/TableText.h"
#include "graphics/PageFile.h"

#include <algorithm>
#include <array>

namespace tsl {

namespace {

constexpr int kMaxFrames = 8;
constexpr const char* kForm = "a picture is plane,words,kind[,number[,facing[,skill[,frames]]]]";

constexpr std::array<std::pair<PictureKind, std::string_view>, 6> kKinds = {{
    {PictureKind::Wall, "wall"},
    {PictureKind::Door, "door"},
    {PictureKind::Floor, "floor"},
    {PictureKind::Sprite, "sprite"},
    {PictureKind::Actor, "actor"},
    {PictureKind::Patrol, "patrol"},
}};

constexpr std::array<std::pair<Facing, std::string_view>, 9> kFacings = {{
    {Facing::None, "0"},
    {Facing::East, "e"},
    {Facing::NorthEast, "ne"},
    {Facing::North, "n"},
    {Facing::NorthWest, "nw"},
    {Facing::West, "w"},
    {Facing::SouthWest, "sw"},
    {Facing::South, "s"},
    {Facing::SouthEast, "se"},
}};

// The fields after the kind, into `entry` of its kind; or what is wrong.
std::optional<std::string> ReadPicture(const std::vector<std::string_view>& rest, PictureEntry& entry)
{
    const bool actor = entry.kind == PictureKind::Actor || entry.kind == PictureKind::Patrol;
    if (rest.size() > 4)
        return std::string(kForm);
    if (rest.empty()) {
        if (entry.kind != PictureKind::Wall)
            return "a " + std::string(KindName(entry.kind)) + " names its picture: plane,words,kind,number";
        if (entry.value == 0)
            return std::string("a wall without a number shows the engine's chunks of the words from 1");
        entry.number = kEngineWall;
        return std::nullopt;
    }
    const auto number = WholeNumber(rest[0], 0, 65535);
    if (!number || (entry.kind == PictureKind::Door && *number > 7))
        return std::string(entry.kind == PictureKind::Door ? "a door is one of the door chunks 0 to 7"
                                                          : "the number is a number from 0 to 65535");
    entry.number = *number;
    if (rest.size() > 1) {
        const auto facing = FacingNamed(rest[1]);
        if (!facing)
            return "the facing \"" + std::string(rest[1]) + "\" is none of 0, e, ne, n, nw, w, sw, s, se";
        entry.facing = *facing;
    }
    if (rest.size() > 2) {
        const auto skill = WholeNumber(rest[2], 0, 4);
        if (!skill || *skill == 2)
            return std::string("the skill level is 0, 1, 3 or 4");
        entry.skill = *skill;
    }
    entry.frames = actor && entry.facing != Facing::None ? 1 : 0;
    if (rest.size() > 3) {
        if (!actor)
            return std::string("only an actor or a patrol has frames");
        const auto frames = WholeNumber(rest[3], 0, kMaxFrames);
        if (!frames)
            return "the frames are a number from 0 to " + std::to_string(kMaxFrames);
        entry.frames = *frames;
    }
    return std::nullopt;
}

} // namespace

std::string_view KindName(PictureKind kind)
{
    for (const auto& [k, name] : kKinds)
        if (k == kind)
            return name;
    return {};
}

std::string_view FacingName(Facing facing)
{
    for (const auto& [f, name] : kFacings)
        if (f == facing)
            return name;
    return {};
}

std::optional<Facing> FacingNamed(std::string_view name)
{
    for (const auto& [facing, code] : kFacings)
        if (code == name)
            return facing;
    return std::nullopt;
}

Outcome<PictureTable> PictureTable::Parse(std::string_view text, const std::string& fileName)
{
    PictureTable table;
    const auto failure = ReadWordTable(
        text, fileName, kGraphicsErrorCaption, kForm, "a picture",
        [&table](const WordLine& line) -> std::optional<std::string> {
            PictureEntry entry;
            entry.plane = line.plane;
            entry.value = static_cast<std::uint16_t>(line.first);
            entry.last = static_cast<std::uint16_t>(line.last);
            const auto kind = std::find_if(kKinds.begin(), kKinds.end(),
                                           [&](const auto& named) { return named.second == line.kind; });
            if (kind == kKinds.end())
                return "the kind \"" + std::string(line.kind) + "\" is none of wall, door, floor, sprite, actor, patrol";
            entry.kind = kind->first;
            if (auto problem = ReadPicture(line.rest, entry))
                return problem;
            table.entries_.push_back(entry);
            return std::nullopt;
        });
    if (failure)
        return *failure;
    for (std::size_t i = 0; i < table.entries_.size(); ++i) {
        const PictureEntry& e = table.entries_[i];
        if (table.index_.size() <= static_cast<std::size_t>(e.plane))
            table.index_.resize(static_cast<std::size_t>(e.plane) + 1);
        table.index_[static_cast<std::size_t>(e.plane)].push_back({e.value, e.last, i});
    }
    for (auto& spans : table.index_)
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.first < b.first; });
    return table;
}

PictureEntry PictureTable::WordOf(const PictureEntry& line, std::uint16_t value)
{
    PictureEntry entry = line;
    entry.value = entry.last = value;
    if (entry.number == kEngineWall)
        entry.number = ChunkOfWall(value);
    return entry;
}

std::optional<PictureEntry> PictureTable::Find(int plane, std::uint16_t value) const
{
    if (plane < 0 || static_cast<std::size_t>(plane) >= index_.size())
        return std::nullopt;
    const auto& spans = index_[static_cast<std::size_t>(plane)];
    // The last line that starts at or before the word: the lines do not meet.
    const auto after = std::upper_bound(spans.begin(), spans.end(), int{value},
                                        [](int word, const Span& span) { return word < span.first; });
    if (after == spans.begin() || std::prev(after)->last < value)
        return std::nullopt;
    return WordOf(entries_[std::prev(after)->entry], value);
}

Outcome<PictureTable> PictureTable::Load(const std::filesystem::path& path)
{
    return LoadTable<PictureTable>(path, "The picture table", kGraphicsErrorCaption);
}

int EntryChunk(const PictureEntry& entry, int firstSprite)
{
    switch (entry.kind) {
    case PictureKind::Wall:
        return entry.number >= 0 && entry.number < FirstDoorChunk(firstSprite) ? entry.number : -1;
    case PictureKind::Door:
        return firstSprite >= kDoorChunks ? firstSprite - kDoorChunks + entry.number : -1;
    case PictureKind::Sprite:
    case PictureKind::Actor:
    case PictureKind::Patrol:
        return firstSprite + entry.number;
    case PictureKind::Floor:
        break;
    }
    return -1;
}

std::vector<int> EntryChunks(const PictureEntry& entry, int firstSprite)
{
    const int chunk = EntryChunk(entry, firstSprite);
    if (chunk < 0)
        return {};
    switch (entry.kind) {
    case PictureKind::Wall:
        if (chunk + 1 < FirstDoorChunk(firstSprite))
            return {chunk, chunk + 1};
        return {chunk};
    case PictureKind::Door: {
        const int light = chunk - (entry.number & 1);
        return {light, light + 1};
    }
    case PictureKind::Actor:
    case PictureKind::Patrol: {
        std::vector<int> chunks{chunk};
        for (int side = 1; side < entry.frames * kRotations; ++side)
            chunks.push_back(chunk + side);
        return chunks;
    }
    default:
        return {chunk};
    }
}

} // namespace tsl
