#pragma once
// Projects made in memory for the editing tests: a map set of the given map
// sizes, a structure settings file in a scratch folder, and small symbol
// tables (values 0 to 9 in every plane), so whole editing sessions run
// without a window or a game directory.

#include "TestUtil.h"
#include "editor/EditorSession.h"

#include <memory>
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

// The names of the set's maps, in order.
std::vector<std::string> MapNames(const MapHandler& maps);

} // namespace tsl::test
