#include "editor/tools/SymbolPalette.h"

#include "symbols/SymbolTables.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

namespace tsl {

namespace {

// The groups in the palette's order. Enemies come in twelve: standing and
// patrolling, each from the lowest skill level that places them.
enum Group : int {
    Walls,
    Doors,
    Floors,
    Players,
    Enemies, // + 4 * patrol + (skill level - 1)
    Bosses = Enemies + 8,
    Treasure,
    Keys,
    Supplies,
    Decorations,
    Markers,
    Other,
};

// Short: the side panel is narrow.
std::string EnemyGroupName(bool patrol, int skill)
{
    std::string name = patrol ? "Patrolling enemies, " : "Standing enemies, ";
    if (skill <= 1)
        return name + "all skills";
    if (skill >= 4)
        return name + "skill 4";
    return name + "skill " + std::to_string(skill) + " to 4";
}

std::string GroupName(int group)
{
    if (group >= Enemies && group < Bosses)
        return EnemyGroupName((group - Enemies) >= 4, (group - Enemies) % 4 + 1);
    switch (group) {
    case Walls: return "Walls";
    case Doors: return "Doors";
    case Floors: return "Floors";
    case Players: return "Players";
    case Bosses: return "Bosses";
    case Treasure: return "Treasure";
    case Keys: return "Keys";
    case Supplies: return "Weapons, health and ammunition";
    case Decorations: return "Decorations";
    case Markers: return "Markers";
    default: return "Other";
    }
}

int EnemyGroup(bool patrol, int skill)
{
    return Enemies + (patrol ? 4 : 0) + std::clamp(skill, 1, 4) - 1;
}

// What the rules say; -1 when they say nothing about the word.
int GroupByRules(const WordMeaning& meaning)
{
    switch (meaning.kind) {
    case WordKind::Wall: return Walls;
    case WordKind::Door: return Doors;
    case WordKind::Floor: return meaning.ambush || meaning.secret ? Markers : Floors;
    case WordKind::PlayerStart: return Players;
    case WordKind::Actor: return EnemyGroup(meaning.patrol, meaning.skill);
    case WordKind::Boss: return Bosses;
    case WordKind::Static:
        switch (meaning.bonus) {
        case Bonus::Treasure:
        case Bonus::Spear: return Treasure;
        case Bonus::Key: return Keys;
        case Bonus::Weapon:
        case Bonus::Health:
        case Bonus::Ammo: return Supplies;
        case Bonus::None: return Decorations;
        }
        return Decorations;
    case WordKind::Corpse: return Decorations;
    case WordKind::PushWall:
    case WordKind::TurningPoint:
    case WordKind::Victory: return Markers;
    case WordKind::Nothing: break;
    }
    return -1;
}

// What the symbol type suggests (the shipped types; mapsymboltypes.txt).
int GroupByType(std::string_view type)
{
    static const std::map<std::string_view, int> kTypes = {
        {"w", Walls},         {"d", Doors},       {"ld", Doors},     {"f", Floors},         {"sp", Players},
        {"b", Bosses},        {"oa", Enemies},    {"k", Keys},       {"so", Decorations},   {"to", Decorations},
        {"tt", Markers},      {"tp", Markers},    {"sd", Markers},
    };
    if (type.size() == 3 && (type.starts_with("sg") || type.starts_with("mg")) && type[2] >= '1' && type[2] <= '4')
        return EnemyGroup(type[0] == 'm', type[2] - '0');
    const auto found = kTypes.find(type);
    return found == kTypes.end() ? Other : found->second;
}

} // namespace

std::vector<PaletteGroup> MakePalette(const SymbolTables& tables, const EngineRules& rules)
{
    std::array<std::vector<PaletteEntry>, Other + 1> groups;
    for (int plane = 0; plane < tables.NumPlanes(); ++plane) {
        const auto& symbols = tables.PlaneSymbols(plane);
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            const MapSymbols& symbol = symbols[i];
            int group = Other;
            if (symbol.Value > 0 && symbol.Value <= 0xFFFF) {
                group = GroupByRules(rules.Meaning(plane, static_cast<std::uint16_t>(symbol.Value)));
                if (group < 0)
                    group = GroupByType(symbol.SymbolType);
            }
            groups[static_cast<std::size_t>(group)].push_back({plane, static_cast<int>(i)});
        }
    }
    std::vector<PaletteGroup> palette;
    for (int group = 0; group <= Other; ++group)
        if (!groups[static_cast<std::size_t>(group)].empty())
            palette.push_back({GroupName(group), std::move(groups[static_cast<std::size_t>(group)])});
    return palette;
}

} // namespace tsl
