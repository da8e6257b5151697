#include "generator/LevelWords.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr const char* kCaption = "Generate Level";

// The way a facing points, when it is one of the four.
std::optional<Way> WayOf(Facing facing)
{
    switch (facing) {
    case Facing::North: return Way::North;
    case Facing::East: return Way::East;
    case Facing::South: return Way::South;
    case Facing::West: return Way::West;
    default: return std::nullopt;
    }
}

std::optional<std::size_t> TierOf(int skill)
{
    for (std::size_t t = 0; t < kEnemyTiers.size(); ++t)
        if (kEnemyTiers[t] == skill)
            return t;
    return std::nullopt;
}

void Door(const WordMeaning& m, std::uint16_t word, DoorWords& words)
{
    std::uint16_t& slot = m.vertical ? words.vertical : words.horizontal;
    if (slot == 0)
        slot = word;
}

// The words of (value, word) pairs, least value first.
void Sorted(std::vector<std::pair<int, std::uint16_t>>& found, std::vector<std::uint16_t>& words)
{
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [value, word] : found)
        words.push_back(word);
}

void ReadTiles(const EngineRules& rules, LevelWords& w)
{
    w.themes.resize(rules.Themes().size());
    for (std::size_t t = 0; t < w.themes.size(); ++t)
        w.themes[t].name = rules.Themes()[t];
    for (int word = 1; word < rules.WordCount(0); ++word) {
        const auto v = static_cast<std::uint16_t>(word);
        const WordMeaning& m = rules.Tile(v);
        if (m.kind == WordKind::Wall && m.elevatorSwitch && w.elevatorSwitch == 0)
            w.elevatorSwitch = v;
        else if (m.kind == WordKind::Wall && m.theme > 0) {
            WallTheme& theme = w.themes[static_cast<std::size_t>(m.theme - 1)];
            (m.decorated ? theme.decorated : theme.plain).push_back(v);
        } else if (m.kind == WordKind::Door && m.elevator && m.lock == 0)
            Door(m, v, w.elevatorDoor);
        else if (m.kind == WordKind::Door && m.lock == 0)
            Door(m, v, w.door);
        else if (m.kind == WordKind::Door && m.lock <= kMaxKeys && !m.elevator)
            Door(m, v, w.lockedDoor[static_cast<std::size_t>(m.lock - 1)]);
        else if (m.kind == WordKind::Floor && m.ambush && w.ambushFloor == 0)
            w.ambushFloor = v;
        else if (m.kind == WordKind::Floor && m.secret && w.secretFloor == 0)
            w.secretFloor = v;
        else if (m.kind == WordKind::Floor && !m.ambush && !m.secret)
            w.areas.push_back(v);
    }
    std::erase_if(w.themes, [](const WallTheme& theme) { return theme.plain.empty(); });
}

void ReadObjects(const EngineRules& rules, LevelWords& w)
{
    std::vector<std::pair<int, std::uint16_t>> treasure, health, ammo, weapons;
    for (int word = 1; word < rules.WordCount(1); ++word) {
        const auto v = static_cast<std::uint16_t>(word);
        const WordMeaning& m = rules.Object(v);
        const auto way = WayOf(m.facing);
        if (m.kind == WordKind::PlayerStart && way && w.start[Index(*way)] == 0)
            w.start[Index(*way)] = v;
        else if (m.kind == WordKind::TurningPoint && way && w.turn[Index(*way)] == 0)
            w.turn[Index(*way)] = v;
        else if (m.kind == WordKind::PushWall && w.pushWall == 0)
            w.pushWall = v;
        else if (m.kind == WordKind::Actor && m.enemy != Enemy::None && way && !m.ambush) {
            const auto tier = TierOf(m.skill == 0 ? 1 : m.skill);
            auto& slot = w.enemies[static_cast<std::size_t>(m.enemy)].words;
            if (tier && slot[*tier][m.patrol ? 1 : 0][Index(*way)] == 0)
                slot[*tier][m.patrol ? 1 : 0][Index(*way)] = v;
        } else if (m.kind == WordKind::Static) {
            if (m.bonus == Bonus::Key && m.key >= 1 && m.key <= kMaxKeys && w.key[m.key - 1u] == 0)
                w.key[m.key - 1u] = v;
            else if (m.bonus == Bonus::Treasure && m.value > 0)
                treasure.emplace_back(m.value, v);
            else if (m.bonus == Bonus::Health && m.value >= 10)
                health.emplace_back(m.value, v);
            else if (m.bonus == Bonus::Ammo && m.value >= 8)
                ammo.emplace_back(m.value, v);
            else if (m.bonus == Bonus::Weapon)
                weapons.emplace_back(m.value, v);
            else if (m.bonus == Bonus::None && m.light && !m.blocks)
                w.lights.push_back(v);
            else if (m.bonus == Bonus::None && m.decor)
                (m.blocks ? w.blockingDecor : w.floorDecor).push_back(v);
        }
    }
    Sorted(treasure, w.treasure);
    Sorted(health, w.health);
    Sorted(ammo, w.ammo);
    Sorted(weapons, w.weapons);
    // A patrol or a stand needs all four ways; drop the incomplete ones.
    for (EnemyWords& enemy : w.enemies)
        for (auto& tier : enemy.words)
            for (auto& ways : tier)
                if (std::find(ways.begin(), ways.end(), std::uint16_t{0}) != ways.end())
                    ways = {};
}

} // namespace

std::vector<int> LevelWords::Keys() const
{
    std::vector<int> keys;
    for (int k = 1; k <= kMaxKeys; ++k)
        if (key[static_cast<std::size_t>(k - 1)] != 0 && lockedDoor[static_cast<std::size_t>(k - 1)].Complete())
            keys.push_back(k);
    return keys;
}

Outcome<LevelWords> ReadLevelWords(const EngineRules& rules)
{
    LevelWords w;
    ReadTiles(rules, w);
    ReadObjects(rules, w);
    if (!rules.FromEngine())
        return Failure{"This structure has no rules of play, so no level can be generated for it.", kCaption,
                       MessageIcon::Warning};
    std::vector<std::string> missing;
    if (w.themes.empty())
        missing.push_back("wall families (theme=)");
    if (w.elevatorSwitch == 0)
        missing.push_back("an elevator switch");
    if (!w.door.Complete())
        missing.push_back("doors in both wall lines");
    if (!w.elevatorDoor.Complete())
        missing.push_back("elevator doors in both wall lines");
    if (w.areas.empty())
        missing.push_back("floor areas");
    if (std::find(w.start.begin(), w.start.end(), std::uint16_t{0}) != w.start.end())
        missing.push_back("player starts facing north, east, south and west");
    if (missing.empty())
        return w;
    std::string list;
    for (std::size_t i = 0; i < missing.size(); ++i)
        list += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
    return Failure{"The rules of play of this structure give no " + list + ", so no level can be generated for it.",
                   kCaption, MessageIcon::Warning};
}

} // namespace tsl
