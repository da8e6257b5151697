#include "editor/play/FinishWatch.h"

#include "editor/play/MapInformation.h"

#include <algorithm>

namespace tsl {

std::optional<std::string> FinishWatch::Update(const MapList& map, const EngineRules& rules, bool edited)
{
    bool finishable = true;
    for (int skill = 1; skill <= 4 && finishable; ++skill)
        finishable = AnalyseLevel(map, rules, skill).Finishable();
    const std::optional<bool> before = finishable_;
    finishable_ = finishable;
    if (!edited || !before || *before == finishable)
        return std::nullopt;
    return FinishChangeText(map, rules, finishable);
}

std::string FinishChangeText(const MapList& map, const EngineRules& rules, bool finishable)
{
    if (finishable)
        return "The level can be finished again.";
    // The findings of play that keep a way shut, the first of them named
    // after the skill levels that have no way out.
    const std::vector<MapFinding> findings = CheckMap(map, SymbolTables(), rules, {}, {});
    const auto find = [&](auto pick) { return std::find_if(findings.begin(), findings.end(), pick); };
    std::string text = "The level can no longer be finished";
    if (const auto noExit = find([](const MapFinding& f) { return f.Kind == FindingKind::NoExit; });
        noExit != findings.end())
        text += ": " + FindingText(*noExit);
    else
        text += ".";
    const auto cause = find([](const MapFinding& f) {
        return f.Kind == FindingKind::MissingKey || f.Kind == FindingKind::DoorNeverOpens ||
               f.Kind == FindingKind::PlayerStarts || f.Kind == FindingKind::ElevatorSide;
    });
    if (cause != findings.end())
        text += " " + FindingText(*cause);
    return text;
}

} // namespace tsl
