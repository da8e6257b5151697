#include "editor/play/PlayOverlay.h"

namespace tsl {

const std::vector<MapTile>& PlayOverlay::Route() const
{
    static const std::vector<MapTile> kNone;
    return analysis_ ? analysis_->route : kNone;
}

const std::vector<MapTile>& PlayOverlay::SecretRoute() const
{
    static const std::vector<MapTile> kNone;
    return analysis_ ? analysis_->secretRoute : kNone;
}

// Open ground the player never reaches. A tile the walk cannot enter but
// stands beside (a barrel, a table, where a push wall came to rest) is in
// reach as the player sees it, a blocking static also from a corner (barrels
// stacked in a corner); a door beside the walk is not: it stays shut.
bool PlayOverlay::OutOfReach(const MapList& map, const LevelAnalysis& level, int x, int y) const
{
    if (level.Reached(x, y))
        return false;
    const WordKind kind = choice_.Rules->Tile(map.Word(0, x, y)).kind;
    if (kind == WordKind::Wall)
        return false;
    if (kind == WordKind::Door)
        return true;
    const WordMeaning& object = map.Planes.size() > 1 ? choice_.Rules->Object(map.Word(1, x, y)) : WordMeaning{};
    const bool blocks = object.kind == WordKind::Static && object.blocks;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if ((dx == 0 && dy == 0) || (dx != 0 && dy != 0 && !blocks))
                continue;
            if (nx >= 0 && ny >= 0 && nx < map.Width && ny < map.Height && level.Reached(nx, ny))
                return false;
        }
    return true;
}

bool PlayOverlay::Refresh(const MapList& map, const PlayChoice& choice)
{
    if (!Stale(choice))
        return false;
    stale_ = false;
    choice_ = choice;
    analysis_.reset();
    unreached_.clear();
    marks_.clear();
    routes_.clear();
    if (choice_.Patrols && choice_.Rules)
        routes_ = TracePatrols(map, *choice_.Rules, choice_.Skill);
    if (!choice_.Reachable || !choice_.Analysable())
        return true;
    analysis_ = AnalyseLevel(map, *choice_.Rules, choice_.AnalysedSkill());
    const LevelAnalysis& level = *analysis_;
    if (level.reached.size() == map.WordCount() && map.Planes.size() > 0 &&
        map.Planes[0].size() >= map.WordCount()) {
        unreached_.assign(map.WordCount(), 0);
        for (int y = 0; y < map.Height; ++y)
            for (int x = 0; x < map.Width; ++x)
                unreached_[static_cast<std::size_t>(y) * map.Width + static_cast<std::size_t>(x)] =
                    OutOfReach(map, level, x, y) ? 1 : 0;
    }
    for (const auto* list : {&level.unreachableTreasure, &level.unreachableKeys, &level.unreachableWeapons,
                             &level.unreachableEnemies})
        for (const MapTile& tile : *list)
            marks_.push_back({PlayMark::Kind::Unreachable, tile});
    for (const auto* list : {&level.doorsNeverOpen, &level.missingKeyDoors})
        for (const MapTile& tile : *list)
            marks_.push_back({PlayMark::Kind::ShutDoor, tile});
    return true;
}

std::vector<LevelAnalysis> AnalyseEverySkill(const MapList& map, const EngineRules& rules)
{
    std::vector<LevelAnalysis> levels;
    for (int skill = 1; skill <= 4; ++skill)
        levels.push_back(AnalyseLevel(map, rules, skill));
    return levels;
}

} // namespace tsl
