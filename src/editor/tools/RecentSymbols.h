#pragma once
// The values last drawn with, per plane, newest first: the row of recent
// symbols above the symbol list, so that the few symbols of a room in
// progress are one click away however long the list is.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tsl {

class RecentSymbols {
public:
    static constexpr std::size_t kCount = 8;

    // `planes` empty rows.
    void Reset(int planes);
    // `value` moves to the front of the plane's row; the ninth drops out.
    void Use(int plane, std::uint16_t value);
    // Newest first; empty for a plane out of range.
    const std::vector<std::uint16_t>& Values(int plane) const;

private:
    std::vector<std::vector<std::uint16_t>> values_;
};

} // namespace tsl
