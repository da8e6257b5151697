#include "editor/tools/RecentSymbols.h"

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
    auto found = std::find(row.begin(), row.end(), value);
    if (found == row.end()) {
        // A new value takes a free place at the end, or the oldest one's.
        if (row.size() < kCount)
            row.push_back(value);
        found = row.end() - 1;
        *found = value;
    }
    std::rotate(row.begin(), found, found + 1);
}

const std::vector<std::uint16_t>& RecentSymbols::Values(int plane) const
{
    static const std::vector<std::uint16_t> kNone;
    if (plane < 0 || plane >= static_cast<int>(values_.size()))
        return kNone;
    return values_[static_cast<std::size_t>(plane)];
}

} // namespace tsl
