#include "RulesTestUtil.h"

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace tsl::test {

EngineRules ShippedRules(const std::string& structure)
{
    const fs::path path = SourceDir() / "data" / "MapDefs" / structure / "engine.txt";
    auto rules = EngineRules::Parse(FileText(path), path.string());
    if (!rules)
        throw std::runtime_error(rules.failure().text);
    return std::move(*rules);
}

MapList DrawnMap(const std::vector<std::string>& rows)
{
    const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    const int height = static_cast<int>(rows.size());
    MapList map;
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
    map.Planes.assign(3, std::vector<std::uint16_t>(map.WordCount(), 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint16_t tile = 108, object = 0;
            switch (rows[static_cast<std::size_t>(y)].at(static_cast<std::size_t>(x))) {
            case '#': tile = 1; break;
            case 'E': tile = 21; break;
            case 's': tile = 107; break;
            case '|': tile = 90; break;
            case '-': tile = 91; break;
            case 'G': tile = 92; break;
            case 'Q': tile = 96; break;
            case 'P': tile = 1; object = 98; break;
            case '>': object = 20; break;
            case 'V': object = 99; break;
            case 'T': object = 52; break;
            case 'g': object = 43; break;
            case 'B': object = 24; break;
            case 'X': object = 124; break;
            case 'w': object = 50; break;
            case 'c': object = 49; break;
            case 'f': object = 47; break;
            case '1': object = 108; break;
            case '3': object = 144; break;
            case '4': object = 180; break;
            case 'a': tile = 106; object = 108; break;
            case 'H': object = 214; break;
            case 'O': object = 215; break;
            case 'R': object = 112; break;
            case 'L': object = 114; break;
            case 'D': object = 138; break;
            case 'F': object = 90; break;
            case 'N': object = 92; break;
            case 'W': object = 94; break;
            case 'S': object = 96; break;
            case 'M': object = 93; break;
            case '.': break;
            default: ADD_FAILURE() << "no such tile: " << rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            }
            map.SetWord(0, x, y, tile);
            map.SetWord(1, x, y, object);
        }
    return map;
}

MapHandler DrawnSet(const std::filesystem::path& dir, const std::vector<std::vector<std::string>>& maps,
                    const std::string& extension)
{
    MapHandler set = EmptySet(dir, DataFileVersion::GameMaps, 3, extension);
    for (const auto& rows : maps) {
        const MapList drawn = DrawnMap(rows);
        MapList& map = AddBlankMap(set, drawn.Width, drawn.Height, "Floor " + std::to_string(set.NumMaps() + 1));
        map.Planes = drawn.Planes;
    }
    return set;
}

} // namespace tsl::test
