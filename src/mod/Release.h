#pragma once
// A mod's release: the zip that players download, holding exactly the game
// files of the mod's folder that differ from the original game's (under the
// names, letter case included, they have in the mod's folder), a text that
// says what the mod is (its levels with their names, totals and par times,
// the files it replaces with their SHA-256, how to install it) and the
// SHA-256 of every file in sha256sum's format.
//
// Before anything is written the mod's files are read back as the game
// reads them and every level it changed is analysed: maps that do not load
// or load with damage, a page file that does not load and a level that
// cannot be finished on some skill level are findings, which stop the
// release unless the modder accepts them. The zip is written through the
// safe writer and read back, every file checked against its checksum,
// before it is moved into place; a refused or failed release leaves no
// file, and nothing in the game's folders changes.

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/MapHandler.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tsl {

class EngineRules;
class LevelFlow;

inline constexpr const char* kReleaseCaption = "Make Release";
inline constexpr const char* kReleaseText = "README.TXT";
inline constexpr const char* kReleaseSums = "SHA256SUMS";

struct ReleaseFile {
    std::string name; // as spelled in the mod's folder
    Bytes content;
    std::string sha256;
    std::int64_t time = 0; // its modification time, seconds since 1970
    bool added = false;    // the original game has no file of that name
};

struct ReleasePlan {
    std::string name;                  // the mod's
    std::vector<ReleaseFile> files;    // the game files that differ, by name
    std::vector<std::string> findings; // what stops the release unless accepted
    std::string text;                  // README.TXT
    std::string sums;                  // SHA256SUMS
};

struct ReleaseRequest {
    std::filesystem::path modDir;
    std::filesystem::path originalDir;
    std::string name; // the mod's name, for the text
    // How the set stores its maps (its maps are not used: the files are read anew).
    const MapHandler* layout = nullptr;
    const EngineRules* rules = nullptr; // nothing: the levels cannot be analysed (a finding)
    const LevelFlow* flow = nullptr;    // the par times; nothing: none are given
};

// What the release would hold, and its findings; a failure when a folder
// cannot be read or no file differs.
Outcome<ReleasePlan> PlanRelease(const ReleaseRequest& request);

// Writes the zip `zip` of `plan`; the failure, with no file left, otherwise nothing.
std::optional<Failure> WriteRelease(const ReleasePlan& plan, const std::filesystem::path& zip);

// "The release holds 2 files; the findings:" and the like, for the user.
std::string FindingsText(const ReleasePlan& plan);
std::string ReleaseDoneText(const ReleasePlan& plan, const std::filesystem::path& zip);

} // namespace tsl
