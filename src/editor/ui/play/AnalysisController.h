#pragma once
// The analysis of play in the main window: the skill level chooser on the
// tool bar ("All", 1 to 4), "Show Reachable Area", "Show Patrol Routes",
// "Level Statistics" and the map check of "Map Information".
//
// What is shown (the skill level, the overlays, the rules) is the view
// state's, never a widget's: the chooser and the actions only show it, and
// the map view and the 3D preview follow it on their own. This controller
// works out the overlays (a PlayOverlay) for the current map: a change of
// its words, another map or list, another choice in the view state marks it
// stale, and it is worked out again once per turn of the event loop (a
// stroke's tiles come in one turn after another, but a turn that brought
// many notices costs one analysis), then handed to the view to draw.
// What it has to say in the status bar, and the tiles a count or a finding
// shows, it signals for the window to pass on.
//
// A structure without rules of play gets no analysis: asked for one, the
// user is told so and offered the rules of a shipped structure, through the
// Prompter. With the game's rules, the status bar says once when an edit
// takes the level's way out away or gives it back (FinishWatch).

#include "core/Prompter.h"
#include "editor/document/MapDocument.h"
#include "editor/play/FinishWatch.h"
#include "editor/play/PlayOverlay.h"
#include "editor/view/ViewState.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QToolBar;
class QWidget;

namespace tsl {

class EditorSession;
class MapPaintArea;
class TLevelStatisticsBox;
class TMapInformationBox;
struct PlayPicture;

// The question which game's rules a structure without them takes, when
// structures of both games have them: `wolf` and `spear` name one of each.
std::string WhichRulesQuestion(std::string_view wolf, std::string_view spear);

class AnalysisController : public QObject {
    Q_OBJECT
public:
    // The dialogs are `window`'s; the skill chooser goes on `toolBar`; the
    // rules of a shipped structure come from `mapDefsRoot`; `state` (which
    // must outlive the controller) says what is shown; the overlays are
    // drawn in `area`.
    AnalysisController(QWidget* window, Prompter& prompter, std::filesystem::path mapDefsRoot, ViewState& state,
                       MapPaintArea* area, QToolBar* toolBar);
    ~AnalysisController() override;

    // A new session, or none; the overlay is worked out anew for it.
    void Attach(EditorSession* session);

    const PlayOverlay& Overlay() const { return overlay_; }
    QComboBox* SkillChooser() const { return chooser_; }

    // --- the commands, into the view state ---
    // kAllSkills or 1 to 4.
    void SetSkill(int skill);
    // On only by the game's rules: a structure without them is asked to
    // take some first (it stays off when it does not).
    void ShowReachable(bool on);
    void ShowPatrols(bool on);
    // "Level Statistics" and "Map Information": a count or a finding clicked shows its tiles.
    void ShowStatistics();
    void ShowMapInformation();

    // Works out a stale overlay now and hands it to the view, as the next
    // turn of the event loop would.
    void Refresh();

signals:
    // A note for the status bar (why there is no analysis, whose rules were taken).
    void statusNote(const QString& text);
    // A count or a finding was clicked: its tiles, to show in the view.
    void tilesChosen(const std::vector<QPoint>& tiles);

private:
    void Follow(const DocumentChange& change);
    void Follow(const ViewChange& change);
    void Schedule();
    // The game's rules, or the user's word to take a shipped structure's;
    // false when there are none to analyse by.
    bool EnsureRules();
    PlayPicture Picture() const;

    QWidget* window_;
    Prompter& prompter_;
    std::filesystem::path mapDefsRoot_;
    ViewState& state_;
    MapPaintArea* area_;
    EditorSession* session_ = nullptr;
    DocumentToken following_;
    ViewToken viewing_;
    PlayOverlay overlay_;
    FinishWatch finish_;
    bool edited_ = false; // the current map's words changed since the last refresh
    QTimer refresh_; // one turn of the event loop: the changes it brought, analysed once
    QComboBox* chooser_;
    TLevelStatisticsBox* statisticsBox_;
    TMapInformationBox* informationBox_;
};

} // namespace tsl
