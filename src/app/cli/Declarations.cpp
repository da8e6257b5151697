#include "app/cli/Declarations.h"

#include "app/cli/Cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace tsl::cli {
namespace {

// A refusal stops the parse as CLI11's ValidationError with the whole
// message, which RunCommandLine prints as it stands.
[[noreturn]] void Refuse(const std::string& message)
{
    throw CLI::ValidationError(message);
}

// Two hexadecimal digits, with or without 0x.
Declarations::Reader CarmackTag(const std::string& name, std::optional<std::uint16_t>& tag)
{
    return [name, &tag](const std::string& text) {
        const auto value = Declarations::WholeNumber(
            text.starts_with("0x") || text.starts_with("0X") ? text.substr(2) : text, 0, 0xFF, 16);
        if (value)
            tag = static_cast<std::uint16_t>(*value);
        return value ? std::string() : Declarations::Takes(name, "two hexadecimal digits");
    };
}

} // namespace

std::optional<std::vector<std::pair<long, long>>> ReadRanges(std::string_view text, long min, long max)
{
    std::vector<std::pair<long, long>> ranges;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const auto item = text.substr(start, comma - start);
        const auto dash = item.find('-');
        const auto first = Declarations::WholeNumber(item.substr(0, dash), min, max);
        const auto last = dash == std::string_view::npos ? first : Declarations::WholeNumber(item.substr(dash + 1), min, max);
        if (!first || !last || *first > *last)
            return std::nullopt;
        ranges.emplace_back(*first, *last);
        start = comma + 1;
    }
    return ranges;
}

std::string MapNumbers::Read(std::string_view text, bool repeats)
{
    auto ranges = ReadRanges(text, 1, 1L << 30);
    if (!ranges)
        return Declarations::Takes("--maps", "map numbers from 1 and ranges, such as 1,3,5-9");
    ranges_ = std::move(*ranges);
    // A map listed twice would be worked on twice: the first number that two ranges share.
    auto sorted = ranges_;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 1; i < sorted.size() && !repeats; ++i) {
        if (sorted[i].first <= sorted[i - 1].second)
            return "Map " + std::to_string(sorted[i].first) + " is listed twice in --maps.";
        sorted[i].second = std::max(sorted[i].second, sorted[i - 1].second);
    }
    return {};
}

std::string MapNumbers::Positions(int count, std::vector<int>& positions) const
{
    for (int i = 0; i < count && !Given(); ++i)
        positions.push_back(i);
    for (const auto& [first, last] : ranges_) {
        if (last > count)
            return "There is no map " + std::to_string(std::max(first, count + 1L)) + ": the set has " +
                   std::to_string(count) + (count == 1 ? " map." : " maps.");
        for (long number = first; number <= last; ++number)
            positions.push_back(static_cast<int>(number - 1));
    }
    return {};
}

std::optional<long> Declarations::WholeNumber(std::string_view text, long min, long max, int base)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

void Declarations::Positional(const std::string& name, std::string& value, const std::string& help,
                              const std::string& offers)
{
    command_.add_option(name, value, help)->required()->type_name(offers);
}

void Declarations::OptionalPositional(const std::string& name, std::string& value, const std::string& help,
                                      const std::string& offers)
{
    command_.add_option(name, value, help)->type_name(offers);
}

void Declarations::Required(const std::string& name)
{
    command_.get_option(name)->required();
}

void Declarations::Value(const std::string& name, const std::string& type, const std::string& help, Reader read,
                         Times times)
{
    // Every value goes through here: at most once unless declared otherwise,
    // never empty (CLI11 leaves it empty when an option or nothing follows),
    // and taken by its declaration.
    CLI::Option* option = command_.add_option(
        name,
        [name, read, times](const CLI::results_t& values) {
            if (times == Times::Once && values.size() > 1)
                Refuse("The option " + name + " is given twice.");
            for (const std::string& text : values) {
                if (text.empty())
                    Refuse(NeedsValue(name));
                if (std::string refusal = read(text); !refusal.empty())
                    Refuse(refusal);
            }
            return true;
        },
        help);
    // Up to one word: a word that starts with - is the next option.
    option->type_name(type)->expected(0, 1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)->group(group_);
    if (times == Times::EachInOrder)
        option->trigger_on_parse();
}

void Declarations::Flag(const std::string& name, std::function<void()> given, const std::string& help, Times times)
{
    Value(name, "", help, [name, given](const std::string& text) {
        given();
        return text == "true" ? std::string() : TakesNoValue(name); // --name=VALUE
    }, times);
    command_.get_option(name)->expected(0);
}

void Declarations::Pair(const std::string& name, const std::string& type, long min, long max,
                        std::function<void(int, int)> take, const std::string& help, Times times,
                        const std::string& example)
{
    Value(name, type, help, [=](const std::string& text) {
        const auto at = text.find(type.find(',') != std::string::npos ? ',' : 'x');
        const auto a = WholeNumber(std::string_view(text).substr(0, at), min, max);
        const auto b = at == std::string::npos ? a : WholeNumber(std::string_view(text).substr(at + 1), min, max);
        if (at == std::string::npos || !a || !b)
            return Takes(name, type + ", each from " + std::to_string(min) + " to " + std::to_string(max) +
                                   (example.empty() ? "" : ", such as " + example));
        take(static_cast<int>(*a), static_cast<int>(*b));
        return std::string();
    }, times);
}

void Declarations::Exclusive(const std::string& first, const std::string& second)
{
    command_.get_option(first)->excludes(command_.get_option(second));
}

void Declarations::Loader(LoaderOptions& options)
{
    const std::string before = group_;
    group_ = kLoader;
    Number("--planes", "N", 1, 32767, options.planes, "a number from 1 to 32767", "planes per map (default 3)");
    Value("--near", "XX", "Carmack near tag, hexadecimal (default A7)", CarmackTag("--near", options.nearTag));
    Value("--far", "XX", "Carmack far tag, hexadecimal (default A8)", CarmackTag("--far", options.farTag));
    for (const auto& [name, value, on, off] :
         {std::tuple("wdc", &options.wdc, "the map header carries the plane count (WDC compatible)",
                     "the map header does not carry the plane count"),
          std::tuple("extended-names", &options.extendedNames, "32-character map names", "16-character map names")}) {
        Flag(std::string("--") + name, [target = value] { *target = true; }, on);
        Flag(std::string("--no-") + name, [target = value] { *target = false; }, off);
        Exclusive(std::string("--") + name, std::string("--no-") + name);
    }
    Value("--mapdefs", "DIR", "the MapDefs folder (default: the shipped one)", [&options](const std::string& dir) {
        std::error_code ec;
        options.mapDefs = dir;
        if (std::filesystem::is_directory(dir, ec))
            return std::string();
        if (std::filesystem::exists(dir, ec))
            return Takes("--mapdefs", "a folder; " + PrintableText(dir) + " is not one");
        return "The MapDefs folder " + PrintableText(dir) + " doesn't exist!";
    });
    group_ = before;
}

} // namespace tsl::cli
