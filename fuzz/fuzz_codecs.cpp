// Both expanders on fuzzed chunks, and the compressors' round trip: whatever
// a plane holds, compressing and expanding gives it back.

#include "core/Compression.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t nearTag = data[0];
    const std::uint8_t farTag = data[1];
    const auto rlewTag = static_cast<std::uint16_t>(data[2] | (data[3] << 8));
    const std::span<const std::uint8_t> body(data + 4, size - 4);

    // Expanders: the destination sizes come from the input, as from a file.
    const std::size_t words = body.size() >= 2 ? (body[0] | (body[1] << 8)) / 2u : 0;
    std::vector<std::uint16_t> rlew(words);
    const tsl::ExpandResult c = tsl::CarmackExpand(body.size() >= 2 ? body.subspan(2) : body, rlew, nearTag, farTag);
    if (c.produced > rlew.size())
        std::abort();
    std::vector<std::uint16_t> plane(64 * 64);
    const std::span<const std::uint16_t> stream(rlew.data(), c.produced);
    tsl::RLEWExpand(stream.empty() ? stream : stream.subspan(1), plane, rlewTag);
    tsl::RLEWExpand(body, plane, rlewTag);

    // Round trip of the body taken as a plane of words.
    std::vector<std::uint16_t> source(body.size() / 2);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint16_t>(body[2 * i] | (body[2 * i + 1] << 8));
    const tsl::Bytes compressed = tsl::RLEWCompress(source, rlewTag);
    std::vector<std::uint16_t> back(source.size());
    if (!tsl::RLEWExpand(std::span(compressed).subspan(2), back, rlewTag).sound || back != source)
        std::abort();
    if (nearTag != farTag && compressed.size() <= 0xFFFF) {
        const tsl::Bytes chunk = *tsl::CarmackCompress(compressed, nearTag, farTag);
        std::vector<std::uint16_t> again(compressed.size() / 2);
        if (!tsl::CarmackExpand(std::span(chunk).subspan(2), again, nearTag, farTag).sound)
            std::abort();
        for (std::size_t i = 0; i < again.size(); ++i)
            if (again[i] != (compressed[2 * i] | (compressed[2 * i + 1] << 8)))
                std::abort();
    }
    return 0;
}
