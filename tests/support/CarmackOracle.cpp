#include "CarmackOracle.h"

#include <algorithm>
#include <vector>

namespace tsl::test {

Bytes CarmackCompressExhaustive(std::span<const std::uint8_t> source, std::uint8_t nearTag, std::uint8_t farTag)
{
    const std::size_t total = (source.size() + 1) / 2;
    std::vector<std::uint16_t> w(total, 0);
    for (std::size_t k = 0; k < source.size(); ++k)
        w[k / 2] = static_cast<std::uint16_t>(w[k / 2] | (source[k] << (8 * (k % 2))));

    Bytes out;
    auto put16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put16(static_cast<std::uint16_t>(source.size()));

    std::size_t i = 0;
    while (i < total) {
        const std::size_t n = total - i;
        const std::uint16_t v = w[i];
        std::size_t bestLength = 0;
        std::size_t bestPos = 0;
        for (std::size_t p = 0; p < i; ++p) {
            if (w[p] != v)
                continue;
            const std::size_t m = std::min({i - p, n, std::size_t{255}});
            std::size_t length = 1;
            while (length < m && w[p + length] == w[i + length])
                ++length;
            if (length >= bestLength) { // the later position wins a tie
                bestLength = length;
                bestPos = p;
            }
        }
        if (bestLength > 1 && i - bestPos <= 255) {
            put16(static_cast<std::uint16_t>((nearTag << 8) | bestLength));
            out.push_back(static_cast<std::uint8_t>(i - bestPos));
            i += bestLength;
        } else if (bestLength > 2) {
            put16(static_cast<std::uint16_t>((farTag << 8) | bestLength));
            put16(static_cast<std::uint16_t>(bestPos));
            i += bestLength;
        } else {
            const auto high = static_cast<std::uint8_t>(v >> 8);
            if (high == nearTag || high == farTag) {
                put16(static_cast<std::uint16_t>(v & 0xFF00));
                out.push_back(static_cast<std::uint8_t>(v));
            } else {
                put16(v);
            }
            i += 1;
        }
    }
    return out;
}

} // namespace tsl::test
