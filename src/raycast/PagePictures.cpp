#include "raycast/PagePictures.h"

#include <unordered_set>

namespace tsl {

void PagePictures::Put(int page, std::shared_ptr<const Page> entry)
{
    if (page < 0)
        return;
    const auto index = static_cast<std::size_t>(page);
    if (index >= pages_.size())
        pages_.resize(index + 1);
    pages_[index] = std::move(entry);
}

void PagePictures::Share(int page, int same)
{
    if (same >= 0 && static_cast<std::size_t>(same) < pages_.size())
        Put(page, pages_[static_cast<std::size_t>(same)]);
}

std::size_t PagePictures::DecodedBytes() const
{
    std::unordered_set<const Page*> seen;
    std::size_t bytes = pages_.size() * sizeof(pages_[0]);
    for (const auto& page : pages_)
        if (page && seen.insert(page.get()).second)
            bytes += sizeof(Page) + page->pixels.size() * sizeof(std::uint32_t);
    return bytes;
}

void PagePictures::Set(int page, std::vector<std::uint32_t> pixels)
{
    if (page < 0 || pixels.size() != kPagePixels)
        return;
    auto entry = std::make_shared<Page>();
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
        entry->first[column] = static_cast<std::uint8_t>(first == kPageSide ? 1 : first);
        entry->last[column] = static_cast<std::uint8_t>(first == kPageSide ? 0 : last);
    }
    entry->pixels = std::move(pixels);
    Put(page, std::move(entry));
}

} // namespace tsl
