#pragma once
// A level to start from: the three planes of one map, made from a seed and a
// few options by the rules of play of the structure (EngineRules): rooms of
// varied sizes joined by corridors and doors in their frames, walls of one
// family with a few decorated ones away from the doors, a floor area per
// room, one player start facing into its room, an elevator whose switch is
// reached from the east or west, locked sections with their keys before the
// door, push-wall secrets with treasure or supplies (one of them may hold a
// secret elevator), enemies per skill level standing, in ambush or
// patrolling between turning points, and items, lights and decorations that
// never seal a passage.
//
// A candidate is handed out only when the level analysis finds it can be
// finished on every skill level, with every locked door opened, every push
// wall pushed, everything worth having reached and within the engine's
// limits, and when the caller's check (the map check, which lives above
// this layer) passes too; otherwise the next seed derived from the same seed
// is tried. The same seed and options give the same words on every machine.

#include "core/Failure.h"
#include "core/MapHandler.h"
#include "engine/EngineRules.h"
#include "engine/LevelAnalysis.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsl {

enum class EnemyAmount { None, Few, Normal, Many };
// "none", "few", "normal", "many".
std::string_view EnemyAmountName(EnemyAmount amount);
std::optional<EnemyAmount> EnemyAmountNamed(std::string_view name);

inline constexpr int kGeneratorMinSide = 16;
inline constexpr int kGeneratorMaxSide = 128;
inline constexpr int kGeneratorMinRooms = 3;
inline constexpr int kGeneratorMaxRooms = 60;
inline constexpr int kGeneratorMaxKeys = 2;
inline constexpr int kGeneratorMaxSecrets = 5;
inline constexpr int kGeneratorTries = 60;

struct GeneratorOptions {
    int width = 64;
    int height = 64;
    int rooms = 0; // 0: as many as suit the size
    EnemyAmount enemies = EnemyAmount::Normal;
    int keys = 0;       // locked sections, 0 to kGeneratorMaxKeys
    int secrets = 2;    // push walls, 0 to kGeneratorMaxSecrets; from two on, one leads to a secret elevator
    std::string theme{}; // a wall family of the rules; empty: one chosen by the seed
    std::uint32_t seed = 0;
    friend bool operator==(const GeneratorOptions&, const GeneratorOptions&) = default;
};

// What the engine holds per map (0: no limit), as the structure's [Limits].
struct GeneratorLimits {
    int maxDoors = 64;
    int maxStatics = 399;
    int maxActors = 149;
};

// How a candidate is judged beyond the analysis, and the seam of the tests.
struct GeneratorChecks {
    // Planes of the map written (3 for the games' sets); the others stay 0.
    int planes = 3;
    // Called on every candidate before it is judged, with its try (from 1).
    std::function<void(MapList& candidate, int attempt)> alter;
    // The caller's own check (the map check): false turns the candidate down.
    std::function<bool(const MapList& candidate)> accept;
    int maxTries = kGeneratorTries;
};

struct GeneratedLevel {
    MapList map;         // Width, Height and Planes; no name
    std::uint32_t seed = 0;
    int tries = 0;       // the candidates made, this one included
    std::string theme;
    int rooms = 0;
    std::array<LevelAnalysis, 4> skills; // the analysis on skill 1 to 4
};

// The options' first fault, as a message; none when they can be generated.
std::optional<Failure> CheckGeneratorOptions(const EngineRules& rules, const GeneratorOptions& options,
                                             const GeneratorLimits& limits = {});

// The level of `options` by `rules`; a failure for options that do not fit,
// rules that give nothing to build with, or when no candidate passed in
// checks.maxTries tries.
Outcome<GeneratedLevel> GenerateLevel(const EngineRules& rules, const GeneratorOptions& options,
                                      const GeneratorLimits& limits = {}, const GeneratorChecks& checks = {});

// The rooms a map of this size gets when the options leave it open: as many
// as its floor suits and the engine's doors (`maxDoors`, 0: no limit) allow
// with corridors between them.
int DefaultRooms(int width, int height, int maxDoors = 0);

} // namespace tsl
