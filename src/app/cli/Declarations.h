#pragma once
// The arguments and options of a command, declared once on its CLI11
// subcommand. What does not fit a declaration is refused with one message
// naming the option; the help, the usage line and the bash completion are
// written from the same declarations.

#include <CLI/StringTools.hpp>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLI {
class App;
} // namespace CLI

namespace tsl::cli {

struct LoaderOptions;

// Numbers from `min` to `max` and ranges of them, such as "1,3,5-9", in the
// order given; nothing when an item does not read or a range runs backwards.
std::optional<std::vector<std::pair<long, long>>> ReadRanges(std::string_view text, long min, long max);

// Map numbers from 1 and ranges, as --maps takes them ("1,3,5-9").
class MapNumbers {
public:
    // The refusal of `text`, or nothing; a map listed twice is refused
    // unless `repeats`.
    std::string Read(std::string_view text, bool repeats);
    bool Given() const { return !ranges_.empty(); }
    // Positions from 0 in the order given (every map when none were) for a
    // set of `count` maps; an error text when one is not in the set.
    std::string Positions(int count, std::vector<int>& positions) const;

private:
    std::vector<std::pair<long, long>> ranges_;
};

// Given at most once, or any number of times with each value taken at once,
// in the order of the command line (edit's operations).
enum class Times { Once, EachInOrder };

class Declarations {
public:
    // The help's headings: kOperations shows as OPERATION... in the usage
    // line, kLoader as [loader options]; an empty heading hides an option.
    static constexpr const char* kOptions = "Options";
    static constexpr const char* kOperations = "Operations (run in the order given, each as often as wanted)";
    static constexpr const char* kLoader = "Loader options";
    // Reads the text of a value into its place; the refusal, or nothing.
    using Reader = std::function<std::string(const std::string& text)>;

    explicit Declarations(CLI::App& command) : command_(command) {}

    // Positional arguments, all required: DIR, a game's data directory, and
    // others; the completion offers files for them, folders when `offers`
    // is "DIR", nothing when it is empty.
    void Dir(std::string& dir)
    {
        Positional("DIR", dir, "the game's data directory (MAPHEAD and GAMEMAPS or MAPTEMP)", "DIR");
    }
    void Positional(const std::string& name, std::string& value, const std::string& help,
                    const std::string& offers = "FILE");
    // A last positional argument that may be left out ([NAME] in the usage line).
    void OptionalPositional(const std::string& name, std::string& value, const std::string& help,
                            const std::string& offers = "FILE");

    void Json(bool& json, const std::string& what) { Flag("--json", json, "print " + what + " as JSON"); }
    void Force(bool& force) { Flag("--force", force, "save even a set whose load found damage"); }
    void Maps(MapNumbers& maps, const std::string& help, bool repeats = false)
    {
        Value("--maps", "LIST", help, [&maps, repeats](const std::string& text) { return maps.Read(text, repeats); });
    }
    void Loader(LoaderOptions& options);

    // "--name", without a value.
    void Flag(const std::string& name, std::function<void()> given, const std::string& help, Times times = Times::Once);
    void Flag(const std::string& name, bool& value, const std::string& help)
    {
        Flag(name, [&value] { value = true; }, help);
    }
    // "--name VALUE" (or --name=VALUE), read by `read`.
    void Value(const std::string& name, const std::string& type, const std::string& help, Reader read,
               Times times = Times::Once);
    // A whole number from `min` to `max` into a number or an optional one;
    // `takes` is what the refusal says it takes ("a map number from 1").
    template <class Target>
    void Number(const std::string& name, const std::string& type, long min, long max, Target& value,
                const std::string& takes, const std::string& help)
    {
        Value(name, type, help, [=, &value](const std::string& text) {
            const auto number = WholeNumber(text, min, max);
            if (number)
                value = static_cast<decltype(Unwrapped(value))>(*number);
            return number ? std::string() : Takes(name, takes);
        });
    }
    // Two whole numbers from `min` to `max`, as `type` shows them (X,Y or
    // WxH), such as `example`.
    void Pair(const std::string& name, const std::string& type, long min, long max, std::function<void(int, int)> take,
              const std::string& help, Times times = Times::Once, const std::string& example = "");
    // One word of a list: the help shows them as a|b|c.
    template <class T>
    void Choice(const std::string& name, const std::vector<std::pair<std::string, T>>& choices,
                std::function<void(T)> take, const std::string& help, Times times = Times::Once)
    {
        std::vector<std::string> words;
        for (const auto& choice : choices)
            words.push_back(choice.first);
        Value(name, CLI::detail::join(words, "|"), help, [=](const std::string& text) {
            for (const auto& [word, choice] : choices)
                if (word == text) {
                    take(choice);
                    return std::string();
                }
            const std::vector<std::string> head(words.begin(), words.end() - 1);
            return Takes(name, (head.empty() ? "" : CLI::detail::join(head, ", ") + " or ") + words.back());
        }, times);
    }

    // At most one of the two options.
    void Exclusive(const std::string& first, const std::string& second);
    // An option the command cannot go without (shown without brackets).
    void Required(const std::string& name);
    // The options declared from here on are listed under `heading`.
    void Group(const std::string& heading) { group_ = heading; }

    // "--zoom takes a number from 0 to 4."
    static std::string Takes(const std::string& name, const std::string& what) { return name + " takes " + what + "."; }
    static std::string NeedsValue(const std::string& name) { return "The option " + name + " needs a value."; }
    static std::string TakesNoValue(const std::string& name) { return name + " takes no value."; }
    static std::optional<long> WholeNumber(std::string_view text, long min, long max, int base = 10);

private:
    template <class T>
    static T Unwrapped(T&);
    template <class T>
    static T Unwrapped(std::optional<T>&);

    CLI::App& command_;
    std::string group_ = kOptions;
};

} // namespace tsl::cli
