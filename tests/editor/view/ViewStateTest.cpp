// What the views show: one notice per change of it, none for a value that
// stays, and the skill level kept within "All" and 4.

#include "editor/view/ViewState.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tsl;

TEST(ViewState, TellsEachChangeOnceAndNothingForAValueThatStays)
{
    using Kind = ViewChange::Kind;
    ViewState view;
    std::vector<Kind> heard;
    ViewToken token = view.Listen([&](const ViewChange& change) { heard.push_back(change.What); });
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<Kind> told;
    } steps[] = {
        {"a skill level", [&] { view.SetSkill(3); }, {Kind::Skill}},
        {"the same again", [&] { view.SetSkill(3); }, {}},
        {"past the hardest", [&] { view.SetSkill(9); }, {Kind::Skill}},
        {"the hardest again", [&] { view.SetSkill(4); }, {}},
        {"the grid", [&] { view.SetGrid(true); }, {Kind::Grid}},
        {"symbols wanted", [&] { view.WantGameGraphics(false); }, {Kind::PictureMode}},
        {"the overlays", [&] { view.ShowReachable(true); view.ShowPatrols(true); view.ShowPatrols(true); },
         {Kind::Overlays, Kind::Overlays}},
        {"rules", [&] { view.SetRules(std::make_shared<const EngineRules>(), true); }, {Kind::Rules}},
        {"pictures", [&] { view.SetGraphics(nullptr, "no page file"); }, {Kind::Pictures}},
    };
    for (const auto& step : steps) {
        heard.clear();
        step.change();
        EXPECT_EQ(heard, step.told) << step.what;
    }
    EXPECT_EQ(view.Skill(), 4);
    EXPECT_FALSE(view.GameGraphicsShown()) << "no pictures, and symbols wanted";
    EXPECT_EQ(view.GraphicsProblem(), "no page file");
    EXPECT_TRUE(view.Analysable());
    EXPECT_EQ(view.Play(), (PlayChoice{4, true, true, view.Play().Rules, true}));
}
