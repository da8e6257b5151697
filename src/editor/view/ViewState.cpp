#include "editor/view/ViewState.h"

#include <algorithm>

namespace tsl {

void ViewState::Tell(ViewChange::Kind kind, std::optional<int> chunk) const
{
    notifier_.Notify({kind, chunk});
}

void ViewState::SetSkill(int skill)
{
    skill = std::clamp(skill, kAllSkills, 4);
    if (skill == play_.Skill)
        return;
    play_.Skill = skill;
    Tell(ViewChange::Kind::Skill);
}

void ViewState::SetGraphics(std::shared_ptr<const GameGraphics> graphics, std::string problem)
{
    graphics_ = std::move(graphics);
    problem_ = std::move(problem);
    Tell(ViewChange::Kind::Pictures);
}

void ViewState::ReplacePages(std::shared_ptr<const GameGraphics> graphics, std::optional<int> chunk)
{
    graphics_ = std::move(graphics);
    Tell(ViewChange::Kind::Pages, chunk);
}

void ViewState::WantGameGraphics(bool on)
{
    if (on == wanted_)
        return;
    wanted_ = on;
    Tell(ViewChange::Kind::PictureMode);
}

void ViewState::SetGrid(bool on)
{
    if (on == grid_)
        return;
    grid_ = on;
    Tell(ViewChange::Kind::Grid);
}

void ViewState::ShowReachable(bool on)
{
    if (on == play_.Reachable)
        return;
    play_.Reachable = on;
    Tell(ViewChange::Kind::Overlays);
}

void ViewState::ShowPatrols(bool on)
{
    if (on == play_.Patrols)
        return;
    play_.Patrols = on;
    Tell(ViewChange::Kind::Overlays);
}

void ViewState::SetRules(std::shared_ptr<const EngineRules> rules, bool ofTheGame)
{
    play_.Rules = std::move(rules);
    play_.OfTheGame = ofTheGame;
    Tell(ViewChange::Kind::Rules);
}

} // namespace tsl
