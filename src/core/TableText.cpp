#include "core/TableText.h"

#include "core/TextFile.h"

#include <charconv>
#include <map>

namespace tsl {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line, char separator, std::size_t most)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = fields.size() + 1 < most ? line.find(separator, start) : std::string_view::npos;
        fields.push_back(Trimmed(line.substr(start, at == std::string_view::npos ? at : at - start)));
        if (at == std::string_view::npos)
            return fields;
        start = at + 1;
    }
}

std::vector<std::string_view> Items(std::string_view list)
{
    std::vector<std::string_view> items;
    std::size_t at = 0;
    while ((at = list.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = std::min(list.find_first_of(" \t", at), list.size());
        items.push_back(list.substr(at, end - at));
        at = end;
    }
    return items;
}

std::optional<int> WholeNumber(std::string_view text, int min, int max)
{
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> NumberRange(std::string_view text, int min, int max)
{
    const std::size_t dash = text.find('-', 1); // a leading minus is the number's own (and out of range)
    const auto first = WholeNumber(Trimmed(text.substr(0, dash)), min, max);
    const auto last = dash == std::string_view::npos ? first : WholeNumber(Trimmed(text.substr(dash + 1)), min, max);
    if (!first || !last || *last < *first)
        return std::nullopt;
    return std::pair{*first, *last};
}

Failure LineFailure(std::string_view fileName, std::size_t line, std::string_view what, const char* caption)
{
    return Failure{"Line " + std::to_string(line) + " of \"" + std::string(fileName) + "\": " + std::string(what) + ".",
                   caption, MessageIcon::Warning};
}

std::optional<Failure> ReadTable(std::string_view text, std::string_view fileName, const char* caption,
                                 const std::function<std::optional<std::string>(const TableLine&)>& read)
{
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = Trimmed(lines[n]);
        if (line.empty() || line.front() == '#')
            continue;
        if (auto problem = read({n + 1, line}))
            return LineFailure(fileName, n + 1, *problem, caption);
    }
    return std::nullopt;
}

std::optional<Failure> ReadWordTable(std::string_view text, std::string_view fileName, const char* caption,
                                     std::string_view form, std::string_view given,
                                     const std::function<std::optional<std::string>(const WordLine&)>& read)
{
    // By plane, the words given so far as ranges that do not meet: first ->
    // (last, line). Held by line, not by word, so that a short file with wide
    // ranges costs little.
    std::map<int, std::map<int, std::pair<int, std::size_t>>> taken;
    return ReadTable(text, fileName, caption, [&](const TableLine& line) -> std::optional<std::string> {
        std::vector<std::string_view> fields = Fields(line.text);
        if (fields.size() < 3)
            return std::string(form);
        const auto plane = WholeNumber(fields[0], 0, kMaxTablePlane);
        if (!plane)
            return "the plane is a number from 0 to " + std::to_string(kMaxTablePlane);
        const auto words = NumberRange(fields[1], 0, 0xFFFF);
        if (!words)
            return std::string("the words are a number from 0 to 65535 or a range first-last");
        WordLine word{line.number, *plane, words->first, words->second, fields[2], {fields.begin() + 3, fields.end()}};
        if (auto problem = read(word))
            return problem;

        auto& ranges = taken[word.plane];
        // The lowest word of this line given before: in the range that starts
        // at or before its first word, or in the first one after that.
        auto next = ranges.upper_bound(word.first);
        std::optional<std::pair<int, std::size_t>> clash;
        if (next != ranges.begin() && std::prev(next)->second.first >= word.first)
            clash = std::pair{word.first, std::prev(next)->second.second};
        else if (next != ranges.end() && next->first <= word.last)
            clash = std::pair{next->first, next->second.second};
        if (clash)
            return "plane " + std::to_string(word.plane) + " word " + std::to_string(clash->first) + " has " +
                   std::string(given) + " already, on line " + std::to_string(clash->second);
        ranges.emplace(word.first, std::pair{word.last, word.number});
        return std::nullopt;
    });
}

} // namespace tsl
