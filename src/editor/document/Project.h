#pragma once
// One open project: a game directory's map set, its map definition structure
// (the settings file kept open while the project is) and the symbol tables
// built from it, with the flag that says the maps differ from the files.
//
// OpenProject runs the whole open flow with its questions through a
// Prompter and hands back a new project only when every step succeeded, so a
// failed open always leaves the previous project as it was.

#include "core/Prompter.h"
#include "core/IniFile.h"
#include "core/MapHandler.h"
#include "core/Windows1252.h"
#include "editor/render/MapRenderer.h"
#include "engine/StructureRules.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tsl {

class Project {
public:
    // The set is made whole before the project: from then on only the
    // document (MapDocument) changes it.
    explicit Project(MapHandler maps = {}) : maps_(std::move(maps)) {}

    const MapHandler& Maps() const { return maps_; }
    std::filesystem::path StructureFolder;
    std::unique_ptr<IniFile> Settings; // the structure's <Extension>.ini
    SymbolTables Symbols;
    // The rules of play: the structure's own, or (when it has none, as its
    // status says) the model its symbols suggest, as the project opened.
    RulesLoad Rules;

    // ShowPlanes and SplitPlanes of every plane, as the settings say now.
    std::vector<PlaneDisplay> Display() const { return ReadPlaneDisplay(*Settings, maps_.NumPlanes); }
    // The plane's name as text to show (UTF-8).
    std::string PlaneName(int plane) const { return Windows1252ToUtf8(tsl::PlaneName(*Settings, plane)); }
    bool SplitPlane(int plane) const;
    StructureSettings Structure() const { return ReadStructureSettings(*Settings); }

private:
    friend class MapDocument;
    MapHandler maps_;
};

// Shows the map definition structure dialog for a game that has none;
// true when a structure was created, false when the dialog was cancelled.
using StructureDialog = std::function<bool(const std::string& extension, const std::string& headerExecutable)>;

struct OpenRequest {
    std::optional<std::filesystem::path> directory; // set: from the recent list, no directory dialog
    std::filesystem::path startDirectory;           // where the directory dialog starts
    std::filesystem::path mapDefsRoot;
    // Where every save of the opened set keeps the files it replaces
    // (the environment's backups folder and "TSL.ini" [Backups] Keep).
    BackupPolicy backups;
};

enum class OpenResult {
    Opened,    // the new project is in the outcome
    Cancelled, // the directory choice was cancelled: nothing changed, not an error
    Stopped,   // an error or a "No"/"Cancel" answer ended the flow
};

struct OpenOutcome {
    OpenResult result = OpenResult::Stopped;
    std::unique_ptr<Project> project;
};

inline constexpr const char* kChooseGameDirectoryPrompt = "Select the directory containing the data files.";

OpenOutcome OpenProject(const OpenRequest& request, Prompter& prompter, const StructureDialog& structureDialog);

// "Tesselar: " and the current map's name; "Tesselar" without a project.
std::string TitleFor(const Project* project);

} // namespace tsl
