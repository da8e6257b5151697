#pragma once
// The pictures the raycaster draws, by page number: walls and doors as
// 64 x 64 pixels, sprites as 64 x 64 pixels with transparent ones. Pixels
// are stored column by column, as the engine stores its wall chunks, since a
// raycaster draws a picture one column at a time. Pages that show the same
// picture share it, so what is held grows with the distinct pictures.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tsl {

inline constexpr int kPageSide = 64;
inline constexpr std::size_t kPagePixels = kPageSide * kPageSide;
// A pixel with this alpha is not drawn (the parts of a sprite without posts).
inline constexpr std::uint32_t kTransparentPixel = 0x00000000u;

class PagePictures {
public:
    // `pixels` holds kPagePixels pixels, column by column; anything else
    // leaves the page without a picture.
    void Set(int page, std::vector<std::uint32_t> pixels);
    // Page `page` shows the picture of page `same` (none when it has none).
    void Share(int page, int same);
    void Clear() { pages_.clear(); }
    // The page has no picture from now on.
    void Forget(int page) { Put(page, nullptr); }

    // The page's pixels, or nullptr when it has no picture.
    const std::uint32_t* Pixels(int page) const
    {
        const Page* entry = Find(page);
        return entry ? entry->pixels.data() : nullptr;
    }
    // The rows [first, last] of a column that hold opaque pixels; first >
    // last when the column is all transparent or the page has no picture.
    int FirstOpaqueRow(int page, int column) const
    {
        const Page* entry = Find(page);
        return entry ? entry->first[static_cast<std::size_t>(column)] : 1;
    }
    int LastOpaqueRow(int page, int column) const
    {
        const Page* entry = Find(page);
        return entry ? entry->last[static_cast<std::size_t>(column)] : 0;
    }

    int Count() const { return static_cast<int>(pages_.size()); }
    // The bytes of the distinct pictures held.
    std::size_t DecodedBytes() const;

private:
    struct Page {
        std::vector<std::uint32_t> pixels;
        std::array<std::uint8_t, kPageSide> first{};
        std::array<std::uint8_t, kPageSide> last{};
    };
    const Page* Find(int page) const
    {
        if (page < 0 || static_cast<std::size_t>(page) >= pages_.size())
            return nullptr;
        return pages_[static_cast<std::size_t>(page)].get();
    }
    void Put(int page, std::shared_ptr<const Page> entry);

    std::vector<std::shared_ptr<const Page>> pages_;
};

} // namespace tsl
