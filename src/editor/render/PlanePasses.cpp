#include "editor/render/PlanePasses.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace tsl {

std::vector<PlanePass> MakePlanePasses(const MapList& map, const SymbolTables& tables,
                                       const std::vector<PlaneDisplay>& display, bool filter,
                                       const SkillFilter& skill)
{
    std::vector<PlanePass> passes;
    const std::size_t words = map.WordCount();
    const std::size_t count = std::min(map.Planes.size(), static_cast<std::size_t>(tables.NumPlanes()));

    std::unordered_set<std::string> hiddenTypes;
    if (filter)
        for (const MapSymbolTypes& type : tables.SymbolTypes())
            if (type.Shown == 0)
                hiddenTypes.insert(type.TypeID);

    for (std::size_t p = 0; p < count; ++p) {
        if (map.Planes[p].size() < words)
            continue;
        PlanePass pass;
        pass.plane = static_cast<int>(p);
        pass.words = map.Planes[p].data();
        pass.display = p < display.size() ? display[p] : PlaneDisplay{};
        const auto& first = tables.FirstSymbolByValue(pass.plane);
        pass.first = first.data();
        pass.firstSize = first.size();
        pass.sheet = &tables.PatternSheet(pass.plane);
        pass.mask = &tables.PatternMask(pass.plane);
        pass.skill = skill;
        if (!hiddenTypes.empty()) {
            const auto& symbols = tables.PlaneSymbols(pass.plane);
            pass.hidden.assign(first.size(), 0);
            for (std::size_t v = 1; v < first.size(); ++v)
                if (first[v] >= 0 && hiddenTypes.count(symbols[static_cast<std::size_t>(first[v])].SymbolType))
                    pass.hidden[v] = 1;
        }
        passes.push_back(std::move(pass));
    }
    return passes;
}

} // namespace tsl
