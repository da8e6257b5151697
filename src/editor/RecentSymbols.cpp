#include "editor/RecentSymbols.h"

#include <algorithm>

namespace tsl {

void RecentSymbols::Reset(int planes)
{
    values_.assign(static_cast<std::size_t>(std::max(planes, 0)), {});
}

void RecentSymbols::Use(int plane, std::uint16_t value)
{
    if (plane < 0 || plane >= static_cast<int>(values_.size()))
        return;
    auto& row = values_[static_cast<std::size_t>(plane)];
    const auto found = std::find(row.begin(), row.end(), value);
    if (found != row.end())
        row.erase(found);
    row.insert(row.begin(), value);
    if (row.size() > kCount)
        row.resize(kCount);
}

const std::vector<std::uint16_t>& RecentSymbols::Values(int plane) const
{
    static const std::vector<std::uint16_t> kNone;
    if (plane < 0 || plane >= static_cast<int>(values_.size()))
        return kNone;
    return values_[static_cast<std::size_t>(plane)];
}

} // namespace tsl
