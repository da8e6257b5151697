#include "editor/operations/FacingGroups.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tsl {

namespace {

constexpr std::array<std::string_view, kFacingDirections> kCodes = {"e", "ne", "n", "nw", "w", "sw", "s", "se"};

// The blank-separated items of a list.
std::vector<std::string_view> Items(std::string_view list)
{
    std::vector<std::string_view> items;
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t start = list.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(list.find_first_of(" \t", start), list.size());
        items.push_back(list.substr(start, end - start));
        at = end;
    }
    return items;
}

std::optional<int> Number(std::string_view text, int highest)
{
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < 0 || value > highest)
        return std::nullopt;
    return value;
}

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
    const std::size_t first = text.find(',');
    const std::size_t second = first == std::string_view::npos ? first : text.find(',', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto planeItems = Items(text.substr(0, first));
    const auto words = Items(text.substr(first + 1, second - first - 1));
    const auto directions = Items(text.substr(second + 1));
    if (planeItems.size() != 1 || directions.empty() || (words.size() != 1 && words.size() != directions.size()))
        return std::nullopt;
    const auto plane = Number(planeItems[0], 0xFFFF);
    if (!plane)
        return std::nullopt;

    FacingGroup group;
    group.Plane = *plane;
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const auto direction = Direction(directions[i]);
        // A single word is the first of words that follow on by one.
        const auto word = words.size() == 1 ? Number(words[0], 0xFFFF - static_cast<int>(directions.size()) + 1)
                                            : Number(words[i], 0xFFFF);
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
