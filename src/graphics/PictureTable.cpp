#include "graphics/PictureTable.h"

#include "core/TextFile.h"
#include "graphics/PageFile.h"

#include <array>
#include <charconv>
#include <optional>

namespace tsl {

namespace {

constexpr int kMaxPlane = 99;

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

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::optional<int> Number(std::string_view text, int min, int max)
{
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
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
    std::vector<std::vector<std::int32_t>> lineOf; // by plane and value: the line that gave it, or 0
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = Trimmed(lines[n]);
        if (line.empty() || line.front() == '#')
            continue;
        auto fail = [&](const std::string& what) {
            return Failure{"Line " + std::to_string(n + 1) + " of \"" + fileName + "\": " + what + ".",
                           kGraphicsErrorCaption, MessageIcon::Warning};
        };
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() < 4 || fields.size() > 6)
            return fail("a picture is plane,value,kind,number[,facing[,skill]]");
        PictureEntry entry;
        const auto plane = Number(fields[0], 0, kMaxPlane);
        const auto value = Number(fields[1], 0, 65535);
        const auto number = Number(fields[3], 0, 65535);
        if (!plane)
            return fail("the plane is a number from 0 to " + std::to_string(kMaxPlane));
        if (!value)
            return fail("the value is a number from 0 to 65535");
        bool known = false;
        for (const auto& [kind, name] : kKinds)
            if (fields[2] == name) {
                entry.kind = kind;
                known = true;
            }
        if (!known)
            return fail("the kind \"" + std::string(fields[2]) + "\" is none of wall, door, floor, sprite, actor, patrol");
        if (!number || (entry.kind == PictureKind::Door && *number > 7))
            return fail(entry.kind == PictureKind::Door ? "a door is one of the door chunks 0 to 7"
                                                        : "the number is a number from 0 to 65535");
        if (fields.size() > 4) {
            const auto facing = FacingNamed(fields[4]);
            if (!facing)
                return fail("the facing \"" + std::string(fields[4]) + "\" is none of 0, e, ne, n, nw, w, sw, s, se");
            entry.facing = *facing;
        }
        if (fields.size() > 5) {
            const auto skill = Number(fields[5], 0, 4);
            if (!skill || *skill == 2)
                return fail("the skill level is 0, 1, 3 or 4");
            entry.skill = *skill;
        }
        entry.plane = *plane;
        entry.value = static_cast<std::uint16_t>(*value);
        entry.number = *number;

        if (lineOf.size() <= static_cast<std::size_t>(entry.plane))
            lineOf.resize(static_cast<std::size_t>(entry.plane) + 1);
        auto& lines0f = lineOf[static_cast<std::size_t>(entry.plane)];
        if (lines0f.size() <= entry.value)
            lines0f.resize(static_cast<std::size_t>(entry.value) + 1, 0);
        if (const int earlier = lines0f[entry.value])
            return fail("plane " + std::to_string(entry.plane) + " value " + std::to_string(entry.value) +
                        " has a picture already, on line " + std::to_string(earlier));
        lines0f[entry.value] = static_cast<std::int32_t>(n + 1);
        table.entries_.push_back(entry);
    }
    table.Index();
    return table;
}

void PictureTable::Index()
{
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const PictureEntry& e = entries_[i];
        if (index_.size() <= static_cast<std::size_t>(e.plane))
            index_.resize(static_cast<std::size_t>(e.plane) + 1);
        auto& plane = index_[static_cast<std::size_t>(e.plane)];
        if (plane.size() <= e.value)
            plane.resize(static_cast<std::size_t>(e.value) + 1, -1);
        plane[e.value] = static_cast<std::int32_t>(i);
    }
}

const PictureEntry* PictureTable::Find(int plane, std::uint16_t value) const
{
    if (plane < 0 || static_cast<std::size_t>(plane) >= index_.size())
        return nullptr;
    const auto& values = index_[static_cast<std::size_t>(plane)];
    if (value >= values.size() || values[value] < 0)
        return nullptr;
    return &entries_[static_cast<std::size_t>(values[value])];
}

Outcome<PictureTable> PictureTable::Load(const std::filesystem::path& path)
{
    auto text = ReadTextFile(path);
    if (!text)
        return Failure{"The picture table \"" + path.string() + "\" cannot be read.", kGraphicsErrorCaption,
                       MessageIcon::Warning};
    return Parse(*text, path.string());
}

} // namespace tsl
