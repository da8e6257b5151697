#pragma once
// What the window's views show, kept in one place without a window: the
// skill level whose actors they show, the picture mode (the game's own
// pictures when the game has them and they are wanted, else symbols), the
// grid, the overlays of play (the reachable area, the patrol routes) and the
// rules of play they draw and analyse by.
//
// The map view, the 3D preview, the analysis and the page browser follow its
// notices; none of them calls into another. Whoever changes what is shown
// (the skill chooser, the preview's menu, the actions, "Map View Options",
// the page browser) writes it here, and the actions only show it. A notice
// is sent only when something changed.

#include "core/Notifier.h"
#include "editor/play/PlayOverlay.h"
#include "editor/render/GameGraphics.h"
#include "engine/EngineRules.h"

#include <memory>
#include <optional>
#include <string>

namespace tsl {

struct ViewChange {
    enum class Kind {
        Skill,       // Skill() changed
        Pictures,    // the game's pictures of another project (or none): Graphics() and its problem
        PictureMode, // GameGraphicsWanted() turned
        Pages,       // the page file changed: chunk `Chunk` replaced, or (nothing) every picture may differ
        Grid,        // Grid() turned
        Overlays,    // ReachableShown() or PatrolsShown() turned
        Rules,       // the rules of play were taken anew
    };
    Kind What = Kind::Skill;
    std::optional<int> Chunk;
};

using ViewNotifier = Notifier<ViewChange>;
using ViewToken = ViewNotifier::Token;

class ViewState {
public:
    // --- the skill level: kAllSkills or 1 to 4 ---
    int Skill() const { return play_.Skill; }
    void SetSkill(int skill);

    // --- the picture mode ---
    // The game's pictures, read once when the project opened; nothing for a
    // game without them, with why in GraphicsProblem().
    const std::shared_ptr<const GameGraphics>& Graphics() const { return graphics_; }
    const std::string& GraphicsProblem() const { return problem_; }
    void SetGraphics(std::shared_ptr<const GameGraphics> graphics, std::string problem);
    // The page file was edited: `chunk` replaced, or (nothing) chunks added or removed.
    void ReplacePages(std::shared_ptr<const GameGraphics> graphics, std::optional<int> chunk);
    bool GameGraphicsWanted() const { return wanted_; }
    void WantGameGraphics(bool on);
    bool GameGraphicsShown() const { return graphics_ && wanted_; }

    // --- the grid and the overlays of play ---
    bool Grid() const { return grid_; }
    void SetGrid(bool on);
    bool ReachableShown() const { return play_.Reachable; }
    void ShowReachable(bool on);
    bool PatrolsShown() const { return play_.Patrols; }
    void ShowPatrols(bool on);

    // --- the rules of play: the game's own (`ofTheGame`) or what the symbols suggest ---
    const EngineRules* Rules() const { return play_.Rules.get(); }
    void SetRules(std::shared_ptr<const EngineRules> rules, bool ofTheGame);
    // The reachable area needs the game's own rules.
    bool Analysable() const { return play_.Analysable(); }

    // What the overlays of play are worked out for.
    const PlayChoice& Play() const { return play_; }

    [[nodiscard]] ViewToken Listen(std::function<void(const ViewChange&)> listener)
    {
        return notifier_.Listen(std::move(listener));
    }

private:
    void Tell(ViewChange::Kind kind, std::optional<int> chunk = std::nullopt) const;

    PlayChoice play_;
    std::shared_ptr<const GameGraphics> graphics_;
    std::string problem_;
    bool wanted_ = true;
    bool grid_ = false;
    ViewNotifier notifier_;
};

} // namespace tsl
