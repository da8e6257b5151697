#include "raycast/PagePictures.h"

namespace tsl {

void PagePictures::Set(int page, std::vector<std::uint32_t> pixels)
{
    if (page < 0 || pixels.size() != kPagePixels)
        return;
    const auto index = static_cast<std::size_t>(page);
    if (index >= pages_.size())
        pages_.resize(index + 1);
    Page& entry = pages_[index];
    for (std::size_t column = 0; column < kPageSide; ++column) {
        std::size_t first = kPageSide;
        std::size_t last = 0;
        for (std::size_t row = 0; row < kPageSide; ++row) {
            if ((pixels[column * kPageSide + row] & 0xFF000000u) == 0)
                continue;
            if (first == kPageSide)
                first = row;
            last = row;
        }
        // An empty column keeps first past last.
        entry.first[column] = static_cast<std::uint8_t>(first == kPageSide ? 1 : first);
        entry.last[column] = static_cast<std::uint8_t>(first == kPageSide ? 0 : last);
    }
    entry.pixels = std::move(pixels);
}

} // namespace tsl
