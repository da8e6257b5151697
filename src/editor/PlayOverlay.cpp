#include "editor/PlayOverlay.h"

#include <algorithm>

namespace tsl {

void PlayOverlay::SetSkill(int skill)
{
    skill = std::clamp(skill, kAllSkills, 4);
    if (skill != skill_)
        stale_ = true;
    skill_ = skill;
}

void PlayOverlay::ShowReachable(bool on)
{
    if (on != reachable_)
        stale_ = true;
    reachable_ = on;
}

void PlayOverlay::ShowPatrols(bool on)
{
    if (on != patrols_)
        stale_ = true;
    patrols_ = on;
}

void PlayOverlay::SetRules(std::shared_ptr<const EngineRules> rules, bool ofTheGame)
{
    rules_ = std::move(rules);
    ofTheGame_ = ofTheGame;
    stale_ = true;
}

const std::vector<MapTile>& PlayOverlay::Route() const
{
    static const std::vector<MapTile> kNone;
    return analysis_ ? analysis_->route : kNone;
}

bool PlayOverlay::Refresh(const MapList& map)
{
    if (!stale_)
        return false;
    stale_ = false;
    analysis_.reset();
    unreached_.clear();
    marks_.clear();
    routes_.clear();
    if (patrols_ && rules_)
        routes_ = TracePatrols(map, *rules_, skill_);
    if (!reachable_ || !Analysable())
        return true;
    analysis_ = AnalyseLevel(map, *rules_, AnalysedSkill());
    const LevelAnalysis& level = *analysis_;
    if (level.reached.size() == map.WordCount() && map.Planes.size() > 0 &&
        map.Planes[0].size() >= map.WordCount()) {
        unreached_.assign(map.WordCount(), 0);
        for (std::size_t at = 0; at < map.WordCount(); ++at)
            unreached_[at] = !level.reached[at] && rules_->Tile(map.Planes[0][at]).kind != WordKind::Wall;
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
