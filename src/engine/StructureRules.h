#pragma once
// The rules of play a map definition structure carries: section "Engine" of
// its settings file names the rules file in the structure folder (see
// EngineRules) and the map size the engine plays:
//
//     [Engine]
//     Rules=engine.txt
//     MapSize=64
//
// The shipped structures carry their game's rules, and a structure copied
// from one carries them too. One without them (made from scratch, another
// game) gets no analysis of play, rather than the rules of a game that may
// not be its own; it can take the rules of a shipped structure.

#include "core/Failure.h"
#include "core/IniFile.h"
#include "engine/EngineRules.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

class SymbolTables;

struct EngineSettings {
    std::string Rules; // the rules file in the structure folder; empty when not given
    int MapSize = 0;   // 0: any size
    bool Configured() const { return !Rules.empty(); }
    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

EngineSettings ReadEngineSettings(const IniFile& settings);
// Writes both keys; false when the file cannot be written.
bool WriteEngineSettings(IniFile& settings, const EngineSettings& engine);

enum class RulesStatus {
    Loaded,        // the game's rules, from the structure
    NotConfigured, // the structure names no rules file
    Failed,        // it names one that cannot be read or does not read
};

struct RulesLoad {
    RulesStatus Status = RulesStatus::NotConfigured;
    // Always set: the game's rules when Loaded, otherwise what the symbol
    // types suggest (EngineRules::FromSymbols), for drawing and the checks.
    std::shared_ptr<const EngineRules> Rules;
    Failure Problem; // why there is no analysis, for every other status
};

// The rules of the structure in `structureFolder` whose settings are `settings`.
RulesLoad LoadEngineRules(const std::filesystem::path& structureFolder, const IniFile& settings,
                          const SymbolTables& symbols);

inline constexpr const char* kNoRulesCaption = "Rules of play";
// The question asked when a structure without rules is to be analysed, and
// the note that stands in place of the analysis when the answer is no.
std::string NoRulesQuestion(std::string_view structureName);
std::string NoRulesNote(std::string_view structureName);
// What a structure says after it took the rules of another.
std::string RulesTakenText(std::string_view structureName, std::string_view sourceName);

// The structures in `root` whose settings name a rules file, in name order:
// the choices of whose rules to take.
std::vector<std::string> StructuresWithRules(const std::filesystem::path& root);

// Gives the structure in `targetFolder` (settings `targetSettings`) the
// rules of structure `sourceName` of `root`: its rules file is copied in
// (replacing one of the same name) and section Engine written, and its
// level flow (LevelFlow.h) with them when it has one. Nothing changes when
// the source has no readable rules.
std::optional<Failure> TakeRules(const std::filesystem::path& root, std::string_view sourceName,
                                 const std::filesystem::path& targetFolder, IniFile& targetSettings);

} // namespace tsl
