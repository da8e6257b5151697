#pragma once
// Projects made in memory for the editing tests: a map set of the given map
// sizes, a structure settings file in a scratch folder, and small symbol
// tables (values 0 to 9 in every plane), so whole editing sessions run
// without a window or a game directory.

#include "TestUtil.h"
#include "editor/session/EditorSession.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tsl::test {

struct MemoryProjectOptions {
    std::vector<std::pair<int, int>> sizes = {{16, 16}}; // one map per entry
    int planes = 3;
    std::vector<int> splitPlanes;  // planes with SplitPlanes=1
    bool wdc = false;
};

// Maps are named "A", "B", ...; every word is 0.
std::unique_ptr<Project> MemoryProject(const fs::path& folder, const MemoryProjectOptions& options = {});
std::unique_ptr<EditorSession> MemorySession(const fs::path& folder, const MemoryProjectOptions& options = {});

// Words laid into the set before a test acts, as if its files held them:
// through one transaction like every change, then saved, with no step to undo.
void LayWords(MapDocument& document, const std::function<void(MapHandler&)>& lay);

// The game in `game` opened as the editor opens it, with the structures in
// `root`; its saves keep generations as `backups` says (none by default).
std::unique_ptr<Project> OpenGame(const fs::path& game, const fs::path& root, const BackupPolicy& backups = {});

// A copy of the sample game and of the shipped WL6 structure, opened as the
// editor opens it; with `generations`, its saves keep 20 generations in
// dir / "Backups".
struct OpenedSampleGame {
    TempDir dir;
    fs::path game = dir / "game";
    fs::path root = dir / "MapDefs";
    std::unique_ptr<Project> project;

    explicit OpenedSampleGame(bool generations = false);
};

// The names of the set's maps, in order.
std::vector<std::string> MapNames(const MapHandler& maps);

// A width x height map with the given planes (row-major words each).
MapList GridMap(int width, int height, std::vector<std::vector<std::uint16_t>> planes);

// One symbol of a plane's table: value, type and (optionally) name.
struct SymbolEntry {
    int value = 0;
    std::string type = "ot";
    std::string name = "Symbol";
};
// Tables of one list of symbols per plane, in that order, with the given
// type ids (every type shown).
SymbolTables TablesOf(const std::vector<std::vector<SymbolEntry>>& planes,
                      const std::vector<std::string>& typeIds = {"ot"});

} // namespace tsl::test
