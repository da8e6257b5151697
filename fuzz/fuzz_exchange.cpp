// The exchange map file readers on arbitrary bytes. The first byte chooses the
// set the maps are read into (plane count and name length); the rest is the
// file. Whatever is read must also write back and read again unchanged.

#include "exchange/ExchangeFormats.h"
#include "exchange/ImportMaps.h"

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <span>
#include <vector>

namespace {

bool SameMap(const tsl::MapList& a, const tsl::ExchangeMap& b)
{
    return a.Width == b.Width && a.Height == b.Height && tsl::MapNameText(a.Name) == tsl::MapNameText(b.Name) &&
           a.Planes == b.Planes;
}

// Writes `maps` of the set in `format` and checks that they read back as they are.
void CheckRoundTrip(tsl::ExchangeFormat format, const std::vector<int>& maps, const tsl::MapHandler& set)
{
    const auto bytes = tsl::BuildExchangeFile(format, maps, set);
    if (!bytes)
        return; // a request no file can hold, refused with a message
    const auto again = tsl::ReadExchangeFile(*bytes, set.NumPlanes, set.NameLength);
    if (!again || again->Header.Format != format || again->Maps.size() != maps.size())
        std::abort();
    for (std::size_t i = 0; i < maps.size(); ++i)
        if (!SameMap(set.Maps[static_cast<std::size_t>(maps[i])], again->Maps[i]))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int planes = 1 + data[0] % 5;
    const int nameLength = (data[0] & 0x80) != 0 ? 32 : 16;
    const auto contents = tsl::ReadExchangeFile(std::span(data + 1, size - 1), planes, nameLength);
    if (!contents)
        return 0;

    tsl::MapHandler set;
    set.NumPlanes = planes;
    set.NameLength = nameLength;
    tsl::InsertExchangeMaps(set, contents->Maps);
    if (set.NumMaps() == 0)
        return 0;
    std::vector<int> all(static_cast<std::size_t>(set.NumMaps()));
    std::iota(all.begin(), all.end(), 0);

    const tsl::ExchangeFormat format = contents->Header.Format;
    if (format == tsl::ExchangeFormat::TSL || format == tsl::ExchangeFormat::WDC ||
        format == tsl::ExchangeFormat::FloEdit) {
        CheckRoundTrip(format, all, set);
    } else if (format == tsl::ExchangeFormat::MapEdit) {
        CheckRoundTrip(format, {0}, set);
    } else {
        // ChaosEdit writes 64 x 64 and at most three planes: exact only then.
        for (int i = 0; i < set.NumMaps(); ++i) {
            const tsl::MapList& map = set.Maps[static_cast<std::size_t>(i)];
            if (map.Width == 64 && map.Height == 64 && planes <= 3)
                CheckRoundTrip(format, {i}, set);
            else
                (void)tsl::BuildExchangeFile(format, std::vector<int>{i}, set);
        }
    }
    return 0;
}
