// What the view shows of play, worked out without a window: only when
// stale or chosen anew, on the skill level chosen (the hardest for "All"), and only by the
// game's own rules for the reachable area.

#include "RulesTestUtil.h"
#include "editor/play/PlayOverlay.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(PlayOverlay, WorksOutWhatIsShownOncePerChangeOnTheSkillChosen)
{
    auto rules = std::make_shared<const EngineRules>(ShippedRules("WL6"));
    // A sealed room with treasure and a guard of skill level 4, a lock
    // without its key, and a patrol of skill level 3.
    MapList map = DrawnMap({"##########", "#>..R.Q.V#", "######T4##", "##########"});
    map.SetWord(1, 4, 1, 148);
    PlayOverlay overlay;
    PlayChoice choice{.Rules = rules, .OfTheGame = true};
    EXPECT_TRUE(overlay.Refresh(map, choice));
    EXPECT_FALSE(overlay.Refresh(map, choice)) << "nothing changed";
    EXPECT_FALSE(overlay.Analysis());
    EXPECT_TRUE(overlay.Unreached().empty()) << "nothing shown";

    choice.Reachable = true;
    choice.Patrols = true;
    ASSERT_TRUE(overlay.Refresh(map, choice));
    ASSERT_TRUE(overlay.Analysis());
    EXPECT_EQ(choice.AnalysedSkill(), 4) << "All: where every actor is placed";
    const auto unreached = [&](int x, int y) { return overlay.Unreached().at(static_cast<std::size_t>(y * 10 + x)); };
    EXPECT_EQ(unreached(7, 1), 1);
    EXPECT_EQ(unreached(6, 1), 1) << "the shut door itself";
    EXPECT_EQ(unreached(0, 0), 0) << "walls are never tinted";
    EXPECT_EQ(unreached(3, 1), 0);
    EXPECT_EQ(overlay.Marks(), (std::vector<PlayMark>{{PlayMark::Kind::Unreachable, {6, 2}},
                                                      {PlayMark::Kind::Unreachable, {7, 2}},
                                                      {PlayMark::Kind::ShutDoor, {6, 1}}}));
    EXPECT_TRUE(overlay.Route().empty());
    EXPECT_EQ(overlay.Patrols().size(), 1u);

    choice.Skill = 2;
    EXPECT_TRUE(overlay.Stale(choice));
    ASSERT_TRUE(overlay.Refresh(map, choice));
    EXPECT_EQ(overlay.Marks().size(), 2u) << "no guard of skill level 4";
    EXPECT_TRUE(overlay.Patrols().empty()) << "no patrol of skill level 3";

    // Rules the symbols suggest draw patrols, but analyse nothing.
    choice.OfTheGame = false;
    ASSERT_TRUE(overlay.Refresh(map, choice));
    EXPECT_FALSE(choice.Analysable());
    EXPECT_TRUE(overlay.Unreached().empty());
    choice.Skill = kAllSkills;
    overlay.Refresh(map, choice);
    EXPECT_EQ(overlay.Patrols().size(), 1u);
}

TEST(PlayOverlay, TintsNothingThePlayerStandsBeside)
{
    auto rules = std::make_shared<const EngineRules>(ShippedRules("WL6"));
    const MapList map =
        DrawnMap({"##########", "#BB..P..##", "#B>.######", "####.#####", "#.B#######", "##########"});
    PlayOverlay overlay;
    ASSERT_TRUE(overlay.Refresh(map, {.Reachable = true, .Rules = rules, .OfTheGame = true}));
    const struct {
        int x, y;
        bool tinted;
        const char* what;
    } cases[] = {
        {2, 1, false, "a barrel beside the walk"},
        {1, 1, false, "a barrel in a corner behind two others, touched at its corner"},
        {7, 1, false, "where the push wall came to rest"},
        {4, 3, true, "a sealed floor that the walk touches only at a corner"},
        {1, 4, true, "the sealed room's floor"},
        {2, 4, true, "the sealed room's barrel"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overlay.Unreached().at(static_cast<std::size_t>(c.y * 10 + c.x)) != 0, c.tinted) << c.what;
}
