#include "exchange/ImportMaps.h"

#include <algorithm>

namespace tsl {

int InsertExchangeMap(MapHandler& set, ExchangeMap map)
{
    MapList record = set.CreateMap(map.Width, map.Height, MapNameText(map.Name));
    // CreateMap gave NumPlanes zero planes of the right size; take over the
    // read ones where they match, so that every record keeps NumPlanes planes.
    const std::size_t planes = std::min(record.Planes.size(), map.Planes.size());
    for (std::size_t p = 0; p < planes; ++p)
        if (map.Planes[p].size() == record.WordCount())
            record.Planes[p] = std::move(map.Planes[p]);

    const bool last = set.CurrentMap == set.NumMaps() - 1;
    const int position = last ? set.CurrentMap + 1 : std::clamp(set.CurrentMap, 0, set.NumMaps());
    record.Index = position;
    MapType header = MapHandler::HeaderFor(record);
    set.InsertMap(std::move(record), position);
    set.InsertHeader(std::move(header), position);
    set.RenumberMaps(position + 1, +1);
    set.CurrentMap = position;
    return position;
}

} // namespace tsl
