#include "engine/EngineRules.h"

#include "core/TableText.h"
#include "symbols/SymbolTables.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace tsl {

namespace {

constexpr int kMaxRounds = 99; // the most the player carries

constexpr std::array<std::pair<WordKind, std::string_view>, 12> kKinds = {{
    {WordKind::Nothing, "nothing"},
    {WordKind::Wall, "wall"},
    {WordKind::Door, "door"},
    {WordKind::Floor, "floor"},
    {WordKind::PlayerStart, "start"},
    {WordKind::Static, "static"},
    {WordKind::Actor, "actor"},
    {WordKind::Boss, "boss"},
    {WordKind::Corpse, "corpse"},
    {WordKind::PushWall, "pushwall"},
    {WordKind::TurningPoint, "turn"},
    {WordKind::Victory, "victory"},
}};

constexpr std::array<std::pair<Enemy, std::string_view>, 5> kEnemies = {{
    {Enemy::Guard, "guard"}, {Enemy::Officer, "officer"}, {Enemy::SS, "ss"}, {Enemy::Dog, "dog"}, {Enemy::Mutant, "mutant"},
}};

constexpr std::array<std::pair<Bonus, std::string_view>, 6> kBonuses = {{
    {Bonus::Treasure, "treasure"},
    {Bonus::Key, "key"},
    {Bonus::Weapon, "weapon"},
    {Bonus::Health, "health"},
    {Bonus::Ammo, "ammo"},
    {Bonus::Spear, "spear"},
}};

template <typename T, std::size_t N>
std::optional<T> Named(const std::array<std::pair<T, std::string_view>, N>& names, std::string_view text)
{
    for (const auto& [value, name] : names)
        if (name == text)
            return value;
    return std::nullopt;
}

// The attributes each kind takes; the parser refuses the others, so that a
// misspelt rule does not pass unnoticed.
bool Takes(WordKind kind, std::string_view attribute)
{
    using enum WordKind;
    static const std::array<std::pair<WordKind, std::string_view>, 33> kTaken = {{
        {Nothing, "spoils"},
        {Wall, "switch"},   {Door, "vertical"},   {Door, "horizontal"}, {Door, "lock"},    {Door, "elevator"},
        {Floor, "ambush"},  {Floor, "secret"},    {PlayerStart, "facing"}, {Static, "block"}, {Static, "bonus"},
        {Static, "key"},    {Actor, "stand"},     {Actor, "patrol"},    {Actor, "kill"},   {Actor, "skill"},
        {Actor, "facing"},  {Actor, "ambush"},    {Boss, "kill"},       {Boss, "skill"},   {Boss, "facing"},
        {Boss, "ambush"},   {Boss, "key"},        {Boss, "ends"},       {TurningPoint, "facing"},
        {Actor, "nodoors"}, {Static, "give"},
        {Wall, "theme"},    {Wall, "decorated"},  {Static, "light"},    {Static, "decor"}, {Static, "value"},
        {Actor, "enemy"},
    }};
    for (const auto& [k, name] : kTaken)
        if (k == kind && name == attribute)
            return true;
    return false;
}

struct Rule {
    int plane = 0;
    int first = 0;
    int last = 0;
    WordMeaning meaning;
    std::vector<Facing> facings; // one per word, or one for all
    std::string theme;           // the wall family's name
};

// One line of the rules file, or what is wrong with it.
std::optional<std::string> ParseRule(const WordLine& line, Rule& rule)
{
    rule.plane = line.plane;
    rule.first = line.first;
    rule.last = line.last;
    const auto kind = Named(kKinds, line.kind);
    if (!kind)
        return "the kind \"" + std::string(line.kind) +
               "\" is none of nothing, wall, door, floor, start, static, actor, boss, corpse, pushwall, turn, victory";
    WordMeaning& m = rule.meaning;
    m.kind = *kind;
    for (const std::string_view field : line.rest) {
        const std::size_t equals = field.find('=');
        const std::string_view name = Trimmed(field.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos ? "" : Trimmed(field.substr(equals + 1));
        if (!Takes(m.kind, name))
            return (m.kind == WordKind::Nothing ? "the kind " : "a ") + std::string(line.kind) +
                   " takes no attribute \"" + std::string(name) + "\"";
        const bool flag = equals == std::string_view::npos;
        auto wrong = [&] { return "the attribute \"" + std::string(field) + "\" does not read"; };
        if (name == "give") {
            const auto rounds = WholeNumber(value, 1, kMaxRounds);
            if (flag || !rounds)
                return "the rounds given are a number from 1 to " + std::to_string(kMaxRounds);
            m.give = static_cast<std::uint8_t>(*rounds);
        } else if (name == "lock" || name == "key" || name == "skill") {
            const auto number = WholeNumber(value, 1, name == "skill" ? 4 : kMaxKeys);
            if (flag || !number)
                return name == "skill" ? std::string("the skill level is a number from 1 to 4")
                                       : "the key is a number from 1 to " + std::to_string(kMaxKeys);
            (name == "lock" ? m.lock : name == "key" ? m.key : m.skill) = static_cast<std::uint8_t>(*number);
        } else if (name == "bonus") {
            const auto bonus = Named(kBonuses, value);
            if (!bonus)
                return "the bonus \"" + std::string(value) + "\" is none of treasure, key, weapon, health, ammo, spear";
            m.bonus = *bonus;
        } else if (name == "value") {
            const auto number = WholeNumber(value, 0, 0xFFFF);
            if (flag || !number)
                return std::string("the value is a number from 0 to 65535");
            m.value = static_cast<std::uint16_t>(*number);
        } else if (name == "enemy") {
            const auto enemy = Named(kEnemies, value);
            if (!enemy)
                return "the enemy \"" + std::string(value) + "\" is none of guard, officer, ss, dog, mutant";
            m.enemy = *enemy;
        } else if (name == "theme") {
            if (value.empty())
                return std::string("the theme names the wall's family: theme=NAME");
            rule.theme = std::string(value);
        } else if (name == "facing") {
            for (std::string_view code : Items(value)) {
                const auto facing = FacingNamed(code);
                if (!facing)
                    return "the facing \"" + std::string(code) + "\" is none of 0, e, ne, n, nw, w, sw, s, se";
                rule.facings.push_back(*facing);
            }
            const auto words = static_cast<std::size_t>(rule.last - rule.first + 1);
            if (rule.facings.size() != 1 && rule.facings.size() != words)
                return std::string("give one facing for every word, or one for all");
        } else if (!flag) {
            return wrong();
        } else if (name == "switch") {
            m.elevatorSwitch = true;
        } else if (name == "vertical" || name == "horizontal") {
            m.vertical = name == "vertical";
        } else if (name == "elevator") {
            m.elevator = true;
        } else if (name == "ambush") {
            m.ambush = true;
        } else if (name == "secret") {
            m.secret = true;
        } else if (name == "block") {
            m.blocks = true;
        } else if (name == "stand" || name == "patrol") {
            m.patrol = name == "patrol";
        } else if (name == "nodoors") {
            m.noDoors = true;
        } else if (name == "kill") {
            m.kill = true;
        } else if (name == "ends") {
            m.endsLevel = true;
        } else if (name == "decorated") {
            m.decorated = true;
        } else if (name == "light") {
            m.light = true;
        } else if (name == "decor") {
            m.decor = true;
        } else if (name == "spoils") {
            m.spoils = true;
        }
    }
    if (m.kind == WordKind::Static && m.bonus == Bonus::Key && m.key == 0)
        return std::string("a key bonus names its key: key=N");
    if (m.kind == WordKind::Corpse)
        m.blocks = true;
    return std::nullopt;
}

// The counted symbol types, and what each makes of a word.
std::optional<WordMeaning> SymbolMeaning(std::string_view type, std::uint16_t value, std::string_view direction)
{
    WordMeaning m;
    const int facing = DirectionIndex(direction);
    m.facing = static_cast<Facing>(facing);
    if (type == "d" || type == "ld") {
        m.kind = WordKind::Door;
        m.lock = type == "ld" ? kUnknownLock : 0;
        m.vertical = value % 2 == 0;
        m.facing = Facing::None;
    } else if (type == "sp") {
        m.kind = WordKind::PlayerStart;
    } else if (type == "so" || type == "to" || type == "k") {
        m.kind = WordKind::Static;
        m.bonus = type == "k" ? Bonus::Key : Bonus::None;
    } else if (type.size() == 3 && (type[0] == 's' || type[0] == 'm') && type[1] == 'g' &&
               (type[2] == '1' || type[2] == '3' || type[2] == '4')) {
        m.kind = WordKind::Actor;
        m.patrol = type[0] == 'm';
        m.skill = static_cast<std::uint8_t>(type[2] - '0');
        m.kill = true;
    } else if (type == "b") {
        m.kind = WordKind::Boss;
        m.kill = true;
    } else if (type == "oa") {
        m.kind = WordKind::Actor;
    } else if (type == "sd") {
        m.kind = WordKind::PushWall;
    } else if (type == "tp") {
        m.kind = WordKind::TurningPoint;
    } else if (type == "tt") {
        m.kind = WordKind::Nothing;
    } else {
        return std::nullopt;
    }
    return m;
}

} // namespace

Outcome<EngineRules> EngineRules::Parse(std::string_view text, const std::string& fileName)
{
    EngineRules rules;
    rules.fromEngine_ = true;
    const auto failure = ReadWordTable(
        text, fileName, kRulesErrorCaption, "a rule is plane,words,kind[,attribute...]", "a rule",
        [&rules](const WordLine& line) -> std::optional<std::string> {
            Rule rule;
            if (auto problem = ParseRule(line, rule))
                return problem;
            for (int word = rule.first; word <= rule.last; ++word) {
                WordMeaning meaning = rule.meaning;
                if (!rule.theme.empty())
                    meaning.theme = rules.ThemeNumber(rule.theme);
                if (!rule.facings.empty())
                    meaning.facing =
                        rule.facings[rule.facings.size() == 1 ? 0 : static_cast<std::size_t>(word - rule.first)];
                rules.Set(rule.plane, static_cast<std::uint16_t>(word), meaning);
            }
            return std::nullopt;
        });
    if (failure)
        return *failure;
    return rules;
}

EngineRules EngineRules::FromSymbols(const SymbolTables& symbols)
{
    EngineRules rules;
    for (int plane = 0; plane < symbols.NumPlanes(); ++plane) {
        std::vector<bool> decided;
        for (const MapSymbols& symbol : symbols.PlaneSymbols(plane)) {
            if (symbol.Value <= 0 || symbol.Value > 0xFFFF)
                continue;
            const auto word = static_cast<std::uint16_t>(symbol.Value);
            if (decided.size() <= word)
                decided.resize(static_cast<std::size_t>(word) + 1, false);
            if (decided[word])
                continue;
            if (auto meaning = SymbolMeaning(symbol.SymbolType, word, symbol.Direction)) {
                decided[word] = true;
                rules.Set(plane, word, *meaning);
            } else if (symbol.SymbolType == "w" && rules.Meaning(plane, word).kind == WordKind::Nothing) {
                rules.Set(plane, word, WordMeaning{.kind = WordKind::Wall});
            }
        }
    }
    return rules;
}

void EngineRules::Set(int plane, std::uint16_t word, const WordMeaning& meaning)
{
    if (planes_.size() <= static_cast<std::size_t>(plane))
        planes_.resize(static_cast<std::size_t>(plane) + 1);
    auto& words = planes_[static_cast<std::size_t>(plane)];
    if (words.size() <= word)
        words.resize(static_cast<std::size_t>(word) + 1);
    words[word] = meaning;
    if (listed_.size() < planes_.size())
        listed_.resize(planes_.size());
    auto& listed = listed_[static_cast<std::size_t>(plane)];
    if (listed.size() <= word)
        listed.resize(static_cast<std::size_t>(word) + 1, false);
    listed[word] = true;
    const bool gives = (meaning.kind == WordKind::Static && meaning.bonus == Bonus::Key) || meaning.kind == WordKind::Boss;
    if (gives && meaning.key >= 1 && meaning.key <= kMaxKeys)
        givenKeys_ |= 1u << (meaning.key - 1);
}

std::uint8_t EngineRules::ThemeNumber(const std::string& name)
{
    const auto found = std::find(themes_.begin(), themes_.end(), name);
    if (found != themes_.end())
        return static_cast<std::uint8_t>(found - themes_.begin() + 1);
    themes_.push_back(name);
    return static_cast<std::uint8_t>(themes_.size());
}

bool EngineRules::KeyExists(int key) const
{
    return key >= 1 && key <= kMaxKeys && (givenKeys_ & (1u << (key - 1))) != 0;
}

} // namespace tsl
