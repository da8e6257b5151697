#include "core/Compression.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace tsl {

ExpandResult CarmackExpand(std::span<const std::uint8_t> source, std::span<std::uint16_t> dest,
                           std::uint8_t nearTag, std::uint8_t farTag)
{
    const std::size_t total = dest.size();
    std::size_t in = 0;
    std::size_t out = 0;
    auto unsound = [&] { return ExpandResult{out, false}; };

    while (out < total) {
        if (source.size() - in < 2)
            return unsound();
        const std::uint16_t w = GetU16(source.data() + in);
        in += 2;
        const std::size_t count = w & 0xFFu;
        const auto tag = static_cast<std::uint8_t>(w >> 8);

        if (tag != nearTag && tag != farTag) {
            dest[out++] = w;
            continue;
        }
        if (count == 0) {
            // An escaped literal whose high byte is a tag.
            if (source.size() - in < 1)
                return unsound();
            dest[out++] = static_cast<std::uint16_t>(w | source[in]);
            in += 1;
            continue;
        }

        std::size_t from = 0;
        if (tag == nearTag) {
            if (source.size() - in < 1)
                return unsound();
            const std::size_t distance = source[in];
            in += 1;
            if (distance == 0 || distance > out)
                return unsound();
            from = out - distance;
        } else {
            if (source.size() - in < 2)
                return unsound();
            from = GetU16(source.data() + in);
            in += 2;
            if (from >= out)
                return unsound();
        }
        if (count > total - out)
            return unsound();
        // Word by word, so that a source range overlapping the output repeats
        // the words just written.
        for (std::size_t k = 0; k < count; ++k)
            dest[out + k] = dest[from + k];
        out += count;
    }
    return {out, true};
}

namespace {

template <typename NextWord>
ExpandResult RLEWExpandFrom(std::size_t sourceWords, NextWord word, std::span<std::uint16_t> dest,
                            std::uint16_t rlewTag)
{
    const std::size_t total = dest.size();
    std::size_t in = 0;
    std::size_t out = 0;
    while (out < total) {
        if (in >= sourceWords)
            return {out, false};
        const std::uint16_t w = word(in++);
        if (w != rlewTag) {
            dest[out++] = w;
            continue;
        }
        if (sourceWords - in < 2)
            return {out, false};
        const std::size_t count = word(in);
        const std::uint16_t value = word(in + 1);
        in += 2;
        if (count > total - out) {
            std::fill(dest.begin() + static_cast<std::ptrdiff_t>(out), dest.end(), value);
            return {total, false};
        }
        std::fill_n(dest.begin() + static_cast<std::ptrdiff_t>(out), count, value);
        out += count;
    }
    return {out, true};
}

} // namespace

ExpandResult RLEWExpand(std::span<const std::uint16_t> source, std::span<std::uint16_t> dest,
                        std::uint16_t rlewTag)
{
    return RLEWExpandFrom(source.size(), [&](std::size_t i) { return source[i]; }, dest, rlewTag);
}

ExpandResult RLEWExpand(std::span<const std::uint8_t> source, std::span<std::uint16_t> dest,
                        std::uint16_t rlewTag)
{
    return RLEWExpandFrom(source.size() / 2, [&](std::size_t i) { return GetU16(source.data() + 2 * i); },
                          dest, rlewTag);
}

Bytes RLEWCompress(std::span<const std::uint16_t> source, std::uint16_t rlewTag)
{
    ByteWriter out;
    out.Data().reserve(source.size() * 2 + 2);
    out.U16(0x2000);
    const std::size_t n = source.size();
    std::size_t i = 0;
    while (i < n) {
        const std::uint16_t v = source[i];
        std::size_t count = 1;
        while (i + count < n && source[i + count] == v)
            ++count;
        i += count;
        // The count is one word: a longer run becomes several runs.
        while (count > 0xFFFF) {
            out.U16(rlewTag);
            out.U16(0xFFFF);
            out.U16(v);
            count -= 0xFFFF;
        }
        if (count > 3 || v == rlewTag) {
            out.U16(rlewTag);
            out.U16(static_cast<std::uint16_t>(count));
            out.U16(v);
        } else {
            for (std::size_t k = 0; k < count; ++k)
                out.U16(v);
        }
    }
    return std::move(out.Data());
}

namespace {

// Chains of earlier positions whose next `Width` words hash alike, the
// nearest first. A chain may hold positions of other words that share the
// hash; the caller compares the words themselves. Positions are below 32768
// (the source is at most 65535 bytes), so 16 bits hold them and the tables
// stay small enough for the processor's caches.
template <std::size_t Width>
class HashChains {
public:
    explicit HashChains(const std::vector<std::uint16_t>& words)
        : words_(words), prev_(std::make_unique_for_overwrite<std::int16_t[]>(words.size()))
    {
        std::size_t size = 64;
        while (size < words.size() * 2)
            size <<= 1;
        heads_.assign(size, -1);
        mask_ = static_cast<std::uint32_t>(size - 1);
    }

    // Adds position p, which must be followed by Width - 1 more words.
    void Insert(std::size_t p)
    {
        const std::uint32_t slot = Slot(p);
        prev_[p] = heads_[slot];
        heads_[slot] = static_cast<std::int16_t>(p);
    }
    // The nearest inserted position that may start with the words at p, or -1.
    std::int32_t Latest(std::size_t p) const { return heads_[Slot(p)]; }
    std::int32_t Previous(std::int32_t p) const { return prev_[static_cast<std::size_t>(p)]; }

private:
    std::uint32_t Slot(std::size_t p) const
    {
        std::uint32_t h = 0;
        for (std::size_t k = 0; k < Width; ++k)
            h = (h ^ words_[p + k]) * 0x9E3779B1u;
        return (h >> 11) & mask_;
    }

    const std::vector<std::uint16_t>& words_;
    std::unique_ptr<std::int16_t[]> prev_;
    std::vector<std::int16_t> heads_;
    std::uint32_t mask_ = 0;
};

} // namespace

std::optional<Bytes> CarmackCompress(std::span<const std::uint8_t> source, std::uint8_t nearTag,
                                     std::uint8_t farTag)
{
    // The length word and the far offsets are 16 bits: longer input would wrap.
    if (source.size() > 0xFFFF)
        return std::nullopt;
    const std::size_t total = (source.size() + 1) / 2;
    std::vector<std::uint16_t> words(total, 0);
    for (std::size_t k = 0; k + 1 < source.size(); k += 2)
        words[k / 2] = GetU16(source.data() + k);
    if (source.size() % 2 != 0)
        words.back() = source.back();

    ByteWriter out;
    out.Data().reserve(source.size() + 16);
    out.U16(static_cast<std::uint16_t>(source.size()));

    // A match of one word is never used and one of two words only as a near
    // reference, so the search looks for three words and more through chains
    // keyed by three words, and for a near pair through chains keyed by two.
    HashChains<3> triples(words);
    HashChains<2> pairs(words);
    std::size_t inserted = 0;
    std::size_t i = 0;
    while (i < total) {
        const std::size_t remaining = total - i;
        const std::uint16_t v = words[i];
        for (; inserted < i; ++inserted) {
            pairs.Insert(inserted);
            if (inserted + 2 < total)
                triples.Insert(inserted);
        }

        // The longest match, and among equal lengths the nearest, as in the
        // exhaustive search: the chains run from the nearest position to the
        // farthest and only a strictly longer match replaces the best.
        std::size_t bestLength = 1;
        std::size_t bestPos = 0;
        if (remaining >= 3) {
            const std::size_t cap = std::min(remaining, carmack::kMaxCount);
            for (std::int32_t c = triples.Latest(i); c >= 0; c = triples.Previous(c)) {
                const auto p = static_cast<std::size_t>(c);
                const std::size_t limit = std::min(i - p, cap);
                if (limit <= std::max<std::size_t>(bestLength, 2) || words[p + bestLength] != words[i + bestLength] ||
                    words[p] != v || words[p + 1] != words[i + 1] || words[p + 2] != words[i + 2])
                    continue;
                std::size_t length = 3;
                while (length < limit && words[p + length] == words[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestPos = p;
                    if (bestLength == cap)
                        break;
                }
            }
        }
        if (bestLength < 3 && remaining >= 2) {
            // Only the nearest pair can be used, and only within near reach.
            for (std::int32_t c = pairs.Latest(i); c >= 0; c = pairs.Previous(c)) {
                const auto p = static_cast<std::size_t>(c);
                if (i - p > carmack::kMaxDistance)
                    break;
                if (i - p >= 2 && words[p] == v && words[p + 1] == words[i + 1]) {
                    bestLength = 2;
                    bestPos = p;
                    break;
                }
            }
        }

        if (bestLength > 1 && i - bestPos <= carmack::kMaxDistance) {
            out.U16(static_cast<std::uint16_t>((std::size_t{nearTag} << 8) | bestLength));
            out.U8(static_cast<std::uint8_t>(i - bestPos));
            i += bestLength;
        } else if (bestLength > 2) {
            out.U16(static_cast<std::uint16_t>((std::size_t{farTag} << 8) | bestLength));
            out.U16(static_cast<std::uint16_t>(bestPos));
            i += bestLength;
        } else {
            const auto high = static_cast<std::uint8_t>(v >> 8);
            if (high == nearTag || high == farTag) {
                out.U16(static_cast<std::uint16_t>(v & 0xFF00));
                out.U8(static_cast<std::uint8_t>(v));
            } else {
                out.U16(v);
            }
            i += 1;
        }
    }
    return std::move(out.Data());
}

} // namespace tsl
