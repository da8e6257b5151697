#include "generator/LevelGenerator.h"

#include "generator/LevelPlan.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tsl {

namespace {

constexpr const char* kCaption = "Generate Level";
constexpr std::array<std::string_view, 4> kAmountNames = {"none", "few", "normal", "many"};

Failure OptionFailure(std::string text)
{
    return {std::move(text), kCaption, MessageIcon::Warning};
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

const WallTheme* ThemeNamed(const LevelWords& words, std::string_view name)
{
    for (const WallTheme& theme : words.themes)
        if (Lowered(theme.name) == Lowered(name))
            return &theme;
    return nullptr;
}

// What the engine counts against its limits: doors, statics and actors.
bool WithinLimits(const MapList& map, const EngineRules& rules, const GeneratorLimits& limits)
{
    int doors = 0, statics = 0, actors = 0;
    for (std::size_t at = 0; at < map.WordCount(); ++at) {
        doors += rules.Tile(map.Planes[0][at]).kind == WordKind::Door ? 1 : 0;
        const WordMeaning& object = rules.Object(map.Planes[1][at]);
        statics += object.kind == WordKind::Static ? 1 : 0;
        actors += object.IsActor() ? 1 : 0;
    }
    auto within = [](int count, int limit) { return limit <= 0 || count <= limit; };
    return within(doors, limits.maxDoors) && within(statics, limits.maxStatics) && within(actors, limits.maxActors);
}

bool HasExit(const LevelAnalysis& analysis, ExitKind kind)
{
    return std::any_of(analysis.exits.begin(), analysis.exits.end(), [&](const LevelExit& e) { return e.kind == kind; });
}

// The guarantees of the analysis on one skill level: the elevator (and the
// secret one when there is one) reached, every locked door opened, every push
// wall pushed, nothing worth having out of reach, no switch used from the
// north or south only, no way off the map.
bool Finishable(const LevelAnalysis& a, const LevelPlan& plan)
{
    if (!HasExit(a, ExitKind::Elevator) || (plan.secretSwitch >= 0 && !HasExit(a, ExitKind::SecretElevator)))
        return false;
    if (!a.unreachableTreasure.empty() || !a.unreachableKeys.empty() || !a.unreachableWeapons.empty() ||
        !a.unreachableEnemies.empty() || !a.missingKeyDoors.empty() || !a.doorsNeverOpen.empty() ||
        !a.unusableElevators.empty() || !a.openEdges.empty())
        return false;
    for (const DoorPlan& door : plan.doors)
        if (!a.Reached(plan.X(door.tile), plan.Y(door.tile)))
            return false;
    for (const SecretPlan& secret : plan.secrets)
        if (!a.Reached(plan.X(secret.pushWall), plan.Y(secret.pushWall)))
            return false;
    return true;
}

} // namespace

std::string_view EnemyAmountName(EnemyAmount amount)
{
    return kAmountNames[static_cast<std::size_t>(amount)];
}

std::optional<EnemyAmount> EnemyAmountNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kAmountNames.size(); ++i)
        if (kAmountNames[i] == Lowered(name))
            return static_cast<EnemyAmount>(i);
    return std::nullopt;
}

int DefaultRooms(int width, int height, int maxDoors)
{
    // A room with its share of corridors takes about two and a half doors.
    const int byDoors = maxDoors > 0 ? maxDoors * 2 / 5 : kGeneratorMaxRooms;
    return std::clamp(std::min(width * height / 160, byDoors), kGeneratorMinRooms, kGeneratorMaxRooms);
}

std::optional<Failure> CheckGeneratorOptions(const EngineRules& rules, const GeneratorOptions& options,
                                             const GeneratorLimits& limits)
{
    const auto words = ReadLevelWords(rules);
    if (!words)
        return words.failure();
    auto side = [](int value) { return value >= kGeneratorMinSide && value <= kGeneratorMaxSide; };
    if (!side(options.width) || !side(options.height))
        return OptionFailure("A generated map is " + std::to_string(kGeneratorMinSide) + " to " +
                             std::to_string(kGeneratorMaxSide) + " tiles wide and high.");
    // A room takes about a door and a half with its corridors.
    int mostRooms = std::max(kGeneratorMinRooms, std::min(kGeneratorMaxRooms, options.width * options.height / 100));
    const bool doorsLimit = limits.maxDoors > 0 && limits.maxDoors * 5 / 8 < mostRooms;
    if (doorsLimit)
        mostRooms = std::max(kGeneratorMinRooms, limits.maxDoors * 5 / 8);
    if (options.rooms != 0 && (options.rooms < kGeneratorMinRooms || options.rooms > mostRooms)) {
        const std::string range = mostRooms > kGeneratorMinRooms
                                      ? std::to_string(kGeneratorMinRooms) + " to " + std::to_string(mostRooms)
                                      : std::to_string(mostRooms);
        // On a large map the engine's doors run out before the tiles do.
        if (doorsLimit)
            return OptionFailure("A level of this game holds " + range + " rooms: the engine has " +
                                 std::to_string(limits.maxDoors) + " doors, and a room takes about a door and a half.");
        return OptionFailure("A map of " + std::to_string(options.width) + " x " + std::to_string(options.height) +
                             " tiles holds " + range + " rooms.");
    }
    const int keys = static_cast<int>(words->Keys().size());
    if (options.keys < 0 || options.keys > std::min(kGeneratorMaxKeys, keys))
        return OptionFailure("This game has " + std::to_string(std::min(kGeneratorMaxKeys, keys)) +
                             " keys for locked sections.");
    if (options.secrets < 0 || options.secrets > kGeneratorMaxSecrets)
        return OptionFailure("A level holds 0 to " + std::to_string(kGeneratorMaxSecrets) + " secrets.");
    if (options.secrets > 0 && words->pushWall == 0)
        return OptionFailure("The rules of play of this structure have no push wall for secrets.");
    if (!options.theme.empty() && !ThemeNamed(*words, options.theme)) {
        std::string names;
        for (const WallTheme& theme : words->themes)
            names += (names.empty() ? "" : ", ") + theme.name;
        return OptionFailure("There is no theme \"" + options.theme + "\"; the themes are " + names + ".");
    }
    return std::nullopt;
}

Outcome<GeneratedLevel> GenerateLevel(const EngineRules& rules, const GeneratorOptions& options,
                                      const GeneratorLimits& limits, const GeneratorChecks& checks)
{
    if (auto fault = CheckGeneratorOptions(rules, options, limits))
        return *fault;
    const LevelWords words = *ReadLevelWords(rules);
    const int targetRooms = options.rooms > 0 ? options.rooms : DefaultRooms(options.width, options.height, limits.maxDoors);
    const bool secretElevator = options.secrets >= 2 && words.secretFloor != 0;

    for (int attempt = 1; attempt <= checks.maxTries; ++attempt) {
        LevelRandom random(DeriveSeed(options.seed, attempt));
        const WallTheme& theme =
            options.theme.empty() ? words.themes[static_cast<std::size_t>(
                                        LevelRandom(DeriveSeed(options.seed, 0)).Below(static_cast<int>(words.themes.size())))]
                                  : *ThemeNamed(words, options.theme);
        std::vector<int> keys = words.Keys();
        random.Shuffle(keys);
        keys.resize(static_cast<std::size_t>(options.keys));

        LevelPlan plan;
        if (!LayOutLevel(plan, options, targetRooms, secretElevator, limits.maxDoors, keys, random))
            continue;
        MapList map;
        map.Width = static_cast<std::uint16_t>(options.width);
        map.Height = static_cast<std::uint16_t>(options.height);
        map.Planes.assign(static_cast<std::size_t>(std::max(2, checks.planes)),
                          std::vector<std::uint16_t>(map.WordCount(), 0));
        if (!FurnishLevel(plan, words, theme, options, limits, random, map))
            continue;
        if (checks.alter)
            checks.alter(map, attempt);

        GeneratedLevel level;
        bool good = WithinLimits(map, rules, limits);
        for (int skill = 1; skill <= 4 && good; ++skill) {
            level.skills[static_cast<std::size_t>(skill - 1)] = AnalyseLevel(map, rules, skill);
            good = Finishable(level.skills[static_cast<std::size_t>(skill - 1)], plan);
        }
        if (!good || (checks.accept && !checks.accept(map)))
            continue;
        level.map = std::move(map);
        level.seed = options.seed;
        level.tries = attempt;
        level.theme = theme.name;
        level.rooms = plan.rooms;
        return level;
    }
    return OptionFailure("No level passed its checks in " + std::to_string(checks.maxTries) +
                         " tries with these options; try fewer rooms, keys or secrets, or a larger map.");
}

} // namespace tsl
