#include "editor/operations/FacingGroups.h"

#include "core/TableText.h"

#include <algorithm>
#include <string>

namespace tsl {

namespace {

constexpr std::array<std::string_view, kFacingDirections> kCodes = {"e", "ne", "n", "nw", "w", "sw", "s", "se"};

std::optional<int> Direction(std::string_view code)
{
    for (std::size_t d = 0; d < kCodes.size(); ++d)
        if (kCodes[d] == code)
            return static_cast<int>(d);
    return std::nullopt;
}

} // namespace

std::optional<FacingGroup> ParseFacingGroup(std::string_view text)
{
    const auto fields = Fields(text, ',', 3);
    if (fields.size() < 3)
        return std::nullopt;
    const auto planeItems = Items(fields[0]);
    const auto words = Items(fields[1]);
    const auto directions = Items(fields[2]);
    if (planeItems.size() != 1 || directions.empty() || (words.size() != 1 && words.size() != directions.size()))
        return std::nullopt;
    const auto plane = WholeNumber(planeItems[0], 0, 0xFFFF);
    if (!plane)
        return std::nullopt;

    FacingGroup group;
    group.Plane = *plane;
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const auto direction = Direction(directions[i]);
        // A single word is the first of words that follow on by one.
        const int highest = words.size() == 1 ? 0xFFFF - static_cast<int>(directions.size()) + 1 : 0xFFFF;
        const auto word = WholeNumber(words[words.size() == 1 ? 0 : i], 0, highest);
        if (!direction || !word || group.Words[static_cast<std::size_t>(*direction)])
            return std::nullopt;
        const int value = words.size() == 1 ? *word + static_cast<int>(i) : *word;
        group.Words[static_cast<std::size_t>(*direction)] = static_cast<std::uint16_t>(value);
    }
    return group;
}

FacingGroups ReadFacingGroups(const IniFile& settings)
{
    FacingGroups groups;
    for (const std::string& key : settings.KeyNames(kFacingSection))
        if (auto group = ParseFacingGroup(settings.ReadString(kFacingSection, key, "")))
            groups.push_back(*group);
    return groups;
}

} // namespace tsl
